#pragma once

#include <cstdint>

// QR code symbol generator for printers that only print raster rows. The caller owns the
// information structure; the generator keeps all of its state there (and on the stack) and
// allocates nothing.

constexpr int ORVOQRCodeMatrixSize = 177;     // modules per side of version 40
constexpr int ORVOQRCodeMatrixRowBytes = 23;  // ceil(177 / 8)
constexpr int ORVOQRCodeInputCapacity = 7096;
constexpr int ORVOQRCodeSegmentCapacity = 256;

enum ORVOQRCodeMode : uint8_t {
    ORVOQRCodeModeNumeric = 0,
    ORVOQRCodeModeAlphanumeric = 1,
    ORVOQRCodeModeByte = 2,
    ORVOQRCodeModeKanji = 3,
};

// One mode segment of the input.
struct ORVOQRCodeBlockStruct {
    uint16_t length;         // bytes of input
    const uint8_t* pointer;  // first input byte of the segment (set by the generator)
    uint8_t mode;            // ORVOQRCodeMode
};

struct ORVOQRCodeInformationStruct {
    uint16_t symbolSize;    // out: modules per side (4 x version + 17), 0 after a failure
    uint16_t segmentCount;  // in: 256 or more = automatic segmentation, else the filled entries; out: used
    uint16_t inputLength;   // in: bytes of input
    uint8_t version;        // out: 1..40
    uint8_t model;          // in: 0 = Model 1, 1 = Model 2
    uint8_t moduleScale;    // dots per module, kept for the caller
    uint8_t level;          // in: 0 = L, 1 = M, 2 = Q, 3 = H
    // Codeword bits as placed, before masking; function modules stay 0 here.
    uint8_t workMatrix[ORVOQRCodeMatrixSize][ORVOQRCodeMatrixRowBytes];
    // Out: row r, module c is bit 7 - (c mod 8) of byte c / 8; set = dark. Also scratch for the codewords.
    uint8_t symbolMatrix[ORVOQRCodeMatrixSize][ORVOQRCodeMatrixRowBytes];
    uint8_t input[ORVOQRCodeInputCapacity];
    ORVOQRCodeBlockStruct segments[ORVOQRCodeSegmentCapacity];
};

// Symbol size 0, segment count 0, input length 0, version 0, Model 2, module scale 3, level L.
void ORVOQRCodeInitialize(ORVOQRCodeInformationStruct* information);

// Returns 1 and fills symbol size, version, segment count and symbol matrix; returns 0 with symbol
// size 0 when a setting is out of range, the segment table is invalid or the data do not fit.
int ORVOQRCodeGenerate(ORVOQRCodeInformationStruct* information);

// Exposed for tests and benchmarks: data codewords for a model (0/1), version (1..40) and level; 0 when
// out of range. Total codewords likewise.
int ORVOQRCodeDataCodewords(int model, int version, int level);
int ORVOQRCodeTotalCodewords(int model, int version);
