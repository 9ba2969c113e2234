#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "command/bezel/BezelSettingsInformation.hpp"
#include "command/buzzer/BuzzerTypes.hpp"
#include "command/display/DisplayTypes.hpp"
#include "command/document/DocumentTypes.hpp"
#include "command/drawer/DrawerTypes.hpp"
#include "command/melodyspeaker/MelodySpeakerTypes.hpp"
#include "command/presenter/PresenterSettingsInformation.hpp"
#include "compiler/JsonUtil.hpp"
#include "compiler/ParameterReads.hpp"

namespace VelmarCommandParser {

// The keyword tables of the device categories: document text (exact, case-sensitive) to the
// builder's enumeration value.
struct DeviceKeywords {
    static const std::map<std::string, PrinterCommandBuilder::Drawer::DrawerChannel>& drawerChannel();
    static const std::map<std::string, PrinterCommandBuilder::Buzzer::BuzzerChannel>& buzzerChannel();
    static const std::map<std::string, PrinterCommandBuilder::MelodySpeaker::Area>& melodySpeakerArea();
    static const std::map<std::string, PrinterCommandBuilder::Document::BlackMarkPosition>&
    blackMarkPosition();
    static const std::map<std::string, PrinterCommandBuilder::Display::ContrastValue>& displayContrast();
    static const std::map<std::string, PrinterCommandBuilder::Display::CursorStateValue>&
    displayCursorState();
    static const std::map<std::string, PrinterCommandBuilder::Display::InternationalCharacterType>&
    displayInternationalCharacter();
    static const std::map<std::string, PrinterCommandBuilder::Display::Encode>& displayEncoding();
    static const std::map<std::string, PrinterCommandBuilder::Presenter::LedType>& presenterLed();
    static const std::map<std::string, PrinterCommandBuilder::Bezel::LedType>& bezelLed();
};

}  // namespace VelmarCommandParser
