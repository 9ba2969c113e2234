#pragma once

#include "prelix10/core/Export.hpp"

#include <optional>
#include <string>
#include <utility>

#include "prelix10/builder/VelmarCommandEnumeration.hpp"
#include "prelix10/platform/ImagePixels.hpp"

// Parameter and enumeration types of the printer and page-mode builders. Values given at construction
// are fixed; the others start at their defaults and change through setters that return the object.
// Setters check nothing: ranges are the printer's business.
namespace Prelix10::VelmarCommand {

class PRELIX10_EXPORT TemplateExtensionParameter {
  public:
    TemplateExtensionParameter() = default;
    bool enableArrayFieldData() const { return enableArrayFieldData_; }
    TemplateExtensionParameter& setEnableArrayFieldData(bool value) {
        enableArrayFieldData_ = value;
        return *this;
    }

  private:
    bool enableArrayFieldData_ = false;
};

class PRELIX10_EXPORT MagnificationParameter {
  public:
    MagnificationParameter(int width, int height) : width_(width), height_(height) {}
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_;
    int height_;
};

namespace Printer {

enum class Alignment : int { Left, Center, Right };
enum class TextAlignment : int { Left, Center, Right };
enum class FontType : int { A, B };
enum class BaseMagnification : int { Standard, X1_5 };
enum class TextWidthType : int { Half, Full };
enum class TextEllipsizeType : int { None, Start, Middle, End };
enum class TextPrintType : int { GoneWhenEmpty, Always };
enum class CutType : int { Full, Partial, FullDirect, PartialDirect, TearOff };
enum class PageModePrintDirection : int { BottomToTop, LeftToRight, RightToLeft, TopToBottom };
enum class BarcodeSymbology : int { UpcE, UpcA, Jan8, Ean8, Jan13, Ean13, Code39, Itf, Code128, Code93, NW7 };
enum class BarcodeBarRatioLevel : int { LevelPlus1, Level0, LevelMinus1 };
enum class PDF417Level : int { Ecc0, Ecc1, Ecc2, Ecc3, Ecc4, Ecc5, Ecc6, Ecc7, Ecc8 };
enum class QRCodeModel : int { Model1, Model2 };
enum class QRCodeLevel : int { L, M, Q, H };
enum class LineStyle : int { Single, Double };
enum class BlackMarkPosition : int { Front, Back };
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
    Korea,
    Ireland,
    Slovenia,
    Croatia,
    China,
    Vietnam,
    Arabic,
    India,
    Legal
};
enum class CharacterEncodingType : int { Japanese, SimplifiedChinese, TraditionalChinese, Korean, CodePage };
enum class CJKCharacterType : int { Japanese, SimplifiedChinese, TraditionalChinese, Korean };
enum class AmbiguousCharacterWidthType : int { Half, Full };

// Carries the optional template extension of a printer part.
class PRELIX10_EXPORT PrinterParameter {
  public:
    PrinterParameter() = default;
    const std::optional<TemplateExtensionParameter>& templateExtension() const { return templateExtension_; }
    PrinterParameter& setTemplateExtension(std::optional<TemplateExtensionParameter> value) {
        templateExtension_ = std::move(value);
        return *this;
    }

  private:
    std::optional<TemplateExtensionParameter> templateExtension_;
};

// Carries the optional template extension of a page.
class PRELIX10_EXPORT PageModeParameter {
  public:
    PageModeParameter() = default;
    const std::optional<TemplateExtensionParameter>& templateExtension() const { return templateExtension_; }
    PageModeParameter& setTemplateExtension(std::optional<TemplateExtensionParameter> value) {
        templateExtension_ = std::move(value);
        return *this;
    }

  private:
    std::optional<TemplateExtensionParameter> templateExtension_;
};

class PRELIX10_EXPORT BaseMagnificationParameter {
  public:
    BaseMagnificationParameter() = default;
    BaseMagnification text() const { return text_; }
    BaseMagnificationParameter& setText(BaseMagnification value) {
        text_ = value;
        return *this;
    }

