#include "prelix10/compiler/DocumentArena.hpp"

#include <algorithm>

namespace VelmarCommandParser {

namespace {

thread_local DocumentArena* inUse = nullptr;

// Chunks start small and double up to a cap, so that a document of few values (one long text, say)
// holds little more than it uses, and a large one wastes at most part of its last chunk.
constexpr std::size_t kFirstChunkMin = 4096;
constexpr std::size_t kChunkMax = 64 * 1024;

std::size_t rounded(std::size_t bytes) {
    return (std::max<std::size_t>(bytes, 1) + DocumentArena::kAlignment - 1) & ~(DocumentArena::kAlignment - 1);
}

}  // namespace

// The header in front of a large block; its size keeps the block aligned.
struct alignas(DocumentArena::kAlignment) DocumentArena::Large {
    Large* previous;
    Large* next;
    DocumentArena* owner;
    std::size_t bytes;
};

DocumentArena::DocumentArena(std::size_t expectedBytes)
    : nextChunkSize_(std::clamp(rounded(expectedBytes / 16), kFirstChunkMin, kChunkMax)) {}

DocumentArena::~DocumentArena() {
    for (Large* block = large_; block != nullptr;) {
        Large* const next = block->next;
        ::operator delete(block);
        block = next;
    }
}

DocumentArena::Use::Use(DocumentArena& arena) : arena_(arena) {
    arena_.outer_ = inUse;
    inUse = &arena_;
}

DocumentArena::Use::~Use() {
    inUse = arena_.outer_;
    arena_.outer_ = nullptr;
}

void* DocumentArena::allocate(std::size_t bytes) {
    if (bytes >= kLargeBlock) {
        if (bytes > std::numeric_limits<std::size_t>::max() - sizeof(Large)) throw std::bad_alloc();
        auto* block = static_cast<Large*>(::operator new(sizeof(Large) + bytes));
        block->previous = nullptr;
        block->owner = inUse;
        block->bytes = bytes;
        block->next = nullptr;
        if (DocumentArena* owner = inUse) {
            block->next = owner->large_;
            if (owner->large_ != nullptr) owner->large_->previous = block;
            owner->large_ = block;
            owner->held_ += bytes;
        }
        return block + 1;
    }
    if (inUse != nullptr) return inUse->take(bytes);
    return ::operator new(bytes);
}

void DocumentArena::deallocate(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) return;
    if (bytes >= kLargeBlock) {
        Large* const large = static_cast<Large*>(block) - 1;
        if (DocumentArena* owner = large->owner) {
            if (large->previous != nullptr) large->previous->next = large->next;
            else owner->large_ = large->next;
            if (large->next != nullptr) large->next->previous = large->previous;
            owner->held_ -= large->bytes;
        }
        ::operator delete(large);
        return;
    }
    for (DocumentArena* arena = inUse; arena != nullptr; arena = arena->outer_) {
        if (arena->owns(block)) {
            arena->giveBack(block, bytes);
            return;
        }
    }
    ::operator delete(block);
}

void* DocumentArena::take(std::size_t bytes) {
    const std::size_t size = rounded(bytes);
    if (static_cast<std::size_t>(end_ - next_) < size) {
        const std::size_t chunkSize = std::max(nextChunkSize_, size);
        chunks_.emplace_back(new std::byte[chunkSize]);
        next_ = chunks_.back().get();
        end_ = next_ + chunkSize;
        ranges_.emplace_back(next_, end_);
        held_ += chunkSize;
        nextChunkSize_ = std::min(nextChunkSize_ * 2, kChunkMax);
    }
    void* const block = next_;
    next_ += size;
    return block;
}

bool DocumentArena::owns(const void* block) const {
    const auto* const byte = static_cast<const std::byte*>(block);
    for (auto range = ranges_.rbegin(); range != ranges_.rend(); ++range)
        if (byte >= range->first && byte < range->second) return true;
    return false;
}

void DocumentArena::giveBack(void* block, std::size_t bytes) {
    // Only the newest block can be taken back; the others stay until the arena goes.
    auto* const byte = static_cast<std::byte*>(block);
    if (byte + rounded(bytes) == next_) next_ = byte;
}

}  // namespace VelmarCommandParser
