#pragma once

#include <cstdint>

#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/printer/PrinterInformationRecord.hpp"

namespace Prelix10 {

class PrinterPort;

// Reads the identifiers a printer has on each of its interfaces through an open printer port, and moves them
// between the stored form and the printer information.
class ConnectionIdentifierReader {
public:
    // The printer-information exchange within timeout milliseconds; every identifier the printer does not
    // report is the placeholder. The specified identifier is left empty.
    static OrvoConnectionIdentifier read(PrinterPort& port, std::int64_t timeout);

    static PrinterConnectionIdentifier toRecord(const OrvoConnectionIdentifier& identifier);
    static OrvoConnectionIdentifier fromRecord(const PrinterConnectionIdentifier& identifier);
    // All six fields present (the placeholder counts as present).
    static bool isComplete(const PrinterConnectionIdentifier& identifier);
};

}  // namespace Prelix10
