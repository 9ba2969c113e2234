#pragma once

// The test seam of the firmware transfers. The project's tests use it to shorten the printer's waits; it is
// not installed with the library, so no application can set a wait to nothing.

#include "prelix10/setting/FirmwareUpdater.hpp"

namespace Prelix10::FirmwareUpdaterTesting {

// Replaces the limits of the transfers that start afterwards; reset() restores the printer's.
void setLimits(const FirmwareTransferLimits& limits);
void reset();

}  // namespace Prelix10::FirmwareUpdaterTesting
