#pragma once

#include "prelix10/core/Export.hpp"
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <variant>
#include <vector>

namespace Prelix10 {

class OrvoPrinterStatus;

// Numeric detail code carried by every error.
enum class Prelix10ErrorCode : int {
    none = 0,
    deviceHasError = 1000,
    printerHoldingPaper = 1001,
    printingTimeout = 1002,
    bluetoothUnavailable = 2000,
    networkUnavailable = 2001,
    bluetoothLeDeviceIsNotPaired = 2003,
    spoolerIsDisabled = 3000,
    spoolerBufferIsNotEnough = 3001,
    spoolerJobIdNotExists = 3002,
    invalidPassword = 4000,
    needToChangePassword = 4001,
    jsonFormatError = 5000,
    orvoConfigurationFormatError = 6000,
    orvoConfigurationParameterError = 6001,
    orvoConfigurationSpecifiedFileError = 6002,
    invalidTemplate = 7000,
    couldNotConnectToServer = 8000,
    serverUrlError = 8001,
    serverRequestParameterError = 8002,
    serverAuthenticationError = 8003,
};

namespace ErrorCodes PRELIX10_EXPORT {
const std::vector<Prelix10ErrorCode>& allCases();
std::optional<Prelix10ErrorCode> fromRawValue(int raw);
std::string description(Prelix10ErrorCode code);
}  // namespace ErrorCodes

// Message ids; the description of each is the text the application sees.
enum class Prelix10ErrorMessage : int {
    unknownError = 0,
    loadLibraryFailed = 1,
    notSupportedModel = 2,
    invalidIdentifier = 3,
    alreadyStarted = 4,
    specifiedArgumentValueIsOutOfSpecification = 5,
    ios13Unsupported = 6,
    deviceHasError = 1000,
    printerIsHoldingPaper = 1001,
    printTimedOut = 1002,
    deviceNotFound = 1003,
    alreadyOpened = 1005,
    openFailed = 1006,
    theDeviceIsInUseByAnotherProcess = 1007,
    theDeviceIsInUseByAnotherHost = 1008,
    badResponseFromDevice = 1009,
    requestTimedOut = 1010,
    notOpened = 1011,
    initializeFailed = 1012,
    writeFailed = 1013,
    methodNotAvailableDuringMonitoringPrinter = 1017,
    bluetoothUnavailable = 2000,
    networkUnavailable = 2001,
    interfaceIsNotSpecified = 2003,
    notSupportedInterface = 2004,
    bluetoothLeDeviceIsNotPaired = 2005,
    spoolerIsDisabled = 3000,
    spoolerBufferIsNotEnough = 3001,
    jobIdNotExist = 3002,
    invalidPassword = 4000,
    needToChangePassword = 4001,
    jsonFormatError = 5000,
    orvoConfigFormatError = 6000,
    orvoConfigParameterError = 6001,
    orvoConfigSpecifiedFileError = 6002,
    templatePrintInvalidJsonFormat = 7000,
    templatePrintInvalidNumberFormatSpecifier = 7001,
    templatePrintDifferentArrayReplacingSpecifier = 7002,
    templatePrintNonAsciiReplacingSpecifier = 7003,
    couldNotConnectToServer = 8000,
    serverUrlError = 8001,
    serverRequestParameterError = 8002,
    serverAuthenticationError = 8003,
};

namespace ErrorMessages PRELIX10_EXPORT {
const std::vector<Prelix10ErrorMessage>& allCases();
std::optional<Prelix10ErrorMessage> fromRawValue(int raw);
// The message text, e.g. "Not opened.".
const std::string& description(Prelix10ErrorMessage message);
std::string caseName(Prelix10ErrorMessage message);
}  // namespace ErrorMessages

// The 13 kinds, in declaration order.
enum class Prelix10ErrorKind {
    unknown,
    argument,
    badResponse,
    communication,
    illegalDeviceState,
    inUse,
    invalidOperation,
    notFound,
    unprintable,
    authentication,
    unsupportedModel,
    unsupportedOSVersion,
    serverCommunication,
};

namespace ErrorKinds PRELIX10_EXPORT {
std::string caseName(Prelix10ErrorKind kind);
// The code the platform error face reports for a kind (authentication is 11 though declared tenth).
int platformCode(Prelix10ErrorKind kind);
// The compiler's error type id: 1..12 as the platform codes, anything else unknown.
Prelix10ErrorKind fromTypeId(int typeId);
}  // namespace ErrorKinds

inline constexpr const char* kPrelix10ErrorDomain = "Prelix10.PRELIX10Error";
inline constexpr const char* kErrorDetailErrorCodeKey = "PRELIX10ErrorDetailErrorCodeKey";
inline constexpr const char* kErrorStatusKey = "PRELIX10ErrorStatusKey";

// The platform face of an error: domain, code and user info, in a form a C caller can copy.
struct PRELIX10_EXPORT PlatformErrorRecord {
    std::string domain;
    int code = 0;
    std::string message;
    // user info: "PRELIX10ErrorDetailErrorCodeKey" -> detail code, and for an unprintable error with a
    // status, "PRELIX10ErrorStatusKey" -> that status.
    std::map<std::string, std::variant<int, std::shared_ptr<const OrvoPrinterStatus>>> userInfo;
};

// Every failure the library reports.
class PRELIX10_EXPORT Prelix10Error : public std::exception {
public:
    Prelix10Error(Prelix10ErrorKind kind, Prelix10ErrorMessage message,
                  Prelix10ErrorCode errorCode = Prelix10ErrorCode::none,
                  std::shared_ptr<const OrvoPrinterStatus> status = nullptr);
    Prelix10Error(Prelix10ErrorKind kind, std::string message,
                  Prelix10ErrorCode errorCode = Prelix10ErrorCode::none,
                  std::shared_ptr<const OrvoPrinterStatus> status = nullptr);

