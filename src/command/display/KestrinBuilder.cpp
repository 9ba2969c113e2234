#include "command/display/KestrinBuilder.hpp"

#include "command/display/BackLight.hpp"
#include "command/display/CharacterEncoding.hpp"
#include "command/display/ClearAll.hpp"
#include "command/display/ClearLine.hpp"
#include "command/display/Contrast.hpp"
#include "command/display/CursorPosition.hpp"
#include "command/display/CursorState.hpp"
#include "command/display/Image.hpp"
#include "command/display/InternationalCharacter.hpp"
#include "command/display/Text.hpp"

namespace PrinterCommandBuilder::Display {

void KestrinBuilder::appendBackLight(bool on) {
    BackLight::kestrin(buffer_, on);
}

void KestrinBuilder::appendClearAll() {
    ClearAll::kestrin(buffer_);
}

void KestrinBuilder::appendClearLine() {
    ClearLine::kestrin(buffer_);
}

void KestrinBuilder::appendContrast(ContrastValue value) {
    Contrast::kestrin(buffer_, value);
}

void KestrinBuilder::appendCursorState(CursorStateValue value) {
    CursorState::kestrin(buffer_, value);
}

void KestrinBuilder::appendImage(const std::string& source, int width, int height) {
    Image::kestrin(buffer_, source, width, height);
}

void KestrinBuilder::appendText(const std::string& content) {
    Text::kestrin(buffer_, content, model_, &displaySettings_);
}

void KestrinBuilder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::kestrin(buffer_, type);
}

void KestrinBuilder::appendCursorPosition(int x, int y) {
    CursorPosition::kestrin(buffer_, x, y);
}

void KestrinBuilder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::kestrin(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
