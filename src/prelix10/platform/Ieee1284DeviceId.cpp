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

// A text the driver cut short ends inside a pair; that pair's value is not the device's (a serial number cut
// short would name another device), so only the pairs that end with their ';' are kept.
std::string_view withoutCutPair(std::string_view text) {
    const std::size_t last = text.rfind(';');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
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
    const auto* text = reinterpret_cast<const char*>(reply.data() + 2);
    const std::string_view rest(text, reply.size() - 2);
    std::string_view fields;
    bool truncated = false;
    if (bigEndian >= 2 && bigEndian <= reply.size()) {
        fields = rest.substr(0, bigEndian - 2);
    } else if (bigEndian < 2) {
        return {};
    } else if (littleEndian >= 2 && littleEndian <= reply.size() &&
               (littleEndian == reply.size() || reply[littleEndian] == 0)) {
        // A device that sends its length the wrong way round: taken only where that length ends the text.
        fields = rest.substr(0, littleEndian - 2);
    } else {
        // Longer than the buffer: the driver cut the text but kept the device's own length. The text runs
        // up to the NUL the driver put behind it.
        fields = rest;
        truncated = true;
    }
    // A NUL ends the text early on devices that pad their reply.
    if (const std::size_t nul = fields.find('\0'); nul != std::string_view::npos) fields = fields.substr(0, nul);
    if (truncated) fields = withoutCutPair(fields);
    return parseFields(fields);
}

Ieee1284DeviceId Ieee1284DeviceId::parseAttribute(std::string_view text, std::size_t driverBufferSize) {
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    // Text that fills the driver's buffer (less the length and the NUL) may have been cut.
    if (driverBufferSize >= 3 && text.size() >= driverBufferSize - 3) text = withoutCutPair(text);
    return parseFields(text);
}

}  // namespace Prelix10
