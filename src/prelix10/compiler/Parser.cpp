#include "prelix10/compiler/Parser.hpp"

#include <array>
#include <cstring>
#include <nlohmann/json.hpp>

#include "prelix10/compiler/DocumentArena.hpp"
#include "prelix10/compiler/DocumentElementParser.hpp"
#include "prelix10/compiler/PreSettingElementParser.hpp"

namespace VelmarCommandParser {

namespace {

// True when a value, key or container of the text lies inside more than `limit` open containers
// (an empty container counts at the depth it opens at). On a valid document this is exactly when
// a reader counting its open containers would see more than `limit` of them at some value; on
// text that is no JSON the answer does not matter, as reading it fails either way. Strings are
// skipped with their escapes.
bool nestedDeeperThan(std::string_view text, int limit) {
    const char* p = text.data();
    const char* const end = p + text.size();
    // Bytes that neither open, close nor start anything that must be skipped whole; they only matter
    // once the depth is past the limit.
    static constexpr auto plain = [] {
        std::array<bool, 256> table{};
        table.fill(true);
        for (const unsigned char c : {'{', '[', '}', ']', '"'}) table[c] = false;
        return table;
    }();
    int depth = 0;
    while (p < end) {
        if (depth <= limit) {
            while (p < end && plain[static_cast<unsigned char>(*p)]) ++p;
            if (p == end) break;
        }
        const char c = *p++;
        switch (c) {
            case '{':
            case '[':
                if (++depth > limit + 1) return true;
                break;
            case '}':
            case ']':
                --depth;
                break;
            case ' ':
            case '\t':
            case '\n':
            case '\r':
            case ',':
            case ':':
                break;
            case '"':
                if (depth > limit) return true;
                // The closing quote is the first one after an even run of backslashes.
                for (const char* opening = p;;) {
                    const auto* quote = static_cast<const char*>(std::memchr(p, '"', std::size_t(end - p)));
                    if (quote == nullptr) {
                        p = end;
                        break;
                    }
                    const char* q = quote;
                    while (q > opening && q[-1] == '\\') --q;
                    p = quote;
                    if ((quote - q) % 2 == 0) break;
                    ++p;
                }
                if (p < end) ++p;
                break;
            default:
                if (depth > limit) return true;
                break;
        }
    }
    return false;
}

}  // namespace

Parser::Parser(PrinterCommandBuilder::RootBuilder* root) : rootBuilder_(root) {
    elementParsers_.push_back(std::make_unique<PreSettingElementParser>(root));
    elementParsers_.push_back(std::make_unique<DocumentElementParser>(root));
}

Parser::~Parser() = default;

Parser::Result Parser::parse(std::string_view text) {
    // Nesting is bounded before reading, so the reader needs no per-value callback.
    if (nestedDeeperThan(text, kMaxJsonDepth)) return Result::invalidJson;
    // The tree lives in an arena that goes with this call, all at once: it is never destroyed node
    // by node.
    DocumentArena arena(text.size());
    DocumentArena::Use use(arena);
    const DocumentTree* document = nullptr;
    try {
        document = new (DocumentArena::allocate(sizeof(DocumentTree))) DocumentTree(DocumentTree::parse(text));
    } catch (const nlohmann::json::exception&) {
        return Result::invalidJson;
    }
    try {
        if (!document->is_object()) return Result::walkFailed;
        const auto& title = document->at("title");
        const auto& version = document->at("version");
        if (!title.is_string() || !version.is_string()) return Result::walkFailed;
        if (textOf(title) != "VelmarCommand") return Result::completed;
        if (!textOf(version).starts_with("1.")) return Result::completed;
        const auto contents = document->find("contents");
        if (contents == document->end() || !contents->is_array()) return Result::completed;
        for (const auto& item : *contents)
            for (auto& elementParser : elementParsers_) elementParser->parse(&item, 0);
    } catch (const nlohmann::json::exception&) {
        return Result::walkFailed;
    } catch (const DocumentWalkError&) {
        return Result::walkFailed;
    }
    return Result::completed;
}

}  // namespace VelmarCommandParser
