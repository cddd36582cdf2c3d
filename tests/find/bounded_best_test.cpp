#include "find/bounded_best.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::find {
namespace {

// Whatever the order they come in, the best `capacity` are kept, best first, and no more
// are ever held.
TEST(BoundedBest, KeepsTheBestFewOfAnyStreamAndHoldsNoMore) {
    const struct {
        const char* name;
        std::vector<int> offered;
        std::size_t capacity;
    } cases[] = {
        {"nothing offered", {}, 3},
        {"no room", {5, 1, 4}, 0},
        {"fewer than the room", {5, 1}, 3},
        {"rising", {1, 2, 3, 4, 5, 6, 7, 8}, 3},
        {"falling", {8, 7, 6, 5, 4, 3, 2, 1}, 3},
        {"ties", {4, 4, 2, 4, 2, 9, 2}, 4},
        {"one kept", {3, 9, 1, 7}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BoundedBest<int, std::greater<int>> best(c.capacity, std::greater<int>());
        for (int value : c.offered) {
            best.offer(value);
            EXPECT_LE(best.size(), c.capacity);
        }
        std::vector<int> expected = c.offered;
        std::sort(expected.begin(), expected.end(), std::greater<int>());
        expected.resize(std::min(expected.size(), c.capacity));
        EXPECT_EQ(best.takeBestFirst(), expected);
        EXPECT_EQ(best.size(), 0u);
    }
}

// A displaced item comes back in the offered one, so that its buffers are used again.
TEST(BoundedBest, HandsBackWhatAnOfferDisplaces) {
    using Best = BoundedBest<std::string, std::less<std::string>>;
    Best best(2, std::less<std::string>());
    std::string item = "m";
    EXPECT_EQ(best.offer(item), Best::Offer::Added);
    item = "t";
    EXPECT_EQ(best.offer(item), Best::Offer::Added);
    item = "z";
    EXPECT_EQ(best.offer(item), Best::Offer::Refused);
    EXPECT_EQ(item, "z");
    item = "a";
    EXPECT_EQ(best.offer(item), Best::Offer::Replaced);
    EXPECT_EQ(item, "t");
    EXPECT_EQ(best.takeBestFirst(), (std::vector<std::string>{"a", "m"}));
}

} // namespace
} // namespace orvane::find
