// A table's filter reads common expressions straight from record memory. Every case here walks a
// table filtered that way and compares what it shows with the general evaluator's verdict on the
// same records, read through the fields: the two must agree record for record, and raise alike.

#include "memtable/ztrTestTables.h"
#include "platform/DateTime.h"
#include "platform/ExprParser.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Row = std::map<std::string, Variant>;

// Texts are cp1250: "\xE1" is á, "\xC1" is Á, "\xED" is í, "\xCD" is Í.
const std::vector<Row> &rows()
{
    const TDateTime day = EncodeDate(2026, 3, 2);
    static const std::vector<Row> values = {
        {{"kis", std::int16_t{-5}}, {"szo", 0}, {"nagy", std::int64_t{9007199254740993}}, {"valos", -2.5},
         {"penz", 0.1}, {"nap", day}, {"ido", EncodeTime(8, 30, 0, 0)},
         {"pont", TDateTime(day + EncodeTime(8, 30, 0, 0))}, {"kod", "ABC"}, {"fix", "AB"}, {"aktiv", true}},
        {},
        {{"kis", std::int16_t{0}}, {"szo", 65535}, {"nagy", std::int64_t{-1}}, {"valos", 0.1 + 0.2}, {"penz", 12.5},
         {"nap", EncodeDate(2026, 3, 3)}, {"ido", EncodeTime(0, 0, 0, 0)}, {"pont", day}, {"kod", "abc"},
         {"fix", "AB  C"}, {"aktiv", false}},
        {{"kis", std::int16_t{32767}}, {"szo", 1}, {"nagy", std::int64_t{0}}, {"valos", 1e300}, {"penz", -3.0},
         {"nap", TDateTime(0.0)}, {"ido", EncodeTime(23, 59, 59, 0)}, {"pont", TDateTime(0.5)}, {"kod", ""},
         {"fix", ""}},
        {{"kis", std::int16_t{5}}, {"szo", 5}, {"nagy", std::int64_t{5}}, {"valos", 5.0}, {"penz", 5.0},
         {"kod", "\xE1rv\xEDz"}, {"fix", "\xC1RV"}, {"aktiv", true}},
        {{"kis", std::int16_t{-32768}}, {"valos", std::nan("")}, {"kod", "\xC1RV\xCDZ"}, {"fix", "\xE1rv  "}},
        {{"kis", std::int16_t{3}}, {"szo", 3}, {"nagy", std::int64_t{3}}, {"valos", 0.3}, {"kod", "A_C"},
         {"fix", "A%"}},
        {{"kis", std::int16_t{1}}, {"kod", "O'Brien"}, {"fix", "o'b"}, {"penz", 0.3}},
        {{"kod", "ABCDEFGHIJKLMNOPQRST"}, {"fix", "ABCDEFGHIJKLMN"}, {"valos", 12.5}},
    };
    return values;
}

// The general evaluator's view of the table's current record.
class CurrentRecord : public FilterFieldValues
{
public:
    explicit CurrentRecord(TztrCustomMemTable &table) : table_(table) {}
    Variant FieldValue(const std::string &fieldName) const override
    {
        return table_.FieldByName(fieldName)->AsVariant();
    }

private:
    TztrCustomMemTable &table_;
};

// The ids of the records accepted, in order, or none when the filter raised.
using Verdict = std::optional<std::vector<int>>;

class BoundFilter : public ::testing::Test
{
protected:
    // Long texts of a balanced table live outside the record; a fast one keeps them inside.
    void build(TztrMemTable &table, TztrPerformance performance)
    {
        table.SetPerformance(performance);
        table.SetAttachMaxCount(2);
        for (const auto &[name, type] : {std::pair{"id", ftInteger}, {"kis", ftSmallint}, {"szo", ftWord},
                                         {"nagy", ftLargeint}, {"valos", ftFloat}, {"penz", ftCurrency},
                                         {"nap", ftDate}, {"ido", ftTime}, {"pont", ftDateTime}, {"aktiv", ftBoolean}})
            table.FieldDefs().Add(name, type);
        table.FieldDefs().Add("kod", ftString, 20);
        table.FieldDefs().Add("fix", ftFixedChar, 14);
        table.Open();
        int id = 0;
        for (const Row &row : rows()) {
            table.Append();
            table.FieldByName("id")->SetAsInteger(++id);
            for (const auto &[name, value] : row)
                table.FieldByName(name)->SetAsVariant(value);
            table.Post();
        }
    }

