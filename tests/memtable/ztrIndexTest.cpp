#include "memtable/ztrIndex.h"

#include "memtable/ztrCompare.h"
#include "memtable/ztrTestTables.h"
#include "platform/LocaleCompare.h"

#include <functional>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr LCID Hungarian = 0x040E;

std::vector<TztrRecord *> entriesOf(const TztrIndex &index)
{
    std::vector<TztrRecord *> entries;
    for (int i = 0; i < index.Count(); ++i)
        entries.push_back(index.Entry(i));
    return entries;
}

} // namespace

TEST(IndexUpkeep, UniqueKeysAreGuardedAndIndexesFollowEveryChangeOrAreRebuilt)
{
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("kulcs", "id", {ixUnique});
    table.IndexDefs().Add("Pontok", "PONT;ID", {});
    table.IndexDefs().Add("lusta", "pont", {ixNonMaintained});
    table.Open();
    EXPECT_EQ(messageOf([&] { table.AddIndex("ures", "", {}); }), "Hiányzó Name, vagy FieldName az IndexDef-ben!");
    appendPerson(table, 1, "a", 3);
    appendPerson(table, 2, "b", 1);
    appendPerson(table, 3, "c", 2);
    // With a comparison of the table's own the sort goes without byte keys.
    table.SetOnCompareFields([&table](TztrCustomMemTable &, TField *, const void *a, const void *b, TFieldType type,
                                      TztrifoOptions options, bool &full, int &result) {
        result = CompareFields(a, b, type, options, full, table.Common().LocaleID());
    });
    EXPECT_EQ(messageOf([&] { table.AddIndex("egyedi", "id;pont", {ixUnique}); }), "");
    appendPerson(table, 4, "c", 1);
    EXPECT_EQ(messageOf([&] { table.AddIndex("egyedi2", "pont", {ixUnique}); }),
              "Duplikált érték az indexben. Művelet leállítva.");
    table.SetOnCompareFields(nullptr);
    EXPECT_EQ(table.Indexes().IndexByName("egyedi2"), nullptr);
    table.Last();
    table.Delete();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));

    // A duplicate is refused and stores nothing; an edited record is no duplicate of itself.
    table.Append();
    setPerson(table, 2, "masik", std::nullopt);
    EXPECT_THROW(table.Post(), EMemTableDupKey);
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 3);
    table.First();
    EXPECT_NO_THROW(editText(table, "nev", "uj"));
    table.Edit();
    table.FieldByName("id")->SetAsInteger(2);
    EXPECT_THROW(table.Post(), EMemTableDupKey);
    table.Cancel();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));

    // An index left out of the upkeep is rebuilt when it is switched to.
    EXPECT_FALSE(table.Indexes().IndexByName("lusta")->IsOrdered());
    table.SetIndexName("lusta");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
    table.First();
    table.Delete();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3, 1}));
    // Deleting the current index falls back to row order, which itself cannot go.
    table.SetIndexName("pontok");
    table.Indexes().Delete(table.Indexes().IndexByName("pontok"));
    EXPECT_EQ(table.CurrentIndex(), table.Indexes().RowOrderIndex());
    table.Indexes().Delete(table.Indexes().RowOrderIndex());
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3}));
}

