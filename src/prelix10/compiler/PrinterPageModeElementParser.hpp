#pragma once

#include "prelix10/command/printer/PageModeBuilder.hpp"
#include "prelix10/compiler/PrinterElementParser.hpp"

namespace VelmarCommandParser {

// The "PageMode" category inside "Printer": the printer methods and the page-mode methods, all to
// the page-mode builder; the area comes from the element's "parameters".
class PrinterPageModeElementParser : public PrinterElementParser {
  public:
    explicit PrinterPageModeElementParser(PrinterCommandBuilder::Printer::PageModeBuilder* builder);
    ~PrinterPageModeElementParser() override = default;

  private:
    PrinterCommandBuilder::Printer::PageModeBuilder* pageModeBuilder_;
};

}  // namespace VelmarCommandParser
