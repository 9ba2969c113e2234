#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace PrinterCommandBuilder {

// A borrowed view of a byte sequence.
struct CommandStruct {
    const std::uint8_t* data = nullptr;
    std::uint64_t length = 0;
};

// Append-only output of one compilation. Grows in whole chunks so stored bytes never move. The
// first chunk is small and each next one twice the last, up to 1 MiB, so a short-lived buffer of
// a few bytes costs a few KiB and a long one never holds more than twice its data.
class ByteBuffer {
  public:
    static constexpr std::uint64_t kChunkSize = 0x100000;
    static constexpr std::uint64_t kFirstChunkSize = 0x1000;

    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    void add(const void* data, std::size_t length);
    void add(const CommandStruct& command);
    void add(const ByteBuffer* other);
    // Convenience for creators: append a short literal sequence.
    void add(std::initializer_list<std::uint8_t> bytes);
    void add(const std::vector<std::uint8_t>& bytes) { add(bytes.data(), bytes.size()); }

    std::uint64_t getDataSize() const { return dataSize_; }
    // Copies length bytes from content position offset; false (nothing copied) when the range
    // reaches past the data size.
    bool getData(void* destination, std::size_t offset, std::size_t length) const;
    // Copies everything; -1 when the data does not fit the capacity, 0 for no data or no capacity.
    std::int64_t getAll(void* destination, std::size_t capacity) const;

    // The whole content as a vector (tests and small tools).
    std::vector<std::uint8_t> toVector() const;
    // Appends the whole content to out, growing it once to the exact size.
    void appendTo(std::vector<std::uint8_t>& out) const;

    std::size_t chunkCount() const { return chunks_.size(); }
    // Bytes held by the chunks, used or not.
    std::uint64_t capacity() const { return capacity_; }

  private:
    struct Chunk {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::uint64_t start = 0;  // content position of the chunk's first byte
        std::uint64_t size = 0;
    };
    void grow(std::uint64_t needed);

    std::vector<Chunk> chunks_;
    std::size_t writeChunk_ = 0;  // the chunk the next byte goes to
    std::uint64_t dataSize_ = 0;
    std::uint64_t capacity_ = 0;
};

}  // namespace PrinterCommandBuilder
