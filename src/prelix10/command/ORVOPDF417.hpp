#pragma once

#include <cstdint>

// PDF417 symbol generator for printers that only print raster rows. The caller owns the information
// structure; the generator keeps its state there and allocates nothing.

constexpr int ORVOPDF417MaxCodewords = 928;
constexpr int ORVOPDF417PatternRows = 640;
constexpr int ORVOPDF417PatternRowBytes = 74;  // 592 modules
constexpr int ORVOPDF417InputCapacity = 1024;

struct ORVOPDF417InformationStruct {
    uint16_t codewords[ORVOPDF417MaxCodewords];  // [0] = length descriptor, data codewords follow
    uint16_t maxDataCodewords;
    uint16_t codewordCount;  // codewords in use (data, then error correction)
    uint16_t patternHeight;  // rows of the bar pattern
    uint16_t patternWidth;   // modules per row
    uint16_t inputLength;
    uint16_t requestedEccLevel;
    uint16_t eccLevel;
    uint16_t eccPercentage;
    uint16_t aspect;
    uint16_t requestedRows;  // 0 = automatic, else 3..90
    uint16_t rows;
    uint16_t requestedColumns;  // 0 = automatic, else 1..30 data columns
    uint16_t columns;
    int16_t rowHeight;  // modules per symbol row, 1..10
    uint8_t sizeMode;   // 0 = by rows and columns, 1 = by aspect
    uint8_t eccMode;    // 0 = fixed level
    // Row r, module c is bit 7 - (c mod 8) of byte c / 8; set = bar.
    uint8_t pattern[ORVOPDF417PatternRows][ORVOPDF417PatternRowBytes];
    uint8_t input[ORVOPDF417InputCapacity];
    uint8_t moduleWidth;
    uint8_t compact;
};

// Level 1, percentage 10, aspect 50, rows and columns automatic, row height 3, size mode 1, fixed
// level, module width 2.
void ORVOPDF417Initialize(ORVOPDF417InformationStruct* information);

// Returns 1 and fills the pattern (and the codewords, rows and columns used), or 0 when a setting is out
// of range or the data do not fit.
int ORVOPDF417Generate(ORVOPDF417InformationStruct* information);

// Runs every step up to the error-correction codewords; for tests. Same result codes.
int ORVOPDF417GenerateCodewords(ORVOPDF417InformationStruct* information);
