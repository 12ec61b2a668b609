#include "memtable/ztrCompare.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"
#include "memtable/ztrTestTables.h"
#include "platform/DateTime.h"
#include "platform/FmtBcd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr LCID Hungarian = 0x040E;
constexpr LCID English = 0x0409;

int compareText(const std::string &key, const std::string &value, TztrifoOptions options = {},
                LCID locale = Hungarian)
{
    bool full = false;
    return CompareFields(key.c_str(), value.c_str(), ftString, options, full, locale);
}

template <typename T> int compareAs(TFieldType type, T key, T value, TztrifoOptions options = {})
{
    bool full = false;
    return CompareFields(&key, &value, type, options, full, English);
}

// The stored form of a wide string: its length in bytes, then the code units.
std::vector<std::uint8_t> wide(const std::u16string &text)
{
    std::vector<std::uint8_t> stored(4 + text.size() * 2);
    writeValue(stored.data(), static_cast<std::uint32_t>(text.size() * 2));
    std::memcpy(stored.data() + 4, text.data(), text.size() * 2);
    return stored;
}

} // namespace

TEST(CompareFieldsPartial, ShorterKeyMatchesTheValueItBegins)
{
    bool full = true;
    EXPECT_EQ(CompareFields("AB", "ABC", ftString, {mtifoPartial}, full, Hungarian), 0);
    EXPECT_FALSE(full);
}

TEST(CompareFieldsPartial, LongerKeyIsNotCutAndSortsAbove)
{
    bool full = true;
    EXPECT_EQ(CompareFields("ABC", "AB", ftString, {mtifoPartial}, full, Hungarian), 1);
    EXPECT_FALSE(full);
}

TEST(CompareFieldsPartial, EqualLengthsAreAFullCompare)
{
    bool full = false;
    EXPECT_EQ(CompareFields("AB", "AC", ftString, {mtifoPartial}, full, Hungarian), -1);
    EXPECT_TRUE(full);
}

TEST(CompareFieldsPartial, WideKeyIsCutInCharacters)
{
    const auto key = wide(u"ő");
    const auto value = wide(u"őz");
    bool full = true;
    EXPECT_EQ(CompareFields(key.data(), value.data(), ftWideString, {mtifoPartial}, full, Hungarian), 0);
    EXPECT_FALSE(full);
}

TEST(CompareFieldsLocale, HungarianDigraphsFollowTheirFirstLetter)
{
    // cp1250 bytes: "cukor" < "csiga" < "dzsungel" because cs and dzs are letters of their own.
    EXPECT_LT(compareText("cukor", "csiga"), 0);
    EXPECT_LT(compareText("csiga", "dzsungel"), 0);
    EXPECT_GT(compareText("dzsungel", "cukor"), 0);
}

TEST(CompareFieldsLocale, HungarianLongAndDoubleAccentsOrderAfterThePlainLetter)
{
    const std::string lo = "lo", loAcute = "l\xF3", loDoubleAcute = "l\xF5"; // ló, lő in cp1250
    EXPECT_LT(compareText(lo, loAcute), 0);
    EXPECT_LT(compareText(loAcute, loDoubleAcute), 0);
}

TEST(CompareFieldsLocale, IgnoringCaseKeepsAccentsApart)
{
    EXPECT_EQ(compareText("ALMA", "alma", {mtifoCaseInsensitive}), 0);
    EXPECT_NE(compareText("lo", "L\xD3", {mtifoCaseInsensitive}), 0);
    EXPECT_NE(compareText("ALMA", "alma"), 0);
}

TEST(CompareFieldsLocale, WideTextsUseTheSameOrder)
{
    const auto cukor = wide(u"cukor");
    const auto csiga = wide(u"csiga");
    bool full = false;
    EXPECT_EQ(CompareFields(cukor.data(), csiga.data(), ftWideString, {}, full, Hungarian), -1);
    EXPECT_EQ(CompareFields(csiga.data(), cukor.data(), ftWideString, {}, full, Hungarian), 1);
}

