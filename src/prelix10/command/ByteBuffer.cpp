#include "prelix10/command/ByteBuffer.hpp"

#include <algorithm>
#include <cstring>

namespace PrinterCommandBuilder {

void ByteBuffer::add(const void* data, std::size_t length) {
    if (length == 0 || data == nullptr) return;
    if (freeSpace_ < length) {
        const std::uint64_t needed = (length + chunkSize_ - 1) / chunkSize_;
        for (std::uint64_t i = 0; i < needed; ++i) {
            chunks_.push_back(std::make_unique<std::uint8_t[]>(chunkSize_));
            freeSpace_ += chunkSize_;
        }
    }
    const auto* source = static_cast<const std::uint8_t*>(data);
    std::uint64_t left = length;
    while (left > 0) {
        const std::uint64_t index = dataSize_ / chunkSize_;
        const std::uint64_t offset = dataSize_ % chunkSize_;
        const std::uint64_t piece = std::min(left, chunkSize_ - offset);
        if (index >= chunks_.size()) break;
        std::memcpy(chunks_[index].get() + offset, source, piece);
        source += piece;
        left -= piece;
        dataSize_ += piece;
        freeSpace_ -= piece;
    }
}

void ByteBuffer::add(const CommandStruct& command) {
    add(command.data, command.length);
}

void ByteBuffer::add(std::initializer_list<std::uint8_t> bytes) {
    add(bytes.begin(), bytes.size());
}

void ByteBuffer::add(const ByteBuffer* other) {
    if (other == nullptr) return;
    std::uint8_t block[1024];
    const std::uint64_t total = other->getDataSize();
    std::uint64_t position = 0;
    while (position < total) {
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof block, total - position));
        other->getData(block, position, piece);
        add(block, piece);
        position += piece;
    }
}

bool ByteBuffer::getData(void* destination, std::size_t offset, std::size_t length) const {
    if (length == 0) return true;
    if (offset > dataSize_ || length > dataSize_ - offset) return false;
    auto* out = static_cast<std::uint8_t*>(destination);
    std::uint64_t index = offset / chunkSize_;
    std::uint64_t chunkOffset = offset % chunkSize_;
    std::uint64_t left = length;
    while (left > 0 && index < chunks_.size()) {
        const std::uint64_t piece = std::min(left, chunkSize_ - chunkOffset);
        std::memcpy(out, chunks_[index].get() + chunkOffset, piece);
        out += piece;
        left -= piece;
        ++index;
        chunkOffset = 0;
    }
    return true;
}

std::int64_t ByteBuffer::getAll(void* destination, std::size_t capacity) const {
    if (dataSize_ > capacity) return -1;
    if (capacity == 0 || dataSize_ == 0) return 0;
    getData(destination, 0, static_cast<std::size_t>(dataSize_));
    return static_cast<std::int64_t>(dataSize_);
}

std::vector<std::uint8_t> ByteBuffer::toVector() const {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(dataSize_));
    if (!out.empty()) getData(out.data(), 0, out.size());
    return out;
}

}  // namespace PrinterCommandBuilder