namespace {

struct Person {
    std::string name;
    int points;
};

constexpr LCID English = 0x0409;

// The model's ids ordered by an independent oracle, for comparing with what a view walks.
bool inNameOrder(LCID locale, const std::string &a, const std::string &b)
{
    return CompareStringA(locale, NORM_IGNORECASE, a, b) != CSTR_GREATER_THAN;
}

// Checks a view against the model: the same records, in an order the index promises, and
// every index of the view holding each record once.
void expectViewMatches(TztrMemTable &view, const std::map<int, Person> &model, const std::string &step)
{
    SCOPED_TRACE(step + " / " + view.IndexName());
    ASSERT_TRUE(view.CurrentIndex()->IsOrdered());
    for (int i = 0; i < view.Indexes().Count(); ++i)
        ASSERT_EQ(view.Indexes().Index(i)->Count(), static_cast<int>(model.size())) << view.Indexes().Index(i)->Name();
    std::vector<int> ids;
    std::vector<Person> seen;
    view.First();
    while (!view.Eof()) {
        ids.push_back(view.FieldByName("id")->AsInteger());
        seen.push_back({view.FieldByName("nev")->AsString(), view.FieldByName("pont")->AsInteger()});
        view.Next();
    }
    ASSERT_EQ(ids.size(), model.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto found = model.find(ids[i]);
        ASSERT_NE(found, model.end()) << "id " << ids[i] << " is not live";
        EXPECT_EQ(seen[i].name, found->second.name);
        EXPECT_EQ(seen[i].points, found->second.points);
        if (i == 0)
            continue;
        if (view.IndexName() == "kulcs")
            EXPECT_LT(ids[i - 1], ids[i]);
        else if (view.IndexName() == "pontok")
            EXPECT_GE(seen[i - 1].points, seen[i].points);
        else
            EXPECT_TRUE(inNameOrder(static_cast<LCID>(view.LocaleID()), seen[i - 1].name, seen[i].name))
                << seen[i - 1].name << " / " << seen[i].name;
    }
    std::vector<int> sortedIds = ids;
    std::sort(sortedIds.begin(), sortedIds.end());
    EXPECT_TRUE(std::adjacent_find(sortedIds.begin(), sortedIds.end()) == sortedIds.end());
}

void defineIndexes(TztrMemTable &table)
{
    table.IndexDefs().Add("kulcs", "id", {ixUnique});
    table.IndexDefs().Add("pontok", "pont", {ixDescending});
    table.IndexDefs().Add("nevek", "nev", {ixCaseInsensitive});
}

void goToId(TztrMemTable &table, int id)
{
    const std::string indexName = table.IndexName();
    table.SetIndexName("kulcs");
    table.First();
    while (table.FieldByName("id")->AsInteger() != id)
        table.Next();
    table.SetIndexName(indexName);
}

// Deletes through another cursor, so the table's own indexes must find each record to drop it.
void deleteEveryRecordThroughAView(TztrMemTable &table)
{
    TztrMemTable view;
    view.SetAttachedTo(&table);
    view.Open();
    while (!view.IsEmpty())
        view.Delete();
}

} // namespace

// Changes through every cursor of one store, with index switches, locale changes and edits
// through buffers whose record another cursor deleted, checked against a plain map.
TEST(IndexProperty, RandomChangesKeepEveryIndexExactAndOrdered)
{
    TztrMemTable owner;
    definePeople(owner);
    owner.SetLocaleID(Hungarian);
    owner.SetAttachMaxCount(4);
    defineIndexes(owner);
    owner.SetIndexName("kulcs");
    owner.Open();
    std::vector<std::unique_ptr<TztrMemTable>> views;
    for (const char *indexName : {"kulcs", "pontok", "nevek"}) {
        auto view = std::make_unique<TztrMemTable>();
        view->SetAttachedTo(&owner);
        defineIndexes(*view);
        view->SetIndexName(indexName);
        view->Open();
        views.push_back(std::move(view));
    }
    std::vector<TztrMemTable *> cursors{&owner};
    for (auto &view : views)
        cursors.push_back(view.get());

    std::mt19937 random(20250908);
    std::vector<std::string> names;
    for (const char *name : {"alma", "Alma", "csiga", "cukor", "dzsungel", "lo", "ló", "lő", "Zebra"})
        names.push_back(cp1250(name));
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto anyName = [&] { return names[pick(static_cast<int>(names.size()))]; };
    std::map<int, Person> model;
    int nextId = 1;
    auto append = [&](TztrMemTable &table, int id) {
        const Person person{anyName(), pick(6)};
        table.Append();
        setPerson(table, id, person.name, person.points);
        if (model.count(id)) {
            EXPECT_THROW(table.Post(), EMemTableDupKey);
            table.Cancel();
        } else {
            table.Post();
            model[id] = person;
        }
    };
    auto anyLiveId = [&] {
        auto target = model.begin();
        std::advance(target, pick(static_cast<int>(model.size())));
        return target->first;
    };

    for (int step = 0; step < 400; ++step) {
        const int action = model.empty() ? 0 : pick(12);
        TztrMemTable &table = *cursors[static_cast<std::size_t>(pick(4))];
        TztrMemTable &other = *cursors[static_cast<std::size_t>(pick(4))];
        const std::string indexName = table.IndexName();
        table.SetIndexName(pick(2) ? "nevek" : "");
        std::string what;
        if (action < 4) {
            const int id = pick(3) == 0 && !model.empty() ? model.begin()->first : nextId++;
            what = "append " + std::to_string(id);
            append(table, id);
        } else if (action < 7) {
            const int id = anyLiveId();
            what = "edit " + std::to_string(id);
            goToId(table, id);
            const Person changed{anyName(), pick(6)};
            table.Edit();
            table.FieldByName("nev")->SetAsString(changed.name);
            table.FieldByName("pont")->SetAsInteger(changed.points);
            table.Post();
            model[id] = changed;
        } else if (action < 9) {
            const int id = anyLiveId();
            what = "delete " + std::to_string(id);
            goToId(table, id);
            table.Delete();
            model.erase(id);
        } else if (action < 10) {
            what = "locale";
            other.SetLocaleID(other.LocaleID() == static_cast<int>(Hungarian) ? English : Hungarian);
        } else if (&table != &other) {
            // The record under an edit goes, and a new one takes its ID: the edit must not land.
            const int id = anyLiveId();
            what = "stale edit " + std::to_string(id);
            goToId(table, id);
            table.Edit();
            table.FieldByName("pont")->SetAsInteger(9);
            goToId(other, id);
            other.Delete();
            model.erase(id);
            append(other, nextId++);
            EXPECT_THROW(table.Post(), EMemTableInvalidRecord);
            table.Cancel();
        }
        table.SetIndexName(indexName);
        for (TztrMemTable *cursor : cursors)
            expectViewMatches(*cursor, model, "step " + std::to_string(step) + ": " + what);
        if (::testing::Test::HasFailure())
            break;
    }
}

