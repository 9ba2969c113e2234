#include "prelix10/compiler/TemplatePrintException.hpp"

namespace TemplatePrint {

TemplatePrintException::TemplatePrintException(std::int32_t errorTypeId, std::int32_t errorCode,
                                               std::int32_t errorMessageId)
    : errorTypeId_(errorTypeId),
      errorCode_(errorCode),
      errorMessageId_(errorMessageId),
      text_("TemplatePrintException: errorTypeId = " + std::to_string(errorTypeId) + ", errorCode = " +
            std::to_string(errorCode) + ", errorMessageId = " + std::to_string(errorMessageId)) {}

}  // namespace TemplatePrint
