#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// The printable widths a model offers, in printer dots, each with the code that the printable-area
// command carries for it. The order matters: on equal distance the earlier entry wins.
class PrintableAreaTable {
  public:
    // Empty for a model that has no printable-area command.
    static std::vector<PrintableAreaInfo> entries(PrinterModel model);

    // The code of the narrowest width that holds `dots`, or of the widest one when none does;
    // nothing for a model without entries.
    static std::optional<std::uint8_t> chooseCode(PrinterModel model, std::int32_t dots);
};

}  // namespace PrinterCommandBuilder::Document
