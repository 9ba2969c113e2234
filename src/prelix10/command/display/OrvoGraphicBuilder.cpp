#include "prelix10/command/display/OrvoGraphicBuilder.hpp"

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
