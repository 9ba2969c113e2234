#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace TemplatePrint {

// A template failure as the triple the compile call reports: type id, code and message id.
class TemplatePrintException : public std::exception {
  public:
    TemplatePrintException(std::int32_t errorTypeId, std::int32_t errorCode, std::int32_t errorMessageId);

    std::int32_t getErrorTypeId() const noexcept { return errorTypeId_; }
    std::int32_t getErrorCode() const noexcept { return errorCode_; }
    std::int32_t getErrorMessageId() const noexcept { return errorMessageId_; }

    const char* what() const noexcept override { return text_.c_str(); }

    // The triples raised by the expansion itself (type id 1, code 7000).
    static TemplatePrintException invalidNumberFormat() { return {1, 7000, 7001}; }
    static TemplatePrintException differentArrays() { return {1, 7000, 7002}; }
    static TemplatePrintException nonAsciiSpecifier() { return {1, 7000, 7003}; }

  private:
    std::int32_t errorTypeId_;
    std::int32_t errorCode_;
    std::int32_t errorMessageId_;
    std::string text_;
};

}  // namespace TemplatePrint
