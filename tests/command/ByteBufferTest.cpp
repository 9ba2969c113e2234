#include <gtest/gtest.h>

#include <numeric>

#include "TestHex.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/ByteBufferUtil.hpp"

using PrinterCommandBuilder::ByteBuffer;
using PrinterCommandBuilder::ByteBufferUtil;
using TestHex::hex;

TEST(ByteBuffer, EmptyAndZeroLengthAppends) {
    ByteBuffer buffer;
    char out[4] = {};
    EXPECT_EQ(buffer.getDataSize(), 0u);
    EXPECT_EQ(buffer.getAll(out, 0), 0);
    EXPECT_EQ(buffer.getAll(out, 4), 0);
    buffer.add("x", 0);
    ByteBufferUtil::fill(&buffer, 0x20, 0);
    EXPECT_EQ(buffer.chunkCount(), 0u);
    ByteBufferUtil::fill(&buffer, 0x20, 3);
    EXPECT_EQ(hex(buffer), "20 20 20");
}

TEST(ByteBuffer, HoldsAtMostTwiceItsDataPlusAFirstChunk) {
    // A few bytes cost one small chunk, not a megabyte.
    ByteBuffer small;
    small.add({1, 2, 3});
    EXPECT_EQ(small.chunkCount(), 1u);
    EXPECT_EQ(small.capacity(), ByteBuffer::kFirstChunkSize);
    for (std::size_t size : {std::size_t{4096}, std::size_t{4097}, std::size_t{100000}, std::size_t{1048576},
                             std::size_t{1048577}, std::size_t{5000000}}) {
        ByteBuffer buffer;
        std::vector<std::uint8_t> data(size, 7);
        buffer.add(data.data(), data.size());
        EXPECT_GE(buffer.capacity(), size);
        EXPECT_LE(buffer.capacity(), 2 * size + ByteBuffer::kFirstChunkSize) << size;
    }
}

TEST(ByteBuffer, ContentAcrossGrowingChunks) {
    // Appends of odd sizes cross every chunk boundary; every byte reads back at its position.
    ByteBuffer buffer;
    std::vector<std::uint8_t> expected;
    std::uint32_t seed = 7;
    std::size_t length = 1;
    while (expected.size() < 3000000) {
        std::vector<std::uint8_t> piece(length);
        for (auto& b : piece) b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
        buffer.add(piece.data(), piece.size());
        expected.insert(expected.end(), piece.begin(), piece.end());
        length = length * 3 + 1;
        if (length > 700000) length = 977;
    }
    ASSERT_EQ(buffer.getDataSize(), expected.size());
    EXPECT_EQ(buffer.toVector(), expected);
    for (std::size_t offset : {std::size_t{4090}, std::size_t{12280}, std::size_t{1044470}, std::size_t{2093050}}) {
        std::vector<std::uint8_t> window(20);
        ASSERT_TRUE(buffer.getData(window.data(), offset, window.size()));
        EXPECT_TRUE(std::equal(window.begin(), window.end(), expected.begin() + std::ptrdiff_t(offset))) << offset;
    }
    // A buffer appended to itself doubles its content.
    buffer.add(&buffer);
    std::vector<std::uint8_t> twice = expected;
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(buffer.toVector(), twice);
}

TEST(ByteBuffer, ChunkBoundaries) {
    const std::size_t chunk = 1048576;
    ByteBuffer buffer;
    std::vector<std::uint8_t> first(1048570);
    std::iota(first.begin(), first.end(), 0);
    buffer.add(first.data(), first.size());
    const std::uint8_t tail[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    buffer.add(tail, sizeof tail);
    ASSERT_EQ(buffer.getDataSize(), 1048580u);
    std::vector<std::uint8_t> all(1048580);
    EXPECT_EQ(buffer.getAll(all.data(), all.size()), 1048580);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), all.begin()));
    EXPECT_EQ(hex(std::vector<std::uint8_t>(all.end() - 10, all.end())), "01 02 03 04 05 06 07 08 09 0A");
    std::vector<std::uint8_t> across(8);
    EXPECT_TRUE(buffer.getData(across.data(), chunk - 4, 8));
    EXPECT_EQ(hex(across), "03 04 05 06 07 08 09 0A");

    // One byte short of the data size: refused, destination untouched.
    std::vector<std::uint8_t> small(1048579, 0xEE);
    EXPECT_EQ(buffer.getAll(small.data(), small.size()), -1);
    EXPECT_EQ(small.front(), 0xEE);
}

TEST(ByteBuffer, GetDataPastTheEndIsRefused) {
    ByteBuffer buffer;
    buffer.add({1, 2, 3});
    std::uint8_t out[4] = {9, 9, 9, 9};
    EXPECT_FALSE(buffer.getData(out, 1, 3));
    EXPECT_FALSE(buffer.getData(out, static_cast<std::size_t>(-1), 2));
    EXPECT_EQ(out[0], 9);
    EXPECT_TRUE(buffer.getData(out, 1, 2));
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], 3);
}

TEST(ByteBuffer, AppendsAnotherBuffer) {
    ByteBuffer source;
    std::vector<std::uint8_t> data(2500);
    std::iota(data.begin(), data.end(), 0);
    source.add(data.data(), data.size());
    ByteBuffer target;
    target.add({0xAA});
    target.add(&source);
    auto joined = target.toVector();
    ASSERT_EQ(joined.size(), 2501u);
    EXPECT_EQ(joined[0], 0xAA);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), joined.begin() + 1));
    EXPECT_EQ(source.getDataSize(), 2500u);
    ByteBuffer empty;
    target.add(&empty);
    EXPECT_EQ(target.getDataSize(), 2501u);
}
