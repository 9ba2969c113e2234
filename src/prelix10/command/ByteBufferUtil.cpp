#include "prelix10/command/ByteBufferUtil.hpp"

#include <algorithm>
#include <cstring>

namespace PrinterCommandBuilder {

void ByteBufferUtil::fill(ByteBuffer* buffer, char value, std::size_t count) {
    if (buffer == nullptr) return;
    // Appended in blocks; the content is the same as appending one byte at a time.
    char block[1024];
    std::memset(block, value, sizeof block);
    while (count > 0) {
        const std::size_t piece = std::min(count, sizeof block);
        buffer->add(block, piece);
        count -= piece;
    }
}

}  // namespace PrinterCommandBuilder
