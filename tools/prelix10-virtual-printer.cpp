// Runs the virtual printer on 127.0.0.1 until interrupted (or for --seconds), then writes what it received.
// A stand-in printer for developing against the library without a device.
//
//   prelix10-virtual-printer [--data-port N] [--status-port N] [--automatic-status] [--print-delay MS]
//                   [--cover-open] [--paper-empty] [--seconds S] [--capture FILE]
//                   [--discovery-port N] [--spooler]
//
// Port 0 (the default) picks free ports; the ports in use are printed on the first line. With
// --discovery-port the printer also answers LAN discovery requests on that UDP port of 127.0.0.1. With
// --spooler it also answers spooler and configuration requests (spooling enabled, empty documents).
// A bad argument, a port that cannot be bound or a capture file that cannot be written gives one line
// on standard error and exit status 2 (1 for the capture), with nothing on standard output.
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
#include "support/VirtualPrinterSpooler.hpp"
#include "ToolCommon.hpp"

using namespace Prelix10::Testing;

namespace {
std::atomic<bool> stopRequested{false};
void onSignal(int) { stopRequested.store(true); }
}  // namespace

int main(int argc, char** argv) {
    return ToolCommon::run("prelix10-virtual-printer", [&]() -> int {
        std::uint16_t dataPort = 0, statusPort = 0;
        VirtualPrinterConfig config;
        PrinterState initial;
        double seconds = -1;
        std::string capturePath;
        std::optional<std::uint16_t> discoveryPort;
        bool spooler = false;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() {
                if (i + 1 >= argc) throw ToolCommon::ToolFailure{"missing value for " + arg};
                return std::string(argv[++i]);
            };
            auto port = [&]() { return static_cast<std::uint16_t>(ToolCommon::parseUnsigned(arg, value(), 65535)); };
            if (arg == "--data-port") dataPort = port();
            else if (arg == "--status-port") statusPort = port();
            else if (arg == "--automatic-status") config.automaticStatus = true;
            else if (arg == "--print-delay")
                config.printDelay = std::chrono::milliseconds(ToolCommon::parseUnsigned(arg, value(), 3600000));
            else if (arg == "--cover-open") initial.coverOpen = true;
            else if (arg == "--paper-empty") initial.paperEmpty = true;
            else if (arg == "--seconds") seconds = ToolCommon::parseSeconds(arg, value());
            else if (arg == "--capture") capturePath = value();
            else if (arg == "--discovery-port") discoveryPort = port();
            else if (arg == "--spooler") spooler = true;
            else throw ToolCommon::ToolFailure{"unknown option " + arg};
        }
        // The capture file is opened before the printer starts, so a bad path fails before any output.
        std::ofstream capture;
        if (!capturePath.empty()) {
            capture.open(capturePath, std::ios::binary | std::ios::trunc);
            if (!capture) throw ToolCommon::ToolFailure{"cannot write " + capturePath + ": " + std::strerror(errno)};
        }
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);

        VirtualPrinterEngine engine(config);
        engine.update([&](PrinterState& s) { s = initial; });
        // Made before the server, so it outlives every session the server opens on the engine.
        std::unique_ptr<VirtualPrinterSpooler> spoolerStore;
        if (spooler) {
            spoolerStore = std::make_unique<VirtualPrinterSpooler>(engine);
            spoolerStore->setSpoolerEnabled(true);
        }
        std::unique_ptr<VirtualPrinterServer> server;
        std::unique_ptr<VirtualPrinterDiscovery> discovery;
        try {
            server = std::make_unique<VirtualPrinterServer>(engine, dataPort, statusPort);
            if (discoveryPort) {
                DiscoveryIdentity identity;
                identity.usedPort = server->dataPort();
                discovery = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity},
                                                                      *discoveryPort);
            }
        } catch (const std::exception& error) {
            throw ToolCommon::ToolFailure{std::string("cannot listen on 127.0.0.1: ") + error.what()};
        }
        if (discovery) {
            std::printf("data %u status %u discovery %u\n", server->dataPort(), server->statusPort(),
                        discovery->port());
        } else {
            std::printf("data %u status %u\n", server->dataPort(), server->statusPort());
        }
        std::fflush(stdout);

        const auto start = std::chrono::steady_clock::now();
        while (!stopRequested.load()) {
            if (seconds >= 0 &&
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= seconds)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (discovery) discovery->stop();
        server->stop();
        const Bytes received = engine.capture(PrinterChannel::data);
        const Bytes printed = engine.printedData();
        std::printf("received %zu bytes, printed %zu bytes, %zu jobs counted\n", received.size(), printed.size(),
                    engine.etbMarkerCount());
        if (capture.is_open()) {
            capture.write(reinterpret_cast<const char*>(received.data()), static_cast<std::streamsize>(received.size()));
            capture.close();
            if (!capture) throw ToolCommon::ToolFailure{"cannot write " + capturePath, 1};
        }
        return 0;
    });
}
