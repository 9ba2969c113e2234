#pragma once

#include <cstdint>

namespace PrinterCommandBuilder::Printer {

enum class AlignmentType : std::int32_t { Left = 0, Center = 1, Right = 2 };

enum class BarcodeType : std::int32_t {
    Jan8 = 0,
    Ean8 = 1,
    Jan13 = 2,
    Ean13 = 3,
    UpcA = 4,
    UpcE = 5,
    Code39 = 6,
    Code128 = 7,
    Code93 = 8,
    NW7 = 9,
    Itf = 10,
};

enum class BarRatioLevel : std::int32_t { LevelMinus1 = 0, Level0 = 1, LevelPlus1 = 2 };

enum class CutType : std::int32_t { Partial = 0, PartialDirect = 1, Full = 2, FullDirect = 3, TearOff = 4 };

enum class Pdf417EccLevel : std::int32_t {
    Ecc0 = 0,
    Ecc1 = 1,
    Ecc2 = 2,
    Ecc3 = 3,
    Ecc4 = 4,
    Ecc5 = 5,
    Ecc6 = 6,
    Ecc7 = 7,
    Ecc8 = 8,
};

enum class QrCodeModel : std::int32_t { Model1 = 0, Model2 = 1 };

enum class QrCodeErrorCorrectionLevel : std::int32_t { L = 0, M = 1, Q = 2, H = 3 };

enum class InternationalCharacterType : std::int32_t {
    Usa = 0,
    France = 1,
    Germany = 2,
    UK = 3,
    Denmark = 4,
    Sweden = 5,
    Italy = 6,
    Spain = 7,
    Japan = 8,
    Norway = 9,
    Denmark2 = 10,
    Spain2 = 11,
    LatinAmerica = 12,
    Korea = 13,
    Ireland = 14,
    Slovenia = 15,
    Croatia = 16,
    China = 17,
    Vietnam = 18,
    Arabic = 19,
    India = 20,
    Legal = 21,
};

enum class FontType : std::int32_t { A = 0, B = 1, C = 2 };

// The CJK priority numbering of the style record (differs from the converter's numbering).
enum class Encode : std::int32_t { TraditionalChinese = 0, SimplifiedChinese = 1, Japanese = 2, Korean = 3 };

enum class AmbiguousCharacterWidthType : std::int32_t { Half = 0, Full = 1 };

enum class BaseMagnificationType : std::int32_t { Standard = 0, X1_5 = 1 };

enum class LineStyle : std::int32_t { Single = 0, Double = 1 };

enum class PrintResolution : std::int32_t { Dpi203 = 0, Dpi300 = 1 };

enum class DecimalPointCalcType : std::int32_t { Round = 0, Floor = 1, Ceil = 2 };

enum class PrintDirection : std::int32_t {
    LeftToRight = 0,
    TopToBottom = 1,
    RightToLeft = 2,
    BottomToTop = 3
};

enum class AreaType : std::int32_t { Page = 0, ElementBand = 1 };

enum class CornerPosition : std::int32_t { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

enum class TextWidthType : std::int32_t { Half = 0, Full = 1 };
enum class TextAlignment : std::int32_t { Left = 0, Center = 1, Right = 2 };
enum class TextEllipsizeType : std::int32_t { None = 0, Start = 1, Middle = 2, End = 3 };
enum class TextPrintType : std::int32_t { GoneWhenEmpty = 0, Always = 1 };

// How a text is laid into a fixed number of cells; all zero when no width was given.
struct TextWidthParameter {
    bool widthSpecified = false;
    std::int32_t width = 0;
    TextWidthType widthType = TextWidthType::Half;
    TextAlignment alignment = TextAlignment::Left;
    TextEllipsizeType ellipsizeType = TextEllipsizeType::None;
    TextPrintType printType = TextPrintType::GoneWhenEmpty;
};

// Character magnification, width then height.
class ExpansionRatioParam {
  public:
    ExpansionRatioParam() = default;
    ExpansionRatioParam(std::int32_t width, std::int32_t height) : width(width), height(height) {}
    bool compare(const ExpansionRatioParam& other) const {
        return width == other.width && height == other.height;
    }

    std::int32_t width = 1;
    std::int32_t height = 1;
};

}  // namespace PrinterCommandBuilder::Printer
