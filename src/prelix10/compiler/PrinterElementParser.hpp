#pragma once

#include <string>

#include "prelix10/command/printer/Builder.hpp"
#include "prelix10/command/printer/PageModeBuilder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Printer" category: every printer method to one operation of the printer builder. A
// mistyped, missing or unknown parameter skips that one method.
class PrinterElementParser : public ElementParser {
  public:
    // With a page-mode builder the parser also takes nested "PageMode" categories.
    explicit PrinterElementParser(PrinterCommandBuilder::Printer::Builder* builder,
                                  PrinterCommandBuilder::Printer::PageModeBuilder* pageModeBuilder = nullptr);
    ~PrinterElementParser() override = default;

  protected:
    PrinterElementParser(PrinterCommandBuilder::Printer::Builder* builder, std::string categoryName);
    void registerPrinterMethods();

    PrinterCommandBuilder::Printer::Builder* printerBuilder_;
};

}  // namespace VelmarCommandParser
