#pragma once

// The log text of bytes written to a device, with the secrets of the requests among them masked. A
// configuration read request (ESC GS ) "#" or ";", a 32-bit count, "1", then the password) shows its
// password bytes as one "***"; everything else is shown as it is.

#include <cstddef>
#include <string>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class WrittenBytesLog {
public:
    // Passwords longer than this are not recognised as one; the printer control refuses any longer one, so
    // every password it sends is masked. 31 characters of many code points each stay well within it.
    static constexpr std::size_t kLongestSecret = 4096;

    // The text of whole[begin, end): at most `shown` bytes as "[1B, 1D, ...]", then the byte count, as in
    // "[1B, 1D, 29, 3B, 04, 00, 00, 00, 31, ***] (12 bytes)". `whole` is the complete write the range is a
    // piece of, so a password is masked also in a piece that holds only its tail. The work is bounded by
    // `shown`, not by the size of the write.
    static std::string describe(ByteView whole, std::size_t begin, std::size_t end, std::size_t shown);
    static std::string describe(ByteView bytes, std::size_t shown) { return describe(bytes, 0, bytes.size(), shown); }
};

}  // namespace Prelix10
