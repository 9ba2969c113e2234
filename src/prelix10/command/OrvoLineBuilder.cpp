#include "prelix10/command/OrvoLineBuilder.hpp"

#include "prelix10/command/bezel/OrvoLineBuilder.hpp"
#include "prelix10/command/buzzer/OrvoLineBuilder.hpp"
#include "prelix10/command/display/OrvoLineBuilder.hpp"
#include "prelix10/command/document/OrvoLineBuilder.hpp"
#include "prelix10/command/drawer/OrvoLineBuilder.hpp"
#include "prelix10/command/melodyspeaker/OrvoLineBuilder.hpp"
#include "prelix10/command/presenter/OrvoLineBuilder.hpp"
#include "prelix10/command/presetting/OrvoLineBuilder.hpp"
#include "prelix10/command/printer/EmptyPageModeBuilder.hpp"
#include "prelix10/command/printer/OrvoLinePrinterBuilder.hpp"

namespace PrinterCommandBuilder {

OrvoLineBuilder::OrvoLineBuilder(ByteBuffer* buffer, PrinterModel model) : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::OrvoLineBuilder>(buffer, model);
    display_ = std::make_unique<Display::OrvoLineBuilder>(buffer, model);
    document_ = std::make_unique<Document::OrvoLineBuilder>(buffer, model);
    drawer_ = std::make_unique<Drawer::OrvoLineBuilder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::OrvoLineBuilder>(buffer, model);
    printer_ = std::make_unique<Printer::OrvoLinePrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ = std::make_unique<Printer::EmptyPageModeBuilder<Printer::OrvoLinePrinterBuilder>>(
        buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::OrvoLineBuilder>(buffer, model);
    presenter_ = std::make_unique<Presenter::OrvoLineBuilder>(buffer, model);
    bezel_ = std::make_unique<Bezel::OrvoLineBuilder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
