#include "prelix10/command/display/OrvoLineBuilder.hpp"

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

void OrvoLineBuilder::appendBackLight(bool on) {
    BackLight::orvoLine(buffer_, on);
}

void OrvoLineBuilder::appendClearAll() {
    ClearAll::orvoLine(buffer_);
}

void OrvoLineBuilder::appendClearLine() {
    ClearLine::orvoLine(buffer_);
}

void OrvoLineBuilder::appendContrast(ContrastValue value) {
    Contrast::orvoLine(buffer_, value);
}

void OrvoLineBuilder::appendCursorState(CursorStateValue value) {
    CursorState::orvoLine(buffer_, value);
}

void OrvoLineBuilder::appendImage(const std::string& source, int width, int height) {
    Image::orvoLine(buffer_, source, width, height);
}

void OrvoLineBuilder::appendText(const std::string& content) {
    Text::orvoLine(buffer_, content, model_, &displaySettings_);
}

void OrvoLineBuilder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::orvoLine(buffer_, type);
}

void OrvoLineBuilder::appendCursorPosition(int x, int y) {
    CursorPosition::orvoLine(buffer_, x, y);
}

void OrvoLineBuilder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::orvoLine(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
