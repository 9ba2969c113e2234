#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "prelix10/command/bezel/BezelSettingsInformation.hpp"
#include "prelix10/command/buzzer/BuzzerTypes.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"
#include "prelix10/command/drawer/DrawerTypes.hpp"
#include "prelix10/command/melodyspeaker/MelodySpeakerTypes.hpp"
#include "prelix10/command/presenter/PresenterSettingsInformation.hpp"
#include "prelix10/compiler/JsonUtil.hpp"
#include "prelix10/compiler/ParameterReads.hpp"

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
