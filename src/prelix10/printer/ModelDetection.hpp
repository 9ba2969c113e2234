#pragma once

#include <memory>
#include <string>

#include "prelix10/core/ModelDetectionInformation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

class OrvoNICInformation;

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
