// firmware_cloud_host PROGRAM
//
// Runs the C firmware program against a printer and a cloud service of this process: the local cloud
// server on 127.0.0.1 with its own authority, and a virtual printer whose firmware takes the configuration
// document path. The program gets the service's address, the authority's file and the printer's ports;
// afterwards the printer must run the firmware the service offered, received through the service.
// Exit status: 0 when all went well.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "support/LocalCloudServer.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterEngine.hpp"
#include "support/VirtualPrinterFirmware.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "support/VirtualPrinterSpooler.hpp"

extern char** environ;

using namespace Prelix10::Testing;
using Prelix10Test::LocalCloudServer;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: firmware_cloud_host PROGRAM\n");
        return 2;
    }
    LocalCloudServer cloud;
    cloud.setFirmwareList({{"Ginor67TK", "pw", "main", "1.1", "0.1"}});
    cloud.setFirmwareImage(makeVirtualFirmwareImage("1.1", 5000));

    VirtualPrinterConfig config;
    config.firmwareText = "Ginor-67TKVer1.0";
    config.mountedInterfacesText = "ETHERNET,USB-C,USB-C-I";
    VirtualPrinterEngine engine(config);
    VirtualPrinterFirmware firmwarePart(engine);
    VirtualPrinterSpooler spooler(engine);
    spooler.setDocument(0x23,
                        R"({"title":"orvo_configuration","version":"2.1","configurations":[{"device_name":"main"}]})");
    VirtualPrinterServer server(engine);
    DiscoveryIdentity identity;
    identity.deviceModel = "Ginor65 (ORV-001)";
    VirtualPrinterDiscovery responder(std::vector<DiscoveryIdentity>{identity});

    const std::vector<std::string> arguments{argv[1],
                                             cloud.baseUrl(),
                                             cloud.caFile(),
                                             std::to_string(server.dataPort()),
                                             std::to_string(server.statusPort()),
                                             std::to_string(responder.port())};
    std::vector<char*> pointers;
    for (const auto& argument : arguments) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, argv[1], nullptr, nullptr, pointers.data(), environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }
    // Bounded: a program that hangs is stopped and fails the run.
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 900 && !ended; ++i) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) ended = true;
        else std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        std::fprintf(stderr, "the program did not end\n");
        return 1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the program failed\n");
        return 1;
    }
    std::size_t images = 0;
    for (const auto& request : cloud.requests()) images += request.path == "/v1/firmware/data";
    if (images != 1 || firmwarePart.installedVersions() != std::vector<std::string>{"1.1"}) {
        std::fprintf(stderr, "the printer did not get the service's firmware (%zu image requests)\n", images);
        return 1;
    }
    std::puts("firmware check and update through the shared library: ok");
    return 0;
}
