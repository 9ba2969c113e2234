#include "prelix10/core/LibraryVersion.hpp"

namespace Prelix10 {

std::string libraryVersion() { return PRELIX10_VERSION; }

}  // namespace Prelix10
