#include "memtable/ztrFilter.h"

#include "memtable/ztrErrors.h"
#include "platform/DateTime.h"
#include "platform/ExprParser.h"

#include <gtest/gtest.h>
#include <map>
#include <tuple>
#include <vector>

namespace {

// Texts are cp1250: "\xC1" is Á, "\xE1" is á.
const std::map<std::string, TFieldType> FieldTypes = {
    {"kurzus_id", ftInteger}, {"teszt", ftInteger},   {"targy_kod", ftString}, {"targy_nev", ftString},
    {"kezd_ido", ftDateTime}, {"vizsga_nap", ftDate}, {"atlag", ftFloat},      {"aktiv", ftBoolean},
};

// A record as the filter sees it; fields it does not list are null.
class Record : public FilterFieldValues
{
public:
    Record() = default;
    Record(std::initializer_list<std::pair<const std::string, Variant>> values) : values_(values) {}

    Variant FieldValue(const std::string &fieldName) const override
    {
        if (!FieldTypes.count(fieldName))
            throw EDatabaseError("Field '" + fieldName + "' not found");
        const auto value = values_.find(fieldName);
        return value == values_.end() ? Variant::Null() : value->second;
    }

private:
    std::map<std::string, Variant> values_;
};

std::optional<TFieldType> fieldType(const std::string &name)
{
    const auto field = FieldTypes.find(name);
    if (field == FieldTypes.end())
        return std::nullopt;
    return field->second;
}

bool accepts(const std::string &filter, const Record &record, TFilterOptions options = {})
{
    const TExprParser parser(filter, fieldType, options);
    return FilterExpressionAccepts(parser.Root(), record);
}

Variant valueOf(const std::string &expression, const Record &record = {})
{
    const TExprParser parser(expression, fieldType, {});
    return EvaluateFilterExpression(parser.Root(), record);
}

std::unique_ptr<ExprNode> node(ExprNodeClass nodeClass, std::uint32_t op)
{
    auto result = std::make_unique<ExprNode>();
    result->NodeClass = nodeClass;
    result->Operator = static_cast<ExprOperator>(op);
    return result;
}

std::unique_ptr<ExprNode> constant(TFieldType type, ExprValue value)
{
    auto result = node(ExprNodeClass::Constant, 14);
    result->DataType = type;
    result->Value = std::move(value);
    return result;
}

std::string refusal(const ExprNode &tree)
{
    try {
        EvaluateFilterExpression(tree, Record{});
    } catch (const EMemTableFilterError &error) {
        return error.what();
    }
    return "evaluated";
}

} // namespace

