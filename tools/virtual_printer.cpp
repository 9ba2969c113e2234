// Runs the virtual printer on 127.0.0.1 until interrupted (or for --seconds), then writes what it received.
//
//   virtual_printer [--data-port N] [--status-port N] [--automatic-status] [--print-delay MS]
//                   [--cover-open] [--paper-empty] [--seconds S] [--capture FILE]
//                   [--discovery-port N]
//
// Port 0 (the default) picks free ports; the ports in use are printed on the first line. With
// --discovery-port the printer also answers LAN discovery requests on that UDP port of 127.0.0.1.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterEngine.hpp"
#include "support/VirtualPrinterServer.hpp"

using namespace Prelix10::Testing;

namespace {
std::atomic<bool> stopRequested{false};
void onSignal(int) { stopRequested.store(true); }
}  // namespace

int main(int argc, char** argv) {
    std::uint16_t dataPort = 0, statusPort = 0;
    VirtualPrinterConfig config;
    PrinterState initial;
    double seconds = -1;
    std::string capturePath;
    std::optional<std::uint16_t> discoveryPort;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "missing value for %s\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--data-port") dataPort = static_cast<std::uint16_t>(std::atoi(value()));
        else if (arg == "--status-port") statusPort = static_cast<std::uint16_t>(std::atoi(value()));
        else if (arg == "--automatic-status") config.automaticStatus = true;
        else if (arg == "--print-delay") config.printDelay = std::chrono::milliseconds(std::atoi(value()));
        else if (arg == "--cover-open") initial.coverOpen = true;
        else if (arg == "--paper-empty") initial.paperEmpty = true;
        else if (arg == "--seconds") seconds = std::atof(value());
        else if (arg == "--capture") capturePath = value();
        else if (arg == "--discovery-port") discoveryPort = static_cast<std::uint16_t>(std::atoi(value()));
        else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    VirtualPrinterEngine engine(config);
    engine.update([&](PrinterState& s) { s = initial; });
    VirtualPrinterServer server(engine, dataPort, statusPort);
    std::unique_ptr<VirtualPrinterDiscovery> discovery;
    if (discoveryPort) {
        DiscoveryIdentity identity;
        identity.usedPort = server.dataPort();
        discovery = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity}, *discoveryPort);
    }
    if (discovery) {
        std::printf("data %u status %u discovery %u\n", server.dataPort(), server.statusPort(), discovery->port());
    } else {
        std::printf("data %u status %u\n", server.dataPort(), server.statusPort());
    }
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    while (!stopRequested.load()) {
        if (seconds >= 0 && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= seconds) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (discovery) discovery->stop();
    server.stop();
    const Bytes received = engine.capture(PrinterChannel::data);
    const Bytes printed = engine.printedData();
    std::printf("received %zu bytes, printed %zu bytes, %zu jobs counted\n", received.size(), printed.size(),
                engine.etbMarkerCount());
    if (!capturePath.empty()) {
        std::ofstream out(capturePath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(received.data()), static_cast<std::streamsize>(received.size()));
    }
    return 0;
}
