#include "prelix10/protocol/DiscoveryParser.hpp"

#include <charconv>
#include <cstdio>
#include <functional>
#include <string_view>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace Prelix10 {

namespace {

constexpr std::string_view kMagic = "ORV_BCAST";
constexpr std::size_t kMaximumLength = 32768;

std::string describeOptional(const std::optional<std::string>& v) { return v ? *v : "nil"; }
std::string describeOptional(const std::optional<int>& v) { return v ? std::to_string(*v) : "nil"; }
std::string describeOptional(const std::optional<bool>& v) { return v ? (*v ? "true" : "false") : "nil"; }
std::string describeOptional(const std::optional<ByteBlock>& v) {
    if (!v) return "nil";
    std::string out;
    char buf[3];
    for (auto b : *v) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

bool isTrimmed(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string trim(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isTrimmed(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && isTrimmed(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(begin, end - begin));
}

// Strict UTF-8 check (no overlongs, no surrogates, at most U+10FFFF).
bool isValidUtf8(ByteView bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t c = bytes[i];
        std::size_t n = 0;
        std::uint32_t cp = 0, min = 0;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { n = 1; cp = c & 0x1F; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { n = 2; cp = c & 0x0F; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { n = 3; cp = c & 0x07; min = 0x10000; }
        else return false;
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= bytes.size()) return false;
            const std::uint8_t cc = bytes[i + k];
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

// Whether a code point is a control (Cc) or format (Cf) character, which the ends of a text field lose.
bool isControlOrFormat(UChar32 codePoint) {
    const auto type = u_charType(codePoint);
    return type == U_CONTROL_CHAR || type == U_FORMAT_CHAR;
}

// UTF-8 text with its leading and trailing control and format characters removed, at both ends alike
// (zero padding, CR, LF, U+0085, U+200B, U+FEFF, ...). None when the bytes are not UTF-8.
std::optional<std::string> decodeUtf8(ByteView bytes) {
    if (!isValidUtf8(bytes)) return std::nullopt;
    const auto* s = reinterpret_cast<const char*>(bytes.data());
    const auto length = static_cast<std::int32_t>(bytes.size());
    std::int32_t begin = 0;
    while (begin < length) {
        std::int32_t next = begin;
        UChar32 c = 0;
        U8_NEXT(s, next, length, c);
        if (c < 0 || !isControlOrFormat(c)) break;
        begin = next;
    }
    std::int32_t end = length;
    while (end > begin) {
        std::int32_t previous = end;
        UChar32 c = 0;
        U8_PREV(s, begin, previous, c);
        if (c < 0 || !isControlOrFormat(c)) break;
        end = previous;
    }
    return std::string(s + begin, static_cast<std::size_t>(end - begin));
}

std::optional<std::string> decodeAscii(ByteView bytes) {
    for (auto b : bytes)
        if (b >= 0x80) return std::nullopt;
    return trim(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string decodeAddress(ByteView bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += '.';
        out += std::to_string(bytes[i]);
    }
    return out;
}

std::optional<bool> decodeFlag(ByteView bytes) {
    auto text = decodeAscii(bytes);
    if (!text) return std::nullopt;
    if (*text == "0") return true;
    if (*text == "1") return false;
    return std::nullopt;
}

std::optional<int> parseInteger(const std::string& text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    int value = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) return std::nullopt;
    return negative ? -value : value;
}

std::string hexString(ByteView bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

std::uint16_t readBigEndian(ByteView data, std::size_t offset) {
    return static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
}

// One section of the frame, with its bounds checked: fields exist while the section length is greater
// than their offset, and every field that exists must lie inside the frame.
class Section {
public:
    // False when the header offset, the section's length bytes or the claimed length fall outside the frame.
    bool locate(ByteView frame, std::size_t headerPosition) {
        frame_ = frame;
        const std::size_t offset = readBigEndian(frame, headerPosition);
        if (offset >= kMaximumLength || offset + 2 > frame.size()) return false;
        const std::size_t length = readBigEndian(frame, offset);
        if (length >= kMaximumLength) return false;
        offset_ = offset;
        length_ = length;
        return true;
    }
    bool hasFields() const { return length_ > 2; }
    // Nothing when the section is too short for the field; fails (false) when the field leaves the frame.
    bool field(std::size_t offset, std::size_t size, std::optional<ByteView>& out) const {
        out.reset();
        if (length_ <= offset) return true;
        if (offset_ + offset + size > frame_.size()) return false;
        out = frame_.subspan(offset_ + offset, size);
        return true;
    }

private:
    ByteView frame_;
    std::size_t offset_ = 0;
    std::size_t length_ = 0;
};

struct Field {
    std::size_t offset;
    std::size_t size;
    // False makes the whole reply invalid.
    std::function<bool(OrvoNICInformation&, ByteView)> store;
};

bool parseSection(ByteView frame, std::size_t headerPosition, OrvoNICInformation& info, const std::vector<Field>& fields) {
    Section section;
    if (!section.locate(frame, headerPosition)) return false;
    if (!section.hasFields()) return true;
    for (const auto& f : fields) {
        std::optional<ByteView> bytes;
        if (!section.field(f.offset, f.size, bytes)) return false;
        if (!bytes) break;
        if (!f.store(info, *bytes)) return false;
    }
    return true;
}

template <typename Member>
Field text(std::size_t offset, std::size_t size, Member member) {
    return {offset, size, [member](OrvoNICInformation& i, ByteView b) {
                i.*member = decodeAscii(b);
                return true;
            }};
}
template <typename Member>
Field address(std::size_t offset, Member member) {
    return {offset, 4, [member](OrvoNICInformation& i, ByteView b) {
                i.*member = decodeAddress(b);
                return true;
            }};
}
template <typename Member>
Field flag(std::size_t offset, Member member) {
    return {offset, 2, [member](OrvoNICInformation& i, ByteView b) {
                i.*member = decodeFlag(b);
                return true;
            }};
}

using I = OrvoNICInformation;

const std::vector<Field>& nicFields() {
    static const auto* fields = new std::vector<Field>{
        text(2, 16, &I::name),
        text(18, 8, &I::firmwareVersionMain),
        text(26, 8, &I::firmwareVersionBoot),
        text(34, 8, &I::pldRevision),
        {42, 2,
         [](I& i, ByteView b) {
             auto t = decodeAscii(b);
             if (!t) return false;
             i.ipVersion = parseInteger(*t);
             return true;
         }},
        {44, 6,
         [](I& i, ByteView b) {
             i.macAddress = hexString(b);
             return true;
         }},
        address(54, &I::ipAddress),
        text(58, 16, &I::ipAddressProtocol),
        address(74, &I::subnetMask),
        address(78, &I::gateway),
    };
    return *fields;
}

const std::vector<Field>& configFields() {
    static const auto* fields = new std::vector<Field>{
        flag(2, &I::configPrint),         address(4, &I::configIPAddress), address(8, &I::configSubnetMask),
        address(12, &I::configGateway),   flag(16, &I::dhcp),              flag(18, &I::rarp),
        flag(20, &I::multiSession),
    };
    return *fields;
}

const std::vector<Field>& deviceFields() {
    static const auto* fields = new std::vector<Field>{
        text(2, 32, &I::deviceManufacturer),
        text(34, 32, &I::deviceCommandSet),
        text(66, 64, &I::deviceModel),
        text(130, 32, &I::deviceClass),
    };
    return *fields;
}

const std::vector<Field>& hostFields() {
    static const auto* fields = new std::vector<Field>{
        text(2, 64, &I::hostName),
        {66, 2,
         [](I& i, ByteView b) {
             const int port = readBigEndian(b, 0);
             if (port >= static_cast<int>(kMaximumLength)) return false;
             i.usedPort = port;
             return true;
         }},
        address(68, &I::usedIPAddress),
        {72, 32,
         [](I& i, ByteView b) {
             i.deviceStatus = ByteBlock(b.begin(), b.end());
             return true;
         }},
        text(104, 64, &I::nameDetail),
        text(168, 32, &I::productSerialNumber),
        {200, 64,
         [](I& i, ByteView b) {
             i.uniqueId = decodeUtf8(b);
             return true;
         }},
    };
    return *fields;
}

// The first "RS<digits>(.<digits>)+" in the block, without the "RS".
std::optional<std::string> findResponseVersion(std::string_view text) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != 'R' || text[i + 1] != 'S') continue;
        std::size_t j = i + 2;
        const std::size_t digitsStart = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j == digitsStart) continue;
        std::size_t end = j;
        int groups = 0;
        while (end < text.size() && text[end] == '.') {
            std::size_t k = end + 1;
            while (k < text.size() && isDigit(text[k])) ++k;
            if (k == end + 1) break;
            end = k;
            ++groups;
        }
        if (groups == 0) continue;
        return std::string(text.substr(i + 2, end - i - 2));
    }
    return std::nullopt;
}

}  // namespace

std::string OrvoNICInformation::description() const {
    std::string out;
    auto add = [&](const char* label, const std::string& value) {
        if (!out.empty()) out += ", ";
        out += label;
        out += " : ";
        out += value;
    };
    forEachField([&](const char* label, const auto& field) { add(label, describeOptional(field)); });
    return out;
}

ByteBlock DiscoveryCommand::makeRequest(bool isVersion4) {
    ByteBlock out(28, 0);
    for (std::size_t i = 0; i < kMagic.size(); ++i) out[i] = static_cast<std::uint8_t>(kMagic[i]);
    const char* version = isVersion4 ? "RQ4.0.0" : "RQ1.0.0";
    for (std::size_t i = 0; i < 7; ++i) out[16 + i] = static_cast<std::uint8_t>(version[i]);
    out[24] = 0x00;
    out[25] = 0x1C;
    out[26] = 0x64;
    out[27] = 0x31;
    return out;
}

CommandParserResult DiscoveryParser::parse(ByteView data) {
    if (data.size() < kMinimumReplySize) return CommandParserResult::needMoreData();
    std::string text(data.size(), ' ');
    for (std::size_t i = 0; i < data.size(); ++i) text[i] = data[i] >= 0x80 ? ' ' : static_cast<char>(data[i]);
    const std::size_t base = text.find(kMagic);
    if (base == std::string::npos) return CommandParserResult::needMoreData();
    const auto version = findResponseVersion(text);
    if (!version) return CommandParserResult::needMoreData();
    // The length sits in the frame's own header, wherever the frame starts in the block.
    if (base + kFrameHeaderSize > data.size()) return CommandParserResult::needMoreData();
    const std::size_t length = readBigEndian(data, base + 24);
    if (length < kFrameHeaderSize || length >= kMaximumLength) return CommandParserResult::invalid();
    if (base + length > data.size()) return CommandParserResult::needMoreData();
    const ByteView frame = data.subspan(base, length);

    OrvoNICInformation info;
    info.responseVersion = *version;
    if (!parseSection(frame, 26, info, nicFields()) || !parseSection(frame, 28, info, configFields()) ||
        !parseSection(frame, 30, info, deviceFields()) || !parseSection(frame, 32, info, hostFields())) {
        return CommandParserResult::invalid();
    }
    nicInformation_ = std::move(info);
    return CommandParserResult::complete(static_cast<std::int64_t>(base),
                                         static_cast<std::int64_t>(base + length - 1));
}

}  // namespace Prelix10
