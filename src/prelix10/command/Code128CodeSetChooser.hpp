#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PrinterCommandBuilder::Printer {

// Turns Code128 content into ESC/POS barcode data with explicit code-set marks ("{A", "{B", "{C",
// shift "{S", function characters "{1" to "{4", and "{{" for a literal "{"). The input holds the
// function characters as the single bytes below.
class Code128CodeSetChooser {
  public:
    static constexpr std::uint8_t fnc1 = 0x86;
    static constexpr std::uint8_t fnc2 = 0x81;
    static constexpr std::uint8_t fnc3 = 0x80;
    static constexpr std::uint8_t fnc4 = 0x84;

    // Bytes above 7F other than the function characters have no Code128 symbol and are dropped.
    static std::vector<std::uint8_t> choose(const std::uint8_t* data, std::size_t length);
};

}  // namespace PrinterCommandBuilder::Printer
