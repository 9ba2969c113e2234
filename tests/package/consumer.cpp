// A program outside the library's tree: it builds a command document with the builder API, compiles a
// fixed document for a Kestrin printer and checks the bytes. Exit status 0 when everything matches.
#include <cstdio>
#include <string>
#include <vector>

#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/core/LibraryVersion.hpp"
#include "prelix10/core/Prelix10Error.hpp"

int main() {
    using namespace Prelix10;
    using namespace Prelix10::VelmarCommand;
    const std::string document =
        R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":)"
        R"([{"category":"Printer","contents":[{"method":"Style.Bold","parameter":{"enable":true}}]}]}]})";
    const std::vector<unsigned char> expected = {
        0x1B, 0x52, 0x00, 0x1B, 0x44, 0x08, 0x10, 0x18, 0x20, 0x28, 0x30, 0x38, 0x40, 0x48, 0x50, 0x58, 0x60,
        0x68, 0x70, 0x78, 0x80, 0x00, 0x1B, 0x1D, 0x29, 0x55, 0x02, 0x00, 0x40, 0x00, 0x1B, 0x45, 0x1B, 0x46,
        0x1B, 0x44, 0x00};
    try {
        VelmarCommandParser compiler;
        const auto bytes =
            compiler.parse(document, std::nullopt, OrvoPrinterModel::harlo599KZ, OrvoPrinterEmulation::kestrin);
        if (std::vector<unsigned char>(bytes.begin(), bytes.end()) != expected) {
            std::fprintf(stderr, "consumer: unexpected bytes (%zu)\n", bytes.size());
            return 1;
        }
        VelmarCommandBuilder root;
        PrinterBuilder printer;
        printer.styleBold(true).actionPrintText("Hello\n").actionCut(Printer::CutType::Partial);
        DocumentBuilder receipt;
        receipt.addPrinter(printer);
        root.addDocument(receipt);
        const auto receiptBytes = compiler.parse(root.getCommands(), std::nullopt, OrvoPrinterModel::harlo599KZ,
                                                 OrvoPrinterEmulation::kestrin);
        if (receiptBytes.size() <= expected.size()) {
            std::fprintf(stderr, "consumer: the receipt gave %zu bytes\n", receiptBytes.size());
            return 1;
        }
    } catch (const Prelix10Error& error) {
        std::fprintf(stderr, "consumer: %s\n", error.description().c_str());
        return 1;
    }
    std::printf("prelix10 %s: ok\n", libraryVersion().c_str());
    return 0;
}
