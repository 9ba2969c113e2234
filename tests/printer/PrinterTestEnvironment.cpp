#include "support/PrivateDirectoryEnvironment.hpp"

namespace {
const bool kInstalled = Prelix10::Testing::installPrivateDirectoryEnvironment("printer");
}  // namespace
