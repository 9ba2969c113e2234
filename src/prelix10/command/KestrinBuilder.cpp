#include "prelix10/command/KestrinBuilder.hpp"

#include "prelix10/command/bezel/KestrinBuilder.hpp"
#include "prelix10/command/buzzer/KestrinBuilder.hpp"
#include "prelix10/command/display/KestrinBuilder.hpp"
#include "prelix10/command/document/KestrinBuilder.hpp"
#include "prelix10/command/drawer/KestrinBuilder.hpp"
#include "prelix10/command/melodyspeaker/KestrinBuilder.hpp"
#include "prelix10/command/presenter/KestrinBuilder.hpp"
#include "prelix10/command/presetting/KestrinBuilder.hpp"
#include "prelix10/command/printer/KestrinPrinterBuilder.hpp"
#include "prelix10/command/printer/KestrinPrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder {

KestrinBuilder::KestrinBuilder(ByteBuffer* buffer, PrinterModel model) : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::KestrinBuilder>(buffer, model);
    display_ = std::make_unique<Display::KestrinBuilder>(buffer, model);
    document_ = std::make_unique<Document::KestrinBuilder>(buffer, model);
    drawer_ = std::make_unique<Drawer::KestrinBuilder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::KestrinBuilder>(buffer, model);
    printer_ = std::make_unique<Printer::KestrinPrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ =
        std::make_unique<Printer::KestrinPrinterPageModeBuilder>(buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::KestrinBuilder>(buffer, model);
    presenter_ = std::make_unique<Presenter::KestrinBuilder>(buffer, model);
    bezel_ = std::make_unique<Bezel::KestrinBuilder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
