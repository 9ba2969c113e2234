#pragma once

#include <string>

namespace Prelix10 {

// The version of the library as built ("0.1.0"), the same text the log header shows.
std::string libraryVersion();

}  // namespace Prelix10
