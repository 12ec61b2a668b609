#include "memtable/ztrCompare.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"
#include "memtable/ztrTestTables.h"
#include "platform/DateTime.h"
#include "platform/FmtBcd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr LCID Hungarian = 0x040E;

constexpr LCID English = 0x0409;

template <typename T> int compareAs(TFieldType type, T key, T value, TztrifoOptions options = {})
{
    bool full = false;
    return CompareFields(&key, &value, type, options, full, English);
}

} // namespace

TEST(CompareFieldsText, LocaleCaseAccentAndPartialRulesDecide)
{
    struct Case
    {
        std::string key, value;
        TztrifoOptions options;
        int sign;
        bool full;
    };
    // cp1250 texts: cs and dzs are letters of their own; ó and ő order after o.
    const std::vector<Case> cases = {
        {"AB", "ABC", {mtifoPartial}, 0, false},
        {"ABC", "AB", {mtifoPartial}, 1, false},
        {"AB", "AC", {mtifoPartial}, -1, true},
        {"cukor", "csiga", {}, -1, true},
        {"csiga", "dzsungel", {}, -1, true},
        {"dzsungel", "cukor", {}, 1, true},
        {"lo", "l\xF3", {}, -1, true},
        {"l\xF3", "l\xF5", {}, -1, true},
        {"ALMA", "alma", {mtifoCaseInsensitive}, 0, true},
        {"lo", "L\xD3", {mtifoCaseInsensitive}, -1, true},
        {"alma", "ALMA", {}, -1, true},
        {"Z", "a", {mtifoIgnoreLocale}, -1, true},
        {"Z", "a", {mtifoIgnoreLocale, mtifoCaseInsensitive}, 1, true},
        {"abc", "ABC", {mtifoIgnoreLocale, mtifoCaseInsensitive}, 0, true},
        {"cukor", "csiga", {mtifoDescending}, 1, true},
    };
    for (const Case &c : cases) {
        bool full = !c.full;
        const int result = CompareFields(c.key.c_str(), c.value.c_str(), ftString, c.options, full, Hungarian);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.key << " / " << c.value;
        EXPECT_EQ(full, c.full) << c.key << " / " << c.value;
    }
    bool full = true;
    // An unknown locale refuses texts unless the locale is ignored.
    constexpr LCID unknown = 0x7A7A;
    EXPECT_EQ(CompareFields("a", "b", ftString, {mtifoIgnoreLocale}, full, unknown), -1);
    EXPECT_EQ(messageOf([&] { CompareFields("a", "b", ftString, {}, full, unknown); }), "Invalid locale.");
}

namespace {

// Records stored by a table, compared with the table's own comparison.
class CompareRecordsOnTable : public ::testing::Test {
protected:
    CompareRecordsOnTable()
    {
        definePeople(table, 40);
        table.SetPerformance(mtpfBalanced);
        table.SetLocaleID(Hungarian);
        table.Open();
        appendPerson(table, 1, "ABC", 10);
        appendPerson(table, 2, "AB", std::nullopt);
        appendPerson(table, 3, "ABC", 20);
    }

    TztrRecord *record(int position) { return table.Indexes().RowOrderIndex()->Entry(position); }

    int compare(int key, int other, const std::string &fields, int mode = 0, bool partial = false,
                bool ignoreNull = false)
    {
        TztrFieldList list;
        BuildFieldList(table, list, fields);
        return CompareRecords(table, record(key), record(other), list, 0, ignoreNull, partial, mode);
    }

    TztrMemTable table;
};

} // namespace

TEST_F(CompareRecordsOnTable, NullsOptionsModesAndPartialKeysDecide)
{
    // Records: 0 (1, ABC, 10), 1 (2, AB, null), 2 (3, ABC, 20).
    struct Case
    {
        int key, other;
        const char *fields;
        int mode;
        bool partial, ignoreNull;
        int sign;
    };
    const std::vector<Case> cases = {
        {1, 0, "pont", 0, false, false, -1}, // null sorts before values
        {0, 1, "pont", 0, false, false, 1},
        {1, 1, "pont", 0, false, false, 0},
        {1, 0, "pont:d", 0, false, false, 1}, // and after them when descending
        {2, 0, "pont:d", 0, false, false, -1},
        {1, 0, "pont:n", 0, false, false, 0}, // a null key ignored matches any value
        {1, 0, "pont", 0, false, true, 0},
        {1, 0, "pont;id:n", 0, false, false, -1},
        {0, 2, "nev;pont", 0, false, false, -1}, // the first deciding field wins
        {2, 0, "nev;pont", 0, false, false, 1},
        {0, 2, "nev;id:d;pont", 0, false, false, 1},
        {1, 0, "nev;pont", 0, true, false, 0}, // a partial match ends the walk
        {1, 0, "nev;pont", 0, false, false, -1},
        {0, 2, "id;pont", 1, false, false, -1}, // range modes test each field on its own
        {2, 0, "id;pont", 4, false, false, 1},
    };
    for (const Case &c : cases) {
        const int result = compare(c.key, c.other, c.fields, c.mode, c.partial, c.ignoreNull);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.key << "/" << c.other << " " << c.fields << " " << c.mode;
    }
}

