// Detail tables that follow the current record of a master.

#include "memtable/ztrMasterDataLink.h"

#include "memtable/ztrTestTables.h"
#include "platform/DataSource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
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
        for (const auto &[id, week] : {std::pair{1, 1}, {2, 1}, {3, 2}})
            courses.AppendRecord({id, week});

        occasions.FieldDefs().Add("id", ftInteger);
        occasions.FieldDefs().Add("kurzus_id", ftInteger);
        occasions.FieldDefs().Add("het", ftInteger);
        occasions.Open();
        for (const auto &[id, course, week] : {std::tuple{10, 1, 1}, {11, 2, 1}, {12, 1, 2}, {13, 2, 2}, {14, 1, 1}})
            occasions.AppendRecord({id, course, week});
        courses.First();
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
    // A new detail record takes the master's values.
    courses.Prior();
    occasions.Append();
    occasions.FieldByName("id")->SetAsInteger(20);
    occasions.Post();
    EXPECT_EQ(occasions.FieldByName("kurzus_id")->AsInteger(), 2);
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13, 20}));
}

TEST_F(CourseOccasions, WithoutDetailFieldsTheCurrentIndexGivesTheKey)
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
    courses.Last();
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{12, 13}));
    // Two detail fields follow both master fields.
    courses.First();
    occasions.SetDetailFields("kurzus_id;het");
    occasions.SetMasterFields("kurzus_id;het");
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 14}));
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
    courses.AppendRecord({2, 1});
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{11, 13}));
    EXPECT_THROW(occasions.SetMasterFields("nincs"), EDatabaseError);
}

TEST(MasterDetailLinks, CirclesAreRefused)
{
    TztrMemTable table;
    definePeople(table);
    TDataSource own(&table);
    EXPECT_EQ(messageOf([&] { table.SetMasterSource(&own); }),
              "Az önmagukra hivatkozó master/detail relációk nem megengedettek.");
    EXPECT_EQ(table.MasterSource(), nullptr);
    TztrMemTable second;
    definePeople(second);
    TDataSource secondSource(&second);
    second.SetMasterSource(&own);
    EXPECT_THROW(table.SetMasterSource(&secondSource), EDatabaseError);
    EXPECT_EQ(table.MasterSource(), nullptr);
}

TEST_F(CourseOccasions, TwoMasterFieldsOverAOneFieldIndexFollowOnlyTheFirst)
{
    occasions.AddIndex("kurzus", "kurzus_id", {});
    occasions.SetIndexFieldNames("kurzus_id");
    occasions.SetMasterSource(&source);
    occasions.SetMasterFields("kurzus_id;het");
    // Course 1 is in week 1, yet its week-2 occasion 12 is shown as well.
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{10, 12, 14}));
}

TEST_F(CourseOccasions, OnNewRecordSeesTheMastersValuesAlready)
{
    linkOnCourse();
    courses.Last();
    int seen = 0;
    occasions.OnNewRecord = [&seen](TDataSet &dataSet) { seen = dataSet.FieldByName("kurzus_id")->AsInteger(); };
    occasions.Append();
    EXPECT_EQ(seen, 3);
    occasions.Cancel();
}

TEST_F(CourseOccasions, ADetailOpenedAfterTheLinkFollowsAtOnce)
{
    occasions.Close();
    linkOnCourse();
    courses.Next();
    occasions.Open();
    occasions.AppendRecord({30, 2, 1});
    occasions.AppendRecord({31, 1, 1});
    EXPECT_EQ(idsInOrder(occasions), (std::vector<int>{30}));
}
