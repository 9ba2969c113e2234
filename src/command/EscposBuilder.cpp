#include "command/EscposBuilder.hpp"

#include "command/bezel/EscposBuilder.hpp"
#include "command/buzzer/EscposBuilder.hpp"
#include "command/display/EscposBuilder.hpp"
#include "command/document/EscposBuilder.hpp"
#include "command/drawer/EscposBuilder.hpp"
#include "command/melodyspeaker/EscposBuilder.hpp"
#include "command/presenter/EscposBuilder.hpp"
#include "command/presetting/EscposBuilder.hpp"
#include "command/printer/EmptyPageModeBuilder.hpp"
#include "command/printer/EscposPrinterBuilder.hpp"

namespace PrinterCommandBuilder {

EscposBuilder::EscposBuilder(ByteBuffer* buffer, PrinterModel model) : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::EscposBuilder>(buffer, model);
    display_ = std::make_unique<Display::EscposBuilder>(buffer, model);
    document_ = std::make_unique<Document::EscposBuilder>(buffer, model);
    drawer_ = std::make_unique<Drawer::EscposBuilder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::EscposBuilder>(buffer, model);
    printer_ = std::make_unique<Printer::EscposPrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ = std::make_unique<Printer::EmptyPageModeBuilder<Printer::EscposPrinterBuilder>>(
        buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::EscposBuilder>(buffer, model);
    presenter_ = std::make_unique<Presenter::EscposBuilder>(buffer, model);
    bezel_ = std::make_unique<Bezel::EscposBuilder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
