#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

// What the compile call needs of a model's record: the name the command compiler knows it by.
struct CompilerModelSpec {
    std::optional<std::string> velmarCommandParserModelName;
};

// The process-wide printer-model lock, and the table of compiler model names read under it.
// The table starts with the library's own rows; the printer object's full model table may install
// its rows in their place with replaceCompilerModelTable.
class PrinterSpecConstants {
  public:
    using Row = std::pair<OrvoPrinterModel, CompilerModelSpec>;

    // Created on first use; not recursive.
    static std::mutex& lock();

    // The rows in table order. The caller holds lock().
    static const std::vector<Row>& compilerModelTable();
    // Replaces the rows; takes the lock itself.
    static void replaceCompilerModelTable(std::vector<Row> rows);

    // The first row whose model equals model, copied; none without a row. The caller holds lock().
    static std::optional<CompilerModelSpec> findCompilerModelSpec(OrvoPrinterModel model);

  private:
    static std::vector<Row>& table();
};

}  // namespace Prelix10
