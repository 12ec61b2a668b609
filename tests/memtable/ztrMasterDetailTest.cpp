// Detail tables that follow the current record of a master.

#include "memtable/ztrMasterDataLink.h"

#include "memtable/ztrTestTables.h"
#include "platform/DataSource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Courses (master) and their occasions (detail): occasion id, course id, week.
class CourseOccasions : public ::testing::Test {
protected:
    CourseOccasions()
    {
        courses.FieldDefs().Add("kurzus_id", ftInteger);
        courses.FieldDefs().Add("het", ftInteger);
        courses.Open();
        addCourse(1, 1);
        addCourse(2, 1);
        addCourse(3, 2);

        occasions.FieldDefs().Add("id", ftInteger);
        occasions.FieldDefs().Add("kurzus_id", ftInteger);
        occasions.FieldDefs().Add("het", ftInteger);
        occasions.Open();
        addOccasion(10, 1, 1);
        addOccasion(11, 2, 1);
        addOccasion(12, 1, 2);
        addOccasion(13, 2, 2);
        addOccasion(14, 1, 1);
        courses.First();
    }

    void addCourse(int id, int week)
    {
        courses.Append();
        courses.FieldByName("kurzus_id")->SetAsInteger(id);
        courses.FieldByName("het")->SetAsInteger(week);
        courses.Post();
    }

    void addOccasion(int id, int course, int week)
    {
        occasions.Append();
        occasions.FieldByName("id")->SetAsInteger(id);
        occasions.FieldByName("kurzus_id")->SetAsInteger(course);
        occasions.FieldByName("het")->SetAsInteger(week);
        occasions.Post();
    }

    void linkOnCourse()
    {
        occasions.SetMasterSource(&source);
        occasions.SetDetailFields("kurzus_id");
        occasions.SetMasterFields("kurzus_id");
    }

    TztrMemTable courses;
    TDataSource source{&courses};
    TztrMemTable occasions;
};

} // namespace

TEST_F(CourseOccasions, DetailShowsTheRecordsOfTheCurrentMasterFromTheFirst)
{
    linkOnCourse();
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 12, 14}));
    EXPECT_FALSE(occasions.Locate("id", 11, {}));
    EXPECT_TRUE(occasions.Locate("id", 12, {}));
    occasions.Last();
    courses.Next();
    EXPECT_EQ(occasions.FieldByName("id")->AsInteger(), 11);
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13}));
    courses.Next();
    EXPECT_TRUE(occasions.IsEmpty());
    EXPECT_EQ(occasions.RecordCount(), 0);
}

TEST_F(CourseOccasions, WithoutDetailFieldsTheCurrentIndexGivesTheKey)
{
    occasions.AddIndex("kurzus", "kurzus_id", {});
    occasions.SetIndexFieldNames("kurzus_id");
    occasions.SetMasterSource(&source);
    occasions.SetMasterFields("kurzus_id");
    courses.Next();
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13}));
}

TEST_F(CourseOccasions, SwitchingTheIndexSwitchesTheKey)
{
    occasions.AddIndex("kurzus", "kurzus_id", {});
    occasions.AddIndex("het", "het", {});
    occasions.SetIndexFieldNames("kurzus_id");
    occasions.SetMasterSource(&source);
    occasions.SetMasterFields("het");
    // Keyed by the course index, the master's week 1 picks the occasions of course 1.
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 12, 14}));
    occasions.SetIndexFieldNames("het");
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 11, 14}));
}

TEST_F(CourseOccasions, TwoDetailFieldsFollowBothMasterFields)
{
    occasions.SetMasterSource(&source);
    occasions.SetDetailFields("kurzus_id;het");
    occasions.SetMasterFields("kurzus_id;het");
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 14}));
}

TEST_F(CourseOccasions, ANewDetailRecordTakesTheMastersValues)
{
    linkOnCourse();
    courses.Next();
    occasions.Append();
    occasions.FieldByName("id")->SetAsInteger(20);
    occasions.Post();
    EXPECT_EQ(occasions.FieldByName("kurzus_id")->AsInteger(), 2);
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13, 20}));
}

TEST_F(CourseOccasions, EditingTheMasterKeyMovesTheDetail)
{
    linkOnCourse();
    occasions.Last();
    courses.Edit();
    EXPECT_EQ(occasions.FieldByName("id")->AsInteger(), 14) << "beginning an edit is no new master record";
    courses.FieldByName("het")->SetAsInteger(5);
    EXPECT_EQ(occasions.FieldByName("id")->AsInteger(), 14) << "a field outside the key changes nothing";
    courses.FieldByName("kurzus_id")->SetAsInteger(2);
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13}));
    courses.Cancel();
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 12, 14}));
}

TEST_F(CourseOccasions, ALoosenedLinkShowsEveryRecord)
{
    const std::vector<std::pair<std::string, std::function<void()>>> loosenings = {
        {"no master fields", [&] { occasions.SetMasterFields(""); }},
        {"no master source", [&] { occasions.SetMasterSource(nullptr); }},
        {"switched off", [&] { occasions.SetMasterDetailEnabled(false); }},
        {"closed master", [&] { courses.Close(); }},
    };
    for (const auto &[name, loosen] : loosenings) {
        linkOnCourse();
        occasions.SetMasterDetailEnabled(true);
        ASSERT_EQ(occasions.RecordCount(), 3) << name;
        loosen();
        EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 11, 12, 13, 14})) << name;
    }
    courses.Open();
    addCourse(2, 1);
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13}));
    EXPECT_THROW(occasions.SetMasterFields("nincs"), EDatabaseError);
}

TEST(MasterDetailLinks, CirclesAreRefused)
{
    TztrMemTable table;
    definePeople(table);
    TDataSource own(&table);
    try {
        table.SetMasterSource(&own);
        FAIL() << "the table was linked to itself";
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "Az önmagukra hivatkozó master/detail relációk nem megengedettek.");
    }
    EXPECT_EQ(table.MasterSource(), nullptr);
    TztrMemTable &first = table;
    TztrMemTable second;
    definePeople(second);
    TDataSource &firstSource = own;
    TDataSource secondSource(&second);
    second.SetMasterSource(&firstSource);
    EXPECT_THROW(first.SetMasterSource(&secondSource), EDatabaseError);
    EXPECT_EQ(first.DataSource(), nullptr);
}
