// The header lines of a cloud service reply over arbitrary bytes, one line per "\n": noting their framing
// never crashes, a status line forgets what came before it, and a declared length is only ever what a
// line of digits said.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "prelix10/platform/HttpsTransport.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    HttpsResponse response;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start + 1);
        const bool hadLength = response.declaredLength.has_value();
        const auto before = response.declaredLength;
        noteFramingHeader(line, response);
        if (line.size() >= 5 && (line[0] == 'h' || line[0] == 'H') && (line[4] == '/') &&
            (line.substr(1, 3) == "ttp" || line.substr(1, 3) == "TTP") && response.framed())
            std::abort();
        // Only a Content-Length line may change the length.
        const bool lengthLine = line.size() >= 15 && (line[0] == 'c' || line[0] == 'C');
        if (!lengthLine && hadLength && response.declaredLength != before && response.declaredLength)
            std::abort();
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return 0;
}
