// A filter or master/detail key of the form `field = value` reaches its records through an index on
// that field; the table must show exactly what testing every record would show.

#include "memtable/ztrTestTables.h"
#include "platform/DataSource.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

// How the occasions are narrowed to one course.
enum class Narrowing { FilterText, MasterDetail };

// Occasions (id, course, room) in a table with indexes on the course, the room and both; a second
// view of the same records changes them behind the narrowed table's back.
class NarrowedOccasions : public ::testing::TestWithParam<Narrowing>
{
protected:
    NarrowedOccasions()
    {
        occasions.FieldDefs().Add("id", ftInteger);
        occasions.FieldDefs().Add("kurzus_id", ftInteger);
        occasions.FieldDefs().Add("terem_id", ftInteger);
        occasions.IndexDefs().Add("kurzusterem", "kurzus_id;terem_id", {});
        occasions.IndexDefs().Add("kurzus", "kurzus_id", {});
        occasions.IndexDefs().Add("terem", "terem_id", {});
        occasions.IndexDefs().Add("teremdesc", "terem_id", {ixDescending});
        other.SetAttachedTo(&occasions);
        occasions.Open();
        other.Open();
        for (int i = 0; i < 600; ++i)
            insertThroughOther();

        courses.FieldDefs().Add("kurzus_id", ftInteger);
        courses.Open();
        for (int course = 0; course <= MaxCourse; ++course)
            courses.AppendRecord({course});
        source.SetDataSet(&courses);
    }

    static constexpr int MaxCourse = 40;

    // Course 0 has a large share of the occasions, the others a few each; some have none.
    std::optional<int> randomCourse()
    {
        const unsigned roll = rng() % 8;
        if (roll == 0)
            return std::nullopt;
        return roll <= 3 ? 0 : 1 + static_cast<int>(rng() % MaxCourse);
    }

    void insertThroughOther()
    {
        const std::optional<int> course = randomCourse();
        other.AppendRecord({nextId++, course ? Variant(*course) : Variant::Null(), static_cast<int>(rng() % 7)});
    }

    // Goes to a random record of the other view; false when it has none.
    bool pickThroughOther() { return goToRandomRecord(other, rng); }

    void narrowTo(int course)
    {
        key = course;
        if (GetParam() == Narrowing::MasterDetail) {
            ASSERT_TRUE(courses.Locate("kurzus_id", course, {}));
            return;
        }
        occasions.SetFiltered(false);
        occasions.SetFilter("kurzus_id=" + std::to_string(course));
        occasions.SetFiltered(true);
    }

    void start()
    {
        if (GetParam() == Narrowing::MasterDetail) {
            occasions.SetMasterSource(&source);
            occasions.SetDetailFields("kurzus_id");
            occasions.SetMasterFields("kurzus_id");
        }
        narrowTo(2);
    }

    // Switches the narrowing off and back on, so that a plain walk can be read in between.
    void enable(bool on)
    {
        if (GetParam() == Narrowing::FilterText)
            return occasions.SetFiltered(on);
        occasions.SetMasterDetailEnabled(on);
        if (on)
            occasions.First();
    }

    std::vector<int> shownForwards()
    {
        std::vector<int> ids;
        for (occasions.First(); !occasions.Eof(); occasions.Next())
            ids.push_back(occasions.FieldByName("id")->AsInteger());
        return ids;
    }

    std::vector<int> shownBackwards()
    {
        std::vector<int> ids;
        for (occasions.Last(); !occasions.Bof(); occasions.Prior())
            ids.push_back(occasions.FieldByName("id")->AsInteger());
        std::reverse(ids.begin(), ids.end());
        return ids;
    }

    // What a test of every record in the current order lets through.
    std::vector<int> expected()
    {
        enable(false);
        std::vector<int> ids;
        for (occasions.First(); !occasions.Eof(); occasions.Next()) {
            const TField *course = occasions.FieldByName("kurzus_id");
            if (!course->IsNull() && course->AsInteger() == key)
                ids.push_back(occasions.FieldByName("id")->AsInteger());
        }
        enable(true);
        return ids;
    }

