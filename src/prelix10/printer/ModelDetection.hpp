#pragma once

#include <memory>
#include <string>

#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

class OrvoNICInformation;

// What model detection found. Only the detection functions make one.
class ModelDetectionInformation {
public:
    OrvoPrinterModel model() const { return model_; }
    bool isEstimated() const { return isEstimated_; }
    bool isFallback() const { return isFallback_; }
    std::string description() const;

    // A record with the given values (for printers whose model is known in advance).
    static std::shared_ptr<ModelDetectionInformation> make(OrvoPrinterModel model, bool isEstimated, bool isFallback);

private:
    friend class ModelDetection;
    OrvoPrinterModel model_ = OrvoPrinterModel::unknown;
    bool isEstimated_ = false;
    bool isFallback_ = false;
};

// Finds a model by matching a name the printer reports against the patterns of every row of the model
// table: every strict pattern first, then every fallback; the first row in table order wins within a pass.
// Patterns are ICU regular expressions searched case-sensitively; an empty pattern, or one that does not
// compile, never matches. Each function takes the model-table lock: never call it while holding the lock.
class ModelDetection {
public:
    static std::shared_ptr<ModelDetectionInformation> detectModelFromFirmwareName(const std::string& firmwareName);
    static std::shared_ptr<ModelDetectionInformation> detectModelFromDeviceModel(const OrvoNICInformation& record);
    static std::shared_ptr<ModelDetectionInformation> detectModelFromExModelName(const OrvoNICInformation& record);
    static std::shared_ptr<ModelDetectionInformation> detectModelFromAccessoryModelNumber(const std::string& number);
    static std::shared_ptr<ModelDetectionInformation> detectModelFromPeripheralName(const std::string& name);

    // Has the Bluetooth LE ports tell a device's model from its advertised model name by the table. Once.
    static void installBluetoothLEModelDetector();

    // Whether the ICU pattern finds a match anywhere in text; false for an empty or malformed pattern.
    static bool searchPattern(const std::string& pattern, const std::string& text);
};

}  // namespace Prelix10
