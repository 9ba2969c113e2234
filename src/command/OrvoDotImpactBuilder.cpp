#include "command/OrvoDotImpactBuilder.hpp"

#include "command/bezel/OrvoDotImpactBuilder.hpp"
#include "command/buzzer/OrvoDotImpactBuilder.hpp"
#include "command/display/OrvoDotImpactBuilder.hpp"
#include "command/document/OrvoDotImpactBuilder.hpp"
#include "command/drawer/OrvoDotImpactBuilder.hpp"
#include "command/melodyspeaker/OrvoDotImpactBuilder.hpp"
#include "command/presenter/OrvoDotImpactBuilder.hpp"
#include "command/presetting/OrvoDotImpactBuilder.hpp"
#include "command/printer/EmptyPageModeBuilder.hpp"
#include "command/printer/OrvoDotImpactPrinterBuilder.hpp"

namespace PrinterCommandBuilder {

OrvoDotImpactBuilder::OrvoDotImpactBuilder(ByteBuffer* buffer, PrinterModel model)
    : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::OrvoDotImpactBuilder>(buffer, model);
    display_ = std::make_unique<Display::OrvoDotImpactBuilder>(buffer, model);
    document_ = std::make_unique<Document::OrvoDotImpactBuilder>(buffer, model);
    drawer_ = std::make_unique<Drawer::OrvoDotImpactBuilder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::OrvoDotImpactBuilder>(buffer, model);
    printer_ = std::make_unique<Printer::OrvoDotImpactPrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ = std::make_unique<Printer::EmptyPageModeBuilder<Printer::OrvoDotImpactPrinterBuilder>>(
        buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::OrvoDotImpactBuilder>(buffer, model);
    presenter_ = std::make_unique<Presenter::OrvoDotImpactBuilder>(buffer, model);
    bezel_ = std::make_unique<Bezel::OrvoDotImpactBuilder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
