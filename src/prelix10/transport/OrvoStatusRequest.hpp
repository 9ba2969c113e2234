#pragma once

#include <cstdint>
#include <memory>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

// The status read of the maker's printers on their print connection (accessory and Bluetooth LE): bytes
// left over from earlier exchanges are dropped, the automatic status request is written, and the first
// status block found in what arrives is decoded and taken out of the buffer. Bytes in front of the block
// are skipped; bytes that hold no block make the read wait until "Request timed out.".
class OrvoStatusRequest {
public:
    // The sender's type names the unexpected-state error of a read that decoded no status.
    static std::shared_ptr<const OrvoPrinterStatus> read(RawPort& rawPort, OrvoPrinterEmulation emulation,
                                                         std::int64_t timeout, const void* sender,
                                                         const std::string& senderType);
};

}  // namespace Prelix10
