#pragma once

#include <string>

#include "prelix10/core/OrvoPrinterStatusDetailInternal.hpp"

namespace Prelix10::CApi {

// The detailed status as one JSON object, every property by name, null where the printer reported none;
// "{}" for no detail.
std::string detailJson(const OrvoPrinterStatusDetail* detail);

}  // namespace Prelix10::CApi
