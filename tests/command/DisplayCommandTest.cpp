#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "prelix10/command/BuilderFactory.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/display/Builder.hpp"
#include "prelix10/command/display/Converter.hpp"
#include "prelix10/command/display/Image.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Display;
using TestHex::hex;

namespace {

const char* const emulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                  "OrvoYalme1", "EscPos",   "EscPosMobile"};

std::vector<std::uint8_t> run(const char* emulation, const std::function<void(Display::Builder&)>& action,
                              PrinterModel model = PrinterModel::Harlo599KKKH) {
    ByteBuffer buffer;
    auto root = BuilderFactory(emulation, &buffer, model).create();
    EXPECT_NE(root, nullptr) << emulation;
    if (root == nullptr) return {};
    action(*root->getDisplayBuilder());
    return buffer.toVector();
}

std::string envelope(const std::string& displayHex) {
    const std::size_t count = displayHex.empty() ? 0 : (displayHex.size() + 1) / 3;
    char head[32];
    std::snprintf(head, sizeof head, "1B 1D 42 40 %02X %02X ", static_cast<unsigned>(count & 0xFF),
                  static_cast<unsigned>(count >> 8));
    return head + displayHex;
}

std::string base64(const std::vector<std::uint8_t>& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += alphabet[(v >> s) & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = bytes[i] << 16;
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8;
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63], '='};
    }
    return out;
}

}  // namespace

TEST(DisplayCommand, EveryOperationInItsEnvelopeOnlyOnTheDisplayEmulations) {
    using B = Display::Builder;
    struct Case {
        std::function<void(B&)> action;
        std::string display;  // the display bytes inside the envelope
    } cases[] = {
        {[](B& b) { b.appendBackLight(true); }, "1B 5B 01 50"},
        {[](B& b) { b.appendBackLight(false); }, "1B 5B 00 50"},
        {[](B& b) { b.appendClearAll(); }, "1B 5B 32 4A"},
        {[](B& b) { b.appendClearLine(); }, "1B 5B 30 4B"},
        {[](B& b) { b.appendContrast(ContrastValue::Plus3); }, "1B 5C 3F 4C 44 06 03"},
        {[](B& b) { b.appendContrast(ContrastValue::Default); }, "1B 5C 3F 4C 44 03 03"},
        {[](B& b) { b.appendContrast(ContrastValue::Minus3); }, "1B 5C 3F 4C 44 00 03"},
        {[](B& b) { b.appendContrast(static_cast<ContrastValue>(7)); }, "1B 5C 3F 4C 44 03 03"},
        {[](B& b) { b.appendCursorState(CursorStateValue::Off); }, "1B 5C 3F 4C 43 00"},
        {[](B& b) { b.appendCursorState(CursorStateValue::Blink); }, "1B 5C 3F 4C 43 01"},
        {[](B& b) { b.appendCursorState(CursorStateValue::On); }, "1B 5C 3F 4C 43 02"},
        {[](B& b) { b.appendCursorState(static_cast<CursorStateValue>(-1)); }, "1B 5C 3F 4C 43 00"},
        {[](B& b) { b.appendCursorPosition(0, 0); }, "1B 5B 01 3B 01 48"},
        {[](B& b) { b.appendCursorPosition(25, 3); }, "1B 5B 02 3B 14 48"},
        {[](B& b) { b.appendCursorPosition(-5, -1); }, "1B 5B 01 3B 01 48"},
        {[](B& b) { b.appendInternationalCharacter(InternationalCharacterType::Korea); }, "1B 52 0D"},
        {[](B& b) { b.appendInternationalCharacter(static_cast<InternationalCharacterType>(14)); },
         "1B 52 00"},
        {[](B& b) { b.appendText("AB"); }, "41 42"},
        {[](B& b) {
             b.appendCharacterEncoding(Display::Encode::Japanese);
             b.appendText("A");
         },
         "1B 52 3A 41"},
    };
    for (const auto& c : cases) {
        for (const char* emulation : emulations) {
            const bool hasDisplay =
                std::string(emulation) == "Kestrin" || std::string(emulation) == "OrvoGraphic";
            EXPECT_EQ(hex(run(emulation, c.action)), hasDisplay ? envelope(c.display) : "")
                << emulation << " " << c.display;
        }
    }
    // The display builders make no model check of their own; the element parser does.
    EXPECT_EQ(hex(run(
                  "Kestrin", [](B& b) { b.appendClearAll(); }, PrinterModel::Unknown)),
              "1B 1D 42 40 04 00 1B 5B 32 4A");
}