  private:
    BaseMagnification text_ = BaseMagnification::Standard;
};

class PRELIX10_EXPORT TextWidthParameter {
  public:
    TextWidthParameter() = default;
    TextWidthType widthType() const { return widthType_; }
    TextAlignment alignment() const { return alignment_; }
    TextEllipsizeType ellipsizeType() const { return ellipsizeType_; }
    TextPrintType printType() const { return printType_; }
    TextWidthParameter& setWidthType(TextWidthType value) {
        widthType_ = value;
        return *this;
    }
    TextWidthParameter& setAlignment(TextAlignment value) {
        alignment_ = value;
        return *this;
    }
    TextWidthParameter& setEllipsizeType(TextEllipsizeType value) {
        ellipsizeType_ = value;
        return *this;
    }
    TextWidthParameter& setPrintType(TextPrintType value) {
        printType_ = value;
        return *this;
    }

  private:
    TextWidthType widthType_ = TextWidthType::Half;
    TextAlignment alignment_ = TextAlignment::Left;
    TextEllipsizeType ellipsizeType_ = TextEllipsizeType::None;
    TextPrintType printType_ = TextPrintType::GoneWhenEmpty;
};

class PRELIX10_EXPORT TextParameter {
  public:
    TextParameter() = default;
    const std::optional<int>& width() const { return width_; }
    const std::optional<TextWidthParameter>& widthParameter() const { return widthParameter_; }
    // Stores the width and replaces the width parameter (none included). The width cannot be cleared.
    TextParameter& setWidth(int width, std::optional<TextWidthParameter> parameter = std::nullopt) {
        width_ = width;
        widthParameter_ = std::move(parameter);
        return *this;
    }

  private:
    std::optional<int> width_;
    std::optional<TextWidthParameter> widthParameter_;
};

class PRELIX10_EXPORT LogoParameter {
  public:
    explicit LogoParameter(std::string keyCode) : keyCode_(std::move(keyCode)) {}
    const std::string& keyCode() const { return keyCode_; }

  private:
    std::string keyCode_;
};

class PRELIX10_EXPORT BarcodeParameter {
  public:
    BarcodeParameter(std::string content, BarcodeSymbology symbology)
        : content_(std::move(content)), symbology_(symbology) {}
    const std::string& content() const { return content_; }
    BarcodeSymbology symbology() const { return symbology_; }
    bool printHRI() const { return printHRI_; }
    int barDots() const { return barDots_; }
    BarcodeBarRatioLevel barRatioLevel() const { return barRatioLevel_; }
    double height() const { return height_; }
    BarcodeParameter& setPrintHRI(bool value) {
        printHRI_ = value;
        return *this;
    }
    BarcodeParameter& setBarDots(int value) {
        barDots_ = value;
        return *this;
    }
    BarcodeParameter& setBarRatioLevel(BarcodeBarRatioLevel value) {
        barRatioLevel_ = value;
        return *this;
    }
    BarcodeParameter& setHeight(double value) {
        height_ = value;
        return *this;
    }

  private:
    std::string content_;
    BarcodeSymbology symbology_;
    bool printHRI_ = false;
    int barDots_ = 2;
    BarcodeBarRatioLevel barRatioLevel_ = BarcodeBarRatioLevel::Level0;
    double height_ = 10.0;
};

class PRELIX10_EXPORT PDF417Parameter {
  public:
    explicit PDF417Parameter(std::string content) : content_(std::move(content)) {}
    const std::string& content() const { return content_; }
    int column() const { return column_; }
    int line() const { return line_; }
    int module() const { return module_; }
    int aspect() const { return aspect_; }
    PDF417Level level() const { return level_; }
    PDF417Parameter& setColumn(int value) {
        column_ = value;
        return *this;
    }
    PDF417Parameter& setLine(int value) {
        line_ = value;
        return *this;
    }
    PDF417Parameter& setModule(int value) {
        module_ = value;
        return *this;
    }
    PDF417Parameter& setAspect(int value) {
        aspect_ = value;
        return *this;
    }
    PDF417Parameter& setLevel(PDF417Level value) {
        level_ = value;
        return *this;
    }

