#include "prelix10/core/OrvoConnectionIdentifier.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/JSONBuilder.hpp"
#include "prelix10/core/OrderedDictionary.hpp"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

namespace fs = std::filesystem;

namespace {

using Field = std::optional<std::string> OrvoConnectionIdentifier::*;

struct FieldKey {
    const char* key;
    Field field;
};

// The fields under their file keys, in the order they are written.
const FieldKey kFields[] = {
    {"specified_identifier", &OrvoConnectionIdentifier::specifiedIdentifier},
    {"mac_address", &OrvoConnectionIdentifier::macAddress},
    {"wlan_mac_address", &OrvoConnectionIdentifier::wlanMacAddress},
    {"bluetooth_address", &OrvoConnectionIdentifier::bluetoothAddress},
    {"bluetooth_le_address", &OrvoConnectionIdentifier::bluetoothLeAddress},
    {"usb_serial_number", &OrvoConnectionIdentifier::usbSerialNumber},
};

// A stored file larger than this is not read (nor overwritten: it is moved aside).
constexpr std::uintmax_t kMaximumFileSize = 16 * 1024 * 1024;

bool sameUsable(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    return a && b && *a == *b && *a != OrvoConnectionIdentifier::UNAVAILABLE() &&
           *b != OrvoConnectionIdentifier::UNAVAILABLE();
}

// Guards the file for whole read-modify-write cycles; recursive because save writes through write.
std::recursive_mutex& storeLock() {
    static auto* lock = new std::recursive_mutex();  // lives as long as the process
    return *lock;
}

enum class FileState { missing, loaded, unreadable, malformed };

struct LoadedFile {
    FileState state = FileState::missing;
    std::vector<OrvoConnectionIdentifier> entries;
};

LoadedFile loadFile(const fs::path& path) {
    LoadedFile result;
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error && status.type() != fs::file_type::not_found) {
        result.state = FileState::unreadable;
        return result;
    }
    if (status.type() == fs::file_type::not_found) return result;
    const auto size = fs::file_size(path, error);
    if (error) {
        result.state = FileState::unreadable;
        return result;
    }
    if (size > kMaximumFileSize) {
        result.state = FileState::malformed;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.state = FileState::unreadable;
        return result;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        result.state = FileState::unreadable;
        return result;
    }
    const auto json = nlohmann::json::parse(text.str(), nullptr, false);
    result.state = FileState::malformed;
    if (json.is_discarded() || !json.is_array()) return result;
    for (const auto& element : json) {
        if (!element.is_object()) return result;
    }
    for (const auto& element : json) {
        OrvoConnectionIdentifier record;
        for (const auto& [key, value] : element.items()) {
            if (!value.is_string()) continue;
            for (const auto& field : kFields) {
                if (key == field.key) record.*(field.field) = value.get<std::string>();
            }
        }
        result.entries.push_back(std::move(record));
    }
    result.state = FileState::loaded;
    return result;
}

// A value as the file gives it back: the writer replaces invalid UTF-8 by U+FFFD, so a record is compared
// with the stored entries only in this form.
std::string storedForm(const std::string& value) {
    const auto parsed = nlohmann::json::parse("\"" + JSONBuilder::escaped(value) + "\"", nullptr, false);
    return parsed.is_string() ? parsed.get<std::string>() : value;
}

OrvoConnectionIdentifier inStoredForm(OrvoConnectionIdentifier record) {
    for (const auto& field : kFields) {
        if (auto& value = record.*(field.field)) value = storedForm(*value);
    }
    return record;
}

// The first backup name not taken yet: ".bak", then ".bak.1" and on; none once this many exist.
constexpr int kMaximumBackups = 100;

std::optional<fs::path> freeBackupPath(const fs::path& path) {
    for (int i = 0; i < kMaximumBackups; ++i) {
        fs::path backup = path;
        backup += i == 0 ? std::string(".bak") : ".bak." + std::to_string(i);
        std::error_code error;
        const auto status = fs::symlink_status(backup, error);
        if (status.type() == fs::file_type::not_found) return backup;
    }
    return std::nullopt;
}

