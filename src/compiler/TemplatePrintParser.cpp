#include "compiler/TemplatePrintParser.hpp"

namespace TemplatePrint {

// Until expansion is in place a template passes through as the document itself.
std::string TemplatePrintParser::parse(const std::string& templateText, const std::string& /*fieldData*/,
                                       std::int32_t& /*errorTypeId*/, std::int32_t& /*errorCode*/,
                                       std::int32_t& /*errorMessageId*/) {
    return templateText;
}

}  // namespace TemplatePrint
