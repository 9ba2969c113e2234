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

// Append-only output of one compilation. Grows in whole chunks so stored bytes never move.
class ByteBuffer {
  public:
    static constexpr std::uint64_t kChunkSize = 0x100000;

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

    std::size_t chunkCount() const { return chunks_.size(); }

  private:
    std::uint64_t chunkSize_ = kChunkSize;
    std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
    std::uint64_t dataSize_ = 0;
    std::uint64_t freeSpace_ = 0;
};

}  // namespace PrinterCommandBuilder
