// The compile path's JSON reader against nlohmann::json::parse: the same texts accepted, and the
// same values, number types included, read from them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string_view>

#include "prelix10/compiler/JsonReader.hpp"

namespace {

bool sameTree(const nlohmann::json& a, const nlohmann::json& b) {
    if (a.type() != b.type()) return false;
    if (a.is_object() || a.is_array()) {
        if (a.size() != b.size()) return false;
        for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
            if (a.is_object() && i.key() != j.key()) return false;
            if (!sameTree(*i, *j)) return false;
        }
        return true;
    }
    return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Deep nesting makes the library parser's recursive destructor the limit, not the reader.
    if (size > 4096) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nlohmann::json expected;
    bool valid = true;
    try {
        expected = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception&) {
        valid = false;
    }
    nlohmann::json read;
    if (VelmarCommandParser::JsonReader::read(text, read) != valid) std::abort();
    if (valid && !sameTree(read, expected)) std::abort();
    return 0;
}
