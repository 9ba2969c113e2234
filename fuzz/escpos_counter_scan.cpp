// The ESC/POS LAN port's search for end-of-job counter replies in what the print connection received,
// fed in pieces: the first byte of each piece gives its length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/transport/EscPosLANPrinterPort.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GenericCache<std::uint8_t> cache(EscPosLANPrinterPort::kCacheCapacity);
    const Log log(nullptr, "EscPosLANPrinterPort", "getStatusWithCheckETBCounter(timeout:)", 0);
    std::size_t position = 0;
    while (position < size) {
        const std::size_t length = std::min<std::size_t>(data[position], size - position - 1);
        ++position;
        cache.append(std::span<const std::uint8_t>(data + position, length));
        position += length;
        try {
            for (;;) {
                const auto counter = EscPosLANPrinterPort::takeETBCounter(cache, log);
                if (!counter) break;
                if (*counter < 0 || *counter > 255) std::abort();
            }
        } catch (...) {
            std::abort();
        }
        if (cache.unreadCount() > EscPosLANPrinterPort::kLongestPartialReply) std::abort();
    }
    return 0;
}
