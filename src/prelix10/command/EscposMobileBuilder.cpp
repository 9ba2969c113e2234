#include "prelix10/command/EscposMobileBuilder.hpp"

#include "prelix10/command/bezel/EscposMobileBuilder.hpp"
#include "prelix10/command/buzzer/EscposMobileBuilder.hpp"
#include "prelix10/command/display/EscposMobileBuilder.hpp"
#include "prelix10/command/document/EscposMobileBuilder.hpp"
#include "prelix10/command/drawer/EscposMobileBuilder.hpp"
#include "prelix10/command/melodyspeaker/EscposMobileBuilder.hpp"
#include "prelix10/command/presenter/EscposMobileBuilder.hpp"
#include "prelix10/command/presetting/EscposMobileBuilder.hpp"
#include "prelix10/command/printer/EmptyPageModeBuilder.hpp"
#include "prelix10/command/printer/EscposMobilePrinterBuilder.hpp"

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
