#include "prelix10/printer/ConnectionIdentifierReader.hpp"

#include <algorithm>

#include "prelix10/protocol/InformationReplyParsers.hpp"
#include "prelix10/transport/PortUtil.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

OrvoConnectionIdentifier ConnectionIdentifierReader::read(PrinterPort& port, std::int64_t timeout) {
    return OrvoConnectionIdentifierManager::connectionIdentifier(
        [&port](const std::vector<std::uint8_t>&, int milliseconds) {
            PrinterInformationParser parser;
            PortUtil::retrieveInformationImpl(port, parser, milliseconds, true);
            return parser.printerInformationDictionary();
        },
        static_cast<int>(std::clamp<std::int64_t>(timeout, 0, 0x7FFFFFFF)));
}

PrinterConnectionIdentifier ConnectionIdentifierReader::toRecord(const OrvoConnectionIdentifier& identifier) {
    PrinterConnectionIdentifier record;
    record.specifiedIdentifier = identifier.specifiedIdentifier;
    record.macAddress = identifier.macAddress;
    record.wlanMacAddress = identifier.wlanMacAddress;
    record.bluetoothAddress = identifier.bluetoothAddress;
    record.bluetoothLeAddress = identifier.bluetoothLeAddress;
    record.usbSerialNumber = identifier.usbSerialNumber;
    return record;
}

OrvoConnectionIdentifier ConnectionIdentifierReader::fromRecord(const PrinterConnectionIdentifier& record) {
    OrvoConnectionIdentifier identifier;
    identifier.specifiedIdentifier = record.specifiedIdentifier;
    identifier.macAddress = record.macAddress;
    identifier.wlanMacAddress = record.wlanMacAddress;
    identifier.bluetoothAddress = record.bluetoothAddress;
    identifier.bluetoothLeAddress = record.bluetoothLeAddress;
    identifier.usbSerialNumber = record.usbSerialNumber;
    return identifier;
}

bool ConnectionIdentifierReader::isComplete(const PrinterConnectionIdentifier& identifier) {
    return fromRecord(identifier).hasAllIdentifiers();
}

}  // namespace Prelix10