std::optional<fs::path> storePath() {
    try {
        return PrivateFileManager::getPrivateDirectory() / OrvoConnectionIdentifierManager::kFileName;
    } catch (const Prelix10Error&) {
        return std::nullopt;
    }
}

}  // namespace

const std::string& OrvoConnectionIdentifier::UNAVAILABLE() {
    static const std::string value = "Unavailable_DefinedByOrvo";
    return value;
}

OrvoConnectionIdentifier OrvoConnectionIdentifier::probe(InterfaceType interfaceType, const std::string& identifier) {
    OrvoConnectionIdentifier record;
    switch (interfaceType) {
        case InterfaceType::usb:
            record.usbSerialNumber = identifier;
            break;
        case InterfaceType::bluetooth:
            record.bluetoothAddress = identifier;
            break;
        case InterfaceType::bluetoothLE:
            record.bluetoothLeAddress = identifier;
            break;
        case InterfaceType::lan:
            record.macAddress = identifier;
            break;
        case InterfaceType::unknown:
            break;
    }
    record.specifiedIdentifier = identifier;
    record.normalize();
    return record;
}

std::string OrvoConnectionIdentifier::description() const {
    return PropertyDescription()
        .add("specifiedIdentifier", specifiedIdentifier)
        .add("macAddress", macAddress)
        .add("wlanMacAddress", wlanMacAddress)
        .add("bluetoothAddress", bluetoothAddress)
        .add("bluetoothLeAddress", bluetoothLeAddress)
        .add("usbSerialNumber", usbSerialNumber)
        .text();
}

void OrvoConnectionIdentifier::normalize() {
    for (auto* field : {&macAddress, &wlanMacAddress, &bluetoothAddress, &bluetoothLeAddress}) {
        if (*field) *field = FormatConverter::normalizeMacAddress(**field);
    }
}

bool OrvoConnectionIdentifier::hasAllIdentifiers() const {
    return specifiedIdentifier && macAddress && wlanMacAddress && bluetoothAddress && bluetoothLeAddress &&
           usbSerialNumber;
}

bool OrvoConnectionIdentifier::matches(const OrvoConnectionIdentifier& entry) const {
    return sameUsable(macAddress, entry.macAddress) || sameUsable(wlanMacAddress, entry.macAddress) ||
           sameUsable(macAddress, entry.wlanMacAddress) || sameUsable(bluetoothAddress, entry.bluetoothAddress) ||
           sameUsable(bluetoothLeAddress, entry.bluetoothLeAddress) ||
           sameUsable(usbSerialNumber, entry.usbSerialNumber);
}

bool OrvoConnectionIdentifier::hasEqualSpecifiedIdentifier(const OrvoConnectionIdentifier& other) const {
    return sameUsable(specifiedIdentifier, other.specifiedIdentifier);
}

OrvoConnectionIdentifier& OrvoConnectionIdentifier::fillUnavailable() {
    for (auto* field : {&macAddress, &wlanMacAddress, &bluetoothAddress, &bluetoothLeAddress, &usbSerialNumber}) {
        if (!*field) *field = UNAVAILABLE();
    }
    return *this;
}

std::vector<OrvoConnectionIdentifier> OrvoConnectionIdentifierManager::load() {
    std::lock_guard guard(storeLock());
    const auto path = storePath();
    if (!path) return {};
    return loadFile(*path).entries;
}

std::optional<OrvoConnectionIdentifier> OrvoConnectionIdentifierManager::find(const OrvoConnectionIdentifier& given) {
    const auto probe = inStoredForm(given);
    const auto entries = load();
    const OrvoConnectionIdentifier* candidate = nullptr;
    for (const auto& entry : entries) {
        if (probe.matches(entry)) {
            candidate = &entry;
            break;
        }
    }
    if (candidate && candidate->hasAllIdentifiers()) return *candidate;
    for (const auto& entry : entries) {
        if (entry.hasEqualSpecifiedIdentifier(probe)) {
            OrvoConnectionIdentifier found = entry;
            return found.fillUnavailable();
        }
    }
    if (candidate) {
        OrvoConnectionIdentifier found = *candidate;
        return found.fillUnavailable();
    }
    return std::nullopt;
}

