#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace TemplatePrint {

using OrderedJson = nlohmann::ordered_json;
using JsonPointer = nlohmann::json::json_pointer;

// One hit of the specifier scan over a content text.
struct SpecifierMatch {
    enum class Kind {
        none,       // no further specifier: the rest of the text stays as it is
        escape,     // "${;" at `start`: stands for the literal "${", the scan resumes at `end`
        specifier,  // "${...}" from `start` up to `end` (one past the closing brace)
    };
    Kind kind = Kind::none;
    std::size_t start = 0;
    std::size_t end = 0;
    // The specifier text between "${" and the closing "}", still escaped.
    std::string text;
};

// Tests and text operations shared by the template passes.
class TemplatePrintUtil {
  public:
    using Names = std::span<const std::string_view>;

    // An object whose "category" is a text in `names` (an empty list accepts any category).
    static bool isCategory(const OrderedJson& element, Names names);
    // An object whose "method" is a text starting with one of `prefixes` and whose "parameter" is an object.
    static bool isMethodStartWith(const OrderedJson& element, Names prefixes);

    // Finds the current category at `depth` in `buffer` by the object ids in `counters`; returns the
    // pointer of the contents array to add to and the position of the category there (-1 for none).
    // Without `withIndex` the position is not looked up and comes back as -1: adding to the contents
    // array needs only the pointer.
    static std::pair<JsonPointer, std::int32_t> getKey(std::int32_t depth,
                                                       const std::vector<std::int32_t>& counters,
                                                       const OrderedJson& buffer, bool& notFound,
                                                       bool withIndex = true);
    // Position of the newest category of `contents` whose "object_id" is `objectId`, or -1.
    static std::int32_t findCategory(const OrderedJson& contents, std::int32_t objectId);
    // "/contents" then "/<path[i]>/contents" for each level below `depth`.
    static JsonPointer createKey(const std::vector<std::int32_t>& path, std::int32_t depth);

    // The next "${;" escape or "${...}" specifier at or after `from`.
    static SpecifierMatch findReplacingSpecifier(const std::string& content, std::size_t from);
    // Decodes the escapes of one specifier ("\}" then "\;" and ";").
    static std::string decodeSpecifier(const std::string& specifier);
    // Every specifier of `content`, decoded, in order; raises the non-ASCII error for a specifier
    // that holds a byte outside ASCII.
    static std::vector<std::string> extractReplacingSpecifier(const std::string& content);
    // (key, format): split at the first "%" not written "\%".
    static std::pair<std::string, std::string> getReplacingSpecifierPair(const std::string& specifier);
    static std::vector<std::string> extractKeySpecifierList(const std::vector<std::string>& specifiers);
    // Splits at delimiters not preceded by a backslash, at most `maxCount` times (negative: no limit).
    // Escapes stay in the parts.
    static std::vector<std::string> split(const std::string& text, const std::string& delimiter,
                                          std::int32_t maxCount);

    // Items of a template looked at on this thread by category lookups and by array-block
    // repetitions since the thread started; lets a caller see how that work grows with a template.
    static std::uint64_t lookupSteps() noexcept;
    static void countLookupSteps(std::uint64_t steps) noexcept;
};

}  // namespace TemplatePrint