// A new locale or comparison event changes the order under the indexes of an open table.
TEST(IndexOrder, AChangedComparisonResortsTheIndexesAndKeepsTheCurrentRecord)
{
    TztrMemTable table;
    definePeople(table);
    table.SetLocaleID(Hungarian);
    table.SetAttachMaxCount(2);
    table.IndexDefs().Add("nevek", "nev", {});
    table.SetIndexName("nevek");
    table.Open();
    for (int id = 0; id < 40; ++id)
        appendPerson(table, id, (id % 2 ? "cs" : "cu") + std::to_string(id % 10), id);
    goToId(table, 7);
    // An unknown locale refuses every text comparison, so nothing moves.
    EXPECT_THROW(table.SetLocaleID(0x7FFF), EMemTableInvalidLocale);
    EXPECT_EQ(table.LocaleID(), static_cast<int>(Hungarian));
    EXPECT_EQ(idsInOrder(table).front(), 0) << "cu before cs in Hungarian";
    goToId(table, 7);
    table.SetLocaleID(English);
    EXPECT_EQ(currentId(table), 7);
    EXPECT_EQ(idsInOrder(table).front(), 1) << "cs before cu in English";
    goToId(table, 7);
    table.SetOnCompareFields([](TztrCustomMemTable &, TField *, const void *a, const void *b, TFieldType,
                                TztrifoOptions, bool &, int &result) {
        result = -std::strcmp(static_cast<const char *>(a), static_cast<const char *>(b));
    });
    EXPECT_EQ(currentId(table), 7);
    EXPECT_EQ(idsInOrder(table).front(), 8) << "cu8 first in reversed byte order";
    // Deleted through another cursor, each record must leave the index it is found in.
    deleteEveryRecordThroughAView(table);
    EXPECT_EQ(table.CurrentIndex()->Count(), 0);
}

TEST(IndexSort, ByteKeysAndFieldComparisonGiveTheSameOrder)
{
    TztrMemTable table;
    definePeople(table, 30);
    table.SetLocaleID(Hungarian);
    table.Open();
    const char *names[] = {"Kovács", "kovács", "Csizmadia", "Cukor", "Őri", "Ödön", "Lakatos", ""};
    for (int i = 0; i < 300; ++i)
        appendPerson(table, i, i % 11 == 0 ? "" : cp1250(names[i % 8]),
                     i % 7 == 0 ? std::nullopt : std::optional(i % 5));
    table.First();
    table.Edit();
    table.FieldByName("nev")->Clear();
    table.Post();

    for (const char *fields : {"nev:C", "nev:D;pont", "pont:D;nev"}) {
        table.AddIndex("kulcsos", fields, {});
        const std::vector<TztrRecord *> byKeys = entriesOf(*table.Indexes().IndexByName("kulcsos"));
        // A comparison event of the table's own takes the sort off the byte keys.
        table.SetOnCompareFields([&table](TztrCustomMemTable &, TField *, const void *a, const void *b, TFieldType type,
                                         TztrifoOptions options, bool &full, int &result) {
            result = CompareFields(a, b, type, options, full, table.Common().LocaleID());
        });
        table.AddIndex("mezonkent", fields, {});
        EXPECT_EQ(byKeys, entriesOf(*table.Indexes().IndexByName("mezonkent"))) << fields;
        table.SetOnCompareFields(nullptr);
        table.Indexes().Clear();
        table.IndexDefs().Clear();
    }
}

