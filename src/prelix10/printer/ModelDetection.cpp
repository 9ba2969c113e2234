#include "prelix10/printer/ModelDetection.hpp"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <functional>
#include <mutex>

#include "prelix10/core/PrinterSpecConstants.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/protocol/DiscoveryParser.hpp"
#include "prelix10/transport/BluetoothLEPortSettings.hpp"

namespace Prelix10 {

std::string ModelDetectionInformation::description() const {
    return "model : " + PrinterModels::description(model_) + ", isEstimated : " + (isEstimated_ ? "true" : "false") +
           ", isFallback : " + (isFallback_ ? "true" : "false");
}

std::shared_ptr<ModelDetectionInformation> ModelDetectionInformation::make(OrvoPrinterModel model, bool isEstimated,
                                                                           bool isFallback) {
    auto info = std::make_shared<ModelDetectionInformation>();
    info->model_ = model;
    info->isEstimated_ = isEstimated;
    info->isFallback_ = isFallback;
    return info;
}

bool ModelDetection::searchPattern(const std::string& pattern, const std::string& text) {
    if (pattern.empty()) return false;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), 0, status));
    if (U_FAILURE(status) || !compiled) return false;
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(input, status));
    if (U_FAILURE(status) || !matcher) return false;
    const bool found = matcher->find(status);
    return U_SUCCESS(status) && found;
}

namespace {

using PatternOf = std::function<std::optional<ModelNamePattern>(const PrinterSpec&)>;

std::shared_ptr<ModelDetectionInformation> detect(const std::optional<std::string>& text, const PatternOf& patternOf) {
    const auto& table = PrinterSpecTable::specTable();
    std::lock_guard guard(PrinterSpecConstants::lock());
    auto result = ModelDetectionInformation::make(OrvoPrinterModel::unknown, false, false);
    if (!text) return result;
    for (const auto& [model, spec] : table) {
        const auto pair = patternOf(spec);
        if (!pair) continue;
        if (ModelDetection::searchPattern(pair->strict, *text)) {
            return ModelDetectionInformation::make(model, false, false);
        }
    }
    for (const auto& [model, spec] : table) {
        const auto pair = patternOf(spec);
        if (!pair || !pair->fallback) continue;
        if (ModelDetection::searchPattern(*pair->fallback, *text)) {
            return ModelDetectionInformation::make(model, false, true);
        }
    }
    return result;
}

}  // namespace

std::shared_ptr<ModelDetectionInformation> ModelDetection::detectModelFromFirmwareName(const std::string& firmwareName) {
    return detect(firmwareName, [](const PrinterSpec& s) { return std::optional(s.firmwareNamePattern); });
}

std::shared_ptr<ModelDetectionInformation> ModelDetection::detectModelFromDeviceModel(const OrvoNICInformation& record) {
    return detect(record.deviceModel, [](const PrinterSpec& s) { return s.deviceModelPattern; });
}

std::shared_ptr<ModelDetectionInformation> ModelDetection::detectModelFromExModelName(const OrvoNICInformation& record) {
    return detect(record.nameDetail, [](const PrinterSpec& s) { return s.exModelNamePattern; });
}

std::shared_ptr<ModelDetectionInformation> ModelDetection::detectModelFromAccessoryModelNumber(
    const std::string& number) {
    return detect(number, [](const PrinterSpec& s) { return s.accessoryModelNumberPattern; });
}

std::shared_ptr<ModelDetectionInformation> ModelDetection::detectModelFromPeripheralName(const std::string& name) {
    return detect(name, [](const PrinterSpec& s) { return s.peripheralNamePattern; });
}

void ModelDetection::installBluetoothLEModelDetector() {
    static std::once_flag once;
    std::call_once(once, [] {
        BluetoothLEPortSettings::setModelDetector(
            [](const std::string& modelName) { return detectModelFromPeripheralName(modelName)->model(); });
    });
}

}  // namespace Prelix10
