#include "command/display/OrvoDotImpactBuilder.hpp"

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

void OrvoDotImpactBuilder::appendBackLight(bool on) {
    BackLight::orvoDotImpact(buffer_, on);
}

void OrvoDotImpactBuilder::appendClearAll() {
    ClearAll::orvoDotImpact(buffer_);
}

void OrvoDotImpactBuilder::appendClearLine() {
    ClearLine::orvoDotImpact(buffer_);
}

void OrvoDotImpactBuilder::appendContrast(ContrastValue value) {
    Contrast::orvoDotImpact(buffer_, value);
}

void OrvoDotImpactBuilder::appendCursorState(CursorStateValue value) {
    CursorState::orvoDotImpact(buffer_, value);
}

void OrvoDotImpactBuilder::appendImage(const std::string& source, int width, int height) {
    Image::orvoDotImpact(buffer_, source, width, height);
}

void OrvoDotImpactBuilder::appendText(const std::string& content) {
    Text::orvoDotImpact(buffer_, content, model_, &displaySettings_);
}

void OrvoDotImpactBuilder::appendInternationalCharacter(InternationalCharacterType type) {
    InternationalCharacter::orvoDotImpact(buffer_, type);
}

void OrvoDotImpactBuilder::appendCursorPosition(int x, int y) {
    CursorPosition::orvoDotImpact(buffer_, x, y);
}

void OrvoDotImpactBuilder::appendCharacterEncoding(Encode encode) {
    CharacterEncoding::orvoDotImpact(buffer_, encode, &displaySettings_);
}

}  // namespace PrinterCommandBuilder::Display
