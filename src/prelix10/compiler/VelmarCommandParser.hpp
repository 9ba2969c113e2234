#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

// The compile call: a command document (or field data for a template) into the bytes of one
// printer model and emulation.
class PRELIX10_EXPORT VelmarCommandParser {
  public:
    VelmarCommandParser() = default;

    // Raises Prelix10Error: the unexpected-state error for a model without a compiler name
    // (line 21) or an emulation without a name (line 27), the template's error, and argument /
    // jsonFormatError (5000) for a command document that is not valid JSON.
    std::vector<std::uint8_t> parse(const std::string& data, const std::optional<std::string>& templateText,
                                    OrvoPrinterModel model, OrvoPrinterEmulation emulation);

    // The name the compiler core knows an emulation by; none for a value outside the enumeration.
    static std::optional<std::string> emulationName(OrvoPrinterEmulation emulation);

  private:
    std::vector<std::uint8_t> compile(const std::string& command, const std::string& emulationName,
                                      const std::string& modelName);
};

}  // namespace Prelix10
