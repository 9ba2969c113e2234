#include "command/display/OrvoGraphicBuilder.hpp"

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

void OrvoGraphicBuilder::appendBackLight(bool on) {
    BackLight::orvoGraphic(buffer_, on);
}

void OrvoGraphicBuilder::appendClearAll() {
    ClearAll::orvoGraphic(buffer_);
}

void OrvoGraphicBuilder::appendClearLine() {
    ClearLine::orvoGraphic(buffer_);
}

void OrvoGraphicBuilder::appendContrast(ContrastValue value) {
    Contrast::orvoGraphic(buffer_, value);
}

void OrvoGraphicBuilder::appendCursorState(CursorStateValue value) {
    CursorState::orvoGraphic(buffer_, value);
}

void OrvoGraphicBuilder::appendImage(const std::string& source, int width, int height) {
    Image::orvoGraphic(buffer_, source, width, height);
}

void OrvoGraphicBuilder::appendText(const std::string& content) {
    Text::orvoGraphic(buffer_, content, model_, &displaySettings_);
}

void OrvoGraphicBuilder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::orvoGraphic(buffer_, type);
}

void OrvoGraphicBuilder::appendCursorPosition(int x, int y) {
    CursorPosition::orvoGraphic(buffer_, x, y);
}

void OrvoGraphicBuilder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::orvoGraphic(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
