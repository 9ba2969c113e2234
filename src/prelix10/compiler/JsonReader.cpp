#include "prelix10/compiler/JsonReader.hpp"

#include <locale.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace VelmarCommandParser {

namespace {

using nlohmann::json;

// Bytes a string body runs over without a closer look: anything but the quote, the backslash, a
// control byte and the bytes of a multi-byte sequence.
constexpr std::array<bool, 256> plainBytes() {
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x80; ++c) table[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return table;
}
constexpr auto kPlain = plainBytes();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// A number token as a double, read in the C locale whatever the process has set.
double toDouble(const char* begin, const char* end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const std::string token(begin, end);
    return cLocale != locale_t(nullptr) ? strtod_l(token.c_str(), nullptr, cLocale)
                                        : std::strtod(token.c_str(), nullptr);
}

class Reader {
  public:
    explicit Reader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool document(json& out) {
        // A byte-order mark is skipped only whole, and only at the start.
        if (p_ < end_ && static_cast<unsigned char>(*p_) == 0xEF) {
            if (end_ - p_ < 3 || static_cast<unsigned char>(p_[1]) != 0xBB ||
                static_cast<unsigned char>(p_[2]) != 0xBF)
                return false;
            p_ += 3;
        }
        // The containers still open, innermost last; each stays where it is while it is open, as
        // only its last member or element grows.
        std::vector<json*> open;
        json* slot = &out;
        for (;;) {
            // The next value goes to *slot.
            skipSpace();
            if (p_ == end_) return false;
            switch (*p_) {
                case '{':
                    ++p_;
                    *slot = json(json::value_t::object);
                    skipSpace();
                    if (p_ < end_ && *p_ == '}') {
                        ++p_;
                        break;
                    }
                    open.push_back(slot);
                    if (!member(*slot, slot)) return false;
                    continue;
                case '[':
                    ++p_;
                    *slot = json(json::value_t::array);
                    skipSpace();
                    if (p_ < end_ && *p_ == ']') {
                        ++p_;
                        break;
                    }
                    open.push_back(slot);
                    slot = &slot->get_ref<json::array_t&>().emplace_back();
                    continue;
                case '"': {
                    const char* run = ++p_;
                    skipPlain();
                    // A string with nothing to unescape is made at its exact size.
                    if (p_ < end_ && *p_ == '"') {
                        *slot = std::string(run, p_);
                        ++p_;
                        break;
                    }
                    *slot = json(json::value_t::string);
                    auto& text = slot->get_ref<std::string&>();
                    text.assign(run, p_);
                    if (!string(text)) return false;
                    break;
                }
                case 't':
                    if (!literal("true")) return false;
                    *slot = true;
                    break;
                case 'f':
                    if (!literal("false")) return false;
                    *slot = false;
                    break;
                case 'n':
                    if (!literal("null")) return false;
                    *slot = nullptr;
                    break;
                default:
                    if (!number(*slot)) return false;
                    break;
            }
            // The value is whole: close the containers it completes, up to the next slot.
            for (;;) {
                skipSpace();
                if (open.empty()) return p_ == end_ || *p_ == '\0';
                if (p_ == end_) return false;
                json& container = *open.back();
                const char c = *p_++;
                if (c == ',') {
                    if (container.is_object()) {
                        if (!member(container, slot)) return false;
                    } else {
                        slot = &container.get_ref<json::array_t&>().emplace_back();
                    }
                    break;
                }
                if (c != (container.is_object() ? '}' : ']')) return false;
                open.pop_back();
            }
        }
    }

  private:
    void skipSpace() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')) ++p_;
    }

    void skipPlain() {
        while (p_ < end_ && kPlain[static_cast<unsigned char>(*p_)]) ++p_;
    }

