#pragma once

// The transfer of a downloaded firmware image to the printer. Two ways exist, chosen per model when the
// firmware object is made: the configuration-document way stores the image as the printer's internal file
// "firmware.bin" and then writes a configuration document that tells the printer to install it; the block
// way writes the raw image to the port in pieces. Both block the calling thread (the printer object's
// queue) until the transfer has ended.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class PrinterPort;
class PrinterControl;

// The waits and limits of the transfers. The defaults are the printer's; the project's own tests shorten
// the long ones through a seam that is not installed with the library.
struct FirmwareTransferLimits {
    // How long the internal-file transfer waits for the printer's reply to a piece, counted from the
    // piece's write.
    std::int64_t pieceReplyTimeout = 15000;
    // The block transfer's overall limit over LAN, USB and Bluetooth; over Bluetooth LE it is this much
    // per piece.
    std::int64_t blockOverallLimit = 300000;
    std::int64_t bluetoothLEPieceLimit = 3000;
    // The pause after the block transfer, in which the printer takes the image in.
    std::chrono::milliseconds blockSettleTime{10000};
};

// Performs the transfer; every failure is raised as an error.
class FirmwareUpdater {
  public:
    virtual ~FirmwareUpdater() = default;
    virtual void update(const ByteBlock& data) = 0;
};

class BaseFirmwareUpdater : public FirmwareUpdater {
  public:
    BaseFirmwareUpdater(std::shared_ptr<PrinterPort> port, std::shared_ptr<PrinterControl> printerControl)
        : port_(std::move(port)), printerControl_(std::move(printerControl)) {}
    // A plain base updater transfers nothing: the unexpected-state error of line 13.
    void update(const ByteBlock& data) override;

  protected:
    PrinterPort& port() const { return *port_; }
    PrinterControl& printerControl() const { return *printerControl_; }
    static FirmwareTransferLimits limits();

  private:
    std::shared_ptr<PrinterPort> port_;
    std::shared_ptr<PrinterControl> printerControl_;
};

// Stores the image as the internal file "firmware.bin", then writes the configuration document that
// installs it. The document carries the version and device name the printer itself reported.
class OrvoConfigFirmwareUpdater final : public BaseFirmwareUpdater {
  public:
    using BaseFirmwareUpdater::BaseFirmwareUpdater;
    void update(const ByteBlock& data) override;
    // Writes data into the printer's internal file filename: the whole write command, in pieces of
    // 131072 bytes, each followed by a wait for the printer's reply.
    void sendFirmwareData(const std::string& filename, const ByteBlock& data);

    static constexpr std::size_t kPieceSize = 131072;
    static constexpr std::int64_t kConfigurationReadTimeout = 30000;
    static constexpr std::int64_t kConfigurationWriteTimeout = 90000;
    static constexpr std::int64_t kWriteTimeout = 15000;
};

// Writes the raw image to the port in pieces, without framing and without reading any reply.
class VozFirmwareUpdater final : public BaseFirmwareUpdater {
  public:
    using BaseFirmwareUpdater::BaseFirmwareUpdater;
    void update(const ByteBlock& data) override;

    // How an image of size bytes goes over an interface.
    struct Plan {
        std::size_t pieceSize = 0;
        std::size_t pieceCount = 0;
        std::int64_t writeTimeout = 0;
        std::int64_t overallLimit = 0;
    };
    static Plan plan(InterfaceType interfaceType, std::size_t size);
};

// The choice of updater is made by the firmware object; this class only groups the updaters.
class FirmwareUpdaterFactory {
  public:
    FirmwareUpdaterFactory() = default;
};

}  // namespace Prelix10
