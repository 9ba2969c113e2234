#pragma once

#include <memory>

#include "prelix10/printer/PrinterSpecDetector.hpp"

namespace Prelix10 {

class RawPort;

// The detector for a raw port's class: TCP, Bluetooth, USB or Bluetooth LE.
class PrinterSpecDetectorFactory {
public:
    // Unexpected state (unknown kind) for a port of any other class.
    static std::unique_ptr<PrinterSpecDetector> create(std::shared_ptr<RawPort> port);
};

}  // namespace Prelix10
