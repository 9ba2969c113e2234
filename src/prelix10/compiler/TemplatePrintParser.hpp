#pragma once

#include <cstdint>
#include <string>

namespace TemplatePrint {

// Expands a template document with field data into a plain command document.
class TemplatePrintParser {
  public:
    // On success returns the expanded document and leaves the three ids untouched (callers preset
    // them to -1); on failure returns "{}" and sets the error triple.
    std::string parse(const std::string& templateText, const std::string& fieldData,
                      std::int32_t& errorTypeId, std::int32_t& errorCode, std::int32_t& errorMessageId);
};

}  // namespace TemplatePrint
