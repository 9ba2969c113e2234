#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "prelix10/command/RootBuilder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// Reads one command document and walks it through the element parsers into the builders.
class Parser {
  public:
    enum class Result {
        // Compiled, or skipped as a whole (wrong title, version or contents): the bytes stand.
        completed,
        // Not valid JSON (or nested beyond what the reader accepts): nothing was walked.
        invalidJson,
        // Malformed part-way: the bytes made so far must be discarded.
        walkFailed,
    };

    // JSON nesting beyond this is refused before the walk.
    static constexpr int kMaxJsonDepth = 2 * ElementParser::kMaxDepth + 16;

    explicit Parser(PrinterCommandBuilder::RootBuilder* root);
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    ~Parser();

    Result parse(std::string_view text);

  private:
    PrinterCommandBuilder::RootBuilder* rootBuilder_;
    std::vector<std::unique_ptr<ElementParser>> elementParsers_;
};

}  // namespace VelmarCommandParser
