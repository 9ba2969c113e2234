#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "prelix10/core/WLanSettingServiceStatus.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// Reads the manufacturer data of one Bluetooth LE advertisement of the maker's devices:
//   bytes 0-1  the maker's company identifier, least significant byte first
//   bytes 2-7  the device address
//   byte 8     ';' for the short form (model name up to the end); below 0x20 invalid; else the long form
//   long form  model name up to the first ';', then a capability byte (bit 0 print, bit 1 wireless LAN
//              setting), then status candidates: a byte 0x2X carries the wireless LAN state in X.
// Nothing is sent to an advertising device, so the request is empty. One parser reads one advertisement.
class OrvoAdvertisePacketParser final : public CommandParser {
public:
    static constexpr std::array<std::uint8_t, 2> kCompanyIdentifier{0x6C, 0x04};
    static constexpr std::size_t kHeaderLength = 9;

    ByteBlock requestCommands() const override { return {}; }
    // A recognised advertisement spans the whole data (0 to its last byte), also when it is malformed past
    // the header; a foreign one has no range.
    CommandParserResult parse(ByteView data) override;

    std::optional<std::string> address;
    std::optional<std::string> modelName;
    bool capPrintService = false;
    bool capWLanSettingService = false;
    std::optional<WLanSettingServiceStatus> wLanSettingServiceStatus;
};

}  // namespace Prelix10
