#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace VelmarCommandParser {

// The memory of one compile's document tree. While an arena is in use on a thread (see Use), the
// document's small blocks come from its chunks and are given back all at once when the arena goes:
// the tree is neither freed node by node nor walked to be destroyed. Blocks of kLargeBlock bytes
// or more (a long text, an image's characters) come from the heap and are freed as soon as they are
// let go of, so reading a big value costs no more than its own size. Without an arena in use, every
// block comes from the heap.
//
// A value that lives in an arena must not outlive it: only the compile that made the arena holds
// such values.
class DocumentArena {
  public:
    static constexpr std::size_t kLargeBlock = 4096;
    static constexpr std::size_t kAlignment = alignof(std::max_align_t);

    // expectedBytes (the document text's length) scales the first chunk.
    explicit DocumentArena(std::size_t expectedBytes);
    ~DocumentArena();
    DocumentArena(const DocumentArena&) = delete;
    DocumentArena& operator=(const DocumentArena&) = delete;

    // Makes the arena the one in use on this thread for the Use's lifetime (uses nest).
    class Use {
      public:
        explicit Use(DocumentArena& arena);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

      private:
        DocumentArena& arena_;
    };

    // Takes a block of bytes from the arena in use, or from the heap.
    static void* allocate(std::size_t bytes);
    // Gives back a block taken by allocate with the same size.
    static void deallocate(void* block, std::size_t bytes) noexcept;

    // Bytes held by the chunks and the large blocks not yet let go of.
    std::size_t heldBytes() const { return held_; }

  private:
    struct Large;
    void* take(std::size_t bytes);
    bool owns(const void* block) const;
    void giveBack(void* block, std::size_t bytes);

    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    std::vector<std::pair<const std::byte*, const std::byte*>> ranges_;
    std::byte* next_ = nullptr;
    std::byte* end_ = nullptr;
    std::size_t nextChunkSize_;
    Large* large_ = nullptr;
    std::size_t held_ = 0;
    DocumentArena* outer_ = nullptr;
};

// The allocator of the document tree: stateless, it draws on the arena in use.
template <typename T>
class DocumentAllocator {
  public:
    using value_type = T;
    DocumentAllocator() noexcept = default;
    template <typename U>
    DocumentAllocator(const DocumentAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(DocumentArena::allocate(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept { DocumentArena::deallocate(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const DocumentAllocator<U>&) const noexcept {
        return true;
    }
};

using DocumentString = std::basic_string<char, std::char_traits<char>, DocumentAllocator<char>>;

// A command document as read: nlohmann-json's own value, with its sorted keys and its reading of
// duplicate keys, whose memory comes from the arena in use.
using DocumentTree = nlohmann::basic_json<std::map, std::vector, DocumentString, bool, std::int64_t, std::uint64_t,
                                      double, DocumentAllocator>;

// The text of a string value, as a view into the document.
inline std::string_view textOf(const DocumentTree& value) {
    return std::string_view(value.get_ref<const DocumentString&>());
}

}  // namespace VelmarCommandParser
