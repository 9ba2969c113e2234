#include "prelix10/command/display/EscposMobileBuilder.hpp"

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

void EscposMobileBuilder::appendBackLight(bool on) {
    BackLight::escposMobile(buffer_, on);
}

void EscposMobileBuilder::appendClearAll() {
    ClearAll::escposMobile(buffer_);
}

void EscposMobileBuilder::appendClearLine() {
    ClearLine::escposMobile(buffer_);
}

void EscposMobileBuilder::appendContrast(ContrastValue value) {
    Contrast::escposMobile(buffer_, value);
}

void EscposMobileBuilder::appendCursorState(CursorStateValue value) {
    CursorState::escposMobile(buffer_, value);
}

void EscposMobileBuilder::appendImage(const std::string& source, int width, int height) {
    Image::escposMobile(buffer_, source, width, height);
}

void EscposMobileBuilder::appendText(const std::string& content) {
    Text::escposMobile(buffer_, content, model_, &displaySettings_);
}

void EscposMobileBuilder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::escposMobile(buffer_, type);
}

void EscposMobileBuilder::appendCursorPosition(int x, int y) {
    CursorPosition::escposMobile(buffer_, x, y);
}

void EscposMobileBuilder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::escposMobile(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
