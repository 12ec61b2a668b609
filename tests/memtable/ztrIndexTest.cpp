#include "memtable/ztrIndex.h"

#include "memtable/ztrCompare.h"
#include "memtable/ztrTestTables.h"
#include "platform/LocaleCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
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
