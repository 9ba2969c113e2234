#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "MediaCompile.hpp"
#include "Pdf417DrawnSymbol.hpp"
#include "SymbolReader.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/ORVOPDF417.hpp"
#include "prelix10/command/printer/Pdf417.hpp"
#include "prelix10/command/printer/QrCode.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;

namespace {

enum class Family { PagePrinter, EscPos, EscPosMobile, OrvoGraphic, DotImpact, Yalme1 };

struct Qr {
    std::string content = "ABC";
    QrCodeModel model = QrCodeModel::Model2;
    QrCodeErrorCorrectionLevel level = QrCodeErrorCorrectionLevel::M;
    int cellSize = 3;
    PrinterModel printer = PrinterModel::Harlo599KZ;
};

std::vector<std::uint8_t> qrBytes(Family family, const Qr& q, PrintSettingsInformation* settings = nullptr) {
    PrintSettingsInformation fresh;
    if (settings == nullptr) settings = &fresh;
    ByteBuffer buffer;
    switch (family) {
        case Family::PagePrinter:
            QrCode::orvoCommon(&buffer, q.content, q.model, q.level, q.cellSize, settings, q.printer);
            break;
        case Family::EscPos: QrCode::escpos(&buffer, q.content, q.model, q.level, q.cellSize, settings); break;
        case Family::EscPosMobile:
            QrCode::escposMobile(&buffer, q.content, q.model, q.level, q.cellSize, settings);
            break;
        case Family::OrvoGraphic:
            QrCode::orvoGraphic(&buffer, q.content, q.model, q.level, q.cellSize, settings);
            break;
        case Family::DotImpact:
            QrCode::orvoDotImpact(&buffer, q.content, q.model, q.level, q.cellSize, settings);
            break;
        case Family::Yalme1: QrCode::orvoYalme1(&buffer, q.content, q.model, q.level, q.cellSize, settings); break;
    }
    return buffer.toVector();
}

struct Pdf {
    std::string content = "AB";
    int line = 0;
    int column = 3;
    Pdf417EccLevel level = Pdf417EccLevel::Ecc2;
    int module = 2;
    int aspect = 3;
    PrinterModel printer = PrinterModel::Harlo599KZ;
};

std::vector<std::uint8_t> pdfBytes(Family family, const Pdf& p, PrintSettingsInformation* settings = nullptr) {
    PrintSettingsInformation fresh;
    if (settings == nullptr) settings = &fresh;
    ByteBuffer buffer;
    switch (family) {
        case Family::PagePrinter:
            Pdf417::orvoCommon(&buffer, p.content, p.line, p.column, p.level, p.module, p.aspect, settings, p.printer);
            break;
        case Family::EscPos:
            Pdf417::escpos(&buffer, p.content, p.line, p.column, p.level, p.module, p.aspect, settings);
            break;
        case Family::EscPosMobile:
            Pdf417::escposMobile(&buffer, p.content, p.line, p.column, p.level, p.module, p.aspect, settings);
            break;
        case Family::OrvoGraphic:
            Pdf417::orvoGraphic(&buffer, p.content, p.line, p.column, p.level, p.module, p.aspect, settings);
            break;
        case Family::DotImpact:
            Pdf417::orvoDotImpact(&buffer, p.content, p.line, p.column, p.level, p.module, p.aspect, settings);
            break;
        case Family::Yalme1:
            Pdf417::orvoYalme1(&buffer, p.content, p.line, p.column, p.level, p.module, p.aspect, settings);
            break;
    }
    return buffer.toVector();
}

const char* kEscposAbc =
    "1D 28 6B 04 00 31 41 32 00 1D 28 6B 03 00 31 45 31 1D 28 6B 03 00 31 43 03 "
    "1D 28 6B 06 00 31 50 30 41 42 43 1D 28 6B 03 00 31 51 30";

const char* kQrItem =
    R"({"method":"Action.Print.QRCode","parameter":{"content":"ABC","model":"Model2","level":"M","cell_size":3}})";

// Raster rows as the raster-only printer receives them: each 62 nL nH and n bytes. Fails the test on
// a malformed row; returns the rows' bits.
struct Raster {
    int width = 0;
    std::vector<std::vector<std::uint8_t>> rows;
};

Raster readRaster(const std::vector<std::uint8_t>& bytes) {
    Raster raster;
    std::size_t i = 0;
    while (i < bytes.size()) {
        EXPECT_EQ(bytes[i], 0x62) << "at " << i;
        if (bytes[i] != 0x62 || i + 3 > bytes.size()) return {};
        const int n = bytes[i + 1] | (bytes[i + 2] << 8);
        EXPECT_LE(i + 3 + n, bytes.size());
        if (i + 3 + n > bytes.size()) return {};
        if (raster.rows.empty()) raster.width = n;
        EXPECT_EQ(n, raster.width);
        std::vector<std::uint8_t> row(bytes.begin() + static_cast<long>(i) + 3,
                                      bytes.begin() + static_cast<long>(i) + 3 + n);
        for (std::size_t k = static_cast<std::size_t>((n + 7) / 8); k < row.size(); ++k) EXPECT_EQ(row[k], 0);
        raster.rows.push_back(row);
        i += 3 + static_cast<std::size_t>(n);
    }
    return raster;
}

// Draws the rows into an image ('pixels' per dot) and reads it back as 'format'.
void expectRasterDecodes(const std::vector<std::uint8_t>& bytes, const std::string& content,
                         const std::string& name, const std::string& format = "QRCode", int pixels = 1) {
    Raster raster = readRaster(bytes);
    ASSERT_FALSE(raster.rows.empty()) << name;
    const std::string path = SymbolReader::imagePath(name);
    const int height = static_cast<int>(raster.rows.size());
    ASSERT_TRUE(SymbolReader::writePgm(
        path, raster.width, height,
        [&](int r, int c) { return ((raster.rows[r][c >> 3] >> (7 - (c & 7))) & 1) != 0; }, pixels, pixels,
        32));
    std::string error;
    auto decoded = SymbolReader::decode(path, format, error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_TRUE(decoded.has_value()) << name << ": nothing decoded from " << path;
    EXPECT_EQ(SymbolReader::hex(*decoded), SymbolReader::hex(content)) << name;
}

}  // namespace

TEST(QrCodeCommand, EscposMustShowThroughTheCompileCallAndTool) {
    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    EXPECT_EQ(hex(qrBytes(Family::EscPos, Qr{})), kEscposAbc);
    EXPECT_TRUE(MediaCompile::holds(
        MediaCompile::compile(kQrItem, OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ),
        MediaCompile::compile("", OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ), kEscposAbc));
    const auto out = MediaCompile::compileDocTool("EscPos", "Harlo599KZ", MediaCompile::document(kQrItem));
    const auto empty = MediaCompile::compileDocTool("EscPos", "Harlo599KZ", MediaCompile::document(""));
    ASSERT_FALSE(out.empty());
    EXPECT_TRUE(MediaCompile::holds(out, empty, kEscposAbc));
}

TEST(QrCodeCommand, EveryFamilyWithItsTablesAndClamps) {
    struct Case {
        const char* name;
        Family family;
        Qr qr;
        const char* expected;
    } cases[] = {
        {"page printer", Family::PagePrinter, Qr{},
         "1B 1D 79 53 30 02 1B 1D 79 53 31 01 1B 1D 79 53 32 03 1B 1D 79 44 31 00 03 00 41 42 43 1B 1D 79 50"},
        {"page printer Model1 H, cell 20 at 203 dpi", Family::PagePrinter,
         Qr{"A", QrCodeModel::Model1, QrCodeErrorCorrectionLevel::H, 20, PrinterModel::Harlo599KZ},
         "1B 1D 79 53 30 01 1B 1D 79 53 31 03 1B 1D 79 53 32 08 1B 1D 79 44 31 00 01 00 41 1B 1D 79 50"},
        {"page printer cell 20 at 300 dpi", Family::PagePrinter,
         Qr{"A", QrCodeModel::Model2, QrCodeErrorCorrectionLevel::L, 20, PrinterModel::Ginor_7},
         "1B 1D 79 53 30 02 1B 1D 79 53 31 00 1B 1D 79 53 32 0C 1B 1D 79 44 31 00 01 00 41 1B 1D 79 50"},
        {"escpos Model1, cell 20", Family::EscPos,
         Qr{"A", QrCodeModel::Model1, QrCodeErrorCorrectionLevel::Q, 20},
         "1D 28 6B 04 00 31 41 31 00 1D 28 6B 03 00 31 45 32 1D 28 6B 03 00 31 43 10 "
         "1D 28 6B 04 00 31 50 30 41 1D 28 6B 03 00 31 51 30"},
        {"escpos cell 0", Family::EscPos, Qr{"A", QrCodeModel::Model2, QrCodeErrorCorrectionLevel::L, 0},
         "1D 28 6B 04 00 31 41 32 00 1D 28 6B 03 00 31 45 30 1D 28 6B 03 00 31 43 01 "
         "1D 28 6B 04 00 31 50 30 41 1D 28 6B 03 00 31 51 30"},
        {"escpos mobile ignores the model", Family::EscPosMobile,
         Qr{"AB", QrCodeModel::Model1, QrCodeErrorCorrectionLevel::H, 9}, "1D 5A 02 1B 5A 00 48 08 02 00 41 42"},
        {"escape decoded", Family::EscPos, Qr{"\\x00\\x0a", QrCodeModel::Model2, QrCodeErrorCorrectionLevel::M, 3},
         "1D 28 6B 04 00 31 41 32 00 1D 28 6B 03 00 31 45 31 1D 28 6B 03 00 31 43 03 "
         "1D 28 6B 05 00 31 50 30 00 0A 1D 28 6B 03 00 31 51 30"},
        {"dot impact", Family::DotImpact, Qr{}, ""},
        {"customer display", Family::Yalme1, Qr{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(qrBytes(c.family, c.qr)), c.expected) << c.name;
}

TEST(QrCodeCommand, LineHeadFlag) {
    PrintSettingsInformation settings;
    settings.isLineHead = false;
    qrBytes(Family::EscPos, Qr{}, &settings);
    EXPECT_TRUE(settings.isLineHead);
    // EscPosMobile clears it, so a second symbol right after starts on a new line.
    EXPECT_EQ(hex(qrBytes(Family::EscPosMobile, Qr{"A"}, &settings)), "1D 5A 02 1B 5A 00 4D 03 01 00 41");
    EXPECT_FALSE(settings.isLineHead);
    EXPECT_EQ(hex(qrBytes(Family::EscPosMobile, Qr{"A"}, &settings)), "0A 1D 5A 02 1B 5A 00 4D 03 01 00 41");
    // The raster path leaves it as it was.
    settings.isLineHead = false;
    EXPECT_FALSE(qrBytes(Family::OrvoGraphic, Qr{}, &settings).empty());
    EXPECT_FALSE(settings.isLineHead);
}

TEST(QrCodeCommand, DataLimits) {
    const std::string escposMax(65532, 'a');
    auto bytes = qrBytes(Family::EscPos, Qr{escposMax});
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin() + 25, bytes.begin() + 33)), "1D 28 6B FF FF 31 50 30");
    EXPECT_TRUE(qrBytes(Family::EscPos, Qr{std::string(65533, 'a')}).empty());
    EXPECT_FALSE(qrBytes(Family::PagePrinter, Qr{std::string(65535, 'a')}).empty());
    EXPECT_TRUE(qrBytes(Family::PagePrinter, Qr{std::string(65536, 'a')}).empty());
    EXPECT_TRUE(qrBytes(Family::EscPosMobile, Qr{std::string(65536, 'a')}).empty());
    // The raster path takes at most 1024 bytes.
    EXPECT_FALSE(qrBytes(Family::OrvoGraphic, Qr{std::string(1024, 'a')}).empty());
    EXPECT_TRUE(qrBytes(Family::OrvoGraphic, Qr{std::string(1025, 'a')}).empty());
}

