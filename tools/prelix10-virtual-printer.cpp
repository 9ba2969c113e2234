// Runs the virtual printer on 127.0.0.1 until interrupted (or for --seconds), then writes what it received.
// A stand-in printer for developing against the library without a device; --help lists the options.
//
// The first line of standard output gives the ports in use ("data D status S" and, with discovery,
// "discovery Q"); the lines after it tell a client how to reach the printer, and the last line, written
// on exit, counts what was received. A bad argument or a port that cannot be bound gives one line on
// standard error and exit status 2 (1 for a capture that cannot be written), with nothing on standard output.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterEngine.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "support/VirtualPrinterSpooler.hpp"
#include "ToolCommon.hpp"

using namespace Prelix10::Testing;

namespace {

constexpr const char* kTool = "prelix10-virtual-printer";

// A discovery reply carries the data port in a field that holds only values below this.
constexpr unsigned kAnnounceablePortLimit = 32768;

const char* const kHelp =
    "usage: prelix10-virtual-printer [OPTION]...\n"
    "Runs a virtual printer on 127.0.0.1 until interrupted, then prints what it received.\n"
    "\n"
    "  --data-port N        TCP port for print data (default 0)\n"
    "  --status-port N      TCP port for status requests (default 0)\n"
    "  --discovery-port N   also answer LAN discovery on this UDP port (default: no discovery)\n"
    "  --automatic-status   send status blocks unasked until the host switches them off (default off)\n"
    "  --print-delay MS     milliseconds between receiving a job's end and counting it printed (default 0)\n"
    "  --cover-open         start with the cover open (default closed)\n"
    "  --paper-empty        start with no paper (default paper loaded)\n"
    "  --seconds S          stop after S seconds (default: run until SIGINT or SIGTERM)\n"
    "  --capture FILE       write every byte received on the data port to FILE on exit\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Port 0 picks a free port. With --discovery-port the data port must be below 32768, the largest a\n"
    "discovery reply can announce: a data port of 0 is then picked below 32768, a larger one is refused.\n"
    "The first output line gives the ports in use (\"data D status S [discovery Q]\"), the next lines how a\n"
    "client reaches the printer, and the last line, on exit, what was received.\n";

std::atomic<bool> stopRequested{false};
void onSignal(int) { stopRequested.store(true); }

// A free TCP port of 127.0.0.1 below the announceable limit, or 0 when none was found.
std::uint16_t freeAnnounceablePort() {
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<unsigned> pick(20000, kAnnounceablePortLimit - 1);
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto candidate = static_cast<std::uint16_t>(pick(random));
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return 0;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(candidate);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (bound) return candidate;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return ToolCommon::run(kTool, [&]() -> int {
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
            if (arg == "--help") {
                std::fputs(kHelp, stdout);
                return 0;
            } else if (arg == "--version") {
                std::printf("%s\n", ToolCommon::versionLine(kTool).c_str());
                return 0;
            } else if (arg == "--data-port") dataPort = port();
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
            else throw ToolCommon::ToolFailure{"unknown option " + arg + " (see --help)"};
        }
        if (discoveryPort) {
            if (dataPort >= kAnnounceablePortLimit)
                throw ToolCommon::ToolFailure{"--data-port " + std::to_string(dataPort) +
                                              " cannot be announced by discovery, which carries only ports below " +
                                              std::to_string(kAnnounceablePortLimit) + "; give a lower port or 0"};
            if (dataPort == 0) {
                dataPort = freeAnnounceablePort();
                if (dataPort == 0)
                    throw ToolCommon::ToolFailure{"cannot find a free data port below " +
                                                  std::to_string(kAnnounceablePortLimit) + " on 127.0.0.1"};
            }
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
        } catch (const std::exception& error) {
            throw ToolCommon::ToolFailure{error.what()};
        }
        if (discoveryPort) {
            try {
                DiscoveryIdentity identity;
                identity.usedPort = server->dataPort();
                discovery = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity},
                                                                      *discoveryPort);
            } catch (const std::exception&) {
                // The double closes its socket after the failed bind, which leaves errno as bind set it.
                const int error = errno;
                server->stop();
                throw ToolCommon::ToolFailure{"cannot listen on 127.0.0.1 UDP port " + std::to_string(*discoveryPort) +
                                              " (discovery): " + std::strerror(error) + " (errno " +
                                              std::to_string(error) + ")"};
            }
        }
        const unsigned d = server->dataPort(), s = server->statusPort();
        if (discovery) {
            const unsigned q = discovery->port();
            std::printf("data %u status %u discovery %u\n", d, s, q);
            std::printf("reach it from C++ with LANOrvoDeviceDiscoveryManager::useLoopback({%u, %u, %u}) and open "
                        "\"127.0.0.1\" over LAN\n", d, s, q);
            std::printf("reach it from C with prelix10_lan_use_loopback(%u, %u, %u, &error)\n", d, s, q);
            std::printf("reach it with the examples by --data-port %u --status-port %u --discovery-port %u\n", d, s,
                        q);
        } else {
            std::printf("data %u status %u\n", d, s);
            std::printf("discovery is off: an open over LAN finds this printer only with --discovery-port, such as "
                        "--discovery-port 0\n");
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
