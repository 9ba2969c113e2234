#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "prelix10/core/GenericCache.hpp"

using namespace Prelix10;

namespace {
using Cache = GenericCache<std::string>;
using Strings = std::vector<std::string>;
}  // namespace

TEST(GenericCache, OverflowDropsTheOldestAndKeepsTheReadPositionOnItsElement) {
    Cache cache(4);
    cache.append({"a", "b", "c"});
    EXPECT_EQ(cache.take(1), Strings{"a"});
    cache.append({"d", "e"});
    EXPECT_EQ(cache.stored(), (Strings{"b", "c", "d", "e"}));
    EXPECT_EQ(cache.cacheIndex(), 0);
    EXPECT_EQ(cache.read(1), Strings{"b"});

    Cache full(4);
    full.append({"a", "b", "c", "d"});
    full.take(3);
    full.append({"e"});
    EXPECT_EQ(full.stored(), (Strings{"b", "c", "d", "e"}));
    EXPECT_EQ(full.cacheIndex(), 2);
    EXPECT_EQ(full.read(5), (Strings{"d", "e"}));
}

TEST(GenericCache, AppendLargerThanCapacityKeepsTheNewest) {
    Cache cache(3);
    cache.append({"x", "y"});
    cache.take(1);
    cache.append({"1", "2", "3", "4", "5"});
    EXPECT_EQ(cache.stored(), (Strings{"3", "4", "5"}));
    EXPECT_EQ(cache.cacheIndex(), 0);

    GenericCache<int> none(0);
    none.append({1, 2});
    EXPECT_EQ(none.storedCount(), 0);
}

TEST(GenericCache, ReadTakeAndClear) {
    Cache cache(10);
    cache.append({"a", "b", "c"});
    EXPECT_EQ(cache.read(10), (Strings{"a", "b", "c"}));
    EXPECT_EQ(cache.cacheIndex(), 0);
    EXPECT_EQ(cache.take(10), (Strings{"a", "b", "c"}));
    EXPECT_EQ(cache.cacheIndex(), 3);
    EXPECT_TRUE(cache.read(1).empty());
    cache.clear();
    EXPECT_EQ(cache.storedCount(), 0);
    EXPECT_EQ(cache.cacheIndex(), 0);
}

TEST(GenericCache, RelativeRangesAndStoredRemoval) {
    Cache cache(10);
    cache.append({"a", "b", "c", "d", "e", "f"});
    cache.take(2);  // read position on c
    EXPECT_EQ(cache.read(1, 2), (Strings{"d", "e"}));
    EXPECT_TRUE(cache.read(2, 1).empty());
    EXPECT_TRUE(cache.replace(0, "C"));
    cache.remove(1, 1);  // drops d
    EXPECT_EQ(cache.stored(), (Strings{"a", "b", "C", "e", "f"}));
    EXPECT_EQ(cache.cacheIndex(), 2);
    cache.removeStored(1, 2);  // the read position was on C, inside the range: it moves to the range start
    EXPECT_EQ(cache.stored(), (Strings{"a", "e", "f"}));
    EXPECT_EQ(cache.cacheIndex(), 1);
    cache.removeStored(0, 0);  // before the read position: it moves back with its element
    EXPECT_EQ(cache.cacheIndex(), 0);
    EXPECT_EQ(cache.read(1), Strings{"e"});
}

TEST(GenericCache, OutOfRangePositionsAreRefused) {
    Cache cache(10);
    cache.append({"a", "b", "c"});
    cache.take(1);
    struct Range {
        int from, to;
    } bad[] = {{-1, 0}, {0, 2}, {2, 5}, {3, 1}, {5, 4}, {1, -3}};
    for (const auto& r : bad) {
        EXPECT_TRUE(cache.read(r.from, r.to).empty()) << r.from << ".." << r.to;
        cache.remove(r.from, r.to);
        cache.removeStored(r.from + 3, r.to + 3);
    }
    cache.removeStored(-1, 0);
    EXPECT_FALSE(cache.replace(2, "z"));
    EXPECT_FALSE(cache.replace(-1, "z"));
    EXPECT_TRUE(cache.read(-2).empty());
    EXPECT_TRUE(cache.take(-2).empty());
    EXPECT_EQ(cache.stored(), (Strings{"a", "b", "c"}));
    EXPECT_EQ(cache.cacheIndex(), 1);
}

TEST(GenericCache, ConcurrentWritersAndReaders) {
    GenericCache<std::uint8_t> cache(65535);
    std::atomic<bool> done{false};
    std::size_t taken = 0;
    std::thread reader([&] {
        while (!done.load() || cache.unreadCount() > 0) {
            taken += cache.take(100).size();
            cache.read(0, 3);
        }
    });
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w) {
        writers.emplace_back([&] {
            const std::vector<std::uint8_t> chunk(10, 0xAB);
            for (int i = 0; i < 500; ++i) cache.append(chunk);
        });
    }
    for (auto& t : writers) t.join();
    done.store(true);
    reader.join();
    EXPECT_EQ(taken, 4u * 500u * 10u);
}
