// Expands a template document with field data and prints the resulting command document.
// Usage: prelix10-expand-template TEMPLATE FIELDDATA   (file paths; "-" reads standard input); --help.
// On failure nothing goes to standard output; standard error gets one line: what is wrong with the
// template, or the error triple and the error it becomes, and the exit status is 1. Bad arguments and
// unreadable files exit with status 2.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "prelix10/compiler/TemplatePrintParser.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "ToolCommon.hpp"

namespace {

constexpr const char* kTool = "prelix10-expand-template";

const char* const kHelp =
    "usage: prelix10-expand-template TEMPLATE FIELDDATA\n"
    "Fills the template document TEMPLATE with the field data FIELDDATA and prints the command document.\n"
    "\n"
    "  TEMPLATE    the template, a JSON command document with field specifiers such as ${price%.2f}\n"
    "  FIELDDATA   the field data, a JSON document; either file may be - for standard input, not both\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Exit status: 0 with the document on standard output; 1 when the template does not expand (what is\n"
    "wrong, or the error triple, on standard error); 2 for bad arguments or an unreadable file.\n";

// What makes a template unusable before it reaches the parser: no text, or text that is no JSON.
void checkTemplate(const std::string& name, const std::string& text) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw ToolCommon::ToolFailure{"error: the template " + name + " is empty", 1};
    try {
        const auto parsed = nlohmann::json::parse(text);
        (void)parsed;
    } catch (const nlohmann::json::exception& error) {
        // The parser quotes the byte it stopped at, which may be no text at all.
        std::string why = error.what();
        for (auto& c : why)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
        throw ToolCommon::ToolFailure{"error: the template " + name + " is not JSON text: " + why, 1};
    }
}

}  // namespace

int main(int argc, char** argv) {
    return ToolCommon::run(kTool, [&]() -> int {
        if (argc == 2 && std::string(argv[1]) == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (argc == 2 && std::string(argv[1]) == "--version") {
            std::printf("%s\n", ToolCommon::versionLine(kTool).c_str());
            return 0;
        }
        if (argc != 3 || (argv[1][0] == '-' && argv[1][1] != '\0') || (argv[2][0] == '-' && argv[2][1] != '\0'))
            throw ToolCommon::ToolFailure{"usage: prelix10-expand-template TEMPLATE FIELDDATA (see --help)"};
        if (std::string(argv[1]) == "-" && std::string(argv[2]) == "-")
            throw ToolCommon::ToolFailure{"only one of TEMPLATE and FIELDDATA can be standard input"};
        const std::string templateName = std::string(argv[1]) == "-" ? "on standard input" : argv[1];
        const std::string templateText = ToolCommon::readAll(argv[1]);
        const std::string fieldData = ToolCommon::readAll(argv[2]);
        checkTemplate(templateName, templateText);
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
