#include "DataFolder.h"

#include <gmock/gmock.h>

using testing::ElementsAre;

// The regeneration shows its progress a step per course, and the timetable save writes its links.
TEST_F(DataFolder, RegeneratedLinksShowTheirProgressPerCourseAndAreSavedWithTheTimetable)
{
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);
    dm.KurzusalkalomGeneralas();
    EXPECT_THAT(progress.events, ElementsAre("start 0 Generálás", "finish"));

    // The second course is linked to the first and shares its two occasions; the third has one.
    std::vector<int> courses;
    for (int i = 0; i < 3; ++i) {
        append(dm.MT_kurzus, {{"targy_id", 111}, {"kurzus_id_csatolt", i == 1 ? courses[0] : -1}});
        courses.push_back(dm.MT_kurzus.FieldByName("kurzus_id")->AsInteger());
    }
    for (int course : {courses[0], courses[0], courses[2]})
        append(dm.MT_alkalom, {{"kurzus_id", course}, {"kezd_ido", TDateTime(2.3)}});
    progress.events.clear();
    dm.KurzusalkalomGeneralas();
    EXPECT_THAT(progress.events, ElementsAre("start 3 Generálás", "step", "step", "step", "finish"));
    EXPECT_EQ(dm.MT_kurzusalkalom.RecordCount(), 5);

    dm.Mentes();
    TDM again(environment());
    EXPECT_TRUE(again.MT_kurzusalkalom.IsEmpty()) << "made again, never read";
    TztrMemTable saved;
    saved.LoadFromFileViaFormat(folder.path() / "KK_kurzusalkalom.csv", &dm.CSV);
    EXPECT_EQ(rows(saved, {"kurzus_id"}), rows(dm.MT_kurzusalkalom, {"kurzus_id"}));
}
