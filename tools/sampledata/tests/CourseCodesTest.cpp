#include "CourseCodes.h"

#include <gtest/gtest.h>

using namespace sampledata;

TEST(CourseCode, QualifyingSubjectCodeIsCutAfterItsEighthCharacter)
{
    EXPECT_EQ(courseCodeOf("SZT104MNB"), "SZT104MN");
    EXPECT_EQ(courseCodeOf("PMG210ANBA"), "PMG210AN");
    EXPECT_EQ(courseCodeOf("SZT104MN"), "SZT104MN");
}

TEST(CourseCode, CodeThatDoesNotQualifyIsUsedWhole)
{
    EXPECT_EQ(courseCodeOf("SZTSZAKDB"), "SZTSZAKDB"); // letters where the digits belong
    EXPECT_EQ(courseCodeOf("SZT1O4MNB"), "SZT1O4MNB");
    EXPECT_EQ(courseCodeOf("SZT104LNB"), "SZT104LNB"); // neither MN nor AN
    EXPECT_EQ(courseCodeOf("SZT104mnB"), "SZT104mnB");
    EXPECT_EQ(courseCodeOf("SZT104M"), "SZT104M");
}

TEST(CourseNumbering, LecturesCountInTensFromZero)
{
    CourseNumbering numbering;
    for (const char *expected : {"00", "10", "20", "30", "40", "50", "60", "70", "80", "90"})
        EXPECT_EQ(numbering.take("SZT104MN", "EA"), expected);
    EXPECT_EQ(numbering.take("SZT104MN", "EA"), std::nullopt);
}

TEST(CourseNumbering, OtherTypesCountInOnesFromOneUpTo99)
{
    CourseNumbering numbering;
    EXPECT_EQ(numbering.take("SZT104MN", "GY"), "01");
    EXPECT_EQ(numbering.take("SZT104MN", "GY"), "02");
    for (int i = 3; i < 99; ++i)
        numbering.take("SZT104MN", "GY");
    EXPECT_EQ(numbering.take("SZT104MN", "GY"), "99");
    EXPECT_EQ(numbering.take("SZT104MN", "GY"), std::nullopt);
}

TEST(CourseNumbering, EachCodeAndTypeHasItsOwnSequence)
{
    CourseNumbering numbering;
    EXPECT_EQ(numbering.take("SZT104MN", "GY"), "01");
    EXPECT_EQ(numbering.take("SZT104MN", "LA"), "01");
    EXPECT_EQ(numbering.take("SZT105MN", "GY"), "01");
    EXPECT_EQ(numbering.take("SZT104MN", "EA"), "00");
}