namespace {

// Records of every type that has a sort key, with nulls, signs, -0 and accents among the values.
class SortKeysOnTable : public ::testing::Test {
protected:
    SortKeysOnTable()
    {
        table.FieldDefs().Add("kis", ftSmallint);
        table.FieldDefs().Add("szo", ftWord);
        table.FieldDefs().Add("egesz", ftInteger);
        table.FieldDefs().Add("nagy", ftLargeint);
        table.FieldDefs().Add("igaz", ftBoolean);
        table.FieldDefs().Add("valos", ftFloat);
        table.FieldDefs().Add("ido", ftDateTime);
        table.FieldDefs().Add("nev", ftString, 30);
        table.SetPerformance(mtpfBalanced); // the long text lives outside the record
        table.SetLocaleID(Hungarian);
        table.Open();
        const char *names[] = {"Lakatos", "lakatos", "Lakatos Ödön", "Csizmadia", "cukor",
                               "Őri",     "öt",      "",             "Zsolt"};
        const double reals[] = {0.0, -0.0, -2.5, 1e300, -1e-300, 3.25};
        for (int i = 0; i < 40; ++i) {
            table.Append();
            // Every fifth value of a field is null, each field at its own offset.
            auto set = [&](const char *field, int phase, auto write) {
                if ((i + phase) % 5 != 0)
                    write(table.FieldByName(field));
            };
            set("kis", 1, [&](TField *f) { f->SetAsInteger((i * 7) % 11 - 5); });
            set("szo", 2, [&](TField *f) { f->SetAsInteger((i * 13) % 70000 % 65536); });
            set("egesz", 3, [&](TField *f) { f->SetAsInteger(i % 3 == 0 ? -i * 100000 : i % 4); });
            set("nagy", 4, [&](TField *f) { f->SetAsLargeInt((i % 2 ? -1 : 1) * (std::int64_t{1} << (i % 40))); });
            set("igaz", 0, [&](TField *f) { f->SetAsBoolean(i % 3 == 1); });
            set("valos", 1, [&](TField *f) { f->SetAsFloat(reals[i % 6]); });
            set("ido", 2, [&](TField *f) { f->SetAsDateTime(45000.0 + (i % 4) * 0.25); });
            set("nev", 3, [&](TField *f) { f->SetAsString(cp1250(names[i % 9])); });
            table.Post();
        }
    }

    // For every pair of records the key bytes must order them as the record comparison does.
    void expectKeysAgree(const std::string &fields)
    {
        TztrFieldList list;
        BuildFieldList(table, list, fields);
        ASSERT_TRUE(SortKeysApply(table, list)) << fields;
        TztrIndex *rows = table.Indexes().RowOrderIndex();
        std::vector<std::string> keys(static_cast<std::size_t>(rows->Count()));
        for (int i = 0; i < rows->Count(); ++i)
            ASSERT_TRUE(AppendSortKey(table, rows->Entry(i), list, keys[static_cast<std::size_t>(i)]));
        for (int a = 0; a < rows->Count(); ++a) {
            for (int b = 0; b < rows->Count(); ++b) {
                const std::string &keyA = keys[static_cast<std::size_t>(a)];
                const std::string &keyB = keys[static_cast<std::size_t>(b)];
                const int byKeys = (keyA > keyB) - (keyA < keyB);
                const int compared = CompareRecords(table, rows->Entry(a), rows->Entry(b), list, 0, false, false, 0);
                ASSERT_EQ(byKeys, (compared > 0) - (compared < 0)) << fields << ": records " << a << ", " << b;
            }
        }
    }

    TztrMemTable table;
};

} // namespace

