// A builder tree with its printer and page-mode builders, for the page-mode tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestHex.hpp"
#include "prelix10/command/BuilderFactory.hpp"

namespace PageModeTest {

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

// The style that entering page mode sends on a 203-dpi page printer, from the default settings:
// bold off, character space 0, no CJK priority, font A, the first 16 default tab stops, invert
// off, line space 4 mm, underline off, USA characters, magnification 1 x 1.
inline const std::string kEnteringStyle =
    "1B 46 1B 20 00 1B 73 00 00 1B 74 00 00 1B 1D 29 55 05 00 41 00 00 00 00 1B 1E 46 00 "
    "1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 35 1B 7A 01 1B 2D 00 1B 52 00 1B 69 00 00";

inline const std::string kPageArea72x100 = "1B 1D 50 33 00 00 00 00 40 02 20 03";

struct Tree {
    explicit Tree(const char* emulation = "Kestrin", PrinterModel model = PrinterModel::Harlo599KZ)
        : root(BuilderFactory(emulation, &buffer, model).create()),
          printer(root->getPrinterBuilder()),
          pageMode(root->getPrinterPageModeBuilder()) {}

    // The bytes appended since the last call.
    std::string take() {
        const auto all = buffer.toVector();
        const std::vector<std::uint8_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(emitted), all.end());
        emitted = all.size();
        return TestHex::hex(fresh);
    }

    // A printer level, then a page-mode level with the given area; their bytes are dropped.
    void openPage(double x = 0, double y = 0, double width = 72, double height = 100) {
        printer->notifyRank(1);
        pageMode->notifyRank(2);
        pageMode->appendArea(x, y, width, height);
        take();
    }

    PrintSettingsInformation& top() { return *root->settingsStack().back(); }

    ByteBuffer buffer;
    std::unique_ptr<RootBuilder> root;
    Builder* printer;
    PageModeBuilder* pageMode;
    std::uint64_t emitted = 0;
};

// The positions of every page-mode area command in a hex string, as "X,Y,W,H" in dots.
inline std::vector<std::string> areaCommands(const std::string& hex) {
    std::vector<std::string> areas;
    const std::string head = "1B 1D 50 33 ";
    for (std::size_t at = hex.find(head); at != std::string::npos; at = hex.find(head, at + 1)) {
        std::string text;
        for (int word = 0; word < 4; ++word) {
            const std::size_t p = at + head.size() + static_cast<std::size_t>(word) * 6;
            if (p + 5 > hex.size()) return areas;
            const int value =
                std::stoi(hex.substr(p + 3, 2), nullptr, 16) * 256 + std::stoi(hex.substr(p, 2), nullptr, 16);
            text += (word ? "," : "") + std::to_string(value);
        }
        areas.push_back(text);
    }
    return areas;
}

}  // namespace PageModeTest
