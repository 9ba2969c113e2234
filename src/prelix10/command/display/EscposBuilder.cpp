#include "prelix10/command/display/EscposBuilder.hpp"

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

void EscposBuilder::appendBackLight(bool on) {
    BackLight::escpos(buffer_, on);
}

void EscposBuilder::appendClearAll() {
    ClearAll::escpos(buffer_);
}

void EscposBuilder::appendClearLine() {
    ClearLine::escpos(buffer_);
}

void EscposBuilder::appendContrast(ContrastValue value) {
    Contrast::escpos(buffer_, value);
}

void EscposBuilder::appendCursorState(CursorStateValue value) {
    CursorState::escpos(buffer_, value);
}

void EscposBuilder::appendImage(const std::string& source, int width, int height) {
    Image::escpos(buffer_, source, width, height);
}

void EscposBuilder::appendText(const std::string& content) {
    Text::escpos(buffer_, content, model_, &displaySettings_);
}

void EscposBuilder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::escpos(buffer_, type);
}

void EscposBuilder::appendCursorPosition(int x, int y) {
    CursorPosition::escpos(buffer_, x, y);
}

void EscposBuilder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::escpos(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
