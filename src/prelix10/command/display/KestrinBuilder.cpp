#include "prelix10/command/display/KestrinBuilder.hpp"

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