TEST_F(SortKeysOnTable, KeyBytesOrderAsTheRecordComparisonOrAreNotUsed)
{
    for (const char *field : {"kis", "szo", "egesz", "nagy", "igaz", "valos", "ido", "nev"}) {
        expectKeysAgree(field);
        expectKeysAgree(std::string(field) + ":D");
    }
    for (const char *fields :
         {"nev:C", "nev:L", "nev:CL", "nev:CD", "igaz;nev:D;egesz", "valos:D;kis;nev", "nev;ido:D"})
        expectKeysAgree(fields);

    // Orders the bytes cannot hold are left to the comparison.
    TztrFieldList list;
    for (const char *fields : {"nev:P", "egesz:N"}) {
        BuildFieldList(table, list, fields);
        EXPECT_FALSE(SortKeysApply(table, list)) << fields;
    }
    table.First();
    table.Edit();
    table.FieldByName("valos")->SetAsFloat(std::nan(""));
    table.FieldByName("nev")->SetAsString("x");
    table.Post();
    TztrRecord *record = table.Indexes().RowOrderIndex()->Entry(0);
    std::string key;
    BuildFieldList(table, list, "valos");
    EXPECT_FALSE(AppendSortKey(table, record, list, key));
    BuildFieldList(table, list, "egesz");
    table.SetOnCompareFields([](TztrCustomMemTable &, TField *, const void *, const void *, TFieldType, TztrifoOptions,
                               bool &, int &result) { result = 0; });
    EXPECT_FALSE(SortKeysApply(table, list));
    BuildFieldList(table, list, "nev");
    table.Common().SetLocaleID(0x7777);
    key.clear();
    EXPECT_FALSE(AppendSortKey(table, record, list, key));
}

TEST(CompareFieldsText, UnknownLocaleIsRefusedUnlessTheLocaleIsIgnored)
{
    constexpr LCID unknown = 0x7A7A;
    bool full = false;
    EXPECT_EQ(CompareFields("a", "b", ftString, {mtifoIgnoreLocale}, full, unknown), -1);
    try {
        CompareFields("a", "b", ftString, {}, full, unknown);
        FAIL() << "an unknown locale compared texts";
    } catch (const EMemTableInvalidLocale &error) {
        EXPECT_STREQ(error.what(), "Invalid locale.");
    }
}

TEST(CompareFieldsNumbers, EveryTypeComparesByValue)
{
    TSQLTimeStamp early{2025, 9, 8, 23, 59, 59, 999};
    TSQLTimeStamp late{2025, 9, 9, 0, 0, 0, 0};
    const char a[4] = {1, 2, 3, 4};
    const char b[4] = {9, 9, 9, 9};
    const std::vector<std::pair<int, int>> results = {
        {compareAs<std::int16_t>(ftSmallint, -1, 1), -1},
        {compareAs<std::uint16_t>(ftWord, 65535, 1), 1},
        {compareAs<std::int32_t>(ftInteger, -5, -5), 0},
        {compareAs<std::int32_t>(ftAutoInc, 2147483647, -2147483647), 1},
        {compareAs<std::int64_t>(ftLargeint, 1LL << 40, 1LL << 41), -1},
        // False sorts before true whatever non-zero value stands for true.
        {compareAs<std::uint16_t>(ftBoolean, 0, 1), -1},
        {compareAs<std::uint16_t>(ftBoolean, 7, 1), 0},
        {compareAs<std::uint16_t>(ftBoolean, 1, 0), 1},
        {compareAs<double>(ftDateTime, 45000.25 * 86400000.0, 45000.75 * 86400000.0), -1},
        {compareAs<double>(ftFloat, 2.5, 2.5), 0},
        {compareAs<double>(ftCurrency, 3.0, 2.5), 1},
        {compareAs(ftTimeStamp, early, late), -1},
        {compareAs(ftTimeStamp, late, early), 1},
        {compareAs(ftTimeStamp, late, late), 0},
        {compareAs<std::int32_t>(ftInteger, 1, 2, {mtifoDescending}), 1},
        {compareAs(ftBCD, CurrToBCD(Currency(-3)), CurrToBCD(Currency(2))), -1},
        {compareAs(ftFMTBcd, DoubleToBcd(12.5), DoubleToBcd(12.25)), 1},
        // Out of range for the comparison: no order.
        {compareAs(ftBCD, StrToBcd("1000000000000000000000"), CurrToBCD(Currency(2))), 0},
    };
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i].first, results[i].second) << "case " << i;
    bool full = false;
    for (const TFieldType unordered : {ftBytes, ftVarBytes, ftBlob})
        EXPECT_EQ(CompareFields(a, b, unordered, {}, full, English), 0);
    EXPECT_TRUE(full);
}

TEST_F(CompareRecordsOnTable, FieldLimitComparesOnlyTheLeadingFields)
{
    TztrFieldList list;
    BuildFieldList(table, list, "nev;pont");
    EXPECT_EQ(CompareRecords(table, record(0), record(2), list, 1, false, false, 0), 0);
    EXPECT_LT(CompareRecords(table, record(0), record(2), list, 0, false, false, 0), 0);
    EXPECT_EQ(CompareRecords(table, nullptr, record(2), list, 0, false, false, 0), 0);
}

TEST_F(CompareRecordsOnTable, RangeModesTestEachFieldOnItsOwn)
{
    // Record 0 is (id 1, pont 10), record 2 is (id 3, pont 20).
    EXPECT_LT(compare(0, 2, "id;pont", 1), 0);  // a field below stops mode 1
    EXPECT_LE(compare(0, 2, "id;pont", 2), 0);  // nothing above: mode 2 runs to the end
    EXPECT_GT(compare(2, 0, "id;pont", 2), 0);
    EXPECT_LT(compare(0, 2, "id;pont", 3), 0);
    EXPECT_GT(compare(2, 0, "id;pont", 4), 0);
    EXPECT_LT(compare(0, 2, "id:d;pont", 1), 0); // descending does not count in range modes
}

