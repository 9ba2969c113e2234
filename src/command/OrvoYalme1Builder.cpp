#include "command/OrvoYalme1Builder.hpp"

#include "command/bezel/OrvoYalme1Builder.hpp"
#include "command/buzzer/OrvoYalme1Builder.hpp"
#include "command/display/OrvoYalme1Builder.hpp"
#include "command/document/OrvoYalme1Builder.hpp"
#include "command/drawer/OrvoYalme1Builder.hpp"
#include "command/melodyspeaker/OrvoYalme1Builder.hpp"
#include "command/presenter/OrvoYalme1Builder.hpp"
#include "command/presetting/OrvoYalme1Builder.hpp"
#include "command/printer/EmptyPageModeBuilder.hpp"
#include "command/printer/OrvoYalme1PrinterBuilder.hpp"

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
