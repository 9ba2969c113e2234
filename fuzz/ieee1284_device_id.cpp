// The IEEE 1284 device-ID parser over arbitrary bytes: no crash, bounded texts without control bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "prelix10/platform/Ieee1284DeviceId.hpp"

using namespace Prelix10;

namespace {
void check(const std::string& value) {
    if (value.size() > Ieee1284DeviceId::kMaxValueLength) std::abort();
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Ieee1284DeviceId id = Ieee1284DeviceId::parse(std::span<const std::uint8_t>(data, size));
    if (!id.wellFormed && !(id.manufacturer.empty() && id.model.empty() && id.serialNumber.empty())) std::abort();
    // The same bytes as the attribute text the driver shows, in a buffer of the driver's size or of the input's.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Ieee1284DeviceId shown = Ieee1284DeviceId::parseAttribute(text, 1024);
    const Ieee1284DeviceId small = Ieee1284DeviceId::parseAttribute(text, size);
    for (const Ieee1284DeviceId* parsed : {&id, &shown, &small}) {
        for (const auto* value : {&parsed->manufacturer, &parsed->model, &parsed->serialNumber, &parsed->description,
                                  &parsed->commandSet}) {
            check(*value);
        }
    }
    return 0;
}