// The raster-only printer's rows, drawn back into an image, read as the content.
TEST(QrCodeCommand, RasterRowsDecodeToTheContent) {
    std::mt19937 rng(143);
    std::string binary;
    for (int i = 0; i < 300; ++i) binary += static_cast<char>(rng() & 0xFF);
    struct Case {
        const char* name;
        std::string content;  // raw bytes, escaped for the decoder where needed
        std::string expected;
        QrCodeErrorCorrectionLevel level;
        int cell;
    } cases[] = {
        {"raster_abc", "ABC", "ABC", QrCodeErrorCorrectionLevel::M, 3},
        {"raster_url", "https://example.invalid/receipt?id=20261210-0042", "https://example.invalid/receipt?id=20261210-0042",
         QrCodeErrorCorrectionLevel::L, 2},
        {"raster_digits_cell1", std::string(200, '7'), std::string(200, '7'), QrCodeErrorCorrectionLevel::Q, 1},
        {"raster_control", "A\\x00B\\x1bC", std::string("A\0B\x1b" "C", 5), QrCodeErrorCorrectionLevel::H, 4},
        {"raster_kanji", "\x8a\xbf\x8e\x9a\x83\x65\x83\x58\x83\x67", "\x8a\xbf\x8e\x9a\x83\x65\x83\x58\x83\x67",
         QrCodeErrorCorrectionLevel::M, 8},
        {"raster_cell20", "CELL", "CELL", QrCodeErrorCorrectionLevel::L, 20},
    };
    for (const auto& c : cases) {
        Qr q{c.content, QrCodeModel::Model2, c.level, c.cell};
        const auto bytes = qrBytes(Family::OrvoGraphic, q);
        const int scale = std::clamp(c.cell, 1, 8);
        Raster raster = readRaster(bytes);
        ASSERT_FALSE(raster.rows.empty()) << c.name;
        EXPECT_EQ(raster.width % scale, 0);
        EXPECT_EQ(static_cast<int>(raster.rows.size()), raster.width);  // square, N x S
        expectRasterDecodes(bytes, c.expected, c.name);
    }
}

