// print_receipt [--host ADDRESS] [--data-port N] [--status-port N] [--discovery-port N]
//
// Prints a short receipt through the printer object: it builds the command document with the builder API,
// opens the printer at ADDRESS over the LAN (its model is detected at open), prints the document, reads
// the status and closes. Both the completion form and the awaitable form are shown.
//
// An open by IP address first finds the printer with a discovery request, sent to the printer's address
// and to the directed broadcast address of each local network. Loopback is not among those networks, so
// for a printer on this machine (ADDRESS 127.x.x.x, the default), such as
//
//   prelix10-virtual-printer --data-port 9100 --status-port 9101 --discovery-port 22222
//
// the program keeps the LAN layer on loopback with the given ports (by default 9100, 9101 and 22222).
#include <cstdint>
#include <future>
#include <iostream>
#include <optional>
#include <string>

#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;

namespace {

std::string buildReceipt() {
    VelmarCommandBuilder root;
    PrinterBuilder printer;
    printer.styleAlignment(Printer::Alignment::Center)
        .styleBold(true)
        .actionPrintText("Corner Cafe\n")
        .styleBold(false)
        .styleAlignment(Printer::Alignment::Left)
        .actionPrintText("Espresso            2.40\n")
        .actionPrintText("Croissant           1.90\n")
        .actionPrintText("------------------------\n")
        .actionPrintText("Total               4.30\n")
        .actionFeed(3)
        .actionCut(Printer::CutType::Partial);
    DocumentBuilder document;
    document.addPrinter(printer);
    root.addDocument(document);
    return root.getCommands();
}

void printStatus(const OrvoPrinterStatus& status) {
    std::cout << "status: hasError=" << status.hasError() << " coverOpen=" << status.coverOpen()
              << " paperEmpty=" << status.paperEmpty() << " paperNearEmpty=" << status.paperNearEmpty()
              << " drawerOpenCloseSignal=" << status.drawerOpenCloseSignal() << "\n";
}

std::optional<std::uint16_t> port(const std::string& text) {
    try {
        std::size_t used = 0;
        const unsigned long value = std::stoul(text, &used);
        if (used == text.size() && value > 0 && value <= 65535) return static_cast<std::uint16_t>(value);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    LanPortNumbers ports;  // 9100, 9101 and 22222
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::optional<std::uint16_t> value;
        if (arg == "--host" && i + 1 < argc) host = argv[++i];
        else if (arg == "--data-port" && i + 1 < argc && (value = port(argv[++i]))) ports.data = *value;
        else if (arg == "--status-port" && i + 1 < argc && (value = port(argv[++i]))) ports.status = *value;
        else if (arg == "--discovery-port" && i + 1 < argc && (value = port(argv[++i]))) ports.discovery = *value;
        else {
            std::cerr << "usage: print_receipt [--host ADDRESS] [--data-port N] [--status-port N] [--discovery-port N]\n";
            return 2;
        }
    }
    if (host.rfind("127.", 0) == 0) {
        // One local network 127.0.0.1/8, discovery sent to 127.0.0.1 only, and these ports.
        LANOrvoDeviceDiscoveryManager::useLoopback(ports);
    } else {
        NetworkPortSettings::setPorts(ports);
    }

    auto printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, host, false));
    const std::string document = buildReceipt();
    try {
        // The completion form: the callback runs on the printer's queue.
        std::promise<std::optional<Prelix10Error>> opened;
        printer->open([&](std::optional<Prelix10Error> error) { opened.set_value(error); });
        if (auto error = opened.get_future().get()) throw *error;
        const auto information = printer->informationRecord();
        std::cout << "opened " << host << ": model " << PrinterModels::description(information->model) << "\n";

        // The awaitable form.
        printer->print(document).get();
        std::cout << "printed " << document.size() << " bytes of command document\n";
        printStatus(*printer->getStatus().get());
        printer->close().get();
    } catch (const Prelix10Error& error) {
        std::cerr << "error: " << error.description() << "\n";
        try {
            printer->close().get();
        } catch (const Prelix10Error&) {
        }
        return 1;
    }
    return 0;
}
