#include "prelix10/core/Prelix10Error.hpp"

#include <cxxabi.h>

#include <cstdlib>

#include "prelix10/core/Log.hpp"

namespace Prelix10 {

namespace {

struct CodeRow {
    Prelix10ErrorCode code;
    const char* name;
};

const CodeRow kCodeRows[] = {
    {Prelix10ErrorCode::none, "none"},
    {Prelix10ErrorCode::deviceHasError, "deviceHasError"},
    {Prelix10ErrorCode::printerHoldingPaper, "printerHoldingPaper"},
    {Prelix10ErrorCode::printingTimeout, "printingTimeout"},
    {Prelix10ErrorCode::bluetoothUnavailable, "bluetoothUnavailable"},
    {Prelix10ErrorCode::networkUnavailable, "networkUnavailable"},
    {Prelix10ErrorCode::bluetoothLeDeviceIsNotPaired, "bluetoothLeDeviceIsNotPaired"},
    {Prelix10ErrorCode::spoolerIsDisabled, "spoolerIsDisabled"},
    {Prelix10ErrorCode::spoolerBufferIsNotEnough, "spoolerBufferIsNotEnough"},
    {Prelix10ErrorCode::spoolerJobIdNotExists, "spoolerJobIdNotExists"},
    {Prelix10ErrorCode::invalidPassword, "invalidPassword"},
    {Prelix10ErrorCode::needToChangePassword, "needToChangePassword"},
    {Prelix10ErrorCode::jsonFormatError, "jsonFormatError"},
    {Prelix10ErrorCode::orvoConfigurationFormatError, "orvoConfigurationFormatError"},
    {Prelix10ErrorCode::orvoConfigurationParameterError, "orvoConfigurationParameterError"},
    {Prelix10ErrorCode::orvoConfigurationSpecifiedFileError, "orvoConfigurationSpecifiedFileError"},
    {Prelix10ErrorCode::invalidTemplate, "invalidTemplate"},
    {Prelix10ErrorCode::couldNotConnectToServer, "couldNotConnectToServer"},
    {Prelix10ErrorCode::serverUrlError, "serverUrlError"},
    {Prelix10ErrorCode::serverRequestParameterError, "serverRequestParameterError"},
    {Prelix10ErrorCode::serverAuthenticationError, "serverAuthenticationError"},
};

struct MessageRow {
    Prelix10ErrorMessage id;
    const char* name;
    std::string text;
};

const std::vector<MessageRow>& messageRows() {
    static const std::vector<MessageRow> rows = {
        {Prelix10ErrorMessage::unknownError, "unknownError", "Unknown Error."},
        {Prelix10ErrorMessage::loadLibraryFailed, "loadLibraryFailed", "Load library failed."},
        {Prelix10ErrorMessage::notSupportedModel, "notSupportedModel", "Not supported model."},
        {Prelix10ErrorMessage::invalidIdentifier, "invalidIdentifier", "Invalid identifier."},
        {Prelix10ErrorMessage::alreadyStarted, "alreadyStarted", "Already started."},
        {Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification,
         "specifiedArgumentValueIsOutOfSpecification", "Specified argument value is out of specification."},
        {Prelix10ErrorMessage::ios13Unsupported, "ios13Unsupported", "Not available on iOS 13 or later."},
        {Prelix10ErrorMessage::deviceHasError, "deviceHasError", "Device has error."},
        {Prelix10ErrorMessage::printerIsHoldingPaper, "printerIsHoldingPaper", "Printer is holding paper."},
        {Prelix10ErrorMessage::printTimedOut, "printTimedOut", "Print timed out."},
        {Prelix10ErrorMessage::deviceNotFound, "deviceNotFound", "Device not found."},
        {Prelix10ErrorMessage::alreadyOpened, "alreadyOpened", "Already Opened."},
        {Prelix10ErrorMessage::openFailed, "openFailed", "Open failed."},
        {Prelix10ErrorMessage::theDeviceIsInUseByAnotherProcess, "theDeviceIsInUseByAnotherProcess",
         "The device is in use by another process."},
        {Prelix10ErrorMessage::theDeviceIsInUseByAnotherHost, "theDeviceIsInUseByAnotherHost",
         "The device is in use by another host."},
        {Prelix10ErrorMessage::badResponseFromDevice, "badResponseFromDevice", "Bad response from device."},
        {Prelix10ErrorMessage::requestTimedOut, "requestTimedOut", "Request timed out."},
        {Prelix10ErrorMessage::notOpened, "notOpened", "Not opened."},
        {Prelix10ErrorMessage::initializeFailed, "initializeFailed", "Initialize failed."},
        {Prelix10ErrorMessage::writeFailed, "writeFailed", "Write failed."},
        {Prelix10ErrorMessage::methodNotAvailableDuringMonitoringPrinter,
         "methodNotAvailableDuringMonitoringPrinter", "Method not available during monitoring printer."},
        {Prelix10ErrorMessage::bluetoothUnavailable, "bluetoothUnavailable", "Bluetooth unavailable."},
        {Prelix10ErrorMessage::networkUnavailable, "networkUnavailable", "Network unavailable."},
        {Prelix10ErrorMessage::interfaceIsNotSpecified, "interfaceIsNotSpecified", "Interface is not specified."},
        {Prelix10ErrorMessage::notSupportedInterface, "notSupportedInterface", "Not Supported interface."},
        {Prelix10ErrorMessage::bluetoothLeDeviceIsNotPaired, "bluetoothLeDeviceIsNotPaired",
         "Bluetooth LE device is not paired. Please complete the pairing process before trying again."},
        {Prelix10ErrorMessage::spoolerIsDisabled, "spoolerIsDisabled", "Spooler is disabled."},
        {Prelix10ErrorMessage::spoolerBufferIsNotEnough, "spoolerBufferIsNotEnough",
         "Spooler buffer is not enough."},
        {Prelix10ErrorMessage::jobIdNotExist, "jobIdNotExist", "Specified JobID does not exist."},
        {Prelix10ErrorMessage::invalidPassword, "invalidPassword", "Invalid password."},
        {Prelix10ErrorMessage::needToChangePassword, "needToChangePassword", "Need to change password."},
        {Prelix10ErrorMessage::jsonFormatError, "jsonFormatError", "JSON format error."},
        {Prelix10ErrorMessage::orvoConfigFormatError, "orvoConfigFormatError", "Orvo Configuration format error."},
        {Prelix10ErrorMessage::orvoConfigParameterError, "orvoConfigParameterError",
         "Orvo Configuration parameter error."},
        {Prelix10ErrorMessage::orvoConfigSpecifiedFileError, "orvoConfigSpecifiedFileError",
         "Orvo Configuration specified file error."},
        {Prelix10ErrorMessage::templatePrintInvalidJsonFormat, "templatePrintInvalidJsonFormat",
         "Field data is Invalid JSON format."},
        {Prelix10ErrorMessage::templatePrintInvalidNumberFormatSpecifier,
         "templatePrintInvalidNumberFormatSpecifier", "Number format specifier is out of specification."},
        {Prelix10ErrorMessage::templatePrintDifferentArrayReplacingSpecifier,
         "templatePrintDifferentArrayReplacingSpecifier",
         "There are replacing specifiers that indicate different array field data."},
        {Prelix10ErrorMessage::templatePrintNonAsciiReplacingSpecifier, "templatePrintNonAsciiReplacingSpecifier",
         "Replacing specifier contains Non-ASCII character."},
        {Prelix10ErrorMessage::couldNotConnectToServer, "couldNotConnectToServer",
         "Could not connect to the Orvo cloud server."},
        {Prelix10ErrorMessage::serverUrlError, "serverUrlError", "The requested url may be incorrect."},
        {Prelix10ErrorMessage::serverRequestParameterError, "serverRequestParameterError",
         "The requested parameters may be incorrect."},
        {Prelix10ErrorMessage::serverAuthenticationError, "serverAuthenticationError",
         "Server authentication error."},
    };
    return rows;
}

const MessageRow* findMessage(Prelix10ErrorMessage id) {
    for (const auto& row : messageRows()) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

}  // namespace

namespace ErrorCodes {
const std::vector<Prelix10ErrorCode>& allCases() {
    static const std::vector<Prelix10ErrorCode> cases = [] {
        std::vector<Prelix10ErrorCode> v;
        for (const auto& row : kCodeRows) v.push_back(row.code);
        return v;
    }();
    return cases;
}
std::optional<Prelix10ErrorCode> fromRawValue(int raw) {
    for (const auto& row : kCodeRows) {
        if (static_cast<int>(row.code) == raw) return row.code;
    }
    return std::nullopt;
}
std::string description(Prelix10ErrorCode code) {
    for (const auto& row : kCodeRows) {
        if (row.code == code) return row.name;
    }
    return "none";
}
}  // namespace ErrorCodes

namespace ErrorMessages {
const std::vector<Prelix10ErrorMessage>& allCases() {
    static const std::vector<Prelix10ErrorMessage> cases = [] {
        std::vector<Prelix10ErrorMessage> v;
        for (const auto& row : messageRows()) v.push_back(row.id);
        return v;
    }();
    return cases;
}
std::optional<Prelix10ErrorMessage> fromRawValue(int raw) {
    for (const auto& row : messageRows()) {
        if (static_cast<int>(row.id) == raw) return row.id;
    }
    return std::nullopt;
}
const std::string& description(Prelix10ErrorMessage message) {
    const MessageRow* row = findMessage(message);
    return row ? row->text : messageRows().front().text;
}
std::string caseName(Prelix10ErrorMessage message) {
    const MessageRow* row = findMessage(message);
    return row ? row->name : "unknownError";
}
}  // namespace ErrorMessages

namespace ErrorKinds {
std::string caseName(Prelix10ErrorKind kind) {
    switch (kind) {
        case Prelix10ErrorKind::unknown: return "unknown";
        case Prelix10ErrorKind::argument: return "argument";
        case Prelix10ErrorKind::badResponse: return "badResponse";
        case Prelix10ErrorKind::communication: return "communication";
        case Prelix10ErrorKind::illegalDeviceState: return "illegalDeviceState";
        case Prelix10ErrorKind::inUse: return "inUse";
        case Prelix10ErrorKind::invalidOperation: return "invalidOperation";
        case Prelix10ErrorKind::notFound: return "notFound";
        case Prelix10ErrorKind::unprintable: return "unprintable";
        case Prelix10ErrorKind::authentication: return "authentication";
        case Prelix10ErrorKind::unsupportedModel: return "unsupportedModel";
        case Prelix10ErrorKind::unsupportedOSVersion: return "unsupportedOSVersion";
        case Prelix10ErrorKind::serverCommunication: return "serverCommunication";
    }
    return "unknown";
}
int platformCode(Prelix10ErrorKind kind) {
    switch (kind) {
        case Prelix10ErrorKind::unknown: return 0;
        case Prelix10ErrorKind::argument: return 1;
        case Prelix10ErrorKind::badResponse: return 2;
        case Prelix10ErrorKind::communication: return 3;
        case Prelix10ErrorKind::illegalDeviceState: return 4;
        case Prelix10ErrorKind::inUse: return 5;
        case Prelix10ErrorKind::invalidOperation: return 6;
        case Prelix10ErrorKind::notFound: return 7;
        case Prelix10ErrorKind::unprintable: return 8;
        case Prelix10ErrorKind::authentication: return 11;
        case Prelix10ErrorKind::unsupportedModel: return 9;
        case Prelix10ErrorKind::unsupportedOSVersion: return 10;
        case Prelix10ErrorKind::serverCommunication: return 12;
    }
    return 0;
}
Prelix10ErrorKind fromTypeId(int typeId) {
    switch (typeId) {
        case 1: return Prelix10ErrorKind::argument;
        case 2: return Prelix10ErrorKind::badResponse;
        case 3: return Prelix10ErrorKind::communication;
        case 4: return Prelix10ErrorKind::illegalDeviceState;
        case 5: return Prelix10ErrorKind::inUse;
        case 6: return Prelix10ErrorKind::invalidOperation;
        case 7: return Prelix10ErrorKind::notFound;
        case 8: return Prelix10ErrorKind::unprintable;
        case 9: return Prelix10ErrorKind::unsupportedModel;
        case 10: return Prelix10ErrorKind::unsupportedOSVersion;
        case 11: return Prelix10ErrorKind::authentication;
        case 12: return Prelix10ErrorKind::serverCommunication;
        default: return Prelix10ErrorKind::unknown;
    }
}
}  // namespace ErrorKinds

Prelix10Error::Prelix10Error(Prelix10ErrorKind kind, Prelix10ErrorMessage message, Prelix10ErrorCode errorCode,
                             std::shared_ptr<const OrvoPrinterStatus> status)
    : Prelix10Error(kind, ErrorMessages::description(message), errorCode, std::move(status)) {}

Prelix10Error::Prelix10Error(Prelix10ErrorKind kind, std::string message, Prelix10ErrorCode errorCode,
                             std::shared_ptr<const OrvoPrinterStatus> status)
    : kind_(kind),
      message_(std::move(message)),
      errorCode_(errorCode),
      status_(kind == Prelix10ErrorKind::unprintable ? std::move(status) : nullptr) {}

std::string Prelix10Error::description() const {
    return ErrorKinds::caseName(kind_) + "(message: \"" + message_ + "\", errorCode: " +
           ErrorCodes::description(errorCode_) + ")";
}

PlatformErrorRecord Prelix10Error::platformRecord() const {
    PlatformErrorRecord record;
    record.domain = kPrelix10ErrorDomain;
    record.code = platformCode();
    record.message = message_;
    record.userInfo[kErrorDetailErrorCodeKey] = static_cast<int>(errorCode_);
    if (kind_ == Prelix10ErrorKind::unprintable && status_) record.userInfo[kErrorStatusKey] = status_;
    return record;
}

bool Prelix10Error::operator==(const Prelix10Error& other) const {
    return kind_ == other.kind_ && message_ == other.message_ && errorCode_ == other.errorCode_ &&
           status_ == other.status_;
}

std::optional<std::map<int, std::optional<PlatformErrorRecord>>> Prelix10ErrorDetail::autoSwitchInterfaceOpenErrors()
    const {
    if (!internalAutoSwitchInterfaceOpenErrors) return std::nullopt;
    std::map<int, std::optional<PlatformErrorRecord>> out;
    for (const auto& [type, error] : *internalAutoSwitchInterfaceOpenErrors) {
        out[type] = error ? std::optional<PlatformErrorRecord>(error->platformRecord()) : std::nullopt;
    }
    return out;
}

Prelix10Error Prelix10ErrorThrower::makeError(int errorTypeId, int errorCode, int errorMessageId) {
    auto message = ErrorMessages::fromRawValue(errorMessageId).value_or(Prelix10ErrorMessage::unknownError);
    auto code = ErrorCodes::fromRawValue(errorCode).value_or(Prelix10ErrorCode::none);
    return Prelix10Error(ErrorKinds::fromTypeId(errorTypeId), message, code);
}

void Prelix10ErrorThrower::throwError(int errorTypeId, int errorCode, int errorMessageId) {
    static const Prelix10ErrorThrower thrower;
    Prelix10Error error = makeError(errorTypeId, errorCode, errorMessageId);
    Log log(&thrower, "Prelix10ErrorThrower", "throwError(errorTypeId:errorCode:errorMessageId:)", __LINE__);
    raiseError(log, std::move(error));
}

std::string unqualifiedTypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : type.name();
    // Drop template arguments, then any namespace qualification.
    if (auto angle = name.find('<'); angle != std::string::npos) name.erase(angle);
    if (auto colon = name.rfind("::"); colon != std::string::npos) name.erase(0, colon + 2);
    return name;
}

std::string makeUnexpectedStateMessage(std::string_view typeName, int line) {
    return "Unexpected state at line " + std::to_string(line) + " of " + std::string(typeName) + ".";
}

}  // namespace Prelix10
