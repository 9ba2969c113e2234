// The masked log text of arbitrary written bytes, for arbitrary pieces: it stays in bounds and never shows
// more bytes than asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/WrittenBytesLog.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const ByteView whole(data + 3, size - 3);
    const std::size_t begin = data[0] % (whole.size() + 1);
    const std::size_t end = begin + data[1] % (whole.size() - begin + 1);
    const std::size_t shown = data[2];
    const auto text = WrittenBytesLog::describe(whole, begin, end, shown);
    if (text.size() > shown * 5 + 40) std::abort();
    return 0;
}
