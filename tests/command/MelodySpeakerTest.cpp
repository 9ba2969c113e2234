#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "prelix10/command/BuilderFactory.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/melodyspeaker/Builder.hpp"
#include "prelix10/command/melodyspeaker/Converter.hpp"
#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"
#include "prelix10/command/melodyspeaker/WaveInformation.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::MelodySpeaker;
using TestHex::hex;
using Bytes = std::vector<std::uint8_t>;

namespace {

const char* const emulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                  "OrvoYalme1", "EscPos",   "EscPosMobile"};

std::string base64(const Bytes& bytes) {
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

void put16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

struct Wave {
    unsigned tag = 1;
    unsigned channels = 1;
    std::uint32_t rate = 12800;
    unsigned bits = 8;
    Bytes samples;
};

// A canonical 44-byte header, then the samples.
Bytes waveFile(const Wave& w) {
    Bytes b(44, 0);
    const std::string tags[] = {"RIFF", "WAVE", "fmt ", "data"};
    const std::size_t at[] = {0, 8, 12, 36};
    for (int i = 0; i < 4; ++i) std::copy(tags[i].begin(), tags[i].end(), b.begin() + at[i]);
    put32(b, 4, static_cast<std::uint32_t>(36 + w.samples.size()));
    put32(b, 16, 16);
    put16(b, 20, w.tag);
    put16(b, 22, w.channels);
    put32(b, 24, w.rate);
    put32(b, 28, w.rate * w.channels * w.bits / 8);
    put16(b, 32, w.channels * w.bits / 8);
    put16(b, 34, w.bits);
    put32(b, 40, static_cast<std::uint32_t>(w.samples.size()));
    b.insert(b.end(), w.samples.begin(), w.samples.end());
    return b;
}

std::string oneTime(const Bytes& file, int volume) {
    ByteBuffer out;
    DriveOneTimeSound::kestrin(&out, base64(file), volume, PrinterModel::Harlo599KZ);
    return hex(out);
}

}  // namespace

TEST(MelodySpeaker, RegisteredSoundAsBuzzerPulses) {
    ByteBuffer out;
    DriveRegisteredSound::kestrin(&out, Area::Area1, 1, -1, 1, 0, 0, PrinterModel::Harlo599KZ);
    EXPECT_EQ(hex(out),
              "1B 1D 19 11 02 01 06 1B 1D 19 12 02 02 00 "
              "1B 1D 19 11 02 08 02 1B 1D 19 12 02 01 00 "
              "1B 1D 19 11 02 08 02 1B 1D 19 12 02 01 00 "
              "1B 1D 19 11 02 09 01 1B 1D 19 12 02 01 00");

    // The message bytes each map to one pulse pair; compare the messages through the converter.
    const auto message = [](std::initializer_list<std::uint8_t> bytes) {
        ByteBuffer b;
        const std::vector<char> m(bytes.begin(), bytes.end());
        Converter::savePrinterCommand(m.data(), m.size(), &b);
        return hex(b);
    };
    struct Case {
        Area area;
        int number;
        int volume;
        std::string message;
    } cases[] = {
        {Area::Area2, 9, 20, message({0xFD, 0x10, 0x31, 0xFB})},  // number 7, volume 15
        {Area::Area1, 0, 0, message({0xFD, 0x0F, 0x00, 0x00})},
        {Area::Area2, -3, -2, message({0xFD, 0x10, 0x00, 0x00})},  // volume -2 is volume 0
        {Area::Area2, 3, -1, message({0xFD, 0x03, 0x07, 0x00})},
        {static_cast<Area>(7), 2, 5, message({0xFD, 0x0F, 0x03, 0x10})},
    };
    for (const auto& c : cases) {
        ByteBuffer b;
        DriveRegisteredSound::kestrin(&b, c.area, c.number, c.volume, 1, 0, 0, PrinterModel::Harlo599KZ);
        EXPECT_EQ(hex(b), c.message) << c.number << " " << c.volume;
    }
}

