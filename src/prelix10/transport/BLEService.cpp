#include "prelix10/transport/BLEService.hpp"

namespace Prelix10::BLEServices {

namespace {
struct Identifiers {
    BleUuid service;
    BleUuid write;
    BleUuid notify;
};

// Never destroyed, so a scan or a port still running on a worker at exit reads valid identifiers.
const Identifiers& identifiersOf(BLEService service) {
    static const Identifiers& print = *new Identifiers{normalizedBleUuid("49535343-FE7D-4AE5-8FA9-9FAFD205E455"),
                                   normalizedBleUuid("49535343-8841-43F4-A8D4-ECBE34729BB3"),
                                   normalizedBleUuid("49535343-1E4D-4BD9-BA61-23C647249616")};
    static const Identifiers& at = *new Identifiers{normalizedBleUuid("01FF0100-BA5E-F4EE-5CA1-EB1E5E4B1CE1"),
                                normalizedBleUuid("01FF0101-BA5E-F4EE-5CA1-EB1E5E4B1CE1"),
                                normalizedBleUuid("01FF0102-BA5E-F4EE-5CA1-EB1E5E4B1CE1")};
    return service == BLEService::printService ? print : at;
}
}  // namespace

const BleUuid& serviceUuid(BLEService service) { return identifiersOf(service).service; }
const BleUuid& writeCharacteristicUuid(BLEService service) { return identifiersOf(service).write; }
const BleUuid& notifyCharacteristicUuid(BLEService service) { return identifiersOf(service).notify; }

}  // namespace Prelix10::BLEServices
