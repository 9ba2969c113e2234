#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/core/PrinterInformationType.hpp"

namespace Prelix10 {

// The identifiers of one printer on its interfaces, with the identifier the app gave when it connected.
class OrvoConnectionIdentifier {
public:
    // Stands in a field for an identifier the printer does not have or did not report; it never matches.
    static const std::string& UNAVAILABLE();

    std::optional<std::string> specifiedIdentifier;
    std::optional<std::string> macAddress;
    std::optional<std::string> wlanMacAddress;
    std::optional<std::string> bluetoothAddress;
    std::optional<std::string> bluetoothLeAddress;
    std::optional<std::string> usbSerialNumber;

    // The record to look a device up by: the settings' identifier in the field of its interface type (none
    // for another type) and as the specified identifier, normalised.
    static OrvoConnectionIdentifier probe(InterfaceType interfaceType, const std::string& identifier);

    std::string description() const;
    // Brings the four address fields to twelve upper-case hex digits where they are MAC addresses.
    void normalize();
    // All six fields present (the placeholder counts as present).
    bool hasAllIdentifiers() const;
    // Whether this record (being looked up or stored) and a stored entry name the same printer by an address:
    // wired MAC, this wireless MAC against the entry's wired MAC, this wired MAC against the entry's wireless
    // MAC, Bluetooth, Bluetooth LE, USB serial number. Both present, equal and not the placeholder.
    bool matches(const OrvoConnectionIdentifier& entry) const;
    // Both specified identifiers present, equal and not the placeholder.
    bool hasEqualSpecifiedIdentifier(const OrvoConnectionIdentifier& other) const;
    // Sets each absent address field to the placeholder; the specified identifier stays as it is.
    OrvoConnectionIdentifier& fillUnavailable();

    bool operator==(const OrvoConnectionIdentifier&) const = default;
};

// Asks the printer behind an open port for its information: writes the request bytes, reads the reply until
// it is complete and returns the parsed items (nullopt when there is no dictionary). Throws the errors of
// the exchange ("Request timed out.", "Bad response from device."). The printer layer provides it.
using PrinterInformationRequest = std::function<std::optional<PrinterInformationDictionary>(
    const std::vector<std::uint8_t>& requestCommands, int timeoutMilliseconds)>;

// Keeps one record per printer that has been opened in "connection_identifier.json" in the private
// directory, so that a printer reached once over one interface can be found again by the identifier it has
// on another. Nothing is kept in memory; every call reads the file anew. Safe across threads.
class OrvoConnectionIdentifierManager {
public:
    static constexpr const char* kFileName = "connection_identifier.json";

    // The entries in file order; empty when there is no file or it cannot be read or parsed.
    static std::vector<OrvoConnectionIdentifier> load();
    // The stored entry for a probe: the first entry it matches when that one is complete, else the first
    // with the same specified identifier, else the matched one, each with the placeholder in absent fields.
    // The probe is compared in the form its values take in the file (invalid UTF-8 as U+FFFD).
    static std::optional<OrvoConnectionIdentifier> find(const OrvoConnectionIdentifier& probe);
    // Replaces the entry with the same specified identifier, else the first entry the record matches, else
    // appends it. A file that exists but cannot be read is left alone; one that does not parse is moved
    // aside to "connection_identifier.json.bak" (or, when that is taken, ".bak.1" and on; never over an
    // earlier backup) before the new file is written.
    static void save(const OrvoConnectionIdentifier& record);
    // Replaces the file's content in one step; reports nothing.
    static void write(const std::string& text);
    // The file text for a list of entries, as save writes it.
    static std::string serialize(const std::vector<OrvoConnectionIdentifier>& entries);

    // The request bytes for the printer's identifiers.
    static const std::vector<std::uint8_t>& informationRequestCommands();
    // Asks the printer for its identifiers; every item it does not report becomes the placeholder.
    static OrvoConnectionIdentifier connectionIdentifier(const PrinterInformationRequest& request, int timeoutMilliseconds);
};

}  // namespace Prelix10
