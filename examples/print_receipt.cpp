// print_receipt [--host ADDRESS] [--with-virtual-printer]
//
// Prints a short receipt through the printer object: it builds the command document with the builder API,
// opens the printer at ADDRESS over the LAN (its model is detected at open), prints the document, reads
// the status and closes. Both the completion form and the awaitable form are shown.
//
// With --with-virtual-printer the program first starts a virtual printer on 127.0.0.1 (data, status and
// discovery on ephemeral ports), prints to it, and then shows what the printer received. Loopback
// addresses keep every request, discovery included, on 127.0.0.1.
#include <cstdio>
#include <future>
#include <iostream>
#include <memory>
#include <string>

#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "support/Hex.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterServer.hpp"
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

// Keeps the LAN layer on loopback: one local network 127.0.0.1/8 and discovery sent to 127.0.0.1.
void useLoopback(std::uint16_t dataPort, std::uint16_t statusPort, std::uint16_t discoveryPort) {
    LanPortNumbers ports;
    ports.data = dataPort;
    ports.status = statusPort;
    ports.discovery = discoveryPort;
    LANOrvoDeviceDiscoveryManager::useLoopback(ports);
}

void printStatus(const OrvoPrinterStatus& status) {
    std::cout << "status: hasError=" << status.hasError() << " coverOpen=" << status.coverOpen()
              << " paperEmpty=" << status.paperEmpty() << " paperNearEmpty=" << status.paperNearEmpty()
              << " drawerOpenCloseSignal=" << status.drawerOpenCloseSignal() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    bool withVirtualPrinter = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--host" && i + 1 < argc) host = argv[++i];
        else if (arg == "--with-virtual-printer") withVirtualPrinter = true;
        else {
            std::cerr << "usage: print_receipt [--host ADDRESS] [--with-virtual-printer]\n";
            return 2;
        }
    }

    std::unique_ptr<Testing::VirtualPrinterEngine> engine;
    std::unique_ptr<Testing::VirtualPrinterServer> server;
    std::unique_ptr<Testing::VirtualPrinterDiscovery> discovery;
    if (withVirtualPrinter) {
        host = "127.0.0.1";
        engine = std::make_unique<Testing::VirtualPrinterEngine>();
        server = std::make_unique<Testing::VirtualPrinterServer>(*engine);
        discovery = std::make_unique<Testing::VirtualPrinterDiscovery>(std::vector<Testing::DiscoveryIdentity>{{}});
        useLoopback(server->dataPort(), server->statusPort(), discovery->port());
        std::cout << "virtual printer on 127.0.0.1: data " << server->dataPort() << ", status " << server->statusPort()
                  << ", discovery " << discovery->port() << "\n";
    } else if (host.rfind("127.", 0) == 0) {
        const auto defaults = NetworkPortSettings::ports();
        useLoopback(defaults.data, defaults.status, defaults.discovery);
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
        printer->close().get();
        return 1;
    }

    if (engine) {
        // The whole data connection as the printer saw it: status requests, the job's preamble, the job
        // itself and the end-of-job marker, every byte in order.
        const auto received = engine->capture(Testing::PrinterChannel::data);
        std::cout << "the printer received " << received.size() << " bytes on its data connection:\n"
                  << Testing::hex(received) << "\n";
        std::string text;
        for (auto b : received) text += (b >= 0x20 && b < 0x7F) || b == '\n' ? static_cast<char>(b) : '.';
        std::cout << "as text:\n" << text << "\n";
        std::cout << "status requests answered: " << engine->statusRequestCount()
                  << ", jobs counted: " << engine->etbMarkerCount() << "\n";
    }
    return 0;
}