TEST(MelodySpeaker, ConverterTables) {
    const std::uint8_t levels[] = {0x00, 0x01, 0x03, 0x07, 0x0F, 0x10, 0x1F, 0x31,
                                   0x38, 0x3F, 0x79, 0x7F, 0xAA, 0xEE, 0xF7, 0xFB};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(static_cast<std::uint8_t>(Converter::getMelodySpeakerCommand(static_cast<char>(i))),
                  levels[i]);
    EXPECT_EQ(Converter::getMelodySpeakerCommand(-1), 0x00);
    EXPECT_EQ(static_cast<std::uint8_t>(Converter::getMelodySpeakerCommand(16)), 0xFB);

    // A byte without a pulse entry is skipped and the rest goes on.
    const char message[] = {static_cast<char>(0xFF), 0x02, static_cast<char>(0xAA)};
    ByteBuffer b;
    Converter::savePrinterCommand(message, sizeof message, &b);
    EXPECT_EQ(hex(b), "1B 1D 19 11 02 01 09 1B 1D 19 12 02 01 00 1B 1D 19 11 02 01 01 1B 1D 19 12 02 05 00");
}

TEST(MelodySpeaker, OneTimeSoundFromWaveData) {
    EXPECT_EQ(oneTime(waveFile({.samples = {0x00, 0x80, 0xFF}}), 8), "1B 1D 73 52 01 08 03 00 00 80 00 7F");
    EXPECT_EQ(oneTime(waveFile({.bits = 16, .samples = {0x00, 0x80, 0xFF, 0x01}}), 8),
              "1B 1D 73 52 02 08 04 00 00 00 80 FF 01");
    EXPECT_EQ(oneTime(waveFile({.samples = {0x10}}), -1), "1B 1D 73 52 01 FF 01 00 00 90");
    EXPECT_EQ(oneTime(waveFile({.samples = {0x10}}), 99), "1B 1D 73 52 01 0F 01 00 00 90");
    EXPECT_EQ(oneTime(waveFile({.samples = {0x10}}), -7), "1B 1D 73 52 01 00 01 00 00 90");

    // The largest sound: 128000 sample bytes, its size in three bytes.
    ByteBuffer big;
    DriveOneTimeSound::kestrin(&big, base64(waveFile({.samples = Bytes(128000, 0x80)})), 8,
                               PrinterModel::Unknown);
    const Bytes bytes = big.toVector();
    ASSERT_EQ(bytes.size(), 9u + 128000u);
    EXPECT_EQ(hex(Bytes(bytes.begin(), bytes.begin() + 9)), "1B 1D 73 52 01 08 00 F4 01");
    EXPECT_EQ(bytes.back(), 0x00);

    // Any other kind of file sends nothing.
    EXPECT_EQ(oneTime(waveFile({.samples = Bytes(128001, 0x80)}), 8), "");
    EXPECT_EQ(oneTime(waveFile({.rate = 12000, .samples = {1}}), 8), "");
    EXPECT_EQ(oneTime(waveFile({.channels = 2, .samples = {1, 2}}), 8), "");
    EXPECT_EQ(oneTime(waveFile({.bits = 24, .samples = {1, 2, 3}}), 8), "");
    EXPECT_EQ(oneTime(waveFile({.tag = 2, .samples = {1}}), 8), "");
    EXPECT_EQ(oneTime(waveFile({.tag = 3, .samples = {1}}), 8), "");
    EXPECT_EQ(oneTime({}, 8), "");
    ByteBuffer text;
    DriveOneTimeSound::kestrin(&text, "not a wave file", 8, PrinterModel::Unknown);
    EXPECT_EQ(text.getDataSize(), 0u);
}