TEST(FilterExpressions, AcceptRecordsByTheNullLikeCaseAndValueRules)
{
    // Texts are cp1250: ÁRVÍZTŰRŐ against árvíztűrő.
    const Record upperName{{"targy_nev", "\xC1RV\xCDZT\xDBR\xD5"}};
    const Record values{
        {"kurzus_id", 12}, {"targy_kod", "B"}, {"atlag", 3.5}, {"vizsga_nap", TDateTime(EncodeDate(2025, 9, 8))}};
    struct Case
    {
        std::string filter;
        Record record;
        TFilterOptions options;
        bool accepted;
    };
    const std::vector<Case> cases = {
        // Every comparison with a null side is false; NOT, AND and OR keep that.
        {"teszt<>1", {}, {}, false},
        {"teszt<>1", {{"teszt", 1}}, {}, false},
        {"teszt<>1", {{"teszt", 0}}, {}, true},
        {"teszt=1", {}, {}, false},
        {"teszt>1", {}, {}, false},
        {"teszt>=1", {}, {}, false},
        {"teszt in (1, 2)", {}, {}, false},
        {"targy_kod like '*'", {}, {}, false},
        {"targy_kod<>'MSB*'", {}, {}, false},
        {"targy_kod<>'x'", {}, {foCaseInsensitive}, false},
        {"not aktiv", {}, {}, false},
        {"not aktiv", {{"aktiv", false}}, {}, true},
        {"aktiv", {}, {}, false},
        {"aktiv", {{"aktiv", true}}, {}, true},
        {"teszt=1 or aktiv", {{"teszt", 1}}, {}, false},
        {"not (teszt=1 and aktiv)", {{"teszt", 1}}, {}, true},
        {"kurzus_id * 2 is null", {}, {}, true},
        {"targy_kod is null", {}, {}, true},
        {"targy_kod is not null", {{"targy_kod", ""}}, {}, true},
        // Like: ** matches the rest in any case.
        {"targy_kod like 'MSB293**'", {{"targy_kod", "MSB293"}}, {}, true},
        {"targy_kod like 'MSB293**'", {{"targy_kod", "Msb293-EA-00"}}, {}, true},
        {"targy_kod like 'MSB293**'", {{"targy_kod", "MSB29"}}, {}, false},
        {"targy_kod like 'MSB293**'", {{"targy_kod", "XMSB293"}}, {}, false},
        {"targy_nev like '\xE1rv*'", {{"targy_nev", "\xC1RV\xCDZ"}}, {foCaseInsensitive}, true},
        {"targy_nev like '\xE1rv*'", {{"targy_nev", "\xC1RV\xCDZ"}}, {}, false},
        // Comparing to a text ending in * matches its leading characters.
        {"targy_nev='\xE1rv\xEDzt\xFBr\xF5'", upperName, {foCaseInsensitive}, true},
        {"targy_nev='\xE1rv\xEDzt\xFBr\xF5'", upperName, {}, false},
        {"targy_kod='MSB*'", {{"targy_kod", "MSB293"}}, {}, true},
        {"targy_kod='MSB*'", {{"targy_kod", "MS"}}, {}, false},
        {"targy_kod='MSB*'", {{"targy_kod", "msb293"}}, {}, false},
        {"targy_kod='MSB*'", {{"targy_kod", "msb293"}}, {foCaseInsensitive}, true},
        {"targy_kod<>'MSB*'", {{"targy_kod", "MSX"}}, {}, true},
        {"targy_kod='MSB*'", {{"targy_kod", "MSB293"}}, {foNoPartialCompare}, false},
        // Values, lists and arithmetic.
        {"kurzus_id=12 and kurzus_id>=12 and kurzus_id<13 and kurzus_id>2", values, {}, true},
        {"kurzus_id<12 or kurzus_id>12 or kurzus_id<=11 or kurzus_id>=13", values, {}, false},
        {"targy_kod>'A' and targy_kod<='B'", values, {}, true},
        {"atlag>3.25 and atlag<4", values, {}, true},
        {"vizsga_nap='2025.09.08' and vizsga_nap<'2025.09.09'", values, {}, true},
        {"kurzus_id in (3, 5, 12)", values, {}, true},
        {"targy_kod in ('A', 'B')", values, {}, true},
        {"kurzus_id + 1 * 2 = 14", values, {}, true},
        {"-kurzus_id = -12", values, {}, true},
        {"targy_kod + '-' + targy_kod = 'B-B'", values, {}, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(accepts(c.filter, c.record, c.options), c.accepted) << c.filter;
    EXPECT_TRUE(valueOf("not aktiv").IsNull());
    EXPECT_TRUE(valueOf("kurzus_id + 1").IsNull());
    EXPECT_TRUE(valueOf("-kurzus_id").IsNull());
}

TEST(FilterLike, PatternsMatchWholeTextsFoldingOnlyAToZ)
{
    const std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {"ABC", "a_c", true},    {"AC", "a_c", false},    {"ABC", "abc?", true},      {"ABC", "abc_", false},
        {"ABC", "abc???**%", true}, {"ABC", "a%z", true}, {"A", "a*", true},          {"", "%", true},
        {"ABCD", "abc", false},  {"AB", "abc", false},    {"", "", true},
        {"\xC1rp\xE1" "d", "\xE1rp\xE1" "d", false}, // Á and á differ
        {"\xE1RP\xE1" "D", "\xE1rp\xE1" "d", true},
    };
    for (const auto &[text, pattern, matches] : cases)
        EXPECT_EQ(MatchesLikePattern(text, pattern), matches) << text << " like " << pattern;
}

TEST(FilterFunctions, TextFunctionsFoldTrimAndCut)
{
    const Record record{{"targy_nev", "\xE1rp\xE1" "d Kft"}, {"targy_kod", "MSB293-EA"}, {"atlag", 1.0}};
    const Record blanks{{"targy_nev", " \t ab c \r\n"}};
    const std::vector<std::tuple<std::string, Record, std::string>> cases = {
        {"upper(targy_nev)", record, "\xE1RP\xE1" "D KFT"},
        {"lower(targy_nev)", record, "\xE1rp\xE1" "d kft"},
        {"substring(targy_kod, 1, 3)", record, "MSB"},
        {"substring(targy_kod, 8)", record, "EA"},
        {"substring(targy_kod, 0, 2)", record, "MS"},
        {"substring(targy_kod, 20, 2)", record, ""},
        {"substring(targy_kod, 2, 0)", record, ""},
        {"substring(targy_kod, 2, 1)", record, "S"},
        {"trim(targy_nev)", blanks, "ab c"},
        {"trimleft(targy_nev)", blanks, "ab c \r\n"},
        {"trimright(targy_nev)", blanks, " \t ab c"},
    };
    for (const auto &[expression, values, result] : cases)
        EXPECT_EQ(valueOf(expression, values).AsString(), result) << expression;
    for (const char *expression : {"upper(targy_kod)", "substring(targy_kod, 1, 2)", "trim(targy_kod)",
                                   "year(kezd_ido)", "date(kezd_ido)"})
        EXPECT_TRUE(valueOf(expression).IsNull()) << expression;
}

TEST(FilterLists, ListsStopAtTheFirstEmptyElement)
{
    auto tree = node(ExprNodeClass::Binary, 31);
    tree->Left = constant(ftInteger, 7);
    tree->Right = node(ExprNodeClass::ListElement, 36);
    tree->Right->Left = node(ExprNodeClass::Unary, 1); // False, then an empty element, then 7
    tree->Right->Left->Left = constant(ftInteger, 1);
    tree->Right->Right = node(ExprNodeClass::ListElement, 36);
    tree->Right->Right->Right = node(ExprNodeClass::ListElement, 36);
    tree->Right->Right->Right->Left = constant(ftInteger, 7);
    EXPECT_FALSE(FilterExpressionAccepts(*tree, Record{}));
}

TEST(FilterArithmetic, OperatorsFollowTheirPrecedence)
{
    EXPECT_TRUE(accepts("kurzus_id + 1 * 2 = 7", Record{{"kurzus_id", 5}}));
    EXPECT_TRUE(accepts("(kurzus_id - 1) / 2 = 2", Record{{"kurzus_id", 5}}));
    EXPECT_TRUE(accepts("-kurzus_id = -5", Record{{"kurzus_id", 5}}));
    EXPECT_TRUE(
        accepts("targy_kod + '-' + targy_nev = 'A-B'", Record{{"targy_kod", "A"}, {"targy_nev", "B"}}));
}

TEST(FilterArithmetic, ModuloAndRemainderAreTheIntegerRemainder)
{
    for (std::uint32_t op : {20u, 21u}) {
        auto tree = node(ExprNodeClass::Binary, op);
        tree->Left = constant(ftInteger, 17);
        tree->Right = constant(ftInteger, 5);
        EXPECT_EQ(EvaluateFilterExpression(*tree, Record{}).AsInteger(), 2);
    }
}

TEST(FilterFunctions, DateAndTimePartsOfAMoment)
{
    const TDateTime moment = EncodeDate(2025, 9, 8) + EncodeTime(10, 45, 30, 0);
    const Record record{{"kezd_ido", moment}};
    EXPECT_EQ(valueOf("year(kezd_ido)", record).AsInteger(), 2025);
    EXPECT_EQ(valueOf("month(kezd_ido)", record).AsInteger(), 9);
    EXPECT_EQ(valueOf("day(kezd_ido)", record).AsInteger(), 8);
    EXPECT_EQ(valueOf("hour(kezd_ido)", record).AsInteger(), 10);
    EXPECT_EQ(valueOf("minute(kezd_ido)", record).AsInteger(), 45);
    EXPECT_EQ(valueOf("second(kezd_ido)", record).AsInteger(), 30);
    EXPECT_DOUBLE_EQ(valueOf("date(kezd_ido)", record).AsDateTime(), EncodeDate(2025, 9, 8));
    EXPECT_NEAR(valueOf("time(kezd_ido)", record).AsDateTime(), EncodeTime(10, 45, 30, 0), 1 / MSecsPerDay);
}

TEST(FilterFunctions, GetDateIsTheCurrentMomentEvenWithoutArguments)
{
    const TDateTime before = Now();
    const TDateTime now = valueOf("getdate()").AsDateTime();
    EXPECT_GE(now, before);
    EXPECT_LE(now, Now());
}

TEST(FilterConstants, EachDataTypeGivesItsValue)
{
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftSmallint, -3), Record{}).VarType(), varSmallint);
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftWord, 65535), Record{}).AsInteger(), 65535);
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftAutoInc, 9), Record{}).VarType(), varInteger);
    EXPECT_TRUE(EvaluateFilterExpression(*constant(ftBoolean, 1), Record{}).AsBoolean());
    EXPECT_FALSE(EvaluateFilterExpression(*constant(ftBoolean, 0), Record{}).AsBoolean());
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftBCD, 2.5), Record{}).VarType(), varCurrency);
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftCurrency, 2.5), Record{}).VarType(), varDouble);
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftDate, TDateTime(45908)), Record{}).VarType(), varDate);
    EXPECT_EQ(EvaluateFilterExpression(*constant(ftWideString, std::string("\xE1")), Record{}).AsWideString(),
              u"\u00E1");
}

