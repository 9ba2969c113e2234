#pragma once

#include <map>
#include <string>

#include "prelix10/command/Encode.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace VelmarCommandParser {

namespace PrinterCommands = PrinterCommandBuilder::Printer;

// The keyword tables of the printer and page-mode methods: document text (exact, case-sensitive)
// to the builder's enumeration value.
struct PrinterKeywords {
    static const std::map<std::string, PrinterCommands::AlignmentType>& alignment();
    static const std::map<std::string, PrinterCommands::CutType>& cut();
    static const std::map<std::string, PrinterCommands::BarcodeType>& barcode();
    static const std::map<std::string, PrinterCommands::BarRatioLevel>& barRatio();
    static const std::map<std::string, PrinterCommands::Pdf417EccLevel>& pdf417Level();
    static const std::map<std::string, PrinterCommands::QrCodeModel>& qrModel();
    static const std::map<std::string, PrinterCommands::QrCodeErrorCorrectionLevel>& qrLevel();
    static const std::map<std::string, PrinterCommands::TextWidthType>& textWidthType();
    static const std::map<std::string, PrinterCommands::TextAlignment>& textAlignment();
    static const std::map<std::string, PrinterCommands::TextEllipsizeType>& ellipsize();
    static const std::map<std::string, PrinterCommands::TextPrintType>& printType();
    static const std::map<std::string, PrinterCommands::LineStyle>& lineStyle();
    static const std::map<std::string, PrinterCommands::InternationalCharacterType>& international();
    static const std::map<std::string, PrinterCommands::FontType>& font();
    static const std::map<std::string, PrinterCommands::Encode>& cjkPriority();
    static const std::map<std::string, PrinterCommands::AmbiguousCharacterWidthType>& ambiguousWidth();
    static const std::map<std::string, Encode>& secondPriority();
    static const std::map<std::string, PrinterCommands::BaseMagnificationType>& baseMagnification();
    static const std::map<std::string, PrinterCommands::PrintDirection>& direction();
};

}  // namespace VelmarCommandParser
