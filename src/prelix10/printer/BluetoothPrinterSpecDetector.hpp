#pragma once

#include <cstdint>
#include <memory>

#include "prelix10/printer/PrinterSpecDetector.hpp"

namespace Prelix10 {

class RawPort;

// A Bluetooth printer is told by the model number of its accessory. A model whose emulation the table leaves
// open (the mobile models) is asked which one it speaks; an unknown model number is asked for its firmware
// information.
class BluetoothPrinterSpecDetector final : public PrinterSpecDetector {
public:
    explicit BluetoothPrinterSpecDetector(std::shared_ptr<RawPort> port) : port_(std::move(port)) {}
    Result detect(std::int64_t timeout) const override;

    // Whether the printer answers in the maker's emulation (two status blocks, or one block and two EOT
    // bytes) rather than mobile ESC/POS (its one-byte paper status).
    bool detectIsOrvoEmulation(RawPort& port, std::int64_t timeout) const;
    Result detectByFirmwareInformation(RawPort& port, std::int64_t timeout) const;

private:
    std::shared_ptr<RawPort> port_;
};

}  // namespace Prelix10
