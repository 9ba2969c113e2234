#include "command/EscposMobileBuilder.hpp"

#include "command/bezel/EscposMobileBuilder.hpp"
#include "command/buzzer/EscposMobileBuilder.hpp"
#include "command/display/EscposMobileBuilder.hpp"
#include "command/document/EscposMobileBuilder.hpp"
#include "command/drawer/EscposMobileBuilder.hpp"
#include "command/melodyspeaker/EscposMobileBuilder.hpp"
#include "command/presenter/EscposMobileBuilder.hpp"
#include "command/presetting/EscposMobileBuilder.hpp"
#include "command/printer/EmptyPageModeBuilder.hpp"
#include "command/printer/EscposMobilePrinterBuilder.hpp"

namespace PrinterCommandBuilder {

EscposMobileBuilder::EscposMobileBuilder(ByteBuffer* buffer, PrinterModel model)
    : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::EscposMobileBuilder>(buffer, model);
    display_ = std::make_unique<Display::EscposMobileBuilder>(buffer, model);
    document_ = std::make_unique<Document::EscposMobileBuilder>(buffer, model);
    drawer_ = std::make_unique<Drawer::EscposMobileBuilder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::EscposMobileBuilder>(buffer, model);
    printer_ = std::make_unique<Printer::EscposMobilePrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ = std::make_unique<Printer::EmptyPageModeBuilder<Printer::EscposMobilePrinterBuilder>>(
        buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::EscposMobileBuilder>(buffer, model);
    presenter_ = std::make_unique<Presenter::EscposMobileBuilder>(buffer, model);
    bezel_ = std::make_unique<Bezel::EscposMobileBuilder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
