// The firmware list reply of the cloud service over arbitrary bytes: decoding never crashes, and what
// decodes writes out and decodes again to the same list. The query encoding runs over the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/FirmwareInfo.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto decoded = JsonFirmwareInfoList::decode(text)) {
        const auto again = JsonFirmwareInfoList::decode(decoded->encode());
        if (!again || again->firmwareInfo.size() != decoded->firmwareInfo.size()) std::abort();
    }
    const std::string url = CloudFirmwareFunction::makeURL("/p", {{"model", std::string(text)}});
    for (std::size_t i = 3; i < url.size(); ++i) {
        const char c = url[i];
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '%' || c == '=' || c == '?';
        if (!plain) std::abort();
    }
    return 0;
}
