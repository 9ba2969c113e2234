#pragma once

#include <map>
#include "prelix10/compiler/DocumentArena.hpp"
#include <string>

#include "prelix10/compiler/JsonUtil.hpp"

namespace VelmarCommandParser {

// Parameter reads shared by the element handlers; like the JsonUtil getters they only ever set the
// not-found flag.
namespace ParameterReads {

// A string parameter looked up in its keyword table; an unknown text counts as not found.
template <typename T>
T keyword(const DocumentTree* parameter, std::string_view key, const std::map<std::string, T>& map,
          bool& notFound) {
    const auto found = map.find(std::string(JsonUtil::getStringRef(parameter, key, notFound)));
    if (found == map.end()) {
        notFound = true;
        return T{};
    }
    return found->second;
}

// The reads below give the fallback for an absent key; a present key of another type is not found.
template <typename T>
T optionalKeyword(const DocumentTree* parameter, std::string_view key,
                  const std::map<std::string, T>& map, T fallback, bool& notFound) {
    return JsonUtil::contains(parameter, key) ? keyword(parameter, key, map, notFound) : fallback;
}

inline int optionalInt(const DocumentTree* parameter, std::string_view key, int fallback,
                       bool& notFound) {
    return JsonUtil::contains(parameter, key) ? JsonUtil::getInt(parameter, key, notFound) : fallback;
}

inline double optionalDouble(const DocumentTree* parameter, std::string_view key, double fallback,
                             bool& notFound) {
    return JsonUtil::contains(parameter, key) ? JsonUtil::getDouble(parameter, key, notFound) : fallback;
}

inline bool optionalBoolean(const DocumentTree* parameter, std::string_view key, bool fallback,
                            bool& notFound) {
    return JsonUtil::contains(parameter, key) ? JsonUtil::getBoolean(parameter, key, notFound) : fallback;
}

}  // namespace ParameterReads

}  // namespace VelmarCommandParser
