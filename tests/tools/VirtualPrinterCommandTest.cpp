// The virtual printer reads the maker's commands whole: a 0x17 byte among a command's parameters or data
// is no end-of-job marker, so a job holding one is counted exactly once, by the marker after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/VirtualPrinterEngine.hpp"

using namespace Prelix10::Testing;

namespace {

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes repeat(std::size_t count, std::uint8_t byte) { return Bytes(count, byte); }

// What the host sends before a job and after it, and the status request that reads the counter back.
const Bytes kPreamble = {0x1B, 0x2A, 0x72, 0x42, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00, 0x1B, 0x1E, 0x45, 0x00};
const Bytes kMarker = {0x17, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00};
const Bytes kStatusRequest = {0x1B, 0x06, 0x01};

struct Job {
    const char* name;
    Bytes bytes;
};

std::vector<Job> jobsHoldingEtb() {
    return {
        {"display text of 23 bytes", concat({{0x1B, 0x1D, 0x42, 0x40, 0x17, 0x00}, repeat(23, 0x41)})},
        {"tab stop and line feed of 23", {0x1B, 0x44, 0x08, 0x17, 0x00, 0x1B, 0x61, 0x17, 0x41, 0x0A}},
        {"text styles",
         {0x1B, 0x1D, 0x74, 0x80, 0x1B, 0x1E, 0x41, 0x17, 0x1B, 0x1D, 0x29, 0x55, 0x02, 0x00, 0x40, 0x17, 0x41}},
        {"QR code of 23 characters",
         concat({{0x1B, 0x1D, 0x79, 0x53, 0x30, 0x02, 0x1B, 0x1D, 0x79, 0x53, 0x31, 0x01, 0x1B, 0x1D, 0x79, 0x53, 0x32,
                  0x03, 0x1B, 0x1D, 0x79, 0x44, 0x31, 0x00, 0x17, 0x00},
                 repeat(23, 0x30),
                 {0x1B, 0x1D, 0x79, 0x50}})},
        {"QR code data holding 0x17",
         concat({{0x1B, 0x1D, 0x79, 0x44, 0x31, 0x00, 0x04, 0x00, 0x17, 0x17, 0x17, 0x17, 0x1B, 0x1D, 0x79, 0x50}})},
        {"PDF417 of 23 rows and bytes",
         concat({{0x1B, 0x1D, 0x78, 0x53, 0x30, 0x01, 0x17, 0x17, 0x1B, 0x1D, 0x78, 0x53, 0x33, 0x17, 0x1B, 0x1D, 0x78,
                  0x44, 0x17, 0x00},
                 repeat(23, 0x17),
                 {0x1B, 0x1D, 0x78, 0x50}})},
        {"barcode 23 dots high with 0x17 data", {0x1B, 0x62, 0x04, 0x02, 0x04, 0x17, 0x31, 0x17, 0x32, 0x1E}},
        {"image band of 23 bytes a row",
         concat({{0x1B, 0x1D, 0x53, 0x01, 0x17, 0x00, 0x02, 0x00, 0x00}, repeat(46, 0x17)})},
        {"raster rows",
         concat({{0x1B, 0x2A, 0x72, 0x41, 0x1B, 0x2A, 0x72, 0x50, 0x30, 0x00, 0x62, 0x17, 0x00},
                 repeat(23, 0x17),
                 {0x62, 0x02, 0x00, 0x17, 0x62, 0x1B, 0x2A, 0x72, 0x59, 0x32, 0x33, 0x00},
                 {0x1B, 0x2A, 0x72, 0x65, 0x31, 0x33, 0x00, 0x1B, 0x0C, 0x19, 0x1B, 0x2A, 0x72, 0x42}})},
        {"logos numbered 23",
         {0x1B, 0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 0x17, 0x17, 0x01, 0x01, 0x1B, 0x1C, 0x70, 0x17, 0x30}},
        {"page mode of 23 dots",
         {0x1B, 0x1D, 0x50, 0x30, 0x1B, 0x1D, 0x50, 0x33, 0x17, 0x00, 0x17, 0x00, 0x17, 0x00, 0x17, 0x00, 0x1B, 0x1D,
          0x50, 0x35, 0x17, 0x00, 0x1B, 0x1D, 0x52, 0x17, 0x00, 0x1B, 0x1D, 0x50, 0x37}},
        {"page-mode and dot-impact picture bands",
         concat({{0x1B, 0x58, 0x01, 0x00, 0x17, 0x17, 0x17, 0x1B, 0x4B, 0x17, 0x00}, repeat(23, 0x17), {0x1B, 0x4A, 0x17}})},
        {"drawer, buzzer and sound",
         {0x1B, 0x07, 0x17, 0x17, 0x07, 0x1B, 0x1D, 0x19, 0x11, 0x01, 0x17, 0x17, 0x1B, 0x1D, 0x73, 0x52, 0x01, 0x08,
          0x02, 0x00, 0x00, 0x17, 0x17}},
    };
}

// Feeds the bytes in pieces of at most `piece` bytes and returns everything the printer answered.
Bytes feed(PrinterSession& session, const Bytes& bytes, std::size_t piece) {
    Bytes out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::size_t n = std::min(piece, bytes.size() - at);
        const Bytes reply = session.receive(std::span<const std::uint8_t>(bytes.data() + at, n));
        out.insert(out.end(), reply.begin(), reply.end());
    }
    return out;
}

}  // namespace

TEST(VirtualPrinterCommands, AJobHoldingEtbInItsCommandsCountsOnce) {
    for (const auto& job : jobsHoldingEtb()) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{4096}}) {
            SCOPED_TRACE(std::string(job.name) + ", pieces of " + std::to_string(piece));
            VirtualPrinterEngine engine;
            auto session = engine.openSession(PrinterChannel::data);
            const Bytes reply = feed(*session, concat({kPreamble, job.bytes, kMarker, kStatusRequest}), piece);
            EXPECT_EQ(engine.etbMarkerCount(), 1u);
            EXPECT_EQ(engine.state().etbCounter, 1);
            // One status block answers the request, with the counter at 1 in byte 7.
            ASSERT_EQ(reply.size(), 16u);
            EXPECT_EQ(reply[7], 0x02);
            // The job is taken as print data, but for the closing ESC * r B, which the printer obeys.
            const Bytes printed = engine.printedData();
            const Bytes rasterEnd = {0x1B, 0x2A, 0x72, 0x42};
            const bool endsRaster = std::equal(rasterEnd.rbegin(), rasterEnd.rend(), job.bytes.rbegin());
            const auto kept = job.bytes.end() - (endsRaster ? 4 : 0);
            EXPECT_NE(std::search(printed.begin(), printed.end(), job.bytes.begin(), kept), printed.end());
        }
    }
}

TEST(VirtualPrinterCommands, ACommandWaitsForItsDataAndAMarkerBetweenCommandsCounts) {
    VirtualPrinterEngine engine;
    auto session = engine.openSession(PrinterChannel::data);
    // A QR store command whose data has not all arrived holds back the bytes after it.
    feed(*session, {0x1B, 0x1D, 0x79, 0x44, 0x31, 0x00, 0x03, 0x00, 0x17}, 4096);
    EXPECT_EQ(engine.etbMarkerCount(), 0u);
    feed(*session, {0x17, 0x17}, 4096);
    EXPECT_EQ(engine.etbMarkerCount(), 0u);
    // Once the command is complete, markers between commands count, one each.
    feed(*session, {0x17, 0x1B, 0x61, 0x01, 0x17}, 4096);
    EXPECT_EQ(engine.etbMarkerCount(), 2u);
}
