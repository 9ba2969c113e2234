#pragma once

#include "prelix10/core/Export.hpp"
#include <string_view>

#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/VelmarCommandEnumeration.hpp"
#include "prelix10/platform/ImagePixels.hpp"

namespace Prelix10::VelmarCommand {

namespace Display {

enum class InternationalCharacterType : int {
    Usa,
    France,
    Germany,
    UK,
    Denmark,
    Sweden,
    Italy,
    Spain,
    Japan,
    Norway,
    Denmark2,
    Spain2,
    LatinAmerica,
    Korea
};
enum class CharacterEncodingType : int { Japanese, SimplifiedChinese, TraditionalChinese, Korean, CodePage };
enum class CursorState : int { On, Blink, Off };
enum class Contrast : int { Plus3, Plus2, Plus1, Default, Minus1, Minus2, Minus3 };

class PRELIX10_EXPORT PositionParameter {
  public:
    PositionParameter(int x, int y) : x_(x), y_(y) {}
    int x() const { return x_; }
    int y() const { return y_; }

  private:
    int x_;
    int y_;
};

class PRELIX10_EXPORT ImageParameter {
  public:
    explicit ImageParameter(ImagePixels image) : image_(std::move(image)) {}
    const ImagePixels& image() const { return image_; }
    bool effectDiffusion() const { return effectDiffusion_; }
    int threshold() const { return threshold_; }
    ImageParameter& setEffectDiffusion(bool value) {
        effectDiffusion_ = value;
        return *this;
    }
    ImageParameter& setThreshold(int value) {
        threshold_ = value;
        return *this;
    }

  private:
    ImagePixels image_;
    bool effectDiffusion_ = false;
    int threshold_ = 127;
};

}  // namespace Display

// The customer display part of a document: {"category": "Display", "contents": [...]}.
class PRELIX10_EXPORT DisplayBuilder : public CategoryBuilder {
  public:
    DisplayBuilder();

    DisplayBuilder& styleInternationalCharacter(Display::InternationalCharacterType type);
    DisplayBuilder& styleCharacterEncoding(Display::CharacterEncodingType type);
    DisplayBuilder& styleCursorPositionTo(const Display::PositionParameter& parameter);
    DisplayBuilder& actionClearLine();
    DisplayBuilder& actionClearAll();
    DisplayBuilder& actionSetBackLightState(bool on);
    DisplayBuilder& actionSetCursorState(Display::CursorState state);
    DisplayBuilder& actionSetContrast(Display::Contrast value);
    DisplayBuilder& actionShowText(std::string_view content);
    // The image stretched to 160 x 40 pixels; nothing is appended when it cannot be drawn or converted.
    DisplayBuilder& actionShowImage(const Display::ImageParameter& parameter);

    static constexpr int kImageWidth = 160;
    static constexpr int kImageHeight = 40;
};

}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Display::InternationalCharacterType, "Usa", "France",
                           "Germany", "UK", "Denmark", "Sweden", "Italy", "Spain", "Japan", "Norway",
                           "Denmark2", "Spain2", "LatinAmerica", "Korea");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Display::CharacterEncodingType, "Japanese",
                           "SimplifiedChinese", "TraditionalChinese", "Korean", "CodePage");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Display::CursorState, "On", "Blink", "Off");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Display::Contrast, "Plus3", "Plus2", "Plus1", "Default",
                           "Minus1", "Minus2", "Minus3");