TEST(CompareFieldsLocale, UnknownLocaleIsRefusedWhenTextsAreCompared)
{
    constexpr LCID unknown = 0x7A7A;
    bool full = false;
    EXPECT_THROW(CompareFields("a", "b", ftString, {}, full, unknown), EMemTableInvalidLocale);
    EXPECT_EQ(CompareFields("a", "b", ftString, {mtifoIgnoreLocale}, full, unknown), -1);
    try {
        CompareFields("a", "b", ftString, {}, full, unknown);
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "Invalid locale.");
    }
}

TEST(CompareFieldsOrdinal, IgnoringTheLocaleComparesBytes)
{
    // Ordinal order puts every upper-case letter before any lower-case one.
    EXPECT_EQ(compareText("Z", "a", {mtifoIgnoreLocale}), -1);
    EXPECT_EQ(compareText("Z", "a", {mtifoIgnoreLocale, mtifoCaseInsensitive}), 1);
    EXPECT_EQ(compareText("abc", "ABC", {mtifoIgnoreLocale, mtifoCaseInsensitive}), 0);
}

TEST(CompareFieldsNumbers, SignedAndUnsignedWidthsKeepTheirSign)
{
    EXPECT_EQ(compareAs<std::int16_t>(ftSmallint, -1, 1), -1);
    EXPECT_EQ(compareAs<std::uint16_t>(ftWord, 65535, 1), 1);
    EXPECT_EQ(compareAs<std::int32_t>(ftInteger, -5, -5), 0);
    EXPECT_EQ(compareAs<std::int32_t>(ftAutoInc, 2147483647, -2147483647), 1);
    EXPECT_EQ(compareAs<std::int64_t>(ftLargeint, 1LL << 40, 1LL << 41), -1);
}

TEST(CompareFieldsNumbers, FalseSortsBeforeTrueWhateverTheStoredNonZero)
{
    EXPECT_EQ(compareAs<std::uint16_t>(ftBoolean, 0, 1), -1);
    EXPECT_EQ(compareAs<std::uint16_t>(ftBoolean, 7, 1), 0);
    EXPECT_EQ(compareAs<std::uint16_t>(ftBoolean, 1, 0), 1);
}

TEST(CompareFieldsNumbers, DateTimesAPartOfADayApartDiffer)
{
    const double morning = 45000.25 * 86400000.0;
    const double evening = 45000.75 * 86400000.0;
    EXPECT_EQ(compareAs<double>(ftDateTime, morning, evening), -1);
    EXPECT_EQ(compareAs<double>(ftFloat, 2.5, 2.5), 0);
    EXPECT_EQ(compareAs<double>(ftCurrency, 3.0, 2.5), 1);
}

TEST(CompareFieldsNumbers, TimeStampsDecideByTheFirstDifferingPart)
{
    TSQLTimeStamp early{2025, 9, 8, 23, 59, 59, 999};
    TSQLTimeStamp late{2025, 9, 9, 0, 0, 0, 0};
    EXPECT_EQ(compareAs(ftTimeStamp, early, late), -1);
    EXPECT_EQ(compareAs(ftTimeStamp, late, early), 1);
    EXPECT_EQ(compareAs(ftTimeStamp, late, late), 0);
}

TEST(CompareFieldsDescending, NegatesEveryResult)
{
    EXPECT_EQ(compareAs<std::int32_t>(ftInteger, 1, 2, {mtifoDescending}), 1);
    EXPECT_EQ(compareText("cukor", "csiga", {mtifoDescending}), 1);
}

TEST(CompareFieldsUnordered, BytesAndBlobsAlwaysCompareEqual)
{
    const char a[4] = {1, 2, 3, 4};
    const char b[4] = {9, 9, 9, 9};
    bool full = false;
    EXPECT_EQ(CompareFields(a, b, ftBytes, {}, full, English), 0);
    EXPECT_EQ(CompareFields(a, b, ftVarBytes, {}, full, English), 0);
    EXPECT_EQ(CompareFields(a, b, ftBlob, {}, full, English), 0);
    EXPECT_TRUE(full);
}

