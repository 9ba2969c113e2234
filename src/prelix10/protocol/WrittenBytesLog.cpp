#include "prelix10/protocol/WrittenBytesLog.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Prelix10 {

namespace {

constexpr std::size_t kHeader = 9;  // ESC GS ) area count(4) "1"

struct Range {
    std::size_t begin;
    std::size_t end;
};

// The password of a configuration read request that starts at i, or nothing.
bool secretAt(ByteView whole, std::size_t i, Range& out) {
    if (whole.size() - i < kHeader) return false;
    if (whole[i] != 0x1B || whole[i + 1] != 0x1D || whole[i + 2] != 0x29) return false;
    if (whole[i + 3] != 0x23 && whole[i + 3] != 0x3B) return false;
    if (whole[i + 8] != 0x31) return false;
    std::uint64_t count = 0;
    for (int k = 3; k >= 0; --k) count = (count << 8) | whole[i + 4 + static_cast<std::size_t>(k)];
    if (count < 2 || count - 1 > WrittenBytesLog::kLongestSecret) return false;
    out.begin = i + kHeader;
    out.end = std::min<std::size_t>(whole.size(), out.begin + static_cast<std::size_t>(count - 1));
    return true;
}

void appendByte(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

}  // namespace

std::string WrittenBytesLog::describe(ByteView whole, std::size_t begin, std::size_t end, std::size_t shown) {
    end = std::min(end, whole.size());
    begin = std::min(begin, end);
    const std::size_t length = end - begin;
    const std::size_t viewEnd = begin + std::min(length, shown);

    // Only requests that start close enough before the view can reach into it.
    std::vector<Range> secrets;
    const std::size_t reach = kHeader + kLongestSecret;
    for (std::size_t i = begin > reach ? begin - reach : 0; i < viewEnd; ++i) {
        Range range{};
        if (secretAt(whole, i, range) && range.end > begin) secrets.push_back(range);
    }

    std::string out;
    out.reserve((viewEnd - begin) * 4 + 24);
    out += '[';
    std::size_t next = 0;  // the first secret that may still cover a byte at or after i
    bool first = true;
    for (std::size_t i = begin; i < viewEnd;) {
        while (next < secrets.size() && secrets[next].end <= i) ++next;
        if (!first) out += ", ";
        first = false;
        bool masked = false;
        for (std::size_t s = next; s < secrets.size() && secrets[s].begin <= i; ++s) {
            if (secrets[s].end > i) {
                masked = true;
                i = std::min(secrets[s].end, viewEnd);
                break;
            }
        }
        if (masked) {
            out += "***";
            continue;
        }
        appendByte(out, whole[i]);
        ++i;
    }
    if (viewEnd < end) out += first ? "..." : ", ...";
    out += "] (" + std::to_string(length) + (length == 1 ? " byte)" : " bytes)");
    return out;
}

}  // namespace Prelix10
