#pragma once

#include "prelix10/core/Export.hpp"
#include <string>

namespace Prelix10 {

// The version of the library as built ("0.1.0"), the same text the log header shows.
PRELIX10_EXPORT std::string libraryVersion();

}  // namespace Prelix10
