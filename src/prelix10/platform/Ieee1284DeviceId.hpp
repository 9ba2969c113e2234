#pragma once

// The IEEE 1284 device ID a printer-class device reports: a two-byte big-endian length (counting itself)
// followed by "KEY:value;" pairs. The bytes come from the device and are not trusted: every length is checked,
// keys are matched without regard to letter case or surrounding blanks, and control bytes never reach a text.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace Prelix10 {

struct Ieee1284DeviceId {
    // Longer values are cut: the kernel hands over at most 1 KiB anyway.
    static constexpr std::size_t kMaxValueLength = 256;

    std::string manufacturer;  // MFG or MANUFACTURER
    std::string model;         // MDL or MODEL
    std::string serialNumber;  // SN, SERN or SERIALNUMBER
    std::string description;   // DES or DESCRIPTION
    std::string commandSet;    // CMD or COMMAND SET
    // Whether the length prefix was sound; a malformed reply gives empty fields.
    bool wellFormed = false;

    // Parses the reply of the device-ID request, length prefix included. A length beyond the reply is the
    // device's own length of an ID the driver cut to its buffer: the text then runs up to the NUL, and a
    // last pair cut short is dropped. A length that is not big-endian but reads right little-endian (some
    // devices send it so) is taken where it ends the text.
    static Ieee1284DeviceId parse(std::span<const std::uint8_t> reply);
    // Parses the key-value text alone.
    static Ieee1284DeviceId parseFields(std::string_view text);
    // Parses the text the driver shows as a device attribute (the ID without its length, up to a NUL). A text
    // that fills the driver's buffer of that size may have been cut: a last pair cut short is dropped.
    static Ieee1284DeviceId parseAttribute(std::string_view text, std::size_t driverBufferSize);
};

}  // namespace Prelix10
