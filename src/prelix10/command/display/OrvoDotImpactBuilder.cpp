#include "prelix10/command/display/OrvoDotImpactBuilder.hpp"

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
