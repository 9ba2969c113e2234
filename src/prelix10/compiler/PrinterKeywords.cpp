#include "prelix10/compiler/PrinterKeywords.hpp"

namespace VelmarCommandParser {

using namespace PrinterCommandBuilder::Printer;

const std::map<std::string, AlignmentType>& PrinterKeywords::alignment() {
    static const std::map<std::string, AlignmentType> map = {
        {"Left", AlignmentType::Left}, {"Center", AlignmentType::Center}, {"Right", AlignmentType::Right}};
    return map;
}

const std::map<std::string, CutType>& PrinterKeywords::cut() {
    static const std::map<std::string, CutType> map = {{"Partial", CutType::Partial},
                                                       {"PartialDirect", CutType::PartialDirect},
                                                       {"Full", CutType::Full},
                                                       {"FullDirect", CutType::FullDirect},
                                                       {"TearOff", CutType::TearOff}};
    return map;
}

const std::map<std::string, BarcodeType>& PrinterKeywords::barcode() {
    static const std::map<std::string, BarcodeType> map = {
        {"Jan8", BarcodeType::Jan8},     {"Ean8", BarcodeType::Ean8},       {"Jan13", BarcodeType::Jan13},
        {"Ean13", BarcodeType::Ean13},   {"UpcA", BarcodeType::UpcA},       {"UpcE", BarcodeType::UpcE},
        {"Code39", BarcodeType::Code39}, {"Code128", BarcodeType::Code128}, {"Code93", BarcodeType::Code93},
        {"NW7", BarcodeType::NW7},       {"Itf", BarcodeType::Itf}};
    return map;
}

const std::map<std::string, BarRatioLevel>& PrinterKeywords::barRatio() {
    static const std::map<std::string, BarRatioLevel> map = {{"LevelMinus1", BarRatioLevel::LevelMinus1},
                                                             {"Level0", BarRatioLevel::Level0},
                                                             {"LevelPlus1", BarRatioLevel::LevelPlus1}};
    return map;
}

const std::map<std::string, Pdf417EccLevel>& PrinterKeywords::pdf417Level() {
    static const std::map<std::string, Pdf417EccLevel> map = [] {
        std::map<std::string, Pdf417EccLevel> levels;
        for (int i = 0; i <= 8; ++i) levels["Ecc" + std::to_string(i)] = static_cast<Pdf417EccLevel>(i);
        return levels;
    }();
    return map;
}

const std::map<std::string, QrCodeModel>& PrinterKeywords::qrModel() {
    static const std::map<std::string, QrCodeModel> map = {{"Model1", QrCodeModel::Model1},
                                                           {"Model2", QrCodeModel::Model2}};
    return map;
}

const std::map<std::string, QrCodeErrorCorrectionLevel>& PrinterKeywords::qrLevel() {
    static const std::map<std::string, QrCodeErrorCorrectionLevel> map = {
        {"L", QrCodeErrorCorrectionLevel::L},
        {"M", QrCodeErrorCorrectionLevel::M},
        {"Q", QrCodeErrorCorrectionLevel::Q},
        {"H", QrCodeErrorCorrectionLevel::H}};
    return map;
}

const std::map<std::string, TextWidthType>& PrinterKeywords::textWidthType() {
    static const std::map<std::string, TextWidthType> map = {{"Half", TextWidthType::Half},
                                                             {"Full", TextWidthType::Full}};
    return map;
}

const std::map<std::string, TextAlignment>& PrinterKeywords::textAlignment() {
    static const std::map<std::string, TextAlignment> map = {
        {"Left", TextAlignment::Left}, {"Center", TextAlignment::Center}, {"Right", TextAlignment::Right}};
    return map;
}

const std::map<std::string, TextEllipsizeType>& PrinterKeywords::ellipsize() {
    static const std::map<std::string, TextEllipsizeType> map = {{"None", TextEllipsizeType::None},
                                                                 {"Start", TextEllipsizeType::Start},
                                                                 {"Middle", TextEllipsizeType::Middle},
                                                                 {"End", TextEllipsizeType::End}};
    return map;
}

const std::map<std::string, TextPrintType>& PrinterKeywords::printType() {
    static const std::map<std::string, TextPrintType> map = {{"GoneWhenEmpty", TextPrintType::GoneWhenEmpty},
                                                             {"Always", TextPrintType::Always}};
    return map;
}

const std::map<std::string, LineStyle>& PrinterKeywords::lineStyle() {
    static const std::map<std::string, LineStyle> map = {{"Single", LineStyle::Single},
                                                         {"Double", LineStyle::Double}};
    return map;
}

const std::map<std::string, InternationalCharacterType>& PrinterKeywords::international() {
    using I = InternationalCharacterType;
    static const std::map<std::string, I> map = {{"Usa", I::Usa},
                                                 {"France", I::France},
                                                 {"Germany", I::Germany},
                                                 {"UK", I::UK},
                                                 {"Denmark", I::Denmark},
                                                 {"Sweden", I::Sweden},
                                                 {"Italy", I::Italy},
                                                 {"Spain", I::Spain},
                                                 {"Japan", I::Japan},
                                                 {"Norway", I::Norway},
                                                 {"Denmark2", I::Denmark2},
                                                 {"Spain2", I::Spain2},
                                                 {"LatinAmerica", I::LatinAmerica},
                                                 {"Korea", I::Korea},
                                                 {"Ireland", I::Ireland},
                                                 {"Slovenia", I::Slovenia},
                                                 {"Croatia", I::Croatia},
                                                 {"China", I::China},
                                                 {"Vietnam", I::Vietnam},
                                                 {"Arabic", I::Arabic},
                                                 {"India", I::India},
                                                 {"Legal", I::Legal}};
    return map;
}

const std::map<std::string, FontType>& PrinterKeywords::font() {
    static const std::map<std::string, FontType> map = {
        {"A", FontType::A}, {"B", FontType::B}, {"C", FontType::C}};
    return map;
}

const std::map<std::string, PrinterCommands::Encode>& PrinterKeywords::cjkPriority() {
    using E = PrinterCommands::Encode;
    static const std::map<std::string, E> map = {{"TraditionalChinese", E::TraditionalChinese},
                                                 {"SimplifiedChinese", E::SimplifiedChinese},
                                                 {"Japanese", E::Japanese},
                                                 {"Korean", E::Korean}};
    return map;
}

const std::map<std::string, AmbiguousCharacterWidthType>& PrinterKeywords::ambiguousWidth() {
    static const std::map<std::string, AmbiguousCharacterWidthType> map = {
        {"Half", AmbiguousCharacterWidthType::Half}, {"Full", AmbiguousCharacterWidthType::Full}};
    return map;
}

const std::map<std::string, Encode>& PrinterKeywords::secondPriority() {
    static const std::map<std::string, Encode> map = {{"Japanese", Encode::Japanese},
                                                      {"SimplifiedChinese", Encode::SimplifiedChinese},
                                                      {"TraditionalChinese", Encode::TraditionalChinese},
                                                      {"Korean", Encode::Korean},
                                                      {"CodePage", Encode::CodePage}};
    return map;
}

const std::map<std::string, BaseMagnificationType>& PrinterKeywords::baseMagnification() {
    static const std::map<std::string, BaseMagnificationType> map = {
        {"Standard", BaseMagnificationType::Standard}, {"X1_5", BaseMagnificationType::X1_5}};
    return map;
}

const std::map<std::string, PrintDirection>& PrinterKeywords::direction() {
    static const std::map<std::string, PrintDirection> map = {{"LeftToRight", PrintDirection::LeftToRight},
                                                              {"TopToBottom", PrintDirection::TopToBottom},
                                                              {"RightToLeft", PrintDirection::RightToLeft},
                                                              {"BottomToTop", PrintDirection::BottomToTop}};
    return map;
}

}  // namespace VelmarCommandParser
