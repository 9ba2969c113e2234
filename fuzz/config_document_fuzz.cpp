// The configuration document over arbitrary bytes: decoding never crashes, and what decodes writes out
// and decodes again to the same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "prelix10/setting/OrvoConfig.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto decoded = OrvoConfig::Root::decode(text)) {
        const auto again = OrvoConfig::Root::decode(decoded->encode());
        if (!again || !(*again == *decoded)) std::abort();
        if (!OrvoConfig::Root::decode(decoded->description())) std::abort();
    }
    return 0;
}
