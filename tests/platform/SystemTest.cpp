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

TEST(RandomNumbers, CoverTheWholeRangeAndNothingElseAndRandomizeStartsANewSequence)
{
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(Random(10));
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (int range : {1, 0, -5})
        EXPECT_EQ(Random(range), 0) << range;
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
