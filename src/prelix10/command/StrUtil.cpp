#include "prelix10/command/StrUtil.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace VelmarCommandParser {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr int base64Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// The value of each byte as a base64 digit, -1 for a byte that is none.
constexpr auto kBase64Values = [] {
    std::array<std::int8_t, 256> values{};
    for (int c = 0; c < 256; ++c) values[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(base64Value(static_cast<unsigned char>(c)));
    return values;
}();

// Output staged in blocks of 128 bytes before it goes to the buffer.
class Stage {
  public:
    explicit Stage(PrinterCommandBuilder::ByteBuffer* buffer) : buffer_(buffer) {}
    ~Stage() { flush(); }
    void put(unsigned char byte) {
        block_[size_++] = byte;
        if (size_ == sizeof block_) flush();
    }
    void put(const std::string& text) {
        if (size_ + text.size() >= sizeof block_) flush();
        if (text.size() >= sizeof block_) {
            if (buffer_) buffer_->add(text.data(), text.size());
            return;
        }
        for (char c : text) put(static_cast<unsigned char>(c));
    }
    void flush() {
        if (size_ > 0 && buffer_) buffer_->add(block_, size_);
        size_ = 0;
    }

  private:
    PrinterCommandBuilder::ByteBuffer* buffer_;
    unsigned char block_[128];
    std::size_t size_ = 0;
};

}  // namespace

bool StrUtil::startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool StrUtil::isAsciiString(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

bool StrUtil::decodeEscape(const std::string& text, PrinterCommandBuilder::ByteBuffer* buffer,
                           const NameMap* names, const CharacterMap* characters) {
    if (text.empty()) return true;
    Stage stage(buffer);
    auto emit = [&](unsigned char byte) {
        if (characters) {
            const auto found = characters->find(byte);
            if (found != characters->end()) {
                stage.put(found->second);
                return;
            }
        }
        stage.put(byte);
    };
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c != '\\') {
            emit(static_cast<unsigned char>(c));
            ++i;
            continue;
        }
        if (i + 3 < n && (text[i + 1] == 'x' || text[i + 1] == 'X') && hexValue(text[i + 2]) >= 0 &&
            hexValue(text[i + 3]) >= 0) {
            emit(static_cast<unsigned char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3])));
            i += 4;
            continue;
        }
        if (i + 1 < n && text[i + 1] == '(') {
            const std::size_t close = text.find(')', i + 2);
            if (close != std::string::npos) {
                if (names) {
                    const auto found = names->find(text.substr(i + 2, close - i - 2));
                    if (found != names->end()) stage.put(found->second);
                }
                i = close + 1;
                continue;
            }
        }
        stage.put(static_cast<unsigned char>('\\'));
        ++i;
    }
    return true;
}

bool StrUtil::decodeEscape(const std::string& text, PrinterCommandBuilder::ByteBuffer* buffer) {
    if (text.empty()) return true;
    Stage stage(buffer);
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (text[i] == '\\' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            if (i + 3 < n && hexValue(text[i + 2]) >= 0 && hexValue(text[i + 3]) >= 0)
                stage.put(static_cast<unsigned char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3])));
            i = std::min(n, i + 4);
            continue;
        }
        stage.put(static_cast<unsigned char>(text[i]));
        ++i;
    }
    return true;
}

namespace {

// The decoder behind both kinds of destination: `put` takes each finished block of bytes.
template <class Put>
bool decodeBase64Into(std::string_view text, std::size_t offset, std::size_t count, Put&& put) {
    if (offset > (SIZE_MAX - 5) / 8) return false;
    const std::size_t startBit = offset * 8;
    std::size_t position = startBit / 6;
    if (position > text.size()) return false;
    if (count == 0) return true;
    std::size_t skipBits = startBit % 6;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t produced = 0;
    unsigned char block[3072];
    std::size_t blockSize = 0;
    const std::size_t size = text.size();
    const auto* chars = reinterpret_cast<const unsigned char*>(text.data());
    while (position < size && produced < count) {
        // Whole groups of four valid characters on a byte boundary make three bytes at once.
        if (bitCount == 0 && skipBits == 0 && size - position >= 4 && count - produced >= 3) {
            const int a = kBase64Values[chars[position]];
            const int b = kBase64Values[chars[position + 1]];
            const int c = kBase64Values[chars[position + 2]];
            const int d = kBase64Values[chars[position + 3]];
            if ((a | b | c | d) >= 0) {
                const std::uint32_t v = static_cast<std::uint32_t>(a << 18 | b << 12 | c << 6 | d);
                block[blockSize] = static_cast<unsigned char>(v >> 16);
                block[blockSize + 1] = static_cast<unsigned char>(v >> 8);
                block[blockSize + 2] = static_cast<unsigned char>(v);
                blockSize += 3;
                produced += 3;
                position += 4;
                if (blockSize + 3 > sizeof block) {
                    put(block, blockSize);
                    blockSize = 0;
                }
                continue;
            }
        }
        const int value = kBase64Values[chars[position++]];
        if (value < 0) continue;
        int width = 6;
        std::uint32_t v = static_cast<std::uint32_t>(value);
        if (skipBits > 0) {
            width -= static_cast<int>(skipBits);
            v &= (1u << width) - 1;
            skipBits = 0;
        }
        bits = (bits << width) | v;
        bitCount += width;
        if (bitCount >= 8) {
            bitCount -= 8;
            block[blockSize++] = static_cast<unsigned char>((bits >> bitCount) & 0xFF);
            bits &= (1u << bitCount) - 1;
            ++produced;
            if (blockSize + 3 > sizeof block) {
                put(block, blockSize);
                blockSize = 0;
            }
        }
    }
    if (blockSize > 0) put(block, blockSize);
    return true;
}

// The decoded length of a whole text, from its size and its trailing padding.
std::size_t decodedLength(std::string_view text) {
    std::size_t padding = 0;
    for (std::size_t i = text.size(); i > 1 && text[i - 1] == '='; --i) ++padding;
    return (text.size() - padding) * 3 / 4;
}

}  // namespace

bool StrUtil::decodeBase64(std::string_view text, std::size_t offset, std::size_t count,
                           PrinterCommandBuilder::ByteBuffer* buffer) {
    // Without a buffer the start is still checked, and nothing is decoded.
    const auto put = [buffer](const unsigned char* bytes, std::size_t size) { buffer->add(bytes, size); };
    return decodeBase64Into(text, offset, buffer == nullptr ? 0 : count, put);
}

bool StrUtil::decodeBase64(std::string_view text, PrinterCommandBuilder::ByteBuffer* buffer) {
    return decodeBase64(text, 0, decodedLength(text), buffer);
}

bool StrUtil::decodeBase64(std::string_view text, std::vector<std::uint8_t>& out) {
    const std::size_t length = decodedLength(text);
    out.reserve(out.size() + length);
    return decodeBase64Into(text, 0, length, [&out](const unsigned char* bytes, std::size_t size) {
        out.insert(out.end(), bytes, bytes + size);
    });
}

std::string StrUtil::repace(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::size_t position = 0;
    while ((position = text.find(from, position)) != std::string::npos) {
        text.replace(position, from.size(), to);
        position += to.size();
    }
    return text;
}

}  // namespace VelmarCommandParser