TEST(CompareFieldsNumbers, BcdValuesCompareByAmountAndOutOfRangeOnesDoNot)
{
    EXPECT_EQ(compareAs(ftBCD, CurrToBCD(Currency(-3)), CurrToBCD(Currency(2))), -1);
    EXPECT_EQ(compareAs(ftFMTBcd, DoubleToBcd(12.5), DoubleToBcd(12.25)), 1);
    const TBcd huge = StrToBcd("1000000000000000000000");
    EXPECT_EQ(compareAs(ftBCD, huge, CurrToBCD(Currency(2))), 0);
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

TEST_F(CompareRecordsOnTable, NullSortsBeforeValues)
{
    EXPECT_LT(compare(1, 0, "pont"), 0);
    EXPECT_GT(compare(0, 1, "pont"), 0);
    EXPECT_EQ(compare(1, 1, "pont"), 0);
}

TEST_F(CompareRecordsOnTable, DescendingPutsNullLast)
{
    EXPECT_GT(compare(1, 0, "pont:d"), 0);
    EXPECT_LT(compare(2, 0, "pont:d"), 0);
}

TEST_F(CompareRecordsOnTable, NullKeyIgnoredMatchesAnyValue)
{
    EXPECT_EQ(compare(1, 0, "pont:n"), 0);
    EXPECT_EQ(compare(1, 0, "pont", 0, false, true), 0);
    EXPECT_LT(compare(1, 0, "pont;id:n"), 0);
}

TEST_F(CompareRecordsOnTable, FirstDecidingFieldWins)
{
    EXPECT_LT(compare(0, 2, "nev;pont"), 0);
    EXPECT_GT(compare(2, 0, "nev;pont"), 0);
    EXPECT_GT(compare(0, 2, "nev;id:d;pont"), 0); // id 1 after id 3 when descending
}

TEST_F(CompareRecordsOnTable, PartialKeyStopsAtTheCutField)
{
    // "AB" against "ABC" is a partial match: the walk ends there with 0 even though pont differs.
    EXPECT_EQ(compare(1, 0, "nev;pont", 0, true), 0);
    EXPECT_NE(compare(1, 0, "nev;pont"), 0);
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
        const char *names[] = {"Lakatos", "lakatos", "Lakatos Ödön", "Csizmadia", "cukor", "Őri", "öt", "", "Zsolt"};
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

TEST_F(SortKeysOnTable, KeyBytesOrderAsTheRecordComparisonForEveryType)
{
    for (const char *field : {"kis", "szo", "egesz", "nagy", "igaz", "valos", "ido", "nev"}) {
        expectKeysAgree(field);
        expectKeysAgree(std::string(field) + ":D");
    }
}

TEST_F(SortKeysOnTable, KeyBytesOrderAsTheRecordComparisonForTextOptionsAndFieldLists)
{
    for (const char *fields : {"nev:C", "nev:L", "nev:CL", "nev:CD", "igaz;nev:D;egesz", "valos:D;kis;nev",
                               "nev;ido:D"})
        expectKeysAgree(fields);
}

TEST_F(SortKeysOnTable, OrdersWithoutKeyBytesAreLeftToTheComparison)
{
    TztrFieldList list;
    for (const char *fields : {"nev:P", "egesz:N"}) {
        BuildFieldList(table, list, fields);
        EXPECT_FALSE(SortKeysApply(table, list)) << fields;
    }
    BuildFieldList(table, list, "egesz");
    table.SetOnCompareFields([](TztrCustomMemTable &, TField *, const void *, const void *, TFieldType, TztrifoOptions,
                               bool &, int &result) { result = 0; });
    EXPECT_FALSE(SortKeysApply(table, list));
}

TEST_F(SortKeysOnTable, NaNAndUnknownLocaleGiveNoKey)
{
    table.First();
    table.Edit();
    table.FieldByName("valos")->SetAsFloat(std::nan(""));
    table.FieldByName("nev")->SetAsString("x");
    table.Post();
    TztrRecord *record = table.Indexes().RowOrderIndex()->Entry(0);
    TztrFieldList list;
    std::string key;
    BuildFieldList(table, list, "valos");
    EXPECT_FALSE(AppendSortKey(table, record, list, key));
    BuildFieldList(table, list, "nev");
    table.Common().SetLocaleID(0x7777);
    key.clear();
    EXPECT_FALSE(AppendSortKey(table, record, list, key));
}