void OrvoConnectionIdentifierManager::save(const OrvoConnectionIdentifier& given) {
    const auto record = inStoredForm(given);
    std::lock_guard guard(storeLock());
    const auto path = storePath();
    if (!path) return;
    LoadedFile file = loadFile(*path);
    if (file.state == FileState::unreadable) return;  // perhaps a passing failure: never replace what is there
    if (file.state == FileState::malformed) {
        // Every unparsable file keeps a backup of its own; with no name left the file stays as it is.
        const auto backup = freeBackupPath(*path);
        if (!backup) return;
        std::error_code error;
        fs::rename(*path, *backup, error);
        if (error) return;
        file.entries.clear();
    }
    auto& entries = file.entries;
    auto place = std::find_if(entries.begin(), entries.end(),
                              [&](const OrvoConnectionIdentifier& e) { return e.hasEqualSpecifiedIdentifier(record); });
    if (place == entries.end()) {
        place = std::find_if(entries.begin(), entries.end(),
                             [&](const OrvoConnectionIdentifier& e) { return record.matches(e); });
    }
    if (place != entries.end()) {
        *place = record;
    } else {
        entries.push_back(record);
    }
    write(serialize(entries));
}

std::string OrvoConnectionIdentifierManager::serialize(const std::vector<OrvoConnectionIdentifier>& entries) {
    const JSONBuilder builder("\n", "\t");
    std::string text = "[\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        OrderedDictionary<std::string, std::string> members;
        for (const auto& field : kFields) {
            if (const auto& value = entries[i].*(field.field)) members.append(field.key, *value);
        }
        // The writer escapes the values, so a quote or backslash in an identifier keeps the file loadable.
        const std::string object = builder.build(members, 0);
        std::string::size_type start = 0;
        for (;;) {
            const auto end = object.find('\n', start);
            text += "\t" + object.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (end == std::string::npos) break;
            text += "\n";
            start = end + 1;
        }
        if (i + 1 < entries.size()) text += ",";
        text += "\n";
    }
    return text + "]";
}

void OrvoConnectionIdentifierManager::write(const std::string& text) {
    std::lock_guard guard(storeLock());
    const auto path = storePath();
    if (!path) return;
    // A temporary file beside the store, renamed over it: readers see the old or the new content whole.
    std::string temporary = path->string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ::fchmod(fd, 0644);
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path->c_str()) != 0) ::unlink(temporary.c_str());
}

const std::vector<std::uint8_t>& OrvoConnectionIdentifierManager::informationRequestCommands() {
    static const std::vector<std::uint8_t> bytes = {0x1B, 0x1D, 0x29, 0x49, 0x01, 0x00, 0x31};
    return bytes;
}

OrvoConnectionIdentifier OrvoConnectionIdentifierManager::connectionIdentifier(const PrinterInformationRequest& request,
                                                                               int timeoutMilliseconds) {
    const auto dictionary = request(informationRequestCommands(), timeoutMilliseconds);
    auto item = [&](PrinterInformationType type) -> std::string {
        if (!dictionary) return OrvoConnectionIdentifier::UNAVAILABLE();
        const auto it = dictionary->find(type);
        if (it == dictionary->end() || !it->second) return OrvoConnectionIdentifier::UNAVAILABLE();
        return *it->second;
    };
    OrvoConnectionIdentifier record;
    record.macAddress = item(PrinterInformationType::macAddress);
    record.wlanMacAddress = item(PrinterInformationType::wlanMacAddress);
    record.bluetoothAddress = item(PrinterInformationType::bluetoothAddress);
    record.bluetoothLeAddress = item(PrinterInformationType::bluetoothLEAddress);
    record.usbSerialNumber = item(PrinterInformationType::usbSerialNumber);
    return record;
}

}  // namespace Prelix10
