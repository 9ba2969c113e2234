#include "prelix10/command/OrvoDotImpactBuilder.hpp"

#include "prelix10/command/bezel/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/buzzer/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/display/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/document/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/drawer/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/melodyspeaker/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/presenter/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/presetting/OrvoDotImpactBuilder.hpp"
#include "prelix10/command/printer/EmptyPageModeBuilder.hpp"
#include "prelix10/command/printer/OrvoDotImpactPrinterBuilder.hpp"

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