  private:
    std::string content_;
    int column_ = 3;
    int line_ = 0;
    int module_ = 3;
    int aspect_ = 3;
    PDF417Level level_ = PDF417Level::Ecc1;
};

class PRELIX10_EXPORT QRCodeParameter {
  public:
    explicit QRCodeParameter(std::string content) : content_(std::move(content)) {}
    const std::string& content() const { return content_; }
    QRCodeModel model() const { return model_; }
    QRCodeLevel level() const { return level_; }
    int cellSize() const { return cellSize_; }
    QRCodeParameter& setModel(QRCodeModel value) {
        model_ = value;
        return *this;
    }
    QRCodeParameter& setLevel(QRCodeLevel value) {
        level_ = value;
        return *this;
    }
    QRCodeParameter& setCellSize(int value) {
        cellSize_ = value;
        return *this;
    }

  private:
    std::string content_;
    QRCodeModel model_ = QRCodeModel::Model2;
    QRCodeLevel level_ = QRCodeLevel::L;
    int cellSize_ = 3;
};

class PRELIX10_EXPORT ImageParameter {
  public:
    // width in pixels
    ImageParameter(ImagePixels image, int width) : image_(std::move(image)), width_(width) {}
    const ImagePixels& image() const { return image_; }
    int width() const { return width_; }
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
    int width_;
    bool effectDiffusion_ = false;
    int threshold_ = 127;
};

class PRELIX10_EXPORT RuledLineParameter {
  public:
    explicit RuledLineParameter(double width) : width_(width) {}
    double width() const { return width_; }
    double x() const { return x_; }
    double thickness() const { return thickness_; }
    LineStyle lineStyle() const { return lineStyle_; }
    RuledLineParameter& setX(double value) {
        x_ = value;
        return *this;
    }
    RuledLineParameter& setThickness(double value) {
        thickness_ = value;
        return *this;
    }
    RuledLineParameter& setLineStyle(LineStyle value) {
        lineStyle_ = value;
        return *this;
    }

  private:
    double width_;
    double x_ = 0.0;
    double thickness_ = 0.25;
    LineStyle lineStyle_ = LineStyle::Single;
};

class PRELIX10_EXPORT PageModeAreaParameter {
  public:
    PageModeAreaParameter(double width, double height) : width_(width), height_(height) {}
    double width() const { return width_; }
    double height() const { return height_; }
    double x() const { return x_; }
    double y() const { return y_; }
    PageModeAreaParameter& setX(double value) {
        x_ = value;
        return *this;
    }
    PageModeAreaParameter& setY(double value) {
        y_ = value;
        return *this;
    }

  private:
    double width_;
    double height_;
    double x_ = 0.0;
    double y_ = 0.0;
};

class PRELIX10_EXPORT PageModeImageParameter {
  public:
    PageModeImageParameter(ImagePixels image, double x, double y, int width)
        : image_(std::move(image)), x_(x), y_(y), width_(width) {}
    const ImagePixels& image() const { return image_; }
    double x() const { return x_; }
    double y() const { return y_; }
    int width() const { return width_; }
    bool effectDiffusion() const { return effectDiffusion_; }
    int threshold() const { return threshold_; }
    PageModeImageParameter& setEffectDiffusion(bool value) {
        effectDiffusion_ = value;
        return *this;
    }
    PageModeImageParameter& setThreshold(int value) {
        threshold_ = value;
        return *this;
    }

  private:
    ImagePixels image_;
    double x_;
    double y_;
    int width_;
    bool effectDiffusion_ = false;
    int threshold_ = 127;
};

class PRELIX10_EXPORT PageModeRuledLineParameter {
  public:
    PageModeRuledLineParameter(double xStart, double yStart, double xEnd, double yEnd)
        : xStart_(xStart), yStart_(yStart), xEnd_(xEnd), yEnd_(yEnd) {}
    double xStart() const { return xStart_; }
    double yStart() const { return yStart_; }
    double xEnd() const { return xEnd_; }
    double yEnd() const { return yEnd_; }
    double thickness() const { return thickness_; }
    LineStyle lineStyle() const { return lineStyle_; }
    PageModeRuledLineParameter& setThickness(double value) {
        thickness_ = value;
        return *this;
    }
    PageModeRuledLineParameter& setLineStyle(LineStyle value) {
        lineStyle_ = value;
        return *this;
    }