TEST(DisplayCommand, EncodingSelectsBeforeTheText) {
    using B = Display::Builder;
    struct Case {
        Display::Encode encode;
        std::string text;
        std::string display;
    } cases[] = {
        {Display::Encode::Japanese, "\xE3\x81\x82", "1B 52 3A 82 A0"},
        {Display::Encode::SimplifiedChinese, "A", "1B 52 3B 41"},
        {Display::Encode::TraditionalChinese, "A", "1B 52 3C 41"},
        {Display::Encode::Korean, "A", "1B 52 3D 41"},
        // The code page sends no selection up front; a character outside ASCII carries its page.
        {Display::Encode::CodePage, "A\xC3\xA9", "41 1B 52 39 82"},
        // An escaped NUL is skipped, not the end of the text.
        {Display::Encode::Japanese, "A\\x00B", "1B 52 3A 41 42"},
        {Display::Encode::Japanese, "\\x41", "1B 52 3A 41"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(run("Kestrin",
                          [&](B& b) {
                              b.appendCharacterEncoding(c.encode);
                              b.appendText(c.text);
                          })),
                  envelope(c.display))
            << c.text;
    }
    // The encoding stays with the builder for later texts.
    EXPECT_EQ(hex(run("Kestrin",
                      [](B& b) {
                          b.appendCharacterEncoding(Display::Encode::Korean);
                          b.appendText("A");
                          b.appendText("B");
                      })),
              envelope("1B 52 3D 41") + " " + envelope("1B 52 3D 42"));
    // An empty text in the code page has no display bytes and no envelope.
    EXPECT_EQ(hex(run("Kestrin", [](B& b) { b.appendText(""); })), "");
}

TEST(DisplayCommand, LongDataIsCutIntoEnvelopesOf1024Bytes) {
    const std::vector<char> data(3000, 0x41);
    ByteBuffer out;
    Converter::savePrinterCommand(data.data(), data.size(), &out);
    const auto bytes = out.toVector();
    ASSERT_EQ(bytes.size(), 3000u + 3 * 6);
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 6)), "1B 1D 42 40 00 04");
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin() + 1030, bytes.begin() + 1036)),
              "1B 1D 42 40 00 04");
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin() + 2060, bytes.begin() + 2066)),
              "1B 1D 42 40 B8 03");

    ByteBuffer none;
    Converter::savePrinterCommand(data.data(), 0, &none);
    ByteBuffer empty;
    Converter::savePrinterCommand(&empty, &none);
    EXPECT_EQ(none.getDataSize(), 0u);

    ByteBuffer source;
    source.add({0x1B, 0x5B, 0x32, 0x4A});
    ByteBuffer wrapped;
    Converter::savePrinterCommand(&source, &wrapped);
    EXPECT_EQ(hex(wrapped), "1B 1D 42 40 04 00 1B 5B 32 4A");
}

TEST(DisplayCommand, ImageIsSentByColumns) {
    // Dots (0, 0), (1, 0), (0, 39), (8, 9) and (159, 39) of a 160 x 40 picture.
    std::vector<std::uint8_t> picture(800, 0);
    picture[0] = 0xC0;
    picture[39 * 20] |= 0x80;
    picture[9 * 20 + 1] |= 0x80;
    picture[39 * 20 + 19] |= 0x01;
    ByteBuffer out;
    Image::kestrin(&out, base64(picture), 160, 40);
    const auto bytes = out.toVector();
    ASSERT_EQ(bytes.size(), 6u + 802u);
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)), "1B 1D 42 40 22 03 1B 20");
    std::vector<std::uint8_t> expected(800, 0);
    expected[0] = 0x80;                    // column 0, rows 0-7: the top dot
    expected[4] = 0x01;                    // column 0, rows 32-39: the bottom dot
    expected[5] = 0x80;                    // column 1, rows 0-7
    expected[40 + 1] = 0x40;               // group 1, column 8, rows 8-15: row 9
    expected[19 * 40 + 7 * 5 + 4] = 0x01;  // column 159, row 39
    EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin() + 8, bytes.end())), hex(expected));
}

TEST(DisplayCommand, ImageTakesOnlyShapesThatFitTheDisplay) {
    const auto image = [](const std::string& source, int width, int height) {
        ByteBuffer out;
        Image::orvoGraphic(&out, source, width, height);
        return out.toVector();
    };
    const std::string full = base64(std::vector<std::uint8_t>(800, 0xFF));
    EXPECT_EQ(image(full, 160, 40).size(), 808u);
    // The same 800 bytes described as another shape would be scrambled: refused.
    EXPECT_TRUE(image(full, 320, 20).empty());
    EXPECT_TRUE(image(full, 80, 80).empty());
    EXPECT_TRUE(image(full, 160, 41).empty());
    // A length that does not match the shape, and products that overflow 32 bits.
    EXPECT_TRUE(image(base64(std::vector<std::uint8_t>(799, 0xFF)), 160, 40).empty());
    EXPECT_TRUE(image(full, 65536, 65536).empty());
    EXPECT_TRUE(image(full, 2147483647, 2147483647).empty());
    EXPECT_TRUE(image(full, -160, -40).empty());
    EXPECT_TRUE(image(full, 0, 40).empty());
    EXPECT_TRUE(image("", 160, 40).empty());

    // A smaller picture is placed at the top left of a blank display; the bits past its width
    // in each row are padding and are not shown.
    const auto small = image(base64({0xFF, 0x80, 0x00, 0x00}), 9, 2);
    ASSERT_EQ(small.size(), 808u);
    std::vector<std::uint8_t> expected(800, 0);
    for (int column = 0; column < 8; ++column) expected[column * 5] = 0x80;  // row 0, columns 0-7
    expected[40] = 0x80;                                                     // row 0, column 8
    EXPECT_EQ(hex(std::vector<std::uint8_t>(small.begin() + 8, small.end())), hex(expected));
    const auto padded = image(base64({0xFF, 0xFF, 0x00, 0x00}), 9, 2);
    EXPECT_EQ(hex(padded), hex(small));
}