TEST(QrCodeCommand, RasterOnlyDocumentThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    const auto out = MediaCompile::compile(kQrItem, OrvoPrinterEmulation::orvoGraphic, OrvoPrinterModel::harlo599KZ);
    const auto empty = MediaCompile::compile("", OrvoPrinterEmulation::orvoGraphic, OrvoPrinterModel::harlo599KZ);
    const auto raster = qrBytes(Family::OrvoGraphic, Qr{});
    ASSERT_FALSE(raster.empty());
    EXPECT_TRUE(MediaCompile::holds(out, empty, hex(raster)));
}

// A Model 1 request on the raster-only printer prints the Model 2 symbol of the same data, level and
// cell size, so what prints can be read; the native commands still ask for Model 1.
TEST(QrCodeCommand, ModelOneOnTheRasterPathPrintsTheModelTwoSymbol) {
    struct Case {
        const char* name;
        std::string content;
        QrCodeErrorCorrectionLevel level;
        int cell;
    } cases[] = {
        {"raster_model1_abc", "ABC", QrCodeErrorCorrectionLevel::M, 3},
        {"raster_model1_url", "https://example.invalid/receipt?id=20261210-0042",
         QrCodeErrorCorrectionLevel::L, 2},
        // 41 digits fill version 1 of Model 2; Model 1's four extra bits would need version 2.
        {"raster_model1_digits", std::string(41, '1'), QrCodeErrorCorrectionLevel::L, 1},
        {"raster_model1_kanji", "\x8a\xbf\x8e\x9a\x83\x65\x83\x58", QrCodeErrorCorrectionLevel::H, 5},
        {"raster_model1_long", std::string(400, 'z'), QrCodeErrorCorrectionLevel::Q, 2},
    };
    for (const auto& c : cases) {
        const auto model1 = qrBytes(Family::OrvoGraphic, Qr{c.content, QrCodeModel::Model1, c.level, c.cell});
        const auto model2 = qrBytes(Family::OrvoGraphic, Qr{c.content, QrCodeModel::Model2, c.level, c.cell});
        ASSERT_FALSE(model2.empty()) << c.name;
        EXPECT_TRUE(model1 == model2) << c.name;
        expectRasterDecodes(model1, c.content, c.name);
    }

    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    const std::string model1Item =
        R"({"method":"Action.Print.QRCode","parameter":{"content":"ABC","model":"Model1","level":"M","cell_size":3}})";
    EXPECT_TRUE(MediaCompile::holds(
        MediaCompile::compile(model1Item, OrvoPrinterEmulation::orvoGraphic, OrvoPrinterModel::harlo599KZ),
        MediaCompile::compile("", OrvoPrinterEmulation::orvoGraphic, OrvoPrinterModel::harlo599KZ),
        hex(qrBytes(Family::OrvoGraphic, Qr{}))));

    const auto page = qrBytes(Family::PagePrinter, Qr{"ABC", QrCodeModel::Model1});
    ASSERT_GE(page.size(), 6u);
    EXPECT_EQ(hex(std::vector<std::uint8_t>(page.begin(), page.begin() + 6)), "1B 1D 79 53 30 01");
    EXPECT_TRUE(MediaCompile::holds(
        MediaCompile::compile(model1Item, OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ),
        MediaCompile::compile("", OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ),
        "1D 28 6B 04 00 31 41 31 00 1D 28 6B 03 00 31 45 31 1D 28 6B 03 00 31 43 03 "
        "1D 28 6B 06 00 31 50 30 41 42 43 1D 28 6B 03 00 31 51 30"));
}

