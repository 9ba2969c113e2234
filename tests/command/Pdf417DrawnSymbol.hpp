#pragma once

// Fourteen digits "12345678901234" in one data column at error-correction level 0 over ten rows, as
// another program draws the symbol: one line of module bytes per row (86 modules, most significant
// bit leftmost, set = bar). Our generator must draw the same symbol module for module.
namespace Pdf417DrawnSymbol {

inline constexpr int kRows = 10;
inline constexpr int kModules = 86;
inline constexpr const char* kRowBytes[kRows] = {
    "FF 54 75 38 35 0C 1D 5C 0F E8 A4", "FF 54 7D 58 2F D3 1F 53 0F E8 A4",
    "FF 54 6A F8 36 9E 1A BE 0F E8 A4", "FF 54 57 DF 39 37 9A F7 CF E8 A4",
    "FF 54 6B 90 3F 69 9A E2 0F E8 A4", "FF 54 7D 70 AB 7C 1F 5C 2F E8 A4",
    "FF 54 53 9C 3B A8 14 EE 0F E8 A4", "FF 54 6B E3 AF D6 1A FD EF E8 A4",
    "FF 54 53 7C 2F B2 14 DF 0F E8 A4", "FF 54 51 83 3B 84 54 63 0F E8 A4",
};

inline bool dark(int row, int module) {
    const char* line = kRowBytes[row];
    const int byte = module / 8;
    auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    const int value = nibble(line[3 * byte]) * 16 + nibble(line[3 * byte + 1]);
    return ((value >> (7 - module % 8)) & 1) != 0;
}

}  // namespace Pdf417DrawnSymbol
