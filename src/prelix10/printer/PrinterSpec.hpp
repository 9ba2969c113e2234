#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "prelix10/core/EAAccessoryType.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

// Which firmware updates a model takes.
class FirmwareUpdateCapability {
public:
    FirmwareUpdateCapability(bool supportUpdate, bool needDetailModel, bool updateWithOrvoConfig)
        : supportUpdate(supportUpdate), needDetailModel(needDetailModel), updateWithOrvoConfig(updateWithOrvoConfig) {}
    const bool supportUpdate;
    const bool needDetailModel;
    const bool updateWithOrvoConfig;
};

// A strict regular expression, tried first over every row, and an optional looser one tried after.
struct ModelNamePattern {
    std::string strict;
    std::optional<std::string> fallback;
};

// Everything the library knows of one model.
struct PrinterSpec {
    OrvoPrinterEmulation emulation = OrvoPrinterEmulation::unknown;
    std::optional<std::string> velmarCommandParserModelName;
    ModelNamePattern firmwareNamePattern;
    std::optional<ModelNamePattern> deviceModelPattern;
    std::optional<ModelNamePattern> exModelNamePattern;
    bool detectModelByExModelName = false;
    std::string minimumRsVersion = "1.0.0";
    std::optional<ModelNamePattern> accessoryModelNumberPattern;
    std::optional<ModelNamePattern> peripheralNamePattern;
    std::vector<EAAccessoryType> supportedAccessoryTypes;
    EAAccessoryType fallbackSupportedAccessoryType = EAAccessoryType::unknown;
    bool isGetStatusViaTcp9100 = false;
    bool bluetoothLeWriteWithoutResponse = false;
    int bluetoothLeConnectDelay = 0;
    bool supportAutoSwitchInterface = false;
    bool supportInputDevice = false;
    bool supportDisplay = false;
    bool supportPortOpen = true;
    bool supportSpoolPrint = false;
    bool supportOrvoConfig = false;
    bool supportGetCommandAvailableInformation = false;
    std::shared_ptr<const FirmwareUpdateCapability> firmwareUpdateCapability;
};

// The process-wide model table. It is read under the model-table lock (PrinterSpecConstants::lock() of the
// core), which is not recursive: the *Locked functions expect the caller to hold it, the others take it.
class PrinterSpecTable {
public:
    using Row = std::pair<OrvoPrinterModel, PrinterSpec>;

    // The rows in table order, built once. Building also installs the compiler model names into the core's
    // table, so call this (or any function below) before taking the lock for the first time.
    static const std::vector<Row>& specTable();
    // The first 24 rows.
    static const std::vector<Row>& baseSpecTable();

    // The first row of the model, copied; none for unknown.
    static std::optional<PrinterSpec> findSpecLocked(OrvoPrinterModel model);
    static std::optional<PrinterSpec> findSpec(OrvoPrinterModel model);
};

}  // namespace Prelix10
