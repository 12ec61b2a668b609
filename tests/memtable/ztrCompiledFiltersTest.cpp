// A table keeps the filter texts it compiled, and what each found in its indexes. A text set again
// must show what testing every record shows, however the records, the order or the fields changed.

#include "memtable/ztrTestTables.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr LCID Hungarian = 0x040E;
constexpr LCID English = 0x0409;

// A filter text and the test a plain walk applies for it (course and room, null as none).
struct FilterCase
{
    std::string Text;
    std::function<bool(std::optional<int> course, int room)> Passes;
};

const std::vector<FilterCase> &filterCases()
{
    static const std::vector<FilterCase> cases = {
        {"kurzus=2", [](std::optional<int> c, int) { return c == 2; }},
        {"kurzus=-3", [](std::optional<int> c, int) { return c == -3; }},
        {"kurzus=70000", [](std::optional<int>, int) { return false; }},
        {"(kurzus=2) and (terem<>1)", [](std::optional<int> c, int r) { return c == 2 && r != 1; }},
        {"terem=4 and kurzus=-3", [](std::optional<int> c, int r) { return c == -3 && r == 4; }},
        {"terem=3", [](std::optional<int>, int r) { return r == 3; }},
    };
    return cases;
}

// Occasions with a small course number (negative ones and null among them) in several orders;
// a second view of the same records changes them behind the filtered table's back.
class FilterTextsSetAgain : public ::testing::Test
{
protected:
    FilterTextsSetAgain()
    {
        occasions.FieldDefs().Add("id", ftInteger);
        occasions.FieldDefs().Add("kurzus", ftSmallint);
        occasions.FieldDefs().Add("terem", ftInteger);
        occasions.IndexDefs().Add("kurzus", "kurzus", {});
        occasions.IndexDefs().Add("kurzusdesc", "kurzus", {ixDescending});
        occasions.IndexDefs().Add("teremkurzus", "terem;kurzus", {});
        other.SetAttachedTo(&occasions);
        occasions.Open();
        other.Open();
        for (int i = 0; i < 300; ++i)
            insertThroughOther();
    }

    Variant randomCourse()
    {
        return rng() % 10 == 0 ? Variant::Null() : Variant(static_cast<int>(rng() % 9) - 4);
    }

    void insertThroughOther() { other.AppendRecord({nextId++, randomCourse(), static_cast<int>(rng() % 6)}); }

    // Edits one field of a random record through the other view.
    void editThroughOther(const char *field, const Variant &value)
    {
        if (!goToRandomRecord(other, rng))
            return;
        other.Edit();
        other.FieldByName(field)->SetAsVariant(value);
        other.Post();
    }

    void setText(std::size_t which)
    {
        current = which;
        occasions.SetFiltered(false);
        occasions.SetFilter(filterCases()[which].Text);
        occasions.SetFiltered(true);
    }

    std::vector<int> shown()
    {
        std::vector<int> ids;
        for (occasions.First(); !occasions.Eof(); occasions.Next())
            ids.push_back(currentId(occasions));
        return ids;
    }

    std::vector<int> scanned()
    {
        occasions.SetFiltered(false);
        std::vector<int> ids;
        for (occasions.First(); !occasions.Eof(); occasions.Next()) {
            const TField *course = occasions.FieldByName("kurzus");
            const std::optional<int> value =
                course->IsNull() ? std::nullopt : std::optional(course->AsInteger());
            if (filterCases()[current].Passes(value, occasions.FieldByName("terem")->AsInteger()))
                ids.push_back(currentId(occasions));
        }
        occasions.SetFiltered(true);
        return ids;
    }

    void randomChange()
    {
        const std::vector<std::function<void()>> changes = {
            [this] { insertThroughOther(); },
            [this] { editThroughOther("kurzus", randomCourse()); },
            [this] { editThroughOther("terem", static_cast<int>(rng() % 6)); },
            [this] {
                if (goToRandomRecord(other, rng))
                    other.Delete();
            },
            [this] { occasions.SetIndexName(orders[rng() % orders.size()]); },
            [this] { occasions.SetLocaleID(occasions.LocaleID() == Hungarian ? English : Hungarian); },
            [] {}, // the text is set again on records as they were
        };
        changes[rng() % changes.size()]();
    }

    const std::vector<std::string> orders = {"", "kurzus", "kurzusdesc", "teremkurzus"};
    TztrMemTable occasions;
    TztrMemTable other;
    std::minstd_rand rng{20261207};
    int nextId = 1;
    std::size_t current = 0;
};

} // namespace

TEST_F(FilterTextsSetAgain, ShowWhatAScanShowsThroughEveryChange)
{
    for (int step = 0; step < 500; ++step) {
        setText(rng() % filterCases().size());
        const std::vector<int> ids = shown();
        ASSERT_EQ(ids, scanned()) << "step " << step << ", " << filterCases()[current].Text << ", order "
                                  << occasions.IndexName();
        ASSERT_EQ(occasions.RecordCount(), static_cast<int>(ids.size())) << "step " << step;
        randomChange();
    }
}

TEST(FilterTexts, ATextSetAgainOnReopenedFieldsReadsThemWhereTheyNowAre)
{
    TztrMemTable table;
    table.FieldDefs().Add("id", ftInteger);
    table.FieldDefs().Add("kod", ftInteger);
    table.Open();
    for (int id = 1; id <= 6; ++id)
        table.AppendRecord({id, id % 3});
    table.SetFilter("kod=1");
    table.SetFiltered(true);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 4}));

    // The same names in another layout: a text kept from before would read the old places.
    table.Close();
    table.FieldDefs().Clear();
    table.FieldDefs().Add("megjegyzes", ftString, 30);
    table.FieldDefs().Add("kod", ftSmallint);
    table.FieldDefs().Add("id", ftInteger);
    table.Open();
    for (int id = 1; id <= 6; ++id)
        table.AppendRecord({"x", id % 2, id});
    table.SetFilter("kod=0");
    table.SetFilter("kod=1");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3, 5}));

    table.Close();
    table.FieldDefs().Clear();
    table.FieldDefs().Add("id", ftInteger);
    EXPECT_THROW(table.Open(), EDatabaseError);
}

TEST(FilterTexts, ARefusedTextIsRefusedEachTimeItIsSet)
{
    TztrMemTable table;
    definePeople(table);
    table.Open();
    for (int id = 1; id <= 3; ++id)
        appendPerson(table, id, "", id);
    table.SetFiltered(true);
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_THROW(table.SetFilter("nincs=1"), EDatabaseError) << attempt;
}
