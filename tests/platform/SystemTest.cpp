#include "platform/System.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

TEST(UserName, TheProcessOwnerHasALoginName)
{
    std::string name;
    ASSERT_TRUE(GetUserName(name));
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('\0'), std::string::npos);
}

TEST(RandomNumbers, StayWithinTheRange)
{
    for (int i = 0; i < 1000; ++i) {
        const int value = Random(7);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 7);
    }
}

TEST(RandomNumbers, CoverTheWholeRange)
{
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(Random(10));
    EXPECT_EQ(seen.size(), 10u);
}

TEST(RandomNumbers, DegenerateRangesGiveZero)
{
    EXPECT_EQ(Random(1), 0);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
}

TEST(RandomNumbers, RandomizeStartsANewSequence)
{
    const auto draw = [] {
        std::vector<int> values;
        for (int i = 0; i < 8; ++i)
            values.push_back(Random(1073741825));
        return values;
    };
    Randomize();
    const std::vector<int> first = draw();
    Randomize();
    EXPECT_NE(draw(), first);
}
