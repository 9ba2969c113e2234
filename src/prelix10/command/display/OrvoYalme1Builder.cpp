#include "prelix10/command/display/OrvoYalme1Builder.hpp"

#include "prelix10/command/display/BackLight.hpp"
#include "prelix10/command/display/CharacterEncoding.hpp"
#include "prelix10/command/display/ClearAll.hpp"
#include "prelix10/command/display/ClearLine.hpp"
#include "prelix10/command/display/Contrast.hpp"
#include "prelix10/command/display/CursorPosition.hpp"
#include "prelix10/command/display/CursorState.hpp"
#include "prelix10/command/display/Image.hpp"
#include "prelix10/command/display/InternationalCharacter.hpp"
#include "prelix10/command/display/Text.hpp"

namespace PrinterCommandBuilder::Display {

void OrvoYalme1Builder::appendBackLight(bool on) {
    BackLight::orvoYalme1(buffer_, on);
}

void OrvoYalme1Builder::appendClearAll() {
    ClearAll::orvoYalme1(buffer_);
}

void OrvoYalme1Builder::appendClearLine() {
    ClearLine::orvoYalme1(buffer_);
}

void OrvoYalme1Builder::appendContrast(ContrastValue value) {
    Contrast::orvoYalme1(buffer_, value);
}

void OrvoYalme1Builder::appendCursorState(CursorStateValue value) {
    CursorState::orvoYalme1(buffer_, value);
}

void OrvoYalme1Builder::appendImage(const std::string& source, int width, int height) {
    Image::orvoYalme1(buffer_, source, width, height);
}

void OrvoYalme1Builder::appendText(const std::string& content) {
    Text::orvoYalme1(buffer_, content, model_, &displaySettings_);
}

void OrvoYalme1Builder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::orvoYalme1(buffer_, type);
}

void OrvoYalme1Builder::appendCursorPosition(int x, int y) {
    CursorPosition::orvoYalme1(buffer_, x, y);
}

void OrvoYalme1Builder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::orvoYalme1(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