TEST(IndexProperty, TextsAlikeInTheirFirstLettersStayOrderedThroughChanges)
{
    TztrMemTable table;
    definePeople(table, 40);
    table.SetLocaleID(Hungarian);
    table.IndexDefs().Add("nevek", "nev", {ixCaseInsensitive});
    table.Open();
    std::mt19937 random(77);
    auto nameOf = [&random] {
        const char *given[] = {"Péter", "Pál", "péter", "Petra"};
        return cp1250(std::string("Kovácsné Szabó ") + given[random() % 4] + " " + std::to_string(random() % 60));
    };
    for (int id = 0; id < 150; ++id)
        appendPerson(table, id, nameOf(), 0);
    table.SetIndexName("nevek");
    for (int step = 0; step < 150; ++step) {
        table.SetRecNo(static_cast<int>(random() % 150) + 1);
        editText(table, "nev", nameOf());
    }
    std::vector<std::string> names;
    for (table.First(); !table.Eof(); table.Next())
        names.push_back(table.FieldByName("nev")->AsString());
    ASSERT_EQ(names.size(), 150u);
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_TRUE(inNameOrder(Hungarian, names[i - 1], names[i])) << names[i - 1] << " / " << names[i];
}

namespace {

struct KeyValues {
    std::string name;
    std::optional<int> points;
};

struct IndexOrder {
    const char *name;
    const char *field;
    TIndexOptions options;
};

// The oracle's order of two values of an index: null first, then the locale's order of texts or
// the order of numbers; reversed whole for a descending index.
int orderOf(const IndexOrder &order, const KeyValues &a, const KeyValues &b)
{
    int result;
    if (std::string(order.field) == "nev") {
        const unsigned flags = order.options.Contains(ixCaseInsensitive) ? NORM_IGNORECASE : 0;
        result = CompareStringA(Hungarian, flags, a.name, b.name) - CSTR_EQUAL;
    } else if (!a.points || !b.points) {
        result = int(a.points.has_value()) - int(b.points.has_value());
    } else {
        result = (*a.points > *b.points) - (*a.points < *b.points);
    }
    return order.options.Contains(ixDescending) ? -result : result;
}

} // namespace