TEST_F(CompareRecordsOnTable, TheTableMayCompareValuesItself)
{
    int calls = 0;
    table.SetOnCompareFields([&](TztrCustomMemTable &, TField *field, const void *, const void *, TFieldType type,
                                TztrifoOptions, bool &, int &result) {
        ++calls;
        EXPECT_EQ(field, table.FieldByName("pont"));
        EXPECT_EQ(type, ftInteger);
        result = 5;
    });
    EXPECT_EQ(compare(0, 2, "pont"), 5);
    EXPECT_EQ(calls, 1);
}

TEST_F(SortKeysOnTable, KeyBytesOrderAsTheRecordComparisonForTextOptionsAndFieldLists)
{
    for (const char *fields : {"nev:C", "nev:L", "nev:CL", "nev:CD", "igaz;nev:D;egesz", "valos:D;kis;nev",
                               "nev;ido:D"})
        expectKeysAgree(fields);
}

namespace {

// Wide texts stored by a table: a name kept in UTF-16, so accents outside cp1250 survive.
class WideTextsOnTable : public ::testing::Test {
protected:
    WideTextsOnTable()
    {
        table.FieldDefs().Add("id", ftInteger);
        table.FieldDefs().Add("nev", ftWideString, 20);
        table.SetLocaleID(Hungarian);
        table.Open();
        const std::u16string names[] = {u"cukor", u"csiga", u"ALMA", u"alma", u"AB", u"ABC", u"\u0150ri"};
        for (int i = 0; i < 7; ++i) {
            table.Append();
            table.FieldByName("id")->SetAsInteger(i);
            table.FieldByName("nev")->SetAsWideString(names[i]);
            table.Post();
        }
    }

    int compare(int key, int other, const std::string &fields, bool partial = false)
    {
        TztrFieldList list;
        BuildFieldList(table, list, fields);
        TztrIndex *rows = table.Indexes().RowOrderIndex();
        const int result = CompareRecords(table, rows->Entry(key), rows->Entry(other), list, 0, false, partial, 0);
        return (result > 0) - (result < 0);
    }

    TztrMemTable table;
};

} // namespace

TEST_F(WideTextsOnTable, LocaleCaseAndPartialRulesDecideAsForNarrowTexts)
{
    // Records: 0 cukor, 1 csiga, 2 ALMA, 3 alma, 4 AB, 5 ABC, 6 Őri.
    EXPECT_EQ(compare(0, 1, "nev"), -1); // cs is a letter of its own, after c
    EXPECT_EQ(compare(1, 0, "nev"), 1);
    EXPECT_EQ(compare(6, 0, "nev"), 1);
    EXPECT_EQ(compare(3, 2, "nev"), -1); // lower case first by the locale
    EXPECT_EQ(compare(2, 3, "nev:C"), 0);
    EXPECT_EQ(compare(2, 3, "nev:L"), -1); // code unit order: 'A' before 'a'
    EXPECT_EQ(compare(3, 2, "nev:CL"), 0);
    EXPECT_EQ(compare(0, 1, "nev:D"), 1);
    EXPECT_EQ(compare(4, 5, "nev", true), 0); // a key that begins the value matches it
    EXPECT_EQ(compare(5, 4, "nev", true), 1);
    EXPECT_EQ(compare(4, 5, "nev"), -1);
    EXPECT_EQ(compare(0, 0, "id;nev"), 0);
}

TEST_F(WideTextsOnTable, WideTextsAndDecimalsHaveNoSortKeyAndAreLeftToTheComparison)
{
    TztrFieldList list;
    BuildFieldList(table, list, "id;nev");
    EXPECT_FALSE(SortKeysApply(table, list));
    std::string key;
    EXPECT_FALSE(AppendSortKey(table, table.Indexes().RowOrderIndex()->Entry(0), list, key));

    TztrMemTable decimals;
    decimals.FieldDefs().Add("ertek", ftBCD, 4);
    decimals.Open();
    BuildFieldList(decimals, list, "ertek");
    EXPECT_FALSE(SortKeysApply(decimals, list));
}

TEST_F(CompareRecordsOnTable, AnUnknownModeNeverStopsEarlySoTheLastFieldDecides)
{
    // Record 0 is (id 1, ABC), record 2 is (id 3, ABC): the ids differ, the names do not.
    EXPECT_EQ(compare(0, 2, "id;nev", 9), 0);
    EXPECT_LT(compare(0, 2, "nev;id", 9), 0);
}