    // One change to the records, the key or the order, chosen at random.
    void randomStep()
    {
        switch (rng() % 9) {
        case 0:
            insertThroughOther();
            break;
        case 1:
            if (pickThroughOther()) {
                other.Edit();
                const std::optional<int> course = randomCourse();
                other.FieldByName("kurzus_id")->SetAsVariant(course ? Variant(*course) : Variant::Null());
                other.Post();
            }
            break;
        case 2:
            if (pickThroughOther()) {
                other.Edit();
                other.FieldByName("terem_id")->SetAsInteger(static_cast<int>(rng() % 7));
                other.Post();
            }
            break;
        case 3:
            if (pickThroughOther())
                other.Delete();
            break;
        case 4:
            narrowTo(rng() % 3 == 0 ? 0 : static_cast<int>(rng() % (MaxCourse + 1)));
            break;
        case 5:
            occasions.SetIndexName(orders[rng() % orders.size()]);
            break;
        case 6:
            occasions.AppendRecord({nextId++, key, static_cast<int>(rng() % 7)});
            break;
        case 7:
            if (!occasions.IsEmpty()) {
                occasions.Edit();
                occasions.FieldByName("terem_id")->SetAsInteger(static_cast<int>(rng() % 7));
                occasions.Post();
            }
            break;
        default:
            if (!occasions.IsEmpty())
                occasions.Delete();
            break;
        }
    }

    const std::vector<std::string> orders = {"", "kurzus", "terem", "teremdesc", "kurzusterem"};
    TztrMemTable occasions;
    TztrMemTable other;
    TztrMemTable courses;
    TDataSource source;
    std::minstd_rand rng{20261206};
    int nextId = 1;
    int key = 0;
};

} // namespace

TEST_P(NarrowedOccasions, ShowTheRecordsAScanWouldInTheSameOrderThroughEveryChange)
{
    start();
    for (int step = 0; step < 400; ++step) {
        randomStep();
        // Read before the expectation switches the narrowing off and on, so that what the table
        // kept from before the step is what is checked.
        const std::vector<int> forwards = shownForwards();
        const std::vector<int> backwards = shownBackwards();
        const int count = occasions.RecordCount();
        const std::vector<int> wanted = expected();
        ASSERT_EQ(forwards, wanted) << "step " << step << ", order " << occasions.IndexName();
        ASSERT_EQ(backwards, wanted) << "step " << step;
        ASSERT_EQ(count, static_cast<int>(wanted.size())) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(EachNarrowing, NarrowedOccasions,
                         ::testing::Values(Narrowing::FilterText, Narrowing::MasterDetail));

namespace {

// Codes in a table whose only index on the code compares exactly, followed by a master code.
std::vector<std::string> detailCodesFor(const std::string &detailFields)
{
    TztrMemTable master;
    master.FieldDefs().Add("kod", ftString, 10);
    master.Open();
    master.AppendRecord({"ab"});
    TDataSource source;
    source.SetDataSet(&master);

    TztrMemTable details;
    details.FieldDefs().Add("kod", ftString, 10);
    details.IndexDefs().Add("kod", "kod", {});
    details.Open();
    for (int i = 0; i < 30; ++i)
        for (const char *code : {"AB", "ab", "abc", "b"})
            details.AppendRecord({code});
    details.SetMasterSource(&source);
    details.SetDetailFields(detailFields);
    details.SetMasterFields("kod");
    std::vector<std::string> codes;
    for (details.First(); !details.Eof(); details.Next()) {
        const std::string code = details.FieldByName("kod")->AsString();
        if (std::find(codes.begin(), codes.end(), code) == codes.end())
            codes.push_back(code);
    }
    return codes;
}

} // namespace

TEST(NarrowedByIndex, AKeyComparedOtherwiseThanTheIndexIsNotLookedUpInIt)
{
    EXPECT_EQ(detailCodesFor("kod"), (std::vector<std::string>{"ab"}));
    EXPECT_EQ(detailCodesFor("kod:C"), (std::vector<std::string>{"AB", "ab"}));
    EXPECT_EQ(detailCodesFor("kod:P"), (std::vector<std::string>{"ab", "abc"}));
}

TEST(NarrowedByIndex, AnIndexHoldingFewerRecordsThanTheCurrentOrderIsNotLookedUp)
{
    TztrMemTable table;
    definePeople(table);
    table.Open();
    for (int id = 0; id < 40; ++id)
        appendPerson(table, id, "", id % 4);
    // Holds the records as appended only: an edited one leaves it.
    table.AddIndex2("uj", "pont", {}, {usInserted});
    ASSERT_TRUE(table.Locate("id", 5, {}));
    editText(table, "nev", "Edited");
    table.SetFilter("pont=1");
    table.SetFiltered(true);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 5, 9, 13, 17, 21, 25, 29, 33, 37}));
    // Only an equality is looked up in an index that holds every record.
    table.AddIndex("pontok", "pont", {});
    table.SetFilter("pont<>1");
    EXPECT_EQ(idsInOrder(table).size(), 30u);
}
