#include <gtest/gtest.h>

#include <string>

#include "prelix10/protocol/OrvoConfigCommand.hpp"
#include "prelix10/protocol/WrittenBytesLog.hpp"

using namespace Prelix10;

TEST(WrittenBytesLog, MasksTheConfigurationPasswordAndNothingElse) {
    const auto read = OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::factory, std::string("abc"));
    EXPECT_EQ(WrittenBytesLog::describe(read, 64), "[1B, 1D, 29, 3B, 04, 00, 00, 00, 31, ***] (12 bytes)");
    // No password: nothing to mask.
    const auto bare = OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::user, std::nullopt);
    EXPECT_EQ(WrittenBytesLog::describe(bare, 64), "[1B, 1D, 29, 23, 01, 00, 00, 00, 31] (9 bytes)");
    // The write request carries a document, not a secret.
    const auto write = OrvoConfigCommand::Orvo::createSetCommand("{}");
    EXPECT_EQ(WrittenBytesLog::describe(write, 64), "[1B, 1D, 29, 23, 03, 00, 00, 00, 30, 7B, 7D] (11 bytes)");

    // A request inside a longer write, with bytes after its password.
    ByteBlock mixed{0x41};
    mixed.insert(mixed.end(), read.begin(), read.end());
    mixed.push_back(0x42);
    EXPECT_EQ(WrittenBytesLog::describe(mixed, 64), "[41, 1B, 1D, 29, 3B, 04, 00, 00, 00, 31, ***, 42] (14 bytes)");
    // A count too large for a password, or one cut short by the end of the write, is handled in bounds.
    ByteBlock huge{0x1B, 0x1D, 0x29, 0x23, 0x00, 0x00, 0x01, 0x00, 0x31, 0x41};
    EXPECT_EQ(WrittenBytesLog::describe(huge, 64), "[1B, 1D, 29, 23, 00, 00, 01, 00, 31, 41] (10 bytes)");
    ByteBlock cut{0x1B, 0x1D, 0x29, 0x23, 0x05, 0x00, 0x00, 0x00, 0x31, 0x41};
    EXPECT_EQ(WrittenBytesLog::describe(cut, 64), "[1B, 1D, 29, 23, 05, 00, 00, 00, 31, ***] (10 bytes)");
}

TEST(WrittenBytesLog, APieceOfAWriteIsMaskedByWhatCameBeforeIt) {
    const auto read = OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::user, std::string("secret"));
    // Chunks of four bytes, as a small link would send them: the password's tail has no header of its own.
    EXPECT_EQ(WrittenBytesLog::describe(read, 8, 12, 4), "[31, ***] (4 bytes)");
    EXPECT_EQ(WrittenBytesLog::describe(read, 12, 15, 4), "[***] (3 bytes)");
    EXPECT_EQ(WrittenBytesLog::describe(read, 0, 4, 4), "[1B, 1D, 29, 23] (4 bytes)");
    // The shown bytes are bounded; the count is of the whole piece.
    EXPECT_EQ(WrittenBytesLog::describe(read, 0, 15, 2), "[1B, 1D, ...] (15 bytes)");
    EXPECT_EQ(WrittenBytesLog::describe(read, 0, 15, 0), "[...] (15 bytes)");
    EXPECT_EQ(WrittenBytesLog::describe(read, 20, 30, 4), "[] (0 bytes)");
}