    bool literal(std::string_view word) {
        if (std::size_t(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word) return false;
        p_ += word.size();
        return true;
    }

    // A key and its colon; `slot` becomes the key's value, which a repeated key writes over.
    bool member(json& object, json*& slot) {
        skipSpace();
        if (p_ == end_ || *p_ != '"') return false;
        ++p_;
        key_.clear();
        if (!string(key_)) return false;
        skipSpace();
        if (p_ == end_ || *p_ != ':') return false;
        ++p_;
        auto& members = object.get_ref<json::object_t&>();
        // Keys mostly come in order, so the end is the first place to try.
        slot = &members.try_emplace(members.end(), key_)->second;
        return true;
    }

    // The rest of a string after its opening quote, appended to `out`.
    bool string(std::string& out) {
        for (;;) {
            const char* run = p_;
            skipPlain();
            out.append(run, p_);
            if (p_ == end_) return false;
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                ++p_;
                return true;
            }
            if (c == '\\') {
                ++p_;
                if (!escape(out)) return false;
            } else if (c < 0x20 || !multiByte(out)) {
                return false;
            }
        }
    }

    bool escape(std::string& out) {
        if (p_ == end_) return false;
        switch (*p_++) {
            case '"':
                out += '"';
                return true;
            case '\\':
                out += '\\';
                return true;
            case '/':
                out += '/';
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u':
                break;
            default:
                return false;
        }
        std::uint32_t codePoint = 0;
        if (!hex4(codePoint)) return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            // A high surrogate stands only with the low one escaped right after it.
            std::uint32_t low = 0;
            if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') return false;
            p_ += 2;
            if (!hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
        } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            return false;
        }
        appendUtf8(out, codePoint);
        return true;
    }

    bool hex4(std::uint32_t& out) {
        if (end_ - p_ < 4) return false;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *p_++;
            std::uint32_t digit = 0;
            if (c >= '0' && c <= '9') {
                digit = std::uint32_t(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = std::uint32_t(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = std::uint32_t(c - 'A' + 10);
            } else {
                return false;
            }
            value = value << 4 | digit;
        }
        out = value;
        return true;
    }

    // One well-formed UTF-8 sequence of two to four bytes: no overlong form, no surrogate, nothing
    // past U+10FFFF.
    bool multiByte(std::string& out) {
        const auto* s = reinterpret_cast<const unsigned char*>(p_);
        const unsigned char lead = s[0];
        std::size_t trail = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (std::size_t(end_ - p_) <= trail) return false;
        if (s[1] < low || s[1] > high) return false;
        for (std::size_t i = 2; i <= trail; ++i)
            if (s[i] < 0x80 || s[i] > 0xBF) return false;
        out.append(p_, trail + 1);
        p_ += trail + 1;
        return true;
    }

    // A number: unsigned when it has no sign, fraction or exponent, signed when negative, floating
    // point otherwise or when the integer does not fit; refused when it is not finite.
    bool number(json& out) {
        const char* const begin = p_;
        const bool negative = *p_ == '-';
        if (negative) ++p_;
        if (p_ == end_ || !isDigit(*p_)) return false;
        if (*p_ == '0') {
            ++p_;
        } else {
            while (p_ < end_ && isDigit(*p_)) ++p_;
        }
        bool integral = true;
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            integral = false;
            if (p_ == end_ || !isDigit(*p_)) return false;
            while (p_ < end_ && isDigit(*p_)) ++p_;
        }
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            integral = false;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
            if (p_ == end_ || !isDigit(*p_)) return false;
            while (p_ < end_ && isDigit(*p_)) ++p_;
        }
        if (integral) {
            if (negative) {
                std::int64_t value = 0;
                if (std::from_chars(begin, p_, value).ec == std::errc()) {
                    out = value;
                    return true;
                }
            } else {
                std::uint64_t value = 0;
                if (std::from_chars(begin, p_, value).ec == std::errc()) {
                    out = value;
                    return true;
                }
            }
        }
        const double value = toDouble(begin, p_);
        if (!std::isfinite(value)) return false;
        out = value;
        return true;
    }

    const char* p_;
    const char* const end_;
    std::string key_;
};

}  // namespace

bool JsonReader::read(std::string_view text, nlohmann::json& out) {
    return Reader(text).document(out);
}

}  // namespace VelmarCommandParser
