#pragma once

// A stand-in for the kernel's USB printer-class driver (usblp), for machines with no printer and no way to
// add a character device: it serves the calls on its /dev/usb/lpN nodes the way the driver does, and keeps a
// sysfs tree like the driver's under a temporary root. Behind each node a virtual printer takes what the
// bulk-OUT transfers carry and answers through bulk-IN transfers.
//
// What it does as the driver does:
// - one open at a time: a second open is EBUSY; an open of a device that is gone is ENODEV;
// - one bulk-IN transfer is always under way while the node is open; poll reports input once it completes,
//   also when it completed with no bytes (read then returns 0) or failed (read then returns EIO once, and a
//   new transfer starts);
// - a write takes up to 8 KiB into one bulk-OUT transfer and returns before the device has it; poll reports
//   room to write again once the transfer completes, and the release of the node kills a transfer still
//   under way, so its bytes never reach the device;
// - an unplug makes every call ENODEV, wakes poll with input and room to write, and takes the sysfs entry
//   and the node away;
// - LPIOC_GET_DEVICE_ID asks the device again and hands over the reply with the device's own length in
//   its first two bytes, cut to the driver's 1 KiB buffer; the ieee1284_id attribute shows the text of the
//   reply the driver has, which is empty when the device did not answer.
//
// Only non-blocking opens are served, which is all the library makes.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/platform/DescriptorCalls.hpp"
#include "prelix10/platform/UsbPrinterAccessorySource.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

class UsblpDriver final : public DescriptorCalls, public std::enable_shared_from_this<UsblpDriver> {
public:
    enum class ReadCompletion { empty, error };

    struct Device {
        std::shared_ptr<VirtualPrinterEngine> engine;
        // The device's answer to the ID request, length prefix included, as the device sends it.
        std::vector<std::uint8_t> deviceId;
        // Whether the device answered the ID request when it was plugged in (the attribute is empty if not).
        bool answeredIdAtProbe = true;
        // Whether it answers the ID request asked on the node.
        bool answersIdRequest = true;
        std::string usbSerial;
        int devnum = 2;
    };

    static std::shared_ptr<UsblpDriver> make();
    ~UsblpDriver() override;
    UsblpDriver(const UsblpDriver&) = delete;
    UsblpDriver& operator=(const UsblpDriver&) = delete;

    // The source's options for this driver's tree and nodes.
    UsbPrinterOptions options();
    std::string nodePath(int n) const;

    void plug(int n, Device device);
    void unplug(int n);

    // The next bulk-IN transfers of lpN complete like this, before any bytes the printer has to send.
    void queueReadCompletions(int n, const std::vector<ReadCompletion>& completions);
    // How long the device takes to take one bulk-OUT transfer.
    void setWriteLatency(int n, std::chrono::milliseconds latency);
    // After this many bytes in all the device accepts no more: the transfer under way never completes.
    void stopTakingAfter(int n, std::size_t bytes);
    // Bytes of bulk-OUT transfers killed by a release before the device took them.
    std::size_t droppedBytes(int n);
    // Bytes the device has taken.
    std::size_t bytesTaken(int n);
    // Whether the node is held open.
    bool isOpen(int n);

    int open(const std::string& path, int flags) override;
    ssize_t read(int fd, void* buffer, std::size_t length) override;
    ssize_t write(int fd, const void* bytes, std::size_t length) override;
    int poll(pollfd* fds, nfds_t count, int timeoutMilliseconds) override;
    int ioctl(int fd, unsigned long request, void* argument) override;
    int flock(int fd, int operation) override;
    int close(int fd) override;

    struct Minor;

private:
    UsblpDriver();
    void run();
    Minor* minorOfLocked(int fd);
    void wakeLocked();
    void writeAttributeLocked(int n, Minor& minor);

    std::filesystem::path root_;
    std::mutex mutex_;
    std::map<int, std::unique_ptr<Minor>> minors_;
    // Open nodes: the descriptor handed out (an eventfd that stands for the open file) and its minor.
    std::map<int, int> files_;
    // The signals of the poll calls waiting now.
    std::vector<int> waiters_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace Prelix10::Testing