    static Verdict shownByFilter(TztrCustomMemTable &table, const std::string &filter, TFilterOptions options)
    {
        table.SetFiltered(false);
        table.SetFilter("");
        std::vector<int> ids;
        try {
            table.SetFilterOptions(options);
            table.SetFilter(filter);
            table.SetFiltered(true);
            for (table.First(); !table.Eof(); table.Next())
                ids.push_back(table.FieldByName("id")->AsInteger());
        } catch (const Exception &) {
            table.SetFiltered(false);
            return std::nullopt;
        }
        table.SetFiltered(false);
        return ids;
    }

    static Verdict acceptedByEvaluator(TztrCustomMemTable &table, const std::string &filter,
                                       TFilterOptions options)
    {
        table.SetFiltered(false);
        const FieldTypeOf fieldType = [&](const std::string &name) -> std::optional<TFieldType> {
            const TField *field = table.FindField(name);
            return field ? std::optional(field->DataType()) : std::nullopt;
        };
        std::vector<int> ids;
        try {
            const TExprParser parser(filter, fieldType, options);
            for (table.First(); !table.Eof(); table.Next()) {
                if (FilterExpressionAccepts(parser.Root(), CurrentRecord(table)))
                    ids.push_back(table.FieldByName("id")->AsInteger());
            }
        } catch (const Exception &) {
            return std::nullopt;
        }
        return ids;
    }

    // Both ways agree for every filter, under every combination of the filter options, with
    // texts inside and outside the records.
    void expectAgreement(const std::vector<std::string> &filters)
    {
        for (const TztrPerformance performance : {mtpfFast, mtpfBalanced}) {
            TztrMemTable table;
            build(table, performance);
            for (const TFilterOptions options :
                 {TFilterOptions{}, TFilterOptions{foCaseInsensitive}, TFilterOptions{foNoPartialCompare},
                  TFilterOptions{foCaseInsensitive, foNoPartialCompare}}) {
                for (const std::string &filter : filters) {
                    EXPECT_EQ(shownByFilter(table, filter, options),
                              acceptedByEvaluator(table, filter, options))
                        << filter << " (performance " << static_cast<int>(performance) << ", options "
                        << options.Contains(foCaseInsensitive) << options.Contains(foNoPartialCompare) << ")";
                }
            }
        }
    }

    // Every comparison operator, with the field on either side.
    static std::vector<std::string> comparisons(const std::vector<std::string> &fields,
                                                const std::vector<std::string> &constants)
    {
        std::vector<std::string> filters;
        for (const std::string &field : fields)
            for (const std::string &constant : constants)
                for (const char *op : {"=", "<>", "<", ">", "<=", ">="}) {
                    filters.push_back(field + op + constant);
                    filters.push_back(constant + op + field);
                }
        return filters;
    }

    std::vector<int> shown(const std::string &filter, TFilterOptions options = {})
    {
        TztrMemTable table;
        build(table, mtpfBalanced);
        return shownByFilter(table, filter, options).value_or(std::vector<int>{-1});
    }
};

} // namespace

TEST_F(BoundFilter, ComparisonsOfEveryFieldTypeAgreeWithTheGeneralEvaluator)
{
    std::vector<std::string> filters;
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> groups = {
        {{"kis", "szo", "nagy", "id"},
         {"0", "3", "5", "-5", "65535", "-32768", "0.3", "2.5", "9007199254740992", "(2*3)", "'x'", "'5'"}},
        {{"valos", "penz"}, {"0", "0.3", "-2.5", "12.5", "5", "1", "-3", "'y'"}},
        {{"nap", "ido", "pont"},
         {"'2026-03-02'", "'2026-03-02 08:30'", "'08:30'", "'1899-12-30'", "46083", "0.5", "0", "'holnap'"}},
        {{"kod", "fix"},
         {"'ABC'", "'abc'", "''", "'AB'", "'\xC1RV\xCDZ'", "'\xE1rv'", "'A_C'", "'AB  C'", "'o''b'", "5"}},
    };
    for (const auto &[fields, constants] : groups)
        for (const std::string &filter : comparisons(fields, constants))
            filters.push_back(filter);
    expectAgreement(filters);
}