// Short texts of two letters in both cases begin one another ("A", "AB", "ABD"); each change must
// put the record where whole keys say, in every direction and case mode, past the size where
// searches bisect as well, and every text must be found again.
TEST(IndexProperty, KeysThatBeginOtherKeysKeepTheirPlaceThroughRandomChanges)
{
    const IndexOrder orders[] = {
        {"nevek", "nev", {}},
        {"nevek_csokkeno", "nev", {ixDescending}},
        {"nevek_kisnagy", "nev", {ixCaseInsensitive}},
        {"nevek_kisnagy_csokkeno", "nev", {ixDescending, ixCaseInsensitive}},
        {"pontok", "pont", {}},
        {"pontok_csokkeno", "pont", {ixDescending}},
    };
    TztrMemTable table;
    definePeople(table);
    table.SetLocaleID(Hungarian);
    table.IndexDefs().Add("kulcs", "id", {ixUnique});
    for (const IndexOrder &order : orders)
        table.IndexDefs().Add(order.name, order.field, order.options);
    table.Open();

    std::mt19937 random(20261207);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto anyEntry = [&] {
        std::string name;
        for (int length = 1 + pick(4); length > 0; --length)
            name += "ABab"[pick(4)];
        return KeyValues{name, pick(5) == 0 ? std::nullopt : std::optional(pick(6))};
    };
    std::map<int, KeyValues> model;
    int nextId = 1;
    for (int step = 0; step < 300 && !::testing::Test::HasFailure(); ++step) {
        const int action = model.size() < 8 ? 0 : pick(10);
        table.SetIndexName(orders[pick(6)].name);
        std::string what;
        if (action < 5) {
            const KeyValues entry = anyEntry();
            what = "insert " + entry.name;
            table.Insert();
            setPerson(table, nextId, entry.name, entry.points);
            table.Post();
            model[nextId++] = entry;
        } else {
            auto target = model.begin();
            std::advance(target, pick(int(model.size())));
            ASSERT_TRUE(table.Locate("id", target->first, {}));
            if (action < 8) {
                const KeyValues entry = anyEntry();
                what = "edit " + target->second.name + " to " + entry.name;
                table.Edit();
                setPerson(table, target->first, entry.name, entry.points);
                table.Post();
                target->second = entry;
            } else {
                what = "delete " + target->second.name;
                table.Delete();
                model.erase(target);
            }
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        for (const IndexOrder &order : orders) {
            table.SetIndexName(order.name);
            ASSERT_TRUE(table.CurrentIndex()->IsOrdered()) << order.name;
            std::vector<KeyValues> walked;
            for (table.First(); !table.Eof(); table.Next()) {
                TField *points = table.FieldByName("pont");
                walked.push_back({table.FieldByName("nev")->AsString(),
                                  points->IsNull() ? std::nullopt : std::optional(points->AsInteger())});
                const KeyValues &expected = model.at(currentId(table));
                EXPECT_EQ(walked.back().name, expected.name);
                EXPECT_EQ(walked.back().points, expected.points);
            }
            ASSERT_EQ(walked.size(), model.size()) << order.name;
            for (std::size_t i = 1; i < walked.size(); ++i)
                EXPECT_LE(orderOf(order, walked[i - 1], walked[i]), 0)
                    << order.name << ": " << walked[i - 1].name << " before " << walked[i].name;
            if (std::string(order.field) != "nev")
                continue;
            for (const auto &[id, entry] : model) {
                EXPECT_TRUE(table.Locate("nev", entry.name, {})) << order.name << ": " << entry.name;
                EXPECT_EQ(table.FieldByName("nev")->AsString(), entry.name);
            }
        }
    }
    EXPECT_GT(model.size(), 20u) << "enough records for searches that bisect";
}

// The order of the insertions a descending index once took wrongly.
TEST(IndexOrder, ADescendingTextIndexPutsAKeyAfterTheLongerKeysItBegins)
{
    TztrMemTable table;
    definePeople(table);
    table.SetLocaleID(Hungarian);
    table.IndexDefs().Add("csokkeno", "nev", {ixDescending});
    table.SetIndexName("csokkeno");
    table.Open();
    int id = 0;
    for (const char *name : {"ABD", "ABC", "AB", "A", "ABCD", "B"})
        appendPerson(table, ++id, name, 0);
    std::vector<std::string> names;
    for (table.First(); !table.Eof(); table.Next())
        names.push_back(table.FieldByName("nev")->AsString());
    EXPECT_EQ(names, (std::vector<std::string>{"B", "ABD", "ABCD", "ABC", "AB", "A"}));
}

// An index with a filter takes only the records that its own event, the table's OnFilterIndex and
// its expression accept, asked in that order, when it is rebuilt and as records come, change and go.
TEST(IndexFilter, AFilteredIndexHoldsWhatItsEventTheTablesEventAndItsExpressionAccept)
{
    TztrMemTable table;
    definePeople(table);
    table.Open();
    for (int id = 1; id <= 6; ++id)
        appendPerson(table, id, id % 2 ? "paratlan" : "paros", id);
    table.AddIndex("valogatott", "pont", {ixDescending});
    TztrIndex &index = *table.Indexes().IndexByName("valogatott");
    std::vector<std::string> asked;
    index.SetFilter("pont>1", [&asked](TztrCustomMemTable &t, const TztrIndex &, bool &accept) {
        asked.push_back("index " + std::to_string(currentId(t)));
        accept = currentId(t) != 5;
    });
    table.OnFilterIndex = [&asked](TztrCustomMemTable &t, const TztrIndex &filtered, bool &accept) {
        asked.push_back(filtered.Name() + " " + std::to_string(currentId(t)));
        accept = t.FieldByName("nev")->AsString() == "paros" || currentId(t) == 3;
    };
    EXPECT_EQ(table.Indexes().IndexByName("valogatott")->Count(), 4) << "filtered at once";
    asked.clear();
    table.Indexes().ReBuildAll();
    EXPECT_EQ(std::vector<std::string>(asked.begin(), asked.begin() + 3),
              (std::vector<std::string>{"index 1", "valogatott 1", "index 2"}));
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "valogatott 5"), 0) << "refused by the index's own event";
    auto shown = [&table] {
        table.SetIndexName("valogatott");
        std::vector<int> ids = idsInOrder(table);
        table.SetIndexName("");
        return ids;
    };
    EXPECT_EQ(shown(), (std::vector<int>{6, 4, 3, 2}));
    EXPECT_EQ(table.RecordCount(), 6) << "the other indexes hold every record";

    appendPerson(table, 7, "paros", 7);
    appendPerson(table, 8, "paratlan", 8);
    EXPECT_EQ(shown(), (std::vector<int>{7, 6, 4, 3, 2}));
    ASSERT_TRUE(table.Locate("id", 2, {}));
    table.Edit();
    table.FieldByName("pont")->SetAsInteger(0);
    table.Post();
    EXPECT_EQ(shown(), (std::vector<int>{7, 6, 4, 3}));
    ASSERT_TRUE(table.Locate("id", 1, {}));
    table.Edit();
    setPerson(table, 1, "paros", 10);
    table.Post();
    ASSERT_TRUE(table.Locate("id", 4, {}));
    table.Delete();
    EXPECT_EQ(shown(), (std::vector<int>{1, 7, 6, 3}));
    // An edit that keeps the key may still take the record out.
    ASSERT_TRUE(table.Locate("id", 6, {}));
    editText(table, "nev", "paratlan");
    EXPECT_EQ(shown(), (std::vector<int>{1, 7, 3}));

    // Searches and filters of a table in another order never read the filtered index for all records.
    for (int id = 10; id < 40; ++id)
        appendPerson(table, id, "paratlan", 1);
    EXPECT_TRUE(table.Locate("pont", 1, {}));
    EXPECT_EQ(currentId(table), 10);
    table.SetFilter("pont=1");
    table.SetFiltered(true);
    EXPECT_EQ(table.RecordCount(), 30);
}

