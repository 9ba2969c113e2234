// The compile's document memory: what is made while an arena is in use lives in it and goes with it;
// large blocks are freed as soon as they are let go of; everything made without an arena is the heap's,
// wherever it is let go of. Run under AddressSanitizer, a block freed the wrong way or kept past its
// arena shows here.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "prelix10/compiler/DocumentArena.hpp"

using namespace VelmarCommandParser;

namespace {

const std::string kDocument =
    R"({"title":"VelmarCommand","contents":[{"method":"Action.Print.Text","parameter":{"content":"a text longer than the short-string room"}},1,2.5,true,null],"k":"v","k":"w"})";

}  // namespace

TEST(DocumentArena, ATreeReadInAnArenaIsTheSameValueAndGoesWithTheArena) {
    const auto onHeap = DocumentTree::parse(kDocument);
    DocumentArena arena(kDocument.size());
    {
        DocumentArena::Use use(arena);
        // Never destroyed: its memory goes with the arena.
        const auto* tree = new (DocumentArena::allocate(sizeof(DocumentTree))) DocumentTree(DocumentTree::parse(kDocument));
        EXPECT_EQ(tree->dump(), onHeap.dump());
        EXPECT_EQ(textOf(tree->at("k")), "w");  // the later of two equal keys, as nlohmann-json reads them
        EXPECT_GT(arena.heldBytes(), 0u);
    }
    EXPECT_EQ(std::string_view(onHeap.dump()), nlohmann::json::parse(kDocument).dump());
}

TEST(DocumentArena, LargeBlocksAreFreedWhenLetGoOfAndTheRestWithTheArena) {
    DocumentArena arena(0);
    DocumentArena::Use use(arena);
    const std::size_t before = arena.heldBytes();
    {
        DocumentString big(1 << 20, 'x');
        EXPECT_GE(arena.heldBytes(), before + (1u << 20));
    }
    EXPECT_EQ(arena.heldBytes(), before);
    // Kept to the end: the arena frees it (the leak check sees it otherwise).
    new (DocumentArena::allocate(sizeof(DocumentString))) DocumentString(100000, 'y');
    void* const small = DocumentArena::allocate(24);
    DocumentArena::deallocate(small, 24);
    EXPECT_EQ(DocumentArena::allocate(24), small);  // the newest block is taken back and reused
}

TEST(DocumentArena, HeapValuesMayBeLetGoOfInsideAnArenaAndArenasNest) {
    auto heapTree = std::make_unique<DocumentTree>(DocumentTree::parse(kDocument));
    DocumentArena outer(64);
    DocumentArena::Use useOuter(outer);
    std::optional<DocumentString> outerText(std::in_place, 40, 'o');
    {
        DocumentArena inner(64);
        DocumentArena::Use useInner(inner);
        heapTree.reset();    // made on the heap: goes back to the heap
        outerText.reset();   // the outer arena's block, let go of while the inner one is in use
        const DocumentString innerText(40, 'i');
        EXPECT_EQ(std::string_view(innerText), std::string(40, 'i'));
    }
    const DocumentString afterwards(40, 'a');
    EXPECT_EQ(std::string_view(afterwards), std::string(40, 'a'));
}