TEST_F(BoundFilter, TextOptionsLikeNullsListsAndOtherExpressionsAgreeWithTheGeneralEvaluator)
{
    expectAgreement({"kod = 'abc'", "'ABC' = kod", "kod <> 'abc'", "kod = 'AB*'", "kod <> 'ab*'",
                     "'ab*' = kod", "kod = '\xE1RV\xCDZ'", "kod = '\xE1r*'", "fix = 'ab  c'", "fix = 'a*'",
                     "kod = '*'", "kod = 'ABCDEFGHIJKLMNOPQRSTUV*'", "kod like 'abc'", "kod like '\xC1R%'",
                     "kod = ''", "fix <> ''",
                     "kod like 'a%'", "kod like 'A_C'", "kod like 'abc?'", "kod like 'abc_'", "kod like '%'",
                     "kod like ''", "kod like '*'", "kod like '?'", "fix like 'ab?" "?'", "fix like 'A%'",
                     "'ABCD' like kod", "'A%C' like fix", "'xyz' like kod", "kod like 'o''b*'", "kis like '5'",
                     "kod like 5",
                     "kis is null", "kod is not null", "not (kis = 5)", "not kis is null",
                     "kis > 0 and valos < 10", "kis is null or kod = 'ABC'",
                     "(kis = 5) or (szo = 5) and not (nagy is not null)", "not (not (penz >= 0.3))",
                     "nap is null and ido is null and pont is null", "(kod like 'a**') and (fix is not null)",
                     "kis in (5, -5, 3)", "szo in (0, 65535)", "kod in ('ABC', '', 'A_C')",
                     "valos in (0.3, 5)", "kis in (1, 'x')", "kod in ('ABC', 5)", "nap in ('2026-03-03', 0)",
                     "kis in (2*2+1)", "5 in (kis, szo)",
                     "aktiv", "not aktiv", "aktiv and kis > 0", "aktiv = 1", "kis + 0 > 0 or kod = 'abc'",
                     "upper(kod) = 'ABC' and fix is not null", "kod > 5", "kod = 5", "nap = 'holnap'",
                     "kis > 0 and kod > 5", "substring(kod, 1, 2) = 'AB'", "year(pont) = 2026",
                     "kis * 2 >= szo", "kod = fix"});
}

TEST_F(BoundFilter, ShowsTheRecordsTheRulesSelectThroughAnyCursorAndRaisesOnBadDates)
{
    const std::vector<std::tuple<std::string, TFilterOptions, std::vector<int>>> cases = {
        {"nagy = 5", {}, {5}},
        {"nagy < 0", {}, {3}},
        {"szo = 65535", {}, {3}},
        {"-5 >= kis", {}, {1, 6}},
        {"valos = 0.3", {}, {6, 7}}, // a NaN differs by NaN, which counts as equal
        {"nap >= '2026-03-02'", {}, {1, 3}},
        {"fix = 'AB'", {}, {1}}, // fixed-length texts lose their trailing blanks
        {"fix = '\xE1rv'", {}, {6}},
        {"kod = '\xE1RV\xCDZ'", {foCaseInsensitive}, {5, 6}},
        {"kod = 'ab*'", {foCaseInsensitive}, {1, 3, 9}},
        {"'ABC' like kod", {}, {1, 3, 7}},
        // A comparison with a null side is False, not null, so NOT lets it through.
        {"not (kis = 5)", {}, {1, 2, 3, 4, 6, 7, 8, 9}},
        {"kis in (5, -5, 3)", {}, {1, 5, 7}},
    };
    for (const auto &[filter, options, ids] : cases)
        EXPECT_EQ(shown(filter, options), ids) << filter;

    // An attached table reads the shared records through its own fields.
    TztrMemTable owner;
    build(owner, mtpfFast);
    TztrMemTable view;
    view.SetAttachedTo(&owner);
    view.Open();
    for (const std::string filter : {"kod like 'a%'", "kis >= 0 and fix <> ''", "pont < '2026-03-02 08:30'"})
        EXPECT_EQ(shownByFilter(view, filter, {}), acceptedByEvaluator(owner, filter, {})) << filter;

    // A stored date that is no date raises whichever side it stands on.
    owner.First();
    owner.Edit();
    const std::int32_t noDay = 0;
    owner.FieldByName("nap")->SetData(&noDay);
    owner.Post();
    for (const std::string filter : {"nap > 5", "kod = 'ABC' or nap > 5", "kod = 'x' and nap > 5", "nap in (1, 2)"}) {
        EXPECT_EQ(acceptedByEvaluator(owner, filter, {}), std::nullopt) << filter;
        EXPECT_EQ(shownByFilter(owner, filter, {}), std::nullopt) << filter;
    }
}

