// Random payloads and settings for the QR and PDF417 generators: every result must stay inside the
// structures, and a successful result must be well formed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "prelix10/command/ORVOPDF417.hpp"
#include "prelix10/command/ORVOQRCode.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    static auto qr = std::make_unique<ORVOQRCodeInformationStruct>();
    static auto pdf = std::make_unique<ORVOPDF417InformationStruct>();
    const uint8_t* settings = data;
    const uint8_t* payload = data + 8;
    const size_t length = size - 8;

    ORVOQRCodeInitialize(qr.get());
    qr->model = settings[0] % 3;  // 2 is out of range on purpose
    qr->level = settings[1] % 5;
    size_t qrLength = length < ORVOQRCodeInputCapacity ? length : ORVOQRCodeInputCapacity;
    std::memcpy(qr->input, payload, qrLength);
    qr->inputLength = static_cast<uint16_t>(qrLength);
    if (settings[2] & 1) {
        qr->segmentCount = 256;
    } else {
        // A caller-filled table from the settings bytes: lengths and modes that may not fit the input.
        int count = settings[3] % 5;
        for (int i = 0; i < count; ++i) {
            qr->segments[i].length = static_cast<uint16_t>(settings[4 + i % 4] * (i + 1));
            qr->segments[i].mode = static_cast<uint8_t>(settings[4 + (i + 1) % 4] % 5);
        }
        qr->segmentCount = static_cast<uint16_t>(count);
    }
    if (ORVOQRCodeGenerate(qr.get()) == 1) {
        if (qr->version < 1 || qr->version > 40 || qr->symbolSize != 4 * qr->version + 17) std::abort();
    } else if (qr->symbolSize != 0) {
        std::abort();
    }

    ORVOPDF417Initialize(pdf.get());
    pdf->sizeMode = 0;
    pdf->requestedRows = settings[4] % 100;
    pdf->requestedColumns = settings[5] % 34;
    pdf->requestedEccLevel = settings[6] % 10;
    pdf->rowHeight = static_cast<int16_t>(settings[7] % 12);
    size_t pdfLength = length < ORVOPDF417InputCapacity ? length : ORVOPDF417InputCapacity;
    std::memcpy(pdf->input, payload, pdfLength);
    pdf->inputLength = static_cast<uint16_t>(settings[3] == 0xFF ? length : pdfLength);
    pdf->compact = settings[2] >> 7;
    if (ORVOPDF417GenerateCodewords(pdf.get()) == 1) {
        if (pdf->rows < 3 || pdf->rows > 90 || pdf->columns < 1 || pdf->columns > 30) std::abort();
        if (pdf->codewordCount != pdf->rows * pdf->columns) std::abort();
        for (int i = 0; i < pdf->codewordCount; ++i)
            if (pdf->codewords[i] >= 929) std::abort();
    }
    // The pattern step: a drawn symbol stays inside the 640 x 74-byte pattern, every row opens with
    // the opening pattern, and no module is set past the width.
    if (ORVOPDF417Generate(pdf.get()) == 1) {
        const int width = pdf->patternWidth;
        const int height = pdf->patternHeight;
        if (width != 17 * pdf->columns + (pdf->compact ? 35 : 69) || width > 8 * ORVOPDF417PatternRowBytes)
            std::abort();
        if (height != pdf->rows * pdf->rowHeight || height > ORVOPDF417PatternRows) std::abort();
        for (int r = 0; r < height; ++r) {
            const uint8_t* row = pdf->pattern[r];
            if (row[0] != 0xFF || row[1] != 0x54) std::abort();  // 11111111 0101010(00)
            if (width % 8 != 0 && (row[width / 8] & (0xFF >> (width % 8))) != 0) std::abort();
            for (int k = (width + 7) / 8; k < ORVOPDF417PatternRowBytes; ++k)
                if (row[k] != 0) std::abort();
        }
    } else if (pdf->patternHeight != 0 || pdf->patternWidth != 0) {
        std::abort();
    }
    return 0;
}
