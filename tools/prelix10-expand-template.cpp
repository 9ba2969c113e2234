// Expands a template document with field data and prints the resulting command document.
// Usage: prelix10-expand-template TEMPLATE FIELDDATA   (file paths; "-" reads standard input)
// On failure nothing goes to standard output; standard error gets one line with the error triple and
// the error it becomes, and the exit status is 1. Bad arguments and unreadable files exit with status 2.
#include <cstdint>
#include <iostream>
#include <string>

#include "prelix10/compiler/TemplatePrintParser.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "ToolCommon.hpp"

int main(int argc, char** argv) {
    return ToolCommon::run("prelix10-expand-template", [&]() -> int {
        if (argc != 3 || (argv[1][0] == '-' && argv[1][1] != '\0') || (argv[2][0] == '-' && argv[2][1] != '\0'))
            throw ToolCommon::ToolFailure{"usage: prelix10-expand-template TEMPLATE FIELDDATA"};
        if (std::string(argv[1]) == "-" && std::string(argv[2]) == "-")
            throw ToolCommon::ToolFailure{"only one of TEMPLATE and FIELDDATA can be standard input"};
        const std::string templateText = ToolCommon::readAll(argv[1]);
        const std::string fieldData = ToolCommon::readAll(argv[2]);
        std::int32_t errorTypeId = -1;
        std::int32_t errorCode = -1;
        std::int32_t errorMessageId = -1;
        TemplatePrint::TemplatePrintParser parser;
        const std::string expanded =
            parser.parse(templateText, fieldData, errorTypeId, errorCode, errorMessageId);
        if (errorTypeId != -1)
            throw ToolCommon::ToolFailure{
                "error: errorTypeId=" + std::to_string(errorTypeId) + " errorCode=" + std::to_string(errorCode) +
                    " errorMessageId=" + std::to_string(errorMessageId) + " (" +
                    Prelix10::Prelix10ErrorThrower::makeError(errorTypeId, errorCode, errorMessageId).description() +
                    ")",
                1};
        std::cout << expanded << "\n";
        std::cout.flush();
        if (!std::cout) throw ToolCommon::ToolFailure{"cannot write to standard output", 1};
        return 0;
    });
}
