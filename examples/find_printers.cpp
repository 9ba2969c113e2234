// find_printers [--time MILLISECONDS] [--with-virtual-printer]
//
// Runs a LAN discovery for the given time (3000 ms by default) and lists each printer found with its
// model, emulation, MAC and IP address. With --with-virtual-printer two virtual printers answer on
// 127.0.0.1 and discovery is kept on loopback; without it the discovery broadcasts on the local networks.
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>

#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

using namespace Prelix10;

namespace {

class ListingDelegate : public OrvoDeviceDiscoveryManagerDelegate {
public:
    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter> printer) override {
        const auto info = printer->informationRecord();
        std::lock_guard guard(mutex_);
        std::cout << "found " << printer->connectionSettings().identifier() << ": model "
                  << PrinterModels::description(info->model) << ", emulation " << static_cast<int>(info->emulation)
                  << ", IP " << info->nicInformation->ipAddress.value_or("?") << "\n";
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager&) override {
        std::lock_guard guard(mutex_);
        done_ = true;
        finished_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return done_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    int time = 3000;
    bool withVirtualPrinter = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--time" && i + 1 < argc) time = std::stoi(argv[++i]);
        else if (arg == "--with-virtual-printer") withVirtualPrinter = true;
        else {
            std::cerr << "usage: find_printers [--time MILLISECONDS] [--with-virtual-printer]\n";
            return 2;
        }
    }
    std::unique_ptr<Testing::VirtualPrinterDiscovery> responder;
    if (withVirtualPrinter) {
        Testing::DiscoveryIdentity second;
        second.macAddress = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
        second.ipAddress = {127, 0, 0, 2};
        second.deviceModel = "Kelto59 (ESP-001)";
        responder = std::make_unique<Testing::VirtualPrinterDiscovery>(
            std::vector<Testing::DiscoveryIdentity>{Testing::DiscoveryIdentity{}, second});
        auto ports = NetworkPortSettings::ports();
        ports.discovery = responder->port();
        LANOrvoDeviceDiscoveryManager::useLoopback(ports);
    }
    try {
        auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
        auto delegate = std::make_shared<ListingDelegate>();
        manager->setDelegate(delegate);
        manager->setDiscoveryTime(time);
        manager->startDiscovery();
        delegate->wait();
    } catch (const Prelix10Error& error) {
        std::cerr << "error: " << error.description() << "\n";
        return 1;
    }
    return 0;
}
