#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/PrinterSpecDetector.hpp"

namespace Prelix10 {

class RawPort;

// Tells the model of a device behind an opened Bluetooth LE port from the model name of its advertisement;
// no I/O, so the result is the same whatever the time given.
class BluetoothLEPrinterSpecDetector final : public PrinterSpecDetector {
public:
    explicit BluetoothLEPrinterSpecDetector(std::shared_ptr<RawPort> port) : port_(std::move(port)) {}

    // Unexpected state (unknown kind) for a port of another class or one without its advertisement record or
    // model name; an unknown model is a result, not an error.
    Result detect(std::int64_t timeout) const override;

private:
    std::shared_ptr<RawPort> port_;
};

}  // namespace Prelix10
