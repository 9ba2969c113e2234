#include "command/display/EscposBuilder.hpp"

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
