#include "platform/ExprParser.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

// The fields of a table the filters below are written against. Texts are cp1250: "\xF3" is ó.
const std::map<std::string, TFieldType> Fields = {
    {"kurzus_id", ftInteger},
    {"targy_id", ftInteger},
    {"teszt", ftInteger},
    {"szabad", ftInteger},
    {"targy_kod", ftString},
    {"targy_nev", ftString},
    {"kurzusminta_kod", ftString},
    {"kurzusminta_tipus", ftString},
    {"felvetel_tipusa", ftString},
    {"tagozat", ftString},
    {"kezd_ido", ftDateTime},
    {"vizsga_nap", ftDate},
    {"kezdes", ftTime},
    {"atlag", ftFloat},
    {"aktiv", ftBoolean},
    {"terem k\xF3"
     "d",
     ftString},
    {"szorz\xF3", ftInteger},
    {"_belso", ftInteger},
};

std::optional<TFieldType> fieldType(const std::string &name)
{
    const auto field = Fields.find(name);
    if (field == Fields.end())
        return std::nullopt;
    return field->second;
}

const char *operatorName(ExprOperator op)
{
    switch (op) {
    case ExprOperator::IsNull:
        return "isnull";
    case ExprOperator::IsNotNull:
        return "notnull";
    case ExprOperator::Equal:
        return "=";
    case ExprOperator::NotEqual:
        return "<>";
    case ExprOperator::Greater:
        return ">";
    case ExprOperator::Less:
        return "<";
    case ExprOperator::GreaterOrEqual:
        return ">=";
    case ExprOperator::LessOrEqual:
        return "<=";
    case ExprOperator::Not:
        return "not";
    case ExprOperator::And:
        return "and";
    case ExprOperator::Or:
        return "or";
    case ExprOperator::Negate:
        return "neg";
    case ExprOperator::Add:
        return "+";
    case ExprOperator::Subtract:
        return "-";
    case ExprOperator::Multiply:
        return "*";
    case ExprOperator::Divide:
        return "/";
    case ExprOperator::Like:
        return "like";
    case ExprOperator::In:
        return "in";
    case ExprOperator::Upper:
        return "upper";
    case ExprOperator::Lower:
        return "lower";
    default:
        return "?";
    }
}

void write(std::ostream &out, const ExprNode &node);

void writeList(std::ostream &out, const ExprNode *element)
{
    for (; element; element = element->Right.get()) {
        out << ' ';
        write(out, *element->Left);
    }
}

void writeConstant(std::ostream &out, const ExprNode &node)
{
    if (const auto *text = std::get_if<std::string>(&node.Value))
        out << '\'' << *text << '\'';
    else if (const auto *integer = std::get_if<std::int32_t>(&node.Value))
        out << *integer;
    else if (const auto *real = std::get_if<double>(&node.Value))
        out << *real << 'f';
    else if (const auto *boolean = std::get_if<bool>(&node.Value))
        out << (*boolean ? "true" : "false");
    else if (const auto *date = std::get_if<TDateTime>(&node.Value))
        out << '#' << static_cast<double>(*date);
}

// A compact, readable picture of a tree: (op left right), fields bare, texts quoted.
void write(std::ostream &out, const ExprNode &node)
{
    switch (node.NodeClass) {
    case ExprNodeClass::Field:
        out << node.Name;
        return;
    case ExprNodeClass::Constant:
        writeConstant(out, node);
        return;
    case ExprNodeClass::Unary:
        out << '(' << operatorName(node.Operator) << ' ';
        write(out, *node.Left);
        out << ')';
        return;
    case ExprNodeClass::Compare:
        out << '(' << operatorName(node.Operator) << (node.CaseInsensitive ? "/ci" : "") << '/'
            << node.PartialLength << ' ';
        write(out, *node.Left);
        out << ' ';
        write(out, *node.Right);
        out << ')';
        return;
    case ExprNodeClass::Binary:
        out << '(' << operatorName(node.Operator) << ' ';
        write(out, *node.Left);
        if (node.Operator == ExprOperator::In) {
            out << " [";
            writeList(out, node.Right.get());
            out << " ]";
        } else {
            out << ' ';
            write(out, *node.Right);
        }
        out << ')';
        return;
    case ExprNodeClass::Function:
        out << '(' << node.Name;
        writeList(out, node.Left.get());
        out << ')';
        return;
    case ExprNodeClass::ListElement:
        out << "<list>";
        return;
    }
}