TEST(MelodySpeaker, TruncatedOrLyingWaveFilesGiveNothing) {
    const Bytes good = waveFile({.samples = {1, 2, 3, 4}});
    // Every prefix of a good file: nothing, never a read past its end (the sanitizers watch).
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_EQ(oneTime(Bytes(good.begin(), good.begin() + n), 8), "") << n;
        const WaveInformation info(good.data(), n);
        if (n < 44) {
            EXPECT_EQ(info.formatKind, 5) << n;
        }
    }
    // A data size larger than the file holds.
    Bytes lying = good;
    put32(lying, 40, 5);
    EXPECT_EQ(oneTime(lying, 8), "");
    put32(lying, 40, 0xFFFFFFFF);
    EXPECT_EQ(oneTime(lying, 8), "");
    const WaveInformation huge(lying.data(), lying.size());
    EXPECT_EQ(huge.dataSize, 0xFFFFFFFFu);
    EXPECT_EQ(huge.dataOffset, 44u);

    // No "data" chunk, or a "data" tag so near the end that its length is not in the file.
    Bytes noData = good;
    noData[36] = 'x';
    EXPECT_EQ(WaveInformation(noData.data(), noData.size()).formatKind, 5);
    Bytes tail(46, 0);
    std::copy(good.begin(), good.begin() + 36, tail.begin());
    const std::string data = "data";
    std::copy(data.begin(), data.end(), tail.begin() + 40);  // two length bytes remain
    const WaveInformation cut(tail.data(), tail.size());
    EXPECT_EQ(cut.formatKind, 5);
    EXPECT_EQ(cut.dataSize, 0u);

    // A "data" tag found later than the canonical place: the samples follow it.
    Bytes later = waveFile({.samples = {}});
    later[36] = 'L';
    const Bytes chunk = {'d', 'a', 't', 'a', 2, 0, 0, 0, 0x00, 0xFF};
    later.insert(later.end(), chunk.begin(), chunk.end());
    const WaveInformation moved(later.data(), later.size());
    EXPECT_EQ(moved.formatKind, 0);
    EXPECT_EQ(moved.dataOffset, 52u);
    EXPECT_EQ(oneTime(later, 8), "1B 1D 73 52 01 08 02 00 00 80 7F");

    // Wrong magic.
    for (std::size_t at : {0u, 8u, 12u}) {
        Bytes bad = good;
        bad[at] ^= 0x20;
        const WaveInformation info(bad.data(), bad.size());
        EXPECT_EQ(info.formatKind, 5) << at;
        EXPECT_EQ(info.dataSize, 0u) << at;
    }
}

TEST(MelodySpeaker, WaveHeaderFields) {
    ByteBuffer file;
    file.add(waveFile({.tag = 7, .channels = 2, .rate = 44100, .bits = 16, .samples = {1, 2, 3, 4}}));
    const WaveInformation info(&file);
    EXPECT_EQ(info.fmtChunkSize, 16u);
    EXPECT_EQ(info.formatKind, 4);
    EXPECT_EQ(info.channels, 2u);
    EXPECT_EQ(info.sampleRate, 44100u);
    EXPECT_EQ(info.byteRate, 176400u);
    EXPECT_EQ(info.blockAlign, 4u);
    EXPECT_EQ(info.bitsPerSample, 16u);
    EXPECT_EQ(info.dataSize, 4u);
    EXPECT_EQ(info.dataOffset, 44u);
    // An unknown format tag stops after the data chunk and the fmt size.
    const Bytes other = waveFile({.tag = 3, .samples = {1}});
    const WaveInformation unknown(other.data(), other.size());
    EXPECT_EQ(unknown.formatKind, 5);
    EXPECT_EQ(unknown.channels, 0u);
    EXPECT_EQ(unknown.dataSize, 1u);
    EXPECT_EQ(WaveInformation(nullptr).formatKind, 5);
}

TEST(MelodySpeaker, OnlyTheKestrinEmulationSounds) {
    const std::string source = base64(waveFile({.samples = {1}}));
    for (const char* emulation : emulations) {
        ByteBuffer buffer;
        auto root = BuilderFactory(emulation, &buffer, PrinterModel::Harlo599KZ).create();
        ASSERT_NE(root, nullptr);
        root->getMelodySpeakerBuilder()->appendActionDriveRegisteredSound(Area::Area1, 1, -1, 1, 0, 0);
        root->getMelodySpeakerBuilder()->appendActionDriveOneTimeSound(source, 8);
        EXPECT_EQ(buffer.getDataSize(), std::string(emulation) == "Kestrin" ? 56u + 10u : 0u) << emulation;
    }
}
