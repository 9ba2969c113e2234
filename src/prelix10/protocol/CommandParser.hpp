#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Prelix10 {

using ByteBlock = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

enum class CommandParserState : int {
    complete = 0,
    invalid = 1,
    needMoreData = 2,
};

// What a parse found: the state and, for a recognised frame, the inclusive indexes of its first and last
// byte in the buffer that was handed in (-1 and -1 otherwise).
struct CommandParserResult {
    CommandParserState state = CommandParserState::needMoreData;
    std::int64_t lowerIndex = -1;
    std::int64_t upperIndex = -1;

    static CommandParserResult complete(std::int64_t lower, std::int64_t upper) {
        return {CommandParserState::complete, lower, upper};
    }
    static CommandParserResult invalid() { return {CommandParserState::invalid, -1, -1}; }
    static CommandParserResult needMoreData() { return {CommandParserState::needMoreData, -1, -1}; }
    bool operator==(const CommandParserResult&) const = default;
};

// A reply parser: the request bytes to send, and a parse of everything received so far. A parse that
// recognises a frame keeps the decoded values in the parser, for the caller to read after `complete`.
class CommandParser {
public:
    virtual ~CommandParser() = default;
    virtual ByteBlock requestCommands() const = 0;
    virtual CommandParserResult parse(ByteView data) = 0;
};

}  // namespace Prelix10