  private:
    double xStart_;
    double yStart_;
    double xEnd_;
    double yEnd_;
    double thickness_ = 0.25;
    LineStyle lineStyle_ = LineStyle::Single;
};

class PRELIX10_EXPORT PageModeRectangleParameter {
  public:
    PageModeRectangleParameter(double x, double y, double width, double height)
        : x_(x), y_(y), width_(width), height_(height) {}
    double x() const { return x_; }
    double y() const { return y_; }
    double width() const { return width_; }
    double height() const { return height_; }
    double thickness() const { return thickness_; }
    bool roundCorner() const { return roundCorner_; }
    double cornerRadius() const { return cornerRadius_; }
    LineStyle lineStyle() const { return lineStyle_; }
    PageModeRectangleParameter& setThickness(double value) {
        thickness_ = value;
        return *this;
    }
    PageModeRectangleParameter& setRoundCorner(bool value) {
        roundCorner_ = value;
        return *this;
    }
    PageModeRectangleParameter& setCornerRadius(double value) {
        cornerRadius_ = value;
        return *this;
    }
    PageModeRectangleParameter& setLineStyle(LineStyle value) {
        lineStyle_ = value;
        return *this;
    }

  private:
    double x_;
    double y_;
    double width_;
    double height_;
    double thickness_ = 0.25;
    bool roundCorner_ = false;
    double cornerRadius_ = 0.0;
    LineStyle lineStyle_ = LineStyle::Single;
};

class PRELIX10_EXPORT BlackMarkParameter {
  public:
    BlackMarkParameter() = default;
    bool enable() const { return enable_; }
    BlackMarkPosition position() const { return position_; }
    BlackMarkParameter& setEnable(bool value) {
        enable_ = value;
        return *this;
    }
    BlackMarkParameter& setPosition(BlackMarkPosition value) {
        position_ = value;
        return *this;
    }

  private:
    bool enable_ = true;
    BlackMarkPosition position_ = BlackMarkPosition::Back;
};

class PRELIX10_EXPORT LabelParameter {
  public:
    LabelParameter() = default;
    bool enable() const { return internalEnable_; }
    LabelParameter& setEnable(bool value) {
        internalEnable_ = value;
        return *this;
    }

  private:
    bool internalEnable_ = true;
};

class PRELIX10_EXPORT HoldPrintParameter {
  public:
    explicit HoldPrintParameter(bool enable) : enable_(enable) {}
    bool enable() const { return enable_; }

  private:
    bool enable_;
};

}  // namespace Printer
}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::Alignment, "Left", "Center", "Right");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::TextAlignment, "Left", "Center", "Right");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::FontType, "A", "B");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::BaseMagnification, "Standard", "X1_5");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::TextWidthType, "Half", "Full");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::TextEllipsizeType, "None", "Start", "Middle",
                           "End");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::TextPrintType, "GoneWhenEmpty", "Always");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::CutType, "Full", "Partial", "FullDirect",
                           "PartialDirect", "TearOff");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::PageModePrintDirection, "BottomToTop",
                           "LeftToRight", "RightToLeft", "TopToBottom");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::BarcodeSymbology, "UpcE", "UpcA", "Jan8", "Ean8",
                           "Jan13", "Ean13", "Code39", "Itf", "Code128", "Code93", "NW7");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::BarcodeBarRatioLevel, "LevelPlus1", "Level0",
                           "LevelMinus1");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::PDF417Level, "Ecc0", "Ecc1", "Ecc2", "Ecc3",
                           "Ecc4", "Ecc5", "Ecc6", "Ecc7", "Ecc8");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::QRCodeModel, "Model1", "Model2");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::QRCodeLevel, "L", "M", "Q", "H");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::LineStyle, "Single", "Double");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::BlackMarkPosition, "Front", "Back");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::InternationalCharacterType, "Usa", "France",
                           "Germany", "UK", "Denmark", "Sweden", "Italy", "Spain", "Japan", "Norway",
                           "Denmark2", "Spain2", "LatinAmerica", "Korea", "Ireland", "Slovenia", "Croatia",
                           "China", "Vietnam", "Arabic", "India", "Legal");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::CharacterEncodingType, "Japanese",
                           "SimplifiedChinese", "TraditionalChinese", "Korean", "CodePage");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::CJKCharacterType, "Japanese",
                           "SimplifiedChinese", "TraditionalChinese", "Korean");
PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Printer::AmbiguousCharacterWidthType, "Half", "Full");
