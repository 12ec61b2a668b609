#include "data/datam.h"
#include "datamTestFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace datamtest;
using ::testing::ElementsAre;

namespace {

std::string course(int id, int linkedTo)
{
    return std::to_string(id) + "\t111\tMAB123MN-EA-" + std::to_string(id) + "\t\t\t\t\t\t\t-1\t" +
           std::to_string(linkedTo);
}

std::string occasion(int id, int courseId)
{
    return std::to_string(id) + "\t" + std::to_string(courseId) +
           "\t1\t02/01/1900 07:45:00\t02/01/1900 09:15:00\t0\t111111111111111";
}

using Links = std::set<std::pair<int, int>>;

Links links(TDM &dm)
{
    Links pairs;
    for (dm.MT_kurzusalkalom.First(); !dm.MT_kurzusalkalom.Eof(); dm.MT_kurzusalkalom.Next())
        pairs.emplace(dm.MT_kurzusalkalom.FieldByName("kurzus_id")->AsInteger(),
                      dm.MT_kurzusalkalom.FieldByName("alkalom_id")->AsInteger());
    return pairs;
}

// Courses 222 and 225 have occasions; 223 is linked to 222, 226 to 224, which has none.
class CourseOccasionLinks : public DataFolder {
protected:
    CourseOccasionLinks()
    {
        write("KK_kurzus.csv", dataFile(KurzusColumns, {course(222, -1), course(223, 222), course(224, -1),
                                                        course(225, -1), course(226, 224)}));
        write("KK_alkalom.csv",
              dataFile(AlkalomColumns, {occasion(333, 222), occasion(334, 222), occasion(335, 225)}));
    }

    const Links expected{{222, 333}, {222, 334}, {223, 333}, {223, 334}, {225, 335}};
};

} // namespace

TEST_F(CourseOccasionLinks, LinkedCoursesShareTheOccasionsAndRegeneratingFollowsEdits)
{
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", Variant(224), {}));

    dm.KurzusalkalomGeneralas();
    EXPECT_EQ(links(dm), expected);
    EXPECT_THAT(progress.events, ElementsAre("start 5 Generálás", "step", "step", "step", "step", "step", "finish"));
    EXPECT_EQ(dm.MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 224);

    dm.KurzusalkalomGeneralas();
    EXPECT_EQ(dm.MT_kurzusalkalom.RecordCount(), 5) << "a second run adds nothing";

    ASSERT_TRUE(dm.MT_alkalom.Locate("alkalom_id", Variant(334), {}));
    dm.MT_alkalom.Delete();
    dm.MT_alkalom.Append();
    dm.MT_alkalom.FieldByName("kurzus_id")->SetAsInteger(224);
    dm.MT_alkalom.Post();
    const int added = dm.MT_alkalom.FieldByName("alkalom_id")->AsInteger();
    dm.KurzusalkalomGeneralas();
    const Links regenerated{{222, 333}, {223, 333}, {225, 335}, {224, added}, {226, added}};
    EXPECT_EQ(links(dm), regenerated);

    dm.Mentes();
    TztrMemTable saved;
    saved.LoadFromFileViaFormat(folder.path() / "KK_kurzusalkalom.csv", &dm.CSV);
    EXPECT_EQ(saved.RecordCount(), 5);
}

TEST_F(CourseOccasionLinks, EveryCourseCountsWhateverFilterTheWindowLeft)
{
    TDM dm(environment());
    dm.MT_kurzus.SetFilter("kurzus_id=225");
    dm.MT_kurzus.SetFiltered(true);
    dm.MT_kurzusalkalom.SetFilter("kurzus_id=0");
    dm.MT_kurzusalkalom.SetFiltered(true);

    dm.KurzusalkalomGeneralas();

    dm.MT_kurzusalkalom.SetFiltered(false);
    EXPECT_EQ(links(dm), expected);
    // The window's course list is as it left it.
    EXPECT_TRUE(dm.MT_kurzus.Filtered());
    EXPECT_EQ(dm.MT_kurzus.RecordCount(), 1);
}

using CourseOccasionLinksWithoutCourses = DataFolder;

TEST_F(CourseOccasionLinksWithoutCourses, ProgressRunsEmpty)
{
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);

    dm.KurzusalkalomGeneralas();

    EXPECT_THAT(progress.events, ElementsAre("start 0 Generálás", "finish"));
    EXPECT_EQ(dm.MT_kurzusalkalom.RecordCount(), 0);
}