namespace {

// A people table whose pont values repeat: record i (0-based) gets pont i / 3.
class IndexSearch : public ::testing::TestWithParam<int> {
protected:
    void fill(int count)
    {
        definePeople(table);
        table.Open();
        for (int i = 0; i < count; ++i)
            appendPerson(table, i, "", i / 3);
        table.AddIndex("pontok", "pont", {});
        index = table.Indexes().IndexByName("pontok");
    }

    // The stored record with this id, used as a search key.
    TztrRecord *storedWithId(int id)
    {
        TztrIndex *rows = table.Indexes().RowOrderIndex();
        for (int i = 0; i < rows->Count(); ++i) {
            if (rows->Entry(i)->RecordID == id)
                return rows->Entry(i);
        }
        return nullptr;
    }

    TztrMemTable table;
    TztrIndex *index = nullptr;
};

} // namespace

TEST_P(IndexSearch, FindsTheFirstOfEqualEntriesOrTheNearestNotBelowTheKey)
{
    fill(GetParam());
    const int lastGroupStart = (GetParam() - 1) / 3 * 3;
    int position = -1;
    // The key is the last record of its group; the search must still land on the group's first.
    ASSERT_TRUE(index->Search(nullptr, storedWithId(GetParam() - 1), position, false, false));
    EXPECT_EQ(position, lastGroupStart);
    ASSERT_TRUE(index->Search(nullptr, storedWithId(5), position, false, false));
    EXPECT_EQ(position, 3);
    table.Edit();
    table.FieldByName("pont")->SetAsInteger(-1);
    table.Post();
    // The last record now holds pont -1 and leads the index; a key of -1 finds it.
    ASSERT_TRUE(index->Search(nullptr, storedWithId(GetParam() - 1), position, false, true));
    EXPECT_EQ(position, 0);
}

INSTANTIATE_TEST_SUITE_P(ScannedAndBisected, IndexSearch, ::testing::Values(20, 21));