TEST(FilterErrors, UnknownOperatorsAndConstantTypesAreReported)
{
    EXPECT_EQ(refusal(*constant(ftBlob, 1)), "Ismeretlen mezőtípus (15)");
    EXPECT_EQ(refusal(*node(ExprNodeClass::Field, 14)), "Ismeretlen operátor (14)");
    auto wrongConstant = constant(ftInteger, 1);
    wrongConstant->Operator = ExprOperator::Field;
    EXPECT_EQ(refusal(*wrongConstant), "Ismeretlen operátor (13)");

    auto unary = node(ExprNodeClass::Unary, 3);
    unary->Left = constant(ftInteger, 1);
    EXPECT_EQ(refusal(*unary), "Az operátor nem támogatott (3).");
    auto binary = node(ExprNodeClass::Binary, 9);
    binary->Left = constant(ftInteger, 1);
    binary->Right = constant(ftInteger, 1);
    EXPECT_EQ(refusal(*binary), "Az operátor nem támogatott (9).");
    auto compare = node(ExprNodeClass::Compare, 6);
    compare->Left = constant(ftString, std::string("a"));
    compare->Right = constant(ftString, std::string("b"));
    EXPECT_EQ(refusal(*compare), "Az operátor nem támogatott (6).");
    EXPECT_EQ(refusal(*node(ExprNodeClass::Function, 33)), "Az operátor nem támogatott (33).");
    EXPECT_EQ(refusal(*node(ExprNodeClass::ListElement, 35)), "Az operátor nem támogatott (35).");
}

TEST(FilterErrors, UnknownNodeClassesAndFunctionsAreReported)
{
    EXPECT_EQ(refusal(*node(static_cast<ExprNodeClass>(7), 3)), "Ismeretlen operátor (7)");
    EXPECT_EQ(refusal(*node(static_cast<ExprNodeClass>(12), 3)), "iClass Túl van a határon (12)");
    auto function = node(ExprNodeClass::Function, 35);
    function->Name = "upper";
    EXPECT_EQ(refusal(*function), "Invalid function name upper") << "names are matched exactly";
}
