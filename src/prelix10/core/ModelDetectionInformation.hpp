#pragma once

#include <memory>
#include <string>

#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

// What model detection found. Only the detection functions make one, and the reply parsers that detect a
// model through a detector they are given.
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

}  // namespace Prelix10
