#include "prelix10/command/ByteBuffer.hpp"

#include <algorithm>
#include <cstring>

namespace PrinterCommandBuilder {

void ByteBuffer::grow(std::uint64_t needed) {
    while (capacity_ - dataSize_ < needed) {
        const std::uint64_t size =
            chunks_.empty() ? kFirstChunkSize : std::min(chunks_.back().size * 2, kChunkSize);
        // Every byte of a chunk is written before it is read, so it is not cleared.
        chunks_.push_back(Chunk{std::make_unique_for_overwrite<std::uint8_t[]>(size), capacity_, size});
        capacity_ += size;
    }
}

void ByteBuffer::add(const void* data, std::size_t length) {
    if (length == 0 || data == nullptr) return;
    grow(length);
    const auto* source = static_cast<const std::uint8_t*>(data);
    std::uint64_t left = length;
    while (left > 0 && writeChunk_ < chunks_.size()) {
        Chunk& chunk = chunks_[writeChunk_];
        const std::uint64_t offset = dataSize_ - chunk.start;
        const std::uint64_t piece = std::min(left, chunk.size - offset);
        std::memcpy(chunk.bytes.get() + offset, source, piece);
        source += piece;
        left -= piece;
        dataSize_ += piece;
        if (offset + piece == chunk.size) ++writeChunk_;
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
    const std::uint64_t total = other->dataSize_;
    if (total == 0) return;
    // Room first: stored bytes never move, so the source stays valid even when it is this buffer.
    grow(total);
    for (std::size_t i = 0; i < other->chunks_.size(); ++i) {
        const Chunk& chunk = other->chunks_[i];
        if (chunk.start >= total) break;
        const std::uint8_t* bytes = chunk.bytes.get();
        add(bytes, static_cast<std::size_t>(std::min(chunk.size, total - chunk.start)));
    }
}

bool ByteBuffer::getData(void* destination, std::size_t offset, std::size_t length) const {
    if (length == 0) return true;
    if (offset > dataSize_ || length > dataSize_ - offset) return false;
    auto* out = static_cast<std::uint8_t*>(destination);
    // The chunk holding offset: the last one that starts at or before it.
    auto found =
        std::upper_bound(chunks_.begin(), chunks_.end(), static_cast<std::uint64_t>(offset),
                         [](std::uint64_t position, const Chunk& chunk) { return position < chunk.start; });
    std::size_t index = static_cast<std::size_t>(found - chunks_.begin()) - 1;
    std::uint64_t chunkOffset = offset - chunks_[index].start;
    std::uint64_t left = length;
    while (left > 0 && index < chunks_.size()) {
        const Chunk& chunk = chunks_[index];
        const std::uint64_t piece = std::min(left, chunk.size - chunkOffset);
        std::memcpy(out, chunk.bytes.get() + chunkOffset, piece);
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
    std::vector<std::uint8_t> out;
    appendTo(out);
    return out;
}

void ByteBuffer::appendTo(std::vector<std::uint8_t>& out) const {
    if (dataSize_ == 0) return;
    // Inserting chunk by chunk writes every byte once, without clearing the room first.
    out.reserve(out.size() + static_cast<std::size_t>(dataSize_));
    for (const Chunk& chunk : chunks_) {
        if (chunk.start >= dataSize_) break;
        const std::uint8_t* bytes = chunk.bytes.get();
        out.insert(out.end(), bytes, bytes + std::min(chunk.size, dataSize_ - chunk.start));
    }
}

}  // namespace PrinterCommandBuilder