std::string compiled(const std::string &text, TFilterOptions options = {})
{
    const TExprParser parser(text, fieldType, options);
    std::ostringstream out;
    write(out, parser.Root());
    return out.str();
}

std::string refusal(const std::string &text, TFilterOptions options = {})
{
    try {
        TExprParser parser(text, fieldType, options);
    } catch (const EDatabaseError &error) {
        return error.what();
    }
    return "compiled";
}

std::string repeated(const std::string &part, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

} // namespace

TEST(FilterTexts, CompileToTheirTrees)
{
    const struct { std::string text; TFilterOptions options; std::string tree; } cases[] = {
        {"kurzus_id=42", {}, "(= kurzus_id 42)"},
        {"kurzus_id=-1", {}, "(= kurzus_id -1)"},
        {"teszt<>1", {}, "(<> teszt 1)"},
        {"(kurzus_id=5)", {}, "(= kurzus_id 5)"},
        {"(szabad=1)", {}, "(= szabad 1)"},
        {"(kurzus_id=7) and (targy_id<>12)", {}, "(and (= kurzus_id 7) (<> targy_id 12))"},
        {"kurzus_id=7 and targy_id<>12", {}, "(and (= kurzus_id 7) (<> targy_id 12))"},
        {"(szabad=1) and (tagozat='N') and (felvetel_tipusa='K\xF6telez\xF5')", {}, "(and (and (= szabad 1) (= tagozat 'N')) (= felvetel_tipusa 'K\xF6telez\xF5'))"},
        {"(kurzusminta_tipus='GY' or kurzusminta_tipus='LA')", {}, "(or (= kurzusminta_tipus 'GY') (= kurzusminta_tipus 'LA'))"},
        {"targy_kod like 'MSB293**'", {}, "(like targy_kod 'MSB293**')"},
        {"targy_nev like 'O''Brien**'", {}, "(like targy_nev 'O'Brien**')"},
        {"(kurzusminta_kod like 'MSB293**') and (kurzusminta_tipus='EA')", {}, "(and (like kurzusminta_kod 'MSB293**') (= kurzusminta_tipus 'EA'))"},
        {"teszt=1 or teszt=2 and szabad=1", {}, "(or (= teszt 1) (and (= teszt 2) (= szabad 1)))"},
        {"not teszt=1 and szabad=1", {}, "(and (not (= teszt 1)) (= szabad 1))"},
        {"not not szabad=1", {}, "(not (not (= szabad 1)))"},
        {"kurzus_id+1*2=targy_id-3/4", {}, "(= (+ kurzus_id (* 1 2)) (- targy_id (/ 3 4)))"},
        {"kurzus_id-1-2=0", {}, "(= (- (- kurzus_id 1) 2) 0)"},
        {"(teszt=1 or teszt=2) and szabad=1", {}, "(and (or (= teszt 1) (= teszt 2)) (= szabad 1))"},
        {"(kurzus_id+1)*2=4", {}, "(= (* (+ kurzus_id 1) 2) 4)"},
        {"-kurzus_id<-2.5", {}, "(< (neg kurzus_id) -2.5f)"},
        {"--kurzus_id=- -3", {}, "(= (neg (neg kurzus_id)) 3)"},
        {"teszt=1 AND szabad=1 Or NOT teszt=2", {}, "(or (and (= teszt 1) (= szabad 1)) (not (= teszt 2)))"},
        {"targy_kod LIKE 'a*' and teszt In (1) and szabad iS nOt NuLl", {}, "(and (and (like targy_kod 'a*') (in teszt [ 1 ])) (notnull szabad))"},
        {"atlag=2147483647", {}, "(= atlag 2147483647)"},
        {"atlag=2147483648", {}, "(= atlag 2.14748e+09f)"},
        {"atlag=3.25", {}, "(= atlag 3.25f)"},
        {"atlag=1e3", {}, "(= atlag 1000f)"},
        {"aktiv=true or aktiv=FALSE", {}, "(or (= aktiv true) (= aktiv false))"},
        {"targy_nev='it''s'", {}, "(= targy_nev 'it's')"},
        {"targy_nev=\"say \"\"hi\"\"\"", {}, "(= targy_nev 'say \"hi\"')"},
        {"targy_nev=\"it's\"", {}, "(= targy_nev 'it's')"},
        {"targy_nev=''", {}, "(= targy_nev '')"},
        {"targy_nev=' a and (b) = c '", {}, "(= targy_nev ' a and (b) = c ')"},
        {"[terem k\xF3" "d]='A1'", {}, "(= terem k\xF3" "d 'A1')"},
        {"[kurzus_id]=3", {}, "(= kurzus_id 3)"},
        {"szorz\xF3=2", {}, "(= szorz\xF3 2)"},
        {"_belso=2", {}, "(= _belso 2)"},
        {"kurzus_id in (1, 2,3)", {}, "(in kurzus_id [ 1 2 3 ])"},
        {"targy_kod in ('A', 'B')", {}, "(in targy_kod [ 'A' 'B' ])"},
        {"substring(targy_kod, 1, 3)='MSB'", {}, "(= (SUBSTRING targy_kod 1 3) 'MSB')"},
        {"Trim(targy_nev)=''", {}, "(= (TRIM targy_nev) '')"},
        {"year(kezd_ido)=2025 and Hour(kezd_ido)>8", {}, "(and (= (YEAR kezd_ido) 2025) (> (HOUR kezd_ido) 8))"},
        {"upper(targy_nev)='ABC'", {}, "(= (upper targy_nev) 'ABC')"},
        {"LOWER(targy_nev)='abc'", {}, "(= (lower targy_nev) 'abc')"},
        {"teszt is null", {}, "(isnull teszt)"},
        {"teszt is not null or teszt<>1", {}, "(or (notnull teszt) (<> teszt 1))"},
        {"vizsga_nap='2025.02.30'", {}, "(= vizsga_nap '2025.02.30')"},
        {"vizsga_nap='holnap'", {}, "(= vizsga_nap 'holnap')"},
        {"kezdes='25:00'", {}, "(= kezdes '25:00')"},
        {"targy_kod='2025.09.08'", {}, "(= targy_kod '2025.09.08')"},
        {"vizsga_nap in ('2025.09.08', '2025.09.09')", {}, "(in vizsga_nap [ #45908 #45909 ])"},
        {"targy_kod='msb'", {foCaseInsensitive}, "(=/ci/0 targy_kod 'msb')"},
        {"'msb'<>targy_kod", {foCaseInsensitive}, "(<>/ci/0 'msb' targy_kod)"},
        {"targy_kod like 'msb**'", {foCaseInsensitive}, "(like/ci/0 targy_kod 'msb**')"},
        {"targy_kod<'m'", {foCaseInsensitive}, "(< targy_kod 'm')"},
        {"kurzus_id=5", {foCaseInsensitive}, "(= kurzus_id 5)"},
        {"kurzus_id='5'", {foCaseInsensitive}, "(= kurzus_id '5')"},
        {"targy_kod=targy_nev", {foCaseInsensitive}, "(= targy_kod targy_nev)"},
        {"targy_kod='MSB*'", {}, "(=/3 targy_kod 'MSB')"},
        {"targy_kod<>'MSB2**'", {}, "(<>/5 targy_kod 'MSB2*')"},
        {"targy_kod='MSB*'", {foCaseInsensitive}, "(=/ci/3 targy_kod 'MSB')"},
        {"targy_kod='MSB*'", {foNoPartialCompare}, "(= targy_kod 'MSB*')"},
        {"targy_kod='MSB*'", {foNoPartialCompare, foCaseInsensitive}, "(=/ci/0 targy_kod 'MSB*')"},
        {"targy_kod like 'MSB*'", {}, "(like targy_kod 'MSB*')"},
        {"targy_kod='*'", {}, "(= targy_kod '*')"},
        {"kurzus_id='5*'", {}, "(= kurzus_id '5*')"},
        {"kezd_ido < getdate()", {}, "(< kezd_ido (GETDATE))"},
        {"substring(targy_kod, 2) = 'SB'", {}, "(= (SUBSTRING targy_kod 2) 'SB')"},
        // An unknown name is left, as typed, for the evaluator to refuse.
        {"foo(targy_kod)='x'", {}, "(= (foo targy_kod) 'x')"},
        // 2025-09-08 is day 45908 counted from 1899-12-30.
        {"vizsga_nap='2025.09.08'", {}, "(= vizsga_nap #45908)"},
        {"vizsga_nap='2025-09-08'", {}, "(= vizsga_nap #45908)"},
        {"vizsga_nap='2025. 09. 08.'", {}, "(= vizsga_nap #45908)"},
        {"vizsga_nap='08/09/2025'", {}, "(= vizsga_nap #45908)"},
        {"'2025.09.08' < vizsga_nap", {}, "(< #45908 vizsga_nap)"},
        {"kezd_ido>='2025.09.08 12:00'", {}, "(>= kezd_ido #45908.5)"},
        {"kezdes<'06:00'", {}, "(< kezdes #0.25)"},
        {"kezdes='00:00:00.5'", {}, "(= kezdes #5.78704e-06)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(compiled(c.text, c.options), c.tree) << c.text;
    for (const char *name : {"TRIM", "TRIMLEFT", "TRIMRIGHT", "YEAR", "MONTH", "DAY", "HOUR", "MINUTE",
                             "SECOND", "DATE", "TIME"})
        EXPECT_EQ(compiled(std::string(name) + "(kezd_ido) is null"),
                  std::string("(isnull (") + name + " kezd_ido))");
    const int depth = TExprParser::MaxNesting - 2;
    EXPECT_EQ(compiled(repeated("(", depth) + "teszt=1" + repeated(")", depth)), "(= teszt 1)");
}

TEST(FilterTexts, FaultsAreRefusedSayingWhatWasExpectedAndWhere)
{
    const std::pair<std::string, std::string> cases[] = {
        {"kurzusid=5", "Field 'kurzusid' not found"},
        {"[nincs ilyen]=5", "Field 'nincs ilyen' not found"},
        {"sz\xF6r=1", "Field 'ször' not found"},
        {"kurzus_id in ()", "Filter error at position 15: value expected"},
        {"kurzus_id in 1", "Filter error at position 14: '(' expected"},
        {"kurzus_id in (1, 2", "Filter error at position 19: ')' expected"},
        {"upper(targy_kod, 1)='x'", "Filter error at position 1: UPPER takes 1 argument"},
        {"targy_kod=substring(targy_kod)", "Filter error at position 11: SUBSTRING takes 2 or 3 arguments"},
        {"getdate(kezd_ido)>0", "Filter error at position 1: GETDATE takes 0 arguments"},
        {"teszt is 1", "Filter error at position 10: NULL or NOT NULL expected"},
        {"teszt is not", "Filter error at position 13: NULL expected"},
        {"(kurzus_id=5", "Filter error at position 13: ')' expected"},
        {"(a_id in (1) ", "Field 'a_id' not found"},
        {"kurzus_id=", "Filter error at position 11: field name, constant or '(' expected"},
        {"", "Filter error at position 1: field name, constant or '(' expected"},
        {"kurzus_id=5 teszt=1", "Filter error at position 13: operator or end of text expected"},
        {"kurzus_id=5)", "Filter error at position 12: operator or end of text expected"},
        {"teszt=1 and and szabad=1", "Filter error at position 13: field name, constant or '(' expected"},
        {"targy_kod='abc", "Filter error at position 15: closing ' expected"},
        {"targy_kod=\"abc''", "Filter error at position 17: closing \" expected"},
        {"[targy_kod='x'", "Filter error at position 15: ']' expected"},
        {"[]=1", "Filter error at position 2: field name expected"},
        {"teszt#1", "Filter error at position 6: unexpected character '#'"},
        {"teszt=1 & szabad=1", "Filter error at position 9: unexpected character '&'"},
        {"teszt=1 \x84", "Filter error at position 9: unexpected character '\xE2\x80\x9E'"},
        {"atlag=1e999", "Filter error at position 7: number out of range"},
        {"teszt=1=1", "Filter error at position 8: operator or end of text expected"},
    };
    for (const auto &[text, message] : cases)
        EXPECT_EQ(refusal(text), message) << text;
}

TEST(FilterConstants, ConstantsCarryTheirDataType)
{
    const TExprParser parser("targy_kod='x' or teszt=1 or atlag=1.5 or aktiv=true", fieldType, {});
    const ExprNode &root = parser.Root();
    EXPECT_EQ(root.Right->Right->DataType, ftBoolean);
    EXPECT_EQ(root.Left->Right->Right->DataType, ftFloat);
    EXPECT_EQ(root.Left->Left->Right->Right->DataType, ftInteger);
    EXPECT_EQ(root.Left->Left->Left->Right->DataType, ftString);
    EXPECT_EQ(root.Left->Left->Left->Left->DataType, ftString) << "field nodes carry the field's type";
    const TExprParser dates("vizsga_nap='2025.09.08' and kezdes='08:00'", fieldType, {});
    EXPECT_EQ(dates.Root().Left->Right->DataType, ftDate);
    EXPECT_EQ(dates.Root().Right->Right->DataType, ftTime);
}

TEST(FilterLists, ListElementsAreChainedListNodes)
{
    const TExprParser parser("kurzus_id in (1, 2)", fieldType, {});
    const ExprNode *list = parser.Root().Right.get();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->NodeClass, ExprNodeClass::ListElement);
    EXPECT_EQ(list->Operator, ExprOperator::ListElement);
    ASSERT_NE(list->Right, nullptr);
    EXPECT_EQ(list->Right->NodeClass, ExprNodeClass::ListElement);
    EXPECT_EQ(list->Right->Right, nullptr);
}

TEST(FilterNumbering, NodesKeepTheFrameworksClassAndOperatorNumbers)
{
    const TExprParser parser("(targy_kod like 'a' or not teszt is null) and kurzus_id in (1)", fieldType,
                             {foCaseInsensitive});
    const ExprNode &root = parser.Root();
    EXPECT_EQ(static_cast<int>(root.NodeClass), 2);
    EXPECT_EQ(static_cast<int>(root.Operator), 10);
    const ExprNode &like = *root.Left->Left;
    EXPECT_EQ(static_cast<int>(like.NodeClass), 3);
    EXPECT_EQ(static_cast<int>(like.Operator), 30);
    EXPECT_EQ(static_cast<int>(like.Left->NodeClass), 4);
    EXPECT_EQ(static_cast<int>(like.Left->Operator), 13);
    EXPECT_EQ(static_cast<int>(like.Right->NodeClass), 5);
    EXPECT_EQ(static_cast<int>(like.Right->Operator), 14);
    const ExprNode &notNode = *root.Left->Right;
    EXPECT_EQ(static_cast<int>(notNode.NodeClass), 1);
    EXPECT_EQ(static_cast<int>(notNode.Operator), 9);
    EXPECT_EQ(static_cast<int>(notNode.Left->Operator), 1);
    EXPECT_EQ(static_cast<int>(root.Right->Operator), 31);
    EXPECT_EQ(static_cast<int>(root.Right->Right->NodeClass), 11);
    EXPECT_EQ(static_cast<int>(root.Right->Right->Operator), 36);

    const TExprParser function("year(kezd_ido)=1", fieldType, {});
    EXPECT_EQ(static_cast<int>(function.Root().Left->NodeClass), 10);
    EXPECT_EQ(static_cast<int>(function.Root().Left->Operator), 35);
}

TEST(FilterNesting, RunawayNestingIsRefusedNotOverflowed)
{
    const int runaway = 10 * TExprParser::MaxNesting;
    EXPECT_EQ(refusal(repeated("(", runaway) + "teszt=1"),
              "Filter error at position 513: expression nested too deeply");
    EXPECT_NE(refusal(repeated("(", runaway)).find("nested too deeply"), std::string::npos);
    EXPECT_NE(refusal(repeated("not ", runaway) + "teszt=1").find("nested too deeply"), std::string::npos);
    EXPECT_NE(refusal(repeated("-", runaway) + "teszt=1").find("nested too deeply"), std::string::npos);
    EXPECT_NE(refusal("teszt=1" + repeated(" and teszt=1", runaway)).find("nested too deeply"),
              std::string::npos);
    EXPECT_NE(refusal("teszt in (1" + repeated(",1", runaway) + ")").find("nested too deeply"),
              std::string::npos);
    EXPECT_NE(refusal(repeated("upper(", runaway) + "targy_kod").find("nested too deeply"),
              std::string::npos);
}