TEST(IndexSearchCost, TwentyEntriesAreScannedAndTwentyOneBisected)
{
    auto comparisonsToFindTheLast = [](int count) {
        TztrMemTable table;
        definePeople(table);
        table.Open();
        for (int i = 0; i < count; ++i)
            appendPerson(table, i, "", i);
        table.AddIndex("pontok", "pont", {});
        TztrIndex *index = table.Indexes().IndexByName("pontok");
        int calls = 0;
        table.SetOnCompareFields([&calls](TztrCustomMemTable &, TField *, const void *a, const void *b, TFieldType,
                                         TztrifoOptions, bool &, int &result) {
            ++calls;
            const int x = *static_cast<const std::int32_t *>(a), y = *static_cast<const std::int32_t *>(b);
            result = (x > y) - (x < y);
        });
        calls = 0; // the sort the new comparison brings is no part of the search
        int position = 0;
        EXPECT_TRUE(index->Search(nullptr, index->Entry(count - 1), position, false, false));
        EXPECT_EQ(position, count - 1);
        return calls;
    };
    // The comparison event is set after the sort, and every search must still ask it.
    EXPECT_GE(comparisonsToFindTheLast(20), 20);
    EXPECT_LE(comparisonsToFindTheLast(21), 8);
}

TEST(IndexUniqueness, SortingEqualKeysIsRefusedAndLeavesNoIndex)
{
    TztrMemTable table;
    definePeople(table);
    table.Open();
    appendPerson(table, 1, "a", 7);
    appendPerson(table, 2, "b", 7);
    try {
        table.AddIndex("egyedi", "pont", {ixUnique});
        FAIL() << "equal keys were accepted";
    } catch (const EMemTableDupKey &error) {
        EXPECT_STREQ(error.what(), "Duplikált érték az indexben. Művelet leállítva.");
    }
    EXPECT_EQ(table.Indexes().IndexByName("egyedi"), nullptr);
    EXPECT_EQ(table.IndexDefs().Count(), 0);
}

TEST(IndexUniqueness, PostingADuplicateIsRefusedAndStoresNothingButAnEditedRecordIsNoDuplicate)
{
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("kulcs", "id", {ixUnique});
    table.Open();
    appendPerson(table, 1, "a");
    appendPerson(table, 2, "b");
    table.Append();
    setPerson(table, 2, "masik", std::nullopt);
    EXPECT_THROW(table.Post(), EMemTableDupKey);
    table.Cancel();
    EXPECT_EQ(table.Common().RecordCount(), 2);
    table.First();
    table.Edit();
    table.FieldByName("nev")->SetAsString("uj");
    EXPECT_NO_THROW(table.Post());
    table.Edit();
    table.FieldByName("id")->SetAsInteger(2);
    EXPECT_THROW(table.Post(), EMemTableDupKey);
    table.Cancel();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2}));
    EXPECT_EQ(table.RecordCount(), 2);
}

TEST(IndexMaintenance, NewRecordGoesBeforeEqualKeysInEveryIndex)
{
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("pontok", "pont", {});
    table.IndexDefs().Add("nevek", "nev", {ixDescending});
    table.Open();
    appendPerson(table, 1, "azonos", 5);
    appendPerson(table, 2, "azonos", 5);
    appendPerson(table, 3, "azonos", 5);
    appendPerson(table, 4, "masik", 1);
    table.SetIndexName("pontok");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{4, 3, 2, 1}));
    table.SetIndexName("nevek");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{4, 3, 2, 1}));
}

TEST(IndexMaintenance, DisabledUpkeepLeavesIndexesUnorderedUntilRebuilt)
{
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("pontok", "pont", {});
    table.Open();
    appendPerson(table, 1, "", 3);
    TztrIndex *index = table.Indexes().IndexByName("pontok");
    table.SetEnableIndexes(false);
    appendPerson(table, 2, "", 1);
    appendPerson(table, 3, "", 2);
    EXPECT_FALSE(index->IsOrdered());
    EXPECT_EQ(index->Count(), 1);
    index->Rebuild();
    EXPECT_TRUE(index->IsOrdered());
    table.SetEnableIndexes(true);
    table.SetIndexName("pontok");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
}

TEST(IndexMaintenance, NonMaintainedIndexIsRebuiltWhenSwitchedToAndDeletedThrough)
{
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("pontok", "pont", {ixNonMaintained});
    table.Open();
    appendPerson(table, 1, "", 3);
    appendPerson(table, 2, "", 1);
    appendPerson(table, 3, "", 2);
    EXPECT_FALSE(table.Indexes().IndexByName("pontok")->IsOrdered());
    table.SetIndexName("pontok");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
    table.First();
    table.Delete();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3, 1}));
}

