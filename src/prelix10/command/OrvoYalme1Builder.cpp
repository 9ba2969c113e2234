#include "prelix10/command/OrvoYalme1Builder.hpp"

#include "prelix10/command/bezel/OrvoYalme1Builder.hpp"
#include "prelix10/command/buzzer/OrvoYalme1Builder.hpp"
#include "prelix10/command/display/OrvoYalme1Builder.hpp"
#include "prelix10/command/document/OrvoYalme1Builder.hpp"
#include "prelix10/command/drawer/OrvoYalme1Builder.hpp"
#include "prelix10/command/melodyspeaker/OrvoYalme1Builder.hpp"
#include "prelix10/command/presenter/OrvoYalme1Builder.hpp"
#include "prelix10/command/presetting/OrvoYalme1Builder.hpp"
#include "prelix10/command/printer/EmptyPageModeBuilder.hpp"
#include "prelix10/command/printer/OrvoYalme1PrinterBuilder.hpp"

namespace PrinterCommandBuilder {

OrvoYalme1Builder::OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : RootBuilder(buffer, model) {
    buzzer_ = std::make_unique<Buzzer::OrvoYalme1Builder>(buffer, model);
    display_ = std::make_unique<Display::OrvoYalme1Builder>(buffer, model);
    document_ = std::make_unique<Document::OrvoYalme1Builder>(buffer, model);
    drawer_ = std::make_unique<Drawer::OrvoYalme1Builder>(buffer, model);
    melodySpeaker_ = std::make_unique<MelodySpeaker::OrvoYalme1Builder>(buffer, model);
    printer_ = std::make_unique<Printer::OrvoYalme1PrinterBuilder>(buffer, model, &settingsStack_);
    printerPageMode_ = std::make_unique<Printer::EmptyPageModeBuilder<Printer::OrvoYalme1PrinterBuilder>>(
        buffer, model, &settingsStack_);
    preSetting_ = std::make_unique<PreSetting::OrvoYalme1Builder>(buffer, model);
    presenter_ = std::make_unique<Presenter::OrvoYalme1Builder>(buffer, model);
    bezel_ = std::make_unique<Bezel::OrvoYalme1Builder>(buffer, model);
}

}  // namespace PrinterCommandBuilder
