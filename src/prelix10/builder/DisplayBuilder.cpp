#include "prelix10/builder/DisplayBuilder.hpp"

#include "prelix10/builder/Base64.hpp"
#include "prelix10/builder/BitmapConverter.hpp"
#include "prelix10/builder/VelmarCommandParameterConverter.hpp"
#include "prelix10/core/Prelix10Error.hpp"

namespace Prelix10::VelmarCommand {

namespace {

template <typename E>
JsonObjectRef enumerationParameter(std::string_view key, E value) {
    const auto name = jsonString(value);
    if (!name) return nullptr;
    return JsonObject::make({{std::string(key), JsonLiteral{*name}}});
}

}  // namespace

DisplayBuilder::DisplayBuilder() : CategoryBuilder("Display", false) {}

DisplayBuilder& DisplayBuilder::styleInternationalCharacter(Display::InternationalCharacterType type) {
    if (auto parameter = enumerationParameter("type", type))
        appendMethod("Style.InternationalCharacter", parameter);
    return *this;
}

DisplayBuilder& DisplayBuilder::styleCharacterEncoding(Display::CharacterEncodingType type) {
    if (auto parameter = enumerationParameter("type", type))
        appendMethod("Style.CharacterEncoding", parameter);
    return *this;
}

DisplayBuilder& DisplayBuilder::styleCursorPositionTo(const Display::PositionParameter& parameter) {
    appendMethod("Style.CursorPositionTo", JsonObject::make({{"x", parameter.x()}, {"y", parameter.y()}}));
    return *this;
}

DisplayBuilder& DisplayBuilder::actionClearLine() {
    appendMethod("Action.Clear.Line", JsonObject::make());
    return *this;
}

DisplayBuilder& DisplayBuilder::actionClearAll() {
    appendMethod("Action.Clear.All", JsonObject::make());
    return *this;
}

DisplayBuilder& DisplayBuilder::actionSetBackLightState(bool on) {
    appendMethod("Action.Set.BackLightState", JsonObject::make({{"on", on}}));
    return *this;
}

DisplayBuilder& DisplayBuilder::actionSetCursorState(Display::CursorState state) {
    if (auto parameter = enumerationParameter("value", state))
        appendMethod("Action.Set.CursorState", parameter);
    return *this;
}

DisplayBuilder& DisplayBuilder::actionSetContrast(Display::Contrast value) {
    if (auto parameter = enumerationParameter("value", value)) appendMethod("Action.Set.Contrast", parameter);
    return *this;
}

DisplayBuilder& DisplayBuilder::actionShowText(std::string_view content) {
    appendMethod("Action.Show.Text",
                 JsonObject::make({{"content", VelmarCommandParameterConverter::convertText(content)}}));
    return *this;
}

DisplayBuilder& DisplayBuilder::actionShowImage(const Display::ImageParameter& parameter) {
    const std::optional<ImagePixels> drawn = parameter.image().drawnInto(kImageWidth, kImageHeight);
    if (!drawn) return *this;
    try {
        BitmapConverter converter(*drawn);
        if (parameter.effectDiffusion()) {
            converter.diffuse();
        } else {
            converter.threshold(parameter.threshold());
        }
        int width = converter.width();
        if (width % 8 != 0) width += 8 - width % 8;
        appendMethod("Action.Show.Image", JsonObject::make({{"source", base64Encode(converter.toData())},
                                                            {"width", width},
                                                            {"height", converter.height()}}));
    } catch (const Prelix10Error&) {
        // An image that cannot be converted is left out.
    }
    return *this;
}

}  // namespace Prelix10::VelmarCommand