TEST(Pdf417Command, EveryFamilyWithItsTablesAndClamps) {
    struct Case {
        const char* name;
        Family family;
        Pdf pdf;
        const char* expected;
    } cases[] = {
        {"page printer", Family::PagePrinter, Pdf{},
         "1B 1D 78 53 30 01 00 03 1B 1D 78 53 31 02 1B 1D 78 53 32 02 1B 1D 78 53 33 03 "
         "1B 1D 78 44 02 00 41 42 1B 1D 78 50"},
        {"page printer clamps at 203 dpi", Family::PagePrinter, Pdf{"A", 1, 40, Pdf417EccLevel::Ecc8, 20, 0},
         "1B 1D 78 53 30 01 03 1E 1B 1D 78 53 31 08 1B 1D 78 53 32 0A 1B 1D 78 53 33 01 "
         "1B 1D 78 44 01 00 41 1B 1D 78 50"},
        {"page printer module at 300 dpi, line 0 column 0", Family::PagePrinter,
         Pdf{"A", 0, 0, Pdf417EccLevel::Ecc0, 20, 20, PrinterModel::Ginor_7},
         "1B 1D 78 53 30 01 00 01 1B 1D 78 53 31 00 1B 1D 78 53 32 0F 1B 1D 78 53 33 0A "
         "1B 1D 78 44 01 00 41 1B 1D 78 50"},
        {"escpos", Family::EscPos, Pdf{"AB", 2, -5, Pdf417EccLevel::Ecc5, 1, 9},
         "1D 28 6B 03 00 30 41 00 1D 28 6B 03 00 30 42 03 1D 28 6B 04 00 30 45 30 35 "
         "1D 28 6B 03 00 30 43 02 1D 28 6B 03 00 30 44 08 1D 28 6B 05 00 30 50 30 41 42 "
         "1D 28 6B 03 00 30 51 30"},
        {"escpos line 100", Family::EscPos, Pdf{"A", 100, 3, Pdf417EccLevel::Ecc1, 9, 1},
         "1D 28 6B 03 00 30 41 03 1D 28 6B 03 00 30 42 5A 1D 28 6B 04 00 30 45 30 31 "
         "1D 28 6B 03 00 30 43 08 1D 28 6B 03 00 30 44 02 1D 28 6B 04 00 30 50 30 41 "
         "1D 28 6B 03 00 30 51 30"},
        {"escpos mobile", Family::EscPosMobile, Pdf{"AB", 50, 0, Pdf417EccLevel::Ecc3, 9, 9},
         "1D 5A 00 1D 77 08 1B 5A 01 03 05 02 00 41 42"},
        {"dot impact", Family::DotImpact, Pdf{}, ""},
        {"customer display", Family::Yalme1, Pdf{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(pdfBytes(c.family, c.pdf)), c.expected) << c.name;
}

TEST(Pdf417Command, LineHeadAndDataLimits) {
    PrintSettingsInformation settings;
    settings.isLineHead = false;
    pdfBytes(Family::PagePrinter, Pdf{}, &settings);
    EXPECT_TRUE(settings.isLineHead);
    EXPECT_EQ(hex(pdfBytes(Family::EscPosMobile, Pdf{"A"}, &settings)), "1D 5A 00 1D 77 02 1B 5A 03 02 03 01 00 41");
    EXPECT_FALSE(settings.isLineHead);
    EXPECT_EQ(hex(pdfBytes(Family::EscPosMobile, Pdf{"A"}, &settings)),
              "0A 1D 5A 00 1D 77 02 1B 5A 03 02 03 01 00 41");

    auto bytes = pdfBytes(Family::EscPos, Pdf{std::string(65532, 'a')});
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin() + 41, bytes.begin() + 49)), "1D 28 6B FF FF 30 50 30");
    EXPECT_TRUE(pdfBytes(Family::EscPos, Pdf{std::string(65533, 'a')}).empty());
    EXPECT_FALSE(pdfBytes(Family::PagePrinter, Pdf{std::string(65535, 'a')}).empty());
    EXPECT_TRUE(pdfBytes(Family::PagePrinter, Pdf{std::string(65536, 'a')}).empty());
    EXPECT_TRUE(pdfBytes(Family::EscPosMobile, Pdf{std::string(65536, 'a')}).empty());
    EXPECT_TRUE(pdfBytes(Family::OrvoGraphic, Pdf{std::string(1025, 'a')}).empty());
}