TEST(IndexSet, NamesMatchWithoutCaseAndDeletingTheCurrentIndexFallsBackToRowOrder)
{
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("Pontok", "PONT;ID", {});
    table.Open();
    EXPECT_NE(table.Indexes().GetByFieldNames("pont;id"), nullptr);
    EXPECT_EQ(table.Indexes().GetByFieldNames("pont"), nullptr);
    try {
        table.AddIndex("ures", "", {});
        FAIL() << "an index without fields was accepted";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "Hiányzó Name, vagy FieldName az IndexDef-ben!");
    }
    appendPerson(table, 1, "", 2);
    appendPerson(table, 2, "", 1);
    table.SetIndexName("pontok");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 1}));
    table.Indexes().Delete(table.Indexes().IndexByName("pontok"));
    EXPECT_EQ(table.CurrentIndex(), table.Indexes().RowOrderIndex());
    table.Indexes().Delete(table.Indexes().RowOrderIndex());
    EXPECT_EQ(table.Indexes().Count(), 1);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2}));
}

TEST(IndexOrder, ARecordWhoseCalculatedKeyChangedLeavesTheIndexWhenDeleted)
{
    TztrMemTable table;
    for (const auto &[name, kind] : {std::pair{"id", fkData}, {"pont", fkData}, {"szorzat", fkCalculated}}) {
        TField *field = table.Fields().Add(CreateFieldOfType(ftInteger));
        field->SetFieldName(name);
        field->SetFieldKind(kind);
    }
    int factor = 1;
    table.OnCalcFields = [&factor](TDataSet &dataSet) {
        dataSet.FieldByName("szorzat")->SetAsInteger(dataSet.FieldByName("pont")->AsInteger() * factor);
    };
    table.SetAttachMaxCount(2);
    table.IndexDefs().Add("szorzatok", "szorzat", {});
    table.SetIndexName("szorzatok");
    table.Open();
    for (int id = 0; id < 30; ++id) {
        table.Append();
        table.FieldByName("id")->SetAsInteger(id);
        table.FieldByName("pont")->SetAsInteger(id);
        table.Post();
    }
    // The filter computes the stored records' values anew, against the index's order.
    factor = -1;
    table.OnFilterRecord = [](TDataSet &, bool &accept) { accept = true; };
    table.SetFiltered(true);
    EXPECT_EQ(table.RecordCount(), 30);
    deleteEveryRecordThroughAView(table);
    EXPECT_EQ(table.CurrentIndex()->Count(), 0);
}

TEST(IndexOrder, ALocaleTheIndexesCannotBeSortedUnderIsRefused)
{
    TztrMemTable table;
    definePeople(table);
    table.SetLocaleID(English);
    table.IndexDefs().Add("nevek", "nev", {});
    table.SetIndexName("nevek");
    table.Open();
    appendPerson(table, 1, cp1250("cz"), 0);
    appendPerson(table, 2, cp1250("cs"), 0);
    // An unknown locale refuses every text comparison.
    EXPECT_THROW(table.SetLocaleID(0x7FFF), EMemTableInvalidLocale);
    EXPECT_EQ(table.LocaleID(), static_cast<int>(English));
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 1}));
}

TEST(IndexSearch, AFieldListOfOtherFieldsOrOptionsSearchesInItsOwnOrder)
{
    TztrMemTable table;
    definePeople(table);
    table.Open();
    for (int i = 0; i < 40; ++i)
        appendPerson(table, i, "", 39 - i);
    table.AddIndex("pontok", "pont", {});
    TztrIndex *index = table.Indexes().IndexByName("pontok");
    const TztrRecord *key = table.Indexes().RowOrderIndex()->Entry(10);
    TztrFieldList sameOrder, descending, otherField;
    BuildFieldList(table, sameOrder, "pont");
    BuildFieldList(table, descending, "pont:D");
    BuildFieldList(table, otherField, "id");
    int position = -1;
    ASSERT_TRUE(index->Search(&sameOrder, key, position, false, false));
    EXPECT_EQ(position, 29);
    // Bisecting an index in another order goes astray; it must not borrow the index's own
    // order to find the key all the same.
    EXPECT_FALSE(index->Search(&descending, key, position, false, false));
    EXPECT_FALSE(index->Search(&otherField, key, position, false, false));
}
