#pragma once

#include <cstdint>
#include <memory>

#include "prelix10/printer/PrinterSpecDetector.hpp"

namespace Prelix10 {

class RawPort;

// A USB printer is told by the model number of its accessory; without one (a port that found no accessory
// yet), by the accessory discovery's lookup of the port's identifier.
class USBPrinterSpecDetector final : public PrinterSpecDetector {
public:
    explicit USBPrinterSpecDetector(std::shared_ptr<RawPort> port) : port_(std::move(port)) {}
    Result detect(std::int64_t timeout) const override;

private:
    std::shared_ptr<RawPort> port_;
};

}  // namespace Prelix10
