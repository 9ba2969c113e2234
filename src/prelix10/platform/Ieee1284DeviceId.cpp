#include "prelix10/platform/Ieee1284DeviceId.hpp"

#include <cctype>

namespace Prelix10 {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

std::string upperKey(std::string_view key) {
    std::string out;
    out.reserve(key.size());
    for (const char c : key) out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return out;
}

// Printable bytes only (bytes of 0x80 and up pass, so UTF-8 names stay), bounded in length.
std::string cleanValue(std::string_view value) {
    std::string out;
    for (const char c : trimmed(value)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) continue;
        if (out.size() == Ieee1284DeviceId::kMaxValueLength) break;
        out.push_back(c);
    }
    return out;
}

}  // namespace

Ieee1284DeviceId Ieee1284DeviceId::parseFields(std::string_view text) {
    Ieee1284DeviceId id;
    id.wellFormed = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view pair = text.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = pair.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string key = upperKey(trimmed(pair.substr(0, colon)));
        std::string* field = nullptr;
        if (key == "MFG" || key == "MANUFACTURER") field = &id.manufacturer;
        else if (key == "MDL" || key == "MODEL") field = &id.model;
        else if (key == "SN" || key == "SERN" || key == "SERIALNUMBER") field = &id.serialNumber;
        else if (key == "DES" || key == "DESCRIPTION") field = &id.description;
        else if (key == "CMD" || key == "COMMAND SET") field = &id.commandSet;
        // The first occurrence of a key holds; a repeated key does not overwrite it.
        if (field && field->empty()) *field = cleanValue(pair.substr(colon + 1));
    }
    return id;
}

Ieee1284DeviceId Ieee1284DeviceId::parse(std::span<const std::uint8_t> reply) {
    if (reply.size() < 2) return {};
    const std::size_t bigEndian = (static_cast<std::size_t>(reply[0]) << 8) | reply[1];
    const std::size_t littleEndian = (static_cast<std::size_t>(reply[1]) << 8) | reply[0];
    std::size_t length = 0;
    if (bigEndian >= 2 && bigEndian <= reply.size()) length = bigEndian;
    else if (littleEndian >= 2 && littleEndian <= reply.size()) length = littleEndian;
    else return {};
    const auto* text = reinterpret_cast<const char*>(reply.data() + 2);
    std::string_view fields(text, length - 2);
    // A NUL ends the text early on devices that pad their reply.
    if (const std::size_t nul = fields.find('\0'); nul != std::string_view::npos) fields = fields.substr(0, nul);
    return parseFields(fields);
}

}  // namespace Prelix10
