// What every reply-parser fuzz target asserts of a complete frame: its range lies inside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/CommandParser.hpp"

inline void abortUnlessCompleteRangeInside(const Prelix10::CommandParserResult& r, std::size_t size) {
    if (r.state != Prelix10::CommandParserState::complete) return;
    if (r.lowerIndex < 0 || r.upperIndex < r.lowerIndex || r.upperIndex >= static_cast<std::int64_t>(size))
        std::abort();
}
