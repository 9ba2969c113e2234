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

// Parameter reads shared by the device handlers; like the JsonUtil getters they only ever set the
// not-found flag.
namespace DeviceParameters {

// A string parameter looked up in its keyword table; an unknown text counts as not found.
template <typename T>
T keyword(const nlohmann::json* parameter, const std::string& key, const std::map<std::string, T>& map,
          bool& notFound) {
    const std::string text = JsonUtil::getString(parameter, key, notFound);
    const auto found = map.find(text);
    if (found == map.end()) {
        notFound = true;
        return T{};
    }
    return found->second;
}

// An integer parameter with a default for an absent key; a present key of another type is not found.
inline int optionalInt(const nlohmann::json* parameter, const std::string& key, int fallback,
                       bool& notFound) {
    return JsonUtil::contains(parameter, key) ? JsonUtil::getInt(parameter, key, notFound) : fallback;
}

}  // namespace DeviceParameters

}  // namespace VelmarCommandParser
