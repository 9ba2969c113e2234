#include "prelix10/core/ModelDetectionInformation.hpp"

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

}  // namespace Prelix10
