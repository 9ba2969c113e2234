#include "prelix10/command/OrvoGraphicBuilder.hpp"

#include "prelix10/command/bezel/OrvoGraphicBuilder.hpp"
#include "prelix10/command/buzzer/OrvoGraphicBuilder.hpp"
#include "prelix10/command/display/OrvoGraphicBuilder.hpp"
#include "prelix10/command/document/OrvoGraphicBuilder.hpp"
#include "prelix10/command/drawer/OrvoGraphicBuilder.hpp"
#include "prelix10/command/melodyspeaker/OrvoGraphicBuilder.hpp"
#include "prelix10/command/presenter/OrvoGraphicBuilder.hpp"
#include "prelix10/command/presetting/OrvoGraphicBuilder.hpp"
#include "prelix10/command/printer/EmptyPageModeBuilder.hpp"
#include "prelix10/command/printer/OrvoGraphicPrinterBuilder.hpp"

namespace PrinterCommandBuilder {

OrvoGraphicBuilder::OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::OrvoGraphicBuilder>(buffer, model);
    display_ = std::make_unique<Display::OrvoGraphicBuilder>(buffer, model);
    document_ = std::make_unique<Document::OrvoGraphicBuilder>(buffer, model);
    drawer_ = std::make_unique<Drawer::OrvoGraphicBuilder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::OrvoGraphicBuilder>(buffer, model);
    printer_ = std::make_unique<Printer::OrvoGraphicPrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ = std::make_unique<Printer::EmptyPageModeBuilder<Printer::OrvoGraphicPrinterBuilder>>(
        buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::OrvoGraphicBuilder>(buffer, model);
    presenter_ = std::make_unique<Presenter::OrvoGraphicBuilder>(buffer, model);
    bezel_ = std::make_unique<Bezel::OrvoGraphicBuilder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
