// Pictures, barcodes and ruled lines as a command document reaches them: through the compile call
// and through the prelix10-compile tool.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "command/TestHex.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

namespace MediaCompile {

using Bytes = std::vector<std::uint8_t>;

// A document whose one printer category holds the given method items.
inline std::string document(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           items + "]}]}]}";
}

inline Bytes compile(const std::string& items, Prelix10::OrvoPrinterEmulation emulation,
                     Prelix10::OrvoPrinterModel model) {
    return Prelix10::VelmarCommandParser().parse(document(items), std::nullopt, model, emulation);
}

// Runs tools/prelix10-compile on a document; empty when the tool fails.
inline Bytes compileDocTool(const std::string& emulation, const std::string& model, const std::string& doc) {
    const auto input = std::filesystem::temp_directory_path() /
                       ("prelix10_media_compile_" + std::to_string(::getpid()) + ".json");
    std::ofstream(input, std::ios::binary) << doc;
    const std::string command = std::string(PRELIX10_BINARY_DIR) + "/tools/prelix10-compile --emulation " +
                                emulation + " --model " + model + " " + input.string();
    Bytes out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> block;
        std::size_t n;
        while ((n = std::fread(block.data(), 1, block.size(), pipe)) > 0)
            out.insert(out.end(), block.data(), block.data() + n);
        if (::pclose(pipe) != 0) out.clear();
    }
    std::filesystem::remove(input);
    return out;
}

// Whether `out` is the bytes of the same document without the method (`empty`: its opening
// defaults, then its closing commands) with `expected` (hex) inserted between the two.
inline ::testing::AssertionResult holds(const Bytes& out, const Bytes& empty, const std::string& expected) {
    const std::string all = TestHex::hex(out);
    const std::string none = TestHex::hex(empty);
    for (std::size_t k = 0; k <= empty.size(); ++k) {
        const std::string before = TestHex::hex(Bytes(empty.begin(), empty.begin() + k));
        const std::string after = TestHex::hex(Bytes(empty.begin() + k, empty.end()));
        std::string joined = before;
        for (const std::string* part : {&expected, &after}) {
            if (!part->empty()) joined += (joined.empty() ? "" : " ") + *part;
        }
        if (joined == all) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "expected " << expected << " inside " << none << "\n  got " << all;
}

}  // namespace MediaCompile
