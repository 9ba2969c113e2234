#pragma once

#include "prelix10/core/Export.hpp"

// Our layer over the accessories that the system has already connected (Bluetooth serial printers, USB
// printer-class devices): the list of connected accessories with what they say of themselves, sessions for
// a protocol string with an input and an output stream, and the streams' events. Nothing here blocks for
// long: stream reads and writes take what is there now. The interface knows no particular system: a backend
// (a Linux one, or the simulator of the tests) implements AccessoryManager and is installed with
// AccessoryBackend.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "prelix10/core/EAAccessoryType.hpp"

namespace Prelix10 {

// What a stream reports, on a backend thread.
enum class AccessoryStreamEvent {
    openCompleted,
    hasBytesAvailable,
    hasSpaceAvailable,
    errorOccurred,
    endEncountered,
};

// Handlers are called on a backend thread, never while the backend holds a lock that a stream operation
// takes, so a handler may call back into the stream. A handler must return quickly.
using AccessoryStreamEventHandler = std::function<void(AccessoryStreamEvent)>;

class PRELIX10_EXPORT AccessoryInputStream {
public:
    virtual ~AccessoryInputStream() = default;
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool hasBytesAvailable() const = 0;
    // Takes up to maxLength bytes that have arrived: the count taken, 0 when none, negative on an error.
    virtual long read(std::uint8_t* buffer, std::size_t maxLength) = 0;
    // Replaces the handler; none removes it.
    virtual void setEventHandler(AccessoryStreamEventHandler handler) = 0;
};

class PRELIX10_EXPORT AccessoryOutputStream {
public:
    virtual ~AccessoryOutputStream() = default;
    virtual void open() = 0;
    virtual void close() = 0;
    // Whether a write would take at least one byte now.
    virtual bool hasSpaceAvailable() const = 0;
    // Hands up to length bytes to the link: the count taken (possibly fewer), negative on an error.
    virtual long write(const std::uint8_t* bytes, std::size_t length) = 0;
    virtual void setEventHandler(AccessoryStreamEventHandler handler) = 0;
};

// One connected accessory. Its texts stay readable after it disconnects.
class PRELIX10_EXPORT Accessory {
public:
    virtual ~Accessory() = default;
    // Changes each time the accessory connects anew.
    virtual std::uint64_t connectionID() const = 0;
    virtual bool isConnected() const = 0;
    virtual std::string manufacturer() const = 0;
    virtual std::string name() const = 0;
    virtual std::string modelNumber() const = 0;
    virtual std::string serialNumber() const = 0;
    virtual std::vector<std::string> protocolStrings() const = 0;
    // A Bluetooth device reached through a terminal the application bound itself (/dev/rfcomm*), which
    // needs no radio check of ours.
    virtual bool isBoundTerminal() const { return false; }
    // The link the accessory is attached by, where the backend can tell (unknown where it cannot).
    virtual EAAccessoryType transportType() const = 0;
};

// A session with one accessory for one protocol string. A stream may be missing when the system could not
// set it up. Closing both streams ends the session.
class PRELIX10_EXPORT AccessorySession {
public:
    virtual ~AccessorySession() = default;
    virtual std::shared_ptr<Accessory> accessory() const = 0;
    virtual std::string protocolString() const = 0;
    virtual std::shared_ptr<AccessoryInputStream> inputStream() const = 0;
    virtual std::shared_ptr<AccessoryOutputStream> outputStream() const = 0;
};

// Accessories coming and going, on a backend thread.
class PRELIX10_EXPORT AccessoryManagerObserver {
public:
    virtual ~AccessoryManagerObserver() = default;
    virtual void accessoryDidConnect(const std::shared_ptr<Accessory>&) {}
    virtual void accessoryDidDisconnect(const std::shared_ptr<Accessory>&) {}
};

class PRELIX10_EXPORT AccessoryManager {
public:
    virtual ~AccessoryManager() = default;
    // The accessories connected now, in the system's order.
    virtual std::vector<std::shared_ptr<Accessory>> connectedAccessories() const = 0;
    // A new session, or none when the system gives none now (the accessory is busy, gone, or does not speak
    // the protocol). Returns at once. Throws the inUse error when another process holds the device.
    virtual std::shared_ptr<AccessorySession> openSession(const std::shared_ptr<Accessory>& accessory,
                                                          const std::string& protocolString) = 0;
    // Held weakly.
    virtual void setObserver(std::weak_ptr<AccessoryManagerObserver> observer) = 0;
};

// The machine's own backends (SystemAccessoryBackend.hpp): none, USB printer-class devices, paired
// Bluetooth serial-port devices, or both.
enum class AccessoryBackendChoice {
    none,
    usbPrinter,
    bluetoothSerial,
    system,
};

// The process's accessory system. Without an installed backend no accessory is connected and no session
// opens, unless the environment variable PRELIX10_ACCESSORY_BACKEND names one of the machine's backends
// ("usb", "bluetooth", "system"). PRELIX10_BLUETOOTH_MANUFACTURER names the manufacturer of the Bluetooth
// serial devices on every path (the maker's name when unset), unless the options name one.
class PRELIX10_EXPORT AccessoryBackend {
public:
    static void install(std::shared_ptr<AccessoryManager> manager);
    // Installs one of the machine's backends with its default options (none removes the backend).
    static void select(AccessoryBackendChoice choice);
    // The installed manager, or one that has no accessories.
    static std::shared_ptr<AccessoryManager> manager();

private:
    static std::mutex& mutex();
    static std::shared_ptr<AccessoryManager>& slot();
};

}  // namespace Prelix10
