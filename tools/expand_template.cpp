// Expands a template document with field data and prints the resulting command document.
// Usage: expand_template TEMPLATE FIELDDATA   (both file paths)
// On failure prints "{}" and, on stderr, the error triple with the error it becomes; exit status 1.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "prelix10/compiler/TemplatePrintParser.hpp"
#include "prelix10/core/Prelix10Error.hpp"

namespace {

bool readFile(const char* path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return !file.bad();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " TEMPLATE FIELDDATA\n";
        return 2;
    }
    std::string templateText;
    std::string fieldData;
    if (!readFile(argv[1], templateText)) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 2;
    }
    if (!readFile(argv[2], fieldData)) {
        std::cerr << "cannot read " << argv[2] << "\n";
        return 2;
    }
    std::int32_t errorTypeId = -1;
    std::int32_t errorCode = -1;
    std::int32_t errorMessageId = -1;
    TemplatePrint::TemplatePrintParser parser;
    std::string expanded = parser.parse(templateText, fieldData, errorTypeId, errorCode, errorMessageId);
    std::cout << expanded << "\n";
    if (errorTypeId == -1) return 0;
    std::cerr
        << "error: errorTypeId=" << errorTypeId << " errorCode=" << errorCode
        << " errorMessageId=" << errorMessageId << " ("
        << Prelix10::Prelix10ErrorThrower::makeError(errorTypeId, errorCode, errorMessageId).description()
        << ")\n";
    return 1;
}
