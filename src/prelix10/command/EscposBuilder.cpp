#include "prelix10/command/EscposBuilder.hpp"

#include "prelix10/command/bezel/EscposBuilder.hpp"
#include "prelix10/command/buzzer/EscposBuilder.hpp"
#include "prelix10/command/display/EscposBuilder.hpp"
#include "prelix10/command/document/EscposBuilder.hpp"
#include "prelix10/command/drawer/EscposBuilder.hpp"
#include "prelix10/command/melodyspeaker/EscposBuilder.hpp"
#include "prelix10/command/presenter/EscposBuilder.hpp"
#include "prelix10/command/presetting/EscposBuilder.hpp"
#include "prelix10/command/printer/EmptyPageModeBuilder.hpp"
#include "prelix10/command/printer/EscposPrinterBuilder.hpp"

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