    Prelix10ErrorKind kind() const noexcept { return kind_; }
    const std::string& message() const noexcept { return message_; }
    Prelix10ErrorCode errorCode() const noexcept { return errorCode_; }
    // Present only for unprintable errors that captured the printer status.
    const std::shared_ptr<const OrvoPrinterStatus>& status() const noexcept { return status_; }

    // kind(message: "...", errorCode: code)
    std::string description() const;
    const std::string& errorDescription() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

    std::string errorDomain() const { return kPrelix10ErrorDomain; }
    int platformCode() const { return ErrorKinds::platformCode(kind_); }
    PlatformErrorRecord platformRecord() const;

    bool operator==(const Prelix10Error& other) const;

private:
    Prelix10ErrorKind kind_;
    std::string message_;
    Prelix10ErrorCode errorCode_;
    std::shared_ptr<const OrvoPrinterStatus> status_;
};

enum class InterfaceType : int;

// Per-operation detail: the errors of each interface tried by an auto-switch open.
class PRELIX10_EXPORT Prelix10ErrorDetail {
public:
    std::optional<std::map<int, std::optional<Prelix10Error>>> internalAutoSwitchInterfaceOpenErrors;

    // Keyed by the interface type's integer value; nullopt when nothing was recorded.
    std::optional<std::map<int, std::optional<PlatformErrorRecord>>> autoSwitchInterfaceOpenErrors() const;
};

// Turns the compiler's error triple into an error.
class PRELIX10_EXPORT Prelix10ErrorThrower {
public:
    static Prelix10Error makeError(int errorTypeId, int errorCode, int errorMessageId);
    [[noreturn]] static void throwError(int errorTypeId, int errorCode, int errorMessageId);
};

// The unqualified name of a type, e.g. "OrvoPrinter" for Prelix10::OrvoPrinter.
std::string unqualifiedTypeName(const std::type_info& type);

template <typename T>
std::string typeNameOf(const T& object) {
    return unqualifiedTypeName(typeid(object));
}

// "Unexpected state at line N of Type."
std::string makeUnexpectedStateMessage(std::string_view typeName, int line);
template <typename T>
    requires(!std::is_convertible_v<const T&, std::string_view>)
std::string makeUnexpectedStateMessage(const T& sender, int line) {
    return makeUnexpectedStateMessage(typeNameOf(sender), line);
}

}  // namespace Prelix10