namespace {

// Every byte as \xHH, so the escape decoder hands the generator exactly these bytes.
std::string escaped(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += "\\x";
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

}  // namespace

// The raster-only printer's rows, drawn back into an image, read as the content: every level, one to
// thirty columns, rows or columns automatic, numeric, text, mixed and binary data.
TEST(Pdf417Command, RasterRowsDecodeToTheContent) {
    std::mt19937 rng(141);
    std::string binary;
    for (int i = 0; i < 400; ++i) binary += static_cast<char>(rng() & 0xFF);
    binary[7] = '\0';
    std::string digits;
    for (int i = 0; i < 300; ++i) digits += static_cast<char>('0' + rng() % 10);
    const std::string mixed =
        "Receipt #0042\r\nTotal: $12.50\tThank you!\x01\x02\x1b@ 01234567890123456789 [ok] ~end~ "
        "caf\xc3\xa9 lower UPPER 42";
    std::string longText;
    while (longText.size() < 1024) longText += "Order 20261210-0042 total 12.50; thanks. ";
    longText.resize(1024);
    struct Case {
        const char* name;
        std::string data;  // the bytes wanted; the content sent is their escaped form
        int line;
        int column;
        Pdf417EccLevel level;
        int module;
        int aspect;
    } cases[] = {
        {"pdf417_numeric_ecc0", digits, 0, 3, Pdf417EccLevel::Ecc0, 2, 3},
        {"pdf417_text_one_column_ecc1", "Hello, World! lower UPPER mIxEd ; @ [ ] ~ ?", 0, 1,
         Pdf417EccLevel::Ecc1, 3, 3},
        {"pdf417_mixed_ecc2", mixed, 0, 5, Pdf417EccLevel::Ecc2, 2, 3},
        {"pdf417_binary_30_columns_ecc3", binary, 0, 30, Pdf417EccLevel::Ecc3, 2, 3},
        {"pdf417_20_rows_ecc4", "ROWS TWENTY 1234567890123456 columns automatic", 20, 0, Pdf417EccLevel::Ecc4,
         2, 4},
        {"pdf417_control_bytes_ecc5",
         std::string("A\0B\x1b"
                     "C\xff\x7f\x00",
                     8),
         0, 2, Pdf417EccLevel::Ecc5, 3, 3},
        {"pdf417_mixed_ecc6", mixed + mixed + mixed, 0, 10, Pdf417EccLevel::Ecc6, 2, 3},
        {"pdf417_module_1_ecc7", "Module one, twenty columns.", 0, 20, Pdf417EccLevel::Ecc7, 1, 3},
        {"pdf417_30_columns_ecc8", "Level eight 0042", 0, 30, Pdf417EccLevel::Ecc8, 2, 2},
        {"pdf417_one_column_90_rows", binary.substr(0, 60), 90, 1, Pdf417EccLevel::Ecc2, 2, 2},
        {"pdf417_3_rows_30_columns", "wide", 3, 30, Pdf417EccLevel::Ecc0, 2, 5},
        {"pdf417_1024_bytes", longText, 0, 30, Pdf417EccLevel::Ecc2, 2, 2},
        {"pdf417_digits_one_column", "12345678901234", 10, 1, Pdf417EccLevel::Ecc0, 8, 2},
    };
    for (const auto& c : cases) {
        const auto bytes = pdfBytes(Family::OrvoGraphic,
                                    Pdf{escaped(c.data), c.line, c.column, c.level, c.module, c.aspect});
        ASSERT_FALSE(bytes.empty()) << c.name;
        const int scale = c.module < 2 ? 1 : std::min(c.module, 8);
        expectRasterDecodes(bytes, c.data, c.name, "PDF417",
                            std::max(1, 4 - scale));  // 3 pixels a module or more
    }
}

// Module width S (the module clamped to 2..8, 1 below 2) and row height (the aspect clamped to
// 2..10): each module is S dots wide, each symbol row aspect x S dots tall, every dot row sent as
// 62 nL nH and n = width x S bytes.
TEST(Pdf417Command, RasterModuleWidthsAndRowHeights) {
    struct Case {
        int module;
        int aspect;
        int scale;
        int rowHeight;
    } cases[] = {
        {-3, -1, 1, 2}, {0, 0, 1, 2},   {1, 1, 1, 2}, {2, 2, 2, 2},    {3, 3, 3, 3},
        {5, 10, 5, 10}, {8, 11, 8, 10}, {9, 4, 8, 4}, {20, 40, 8, 10},
    };
    for (const auto& c : cases) {
        const auto bytes = pdfBytes(Family::OrvoGraphic,
                                    Pdf{"12345678901234", 10, 1, Pdf417EccLevel::Ecc0, c.module, c.aspect});
        const int n = 86 * c.scale;
        const std::size_t rowLength = 3 + static_cast<std::size_t>(n);
        const int dotRows = 10 * c.rowHeight * c.scale;
        ASSERT_EQ(bytes.size(), rowLength * static_cast<std::size_t>(dotRows)) << c.module << "/" << c.aspect;
        for (int y = 0; y < dotRows; ++y) {
            const std::uint8_t* row = bytes.data() + rowLength * static_cast<std::size_t>(y);
            ASSERT_EQ(hex(std::vector<std::uint8_t>(row, row + 3)),
                      hex(std::vector<std::uint8_t>{0x62, static_cast<std::uint8_t>(n & 0xFF),
                                                    static_cast<std::uint8_t>(n >> 8)}));
            for (int x = 0; x < 8 * n; ++x) {
                const bool dark = ((row[3 + x / 8] >> (7 - x % 8)) & 1) != 0;
                const bool expected =
                    x < n && Pdf417DrawnSymbol::dark(y / (c.rowHeight * c.scale), x / c.scale);
                ASSERT_EQ(dark, expected)
                    << "module " << c.module << " aspect " << c.aspect << " dot " << y << "," << x;
            }
        }
    }
    // Module 1, aspect 2, written out: every symbol row twice, 86 bytes of which 11 carry it.
    std::string expected;
    for (const char* row : Pdf417DrawnSymbol::kRowBytes) {
        std::string line = std::string("62 56 00 ") + row;
        for (int k = 11; k < 86; ++k) line += " 00";
        expected += (expected.empty() ? "" : " ") + line + " " + line;
    }
    EXPECT_EQ(hex(pdfBytes(Family::OrvoGraphic, Pdf{"12345678901234", 10, 1, Pdf417EccLevel::Ecc0, 1, 2})),
              expected);
}

TEST(Pdf417Command, RasterSizesAndWhatPrintsNothing) {
    struct Case {
        const char* name;
        Pdf pdf;
        int width;  // dots per row; 0 = nothing appended
        int dotRows;
    } cases[] = {
        {"line 2 becomes 3 rows", Pdf{"A", 2, 2, Pdf417EccLevel::Ecc0, 1, 2}, 103, 3 * 2},
        {"line 1 becomes 3 rows", Pdf{"A", 1, 2, Pdf417EccLevel::Ecc0, 1, 2}, 103, 3 * 2},
        {"line 0 column 0 becomes column 1", Pdf{"A", 0, 0, Pdf417EccLevel::Ecc0, 1, 2}, 86, 4 * 2},
        {"30 columns", Pdf{"A", 3, 30, Pdf417EccLevel::Ecc0, 1, 2}, 579, 3 * 2},
        {"30 columns at module 8", Pdf{"A", 3, 30, Pdf417EccLevel::Ecc0, 8, 2}, 579 * 8, 3 * 2 * 8},
        {"column 40 is 30", Pdf{"A", 3, 40, Pdf417EccLevel::Ecc0, 1, 2}, 579, 3 * 2},
        {"640 pattern rows", Pdf{"A", 64, 1, Pdf417EccLevel::Ecc0, 1, 10}, 86, 640},
        {"over 640 pattern rows", Pdf{"A", 65, 1, Pdf417EccLevel::Ecc0, 1, 10}, 0, 0},
        {"1025 bytes", Pdf{std::string(1025, 'a'), 0, 30, Pdf417EccLevel::Ecc0, 2, 3}, 0, 0},
        {"1024 bytes that do not fit at level 8",
         Pdf{std::string(1024, '\x80'), 0, 30, Pdf417EccLevel::Ecc8, 2, 3}, 0, 0},
        {"data beyond 3 x 1", Pdf{"ABCDEFGH", 3, 1, Pdf417EccLevel::Ecc0, 2, 3}, 0, 0},
        {"empty content", Pdf{"", 0, 3, Pdf417EccLevel::Ecc0, 2, 3}, 0, 0},
    };
    for (const auto& c : cases) {
        for (bool lineHead : {false, true}) {
            PrintSettingsInformation settings;
            settings.isLineHead = lineHead;
            const auto bytes = pdfBytes(Family::OrvoGraphic, c.pdf, &settings);
            EXPECT_EQ(settings.isLineHead, lineHead) << c.name;  // the raster path leaves it
            if (c.width == 0) {
                EXPECT_TRUE(bytes.empty()) << c.name;
                continue;
            }
            Raster raster = readRaster(bytes);
            EXPECT_EQ(raster.width, c.width) << c.name;
            EXPECT_EQ(static_cast<int>(raster.rows.size()), c.dotRows) << c.name;
        }
    }
}

TEST(Pdf417Command, RasterOnlyDocumentThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    const std::string item =
        R"({"method":"Action.Print.Pdf417","parameter":{"content":"AB\\x00","line":0,"column":3,"level":"Ecc2","module":3,"aspect":3}})";
    const auto out =
        MediaCompile::compile(item, OrvoPrinterEmulation::orvoGraphic, OrvoPrinterModel::harlo599KZ);
    const auto empty =
        MediaCompile::compile("", OrvoPrinterEmulation::orvoGraphic, OrvoPrinterModel::harlo599KZ);
    const auto raster = pdfBytes(Family::OrvoGraphic, Pdf{"AB\\x00", 0, 3, Pdf417EccLevel::Ecc2, 3, 3});
    ASSERT_FALSE(raster.empty());
    EXPECT_TRUE(MediaCompile::holds(out, empty, hex(raster)));
    expectRasterDecodes(raster, std::string("AB\0", 3), "pdf417_document", "PDF417", 1);
}

TEST(Pdf417Command, EscposThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    const std::string item =
        R"({"method":"Action.Print.Pdf417","parameter":{"content":"AB","line":0,"column":3,"level":"Ecc2","module":3,"aspect":3}})";
    EXPECT_TRUE(MediaCompile::holds(
        MediaCompile::compile(item, OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ),
        MediaCompile::compile("", OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ),
        "1D 28 6B 03 00 30 41 03 1D 28 6B 03 00 30 42 00 1D 28 6B 04 00 30 45 30 32 "
        "1D 28 6B 03 00 30 43 03 1D 28 6B 03 00 30 44 03 1D 28 6B 05 00 30 50 30 41 42 "
        "1D 28 6B 03 00 30 51 30"));
}
