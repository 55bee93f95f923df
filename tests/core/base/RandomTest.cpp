#include <gtest/gtest.h>

#include <vector>

#include "core/base/Random.h"

namespace tovarin {
namespace {

std::vector<int> Draw(int count, int range) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(Random(range));
    }
    return values;
}

TEST(Random, ASeedGivesARepeatableSequence) {
    RandSeed(42);
    const std::vector<int> first = Draw(50, 100);
    RandSeed(42);
    EXPECT_EQ(Draw(50, 100), first);
    RandSeed(43);
    EXPECT_NE(Draw(50, 100), first);
}

TEST(Random, ValuesStayInRange) {
    RandSeed(7);
    std::vector<int> seen(10, 0);
    for (const int value : Draw(2000, 10)) {
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 10);
        ++seen[static_cast<size_t>(value)];
    }
    for (const int count : seen) {
        EXPECT_GT(count, 0) << "every value turns up";
    }
    EXPECT_EQ(Random(1), 0);
    EXPECT_EQ(Random(0), 0) << "an empty range gives 0";
}

}  // namespace
}  // namespace tovarin
