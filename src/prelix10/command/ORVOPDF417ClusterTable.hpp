#pragma once

#include <cstdint>

// The bar-and-space patterns of PDF417 codewords: three clusters (rows 0, 1, 2 modulo 3) of 929
// codewords each, as 17-bit values with the leftmost module in bit 16 (set = bar). Index
// cluster * 929 + codeword. Returns nullptr while the table is not built in; the generator then
// draws no symbol.
const uint32_t* ORVOPDF417ClusterTable();
