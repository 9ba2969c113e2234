#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace VelmarCommandParser {

// Reads JSON text into a value, accepting and refusing exactly what nlohmann::json::parse does
// (a leading byte-order mark, a NUL byte as the end of the text, integers kept signed only when
// negative and read as floating point when they overflow, non-finite numbers refused, the last of
// duplicate keys kept) at a fraction of its cost: one pass, no token copy, strings written in place.
// Containers are opened on a stack of their own, so nesting costs no recursion.
class JsonReader {
  public:
    // The value of the whole text, or false (and `out` unspecified) when the text is no JSON.
    static bool read(std::string_view text, nlohmann::json& out);
};

}  // namespace VelmarCommandParser
