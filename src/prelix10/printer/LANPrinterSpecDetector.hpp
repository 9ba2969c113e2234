#pragma once

#include <cstdint>
#include <memory>

#include "prelix10/printer/PrinterSpecDetector.hpp"

namespace Prelix10 {

class RawPort;

// A LAN printer is told by the discovery reply of the address or MAC address it was opened with.
class LANPrinterSpecDetector final : public PrinterSpecDetector {
public:
    explicit LANPrinterSpecDetector(std::shared_ptr<RawPort> port) : port_(std::move(port)) {}
    Result detect(std::int64_t timeout) const override;

private:
    std::shared_ptr<RawPort> port_;
};

}  // namespace Prelix10
