#include "memtable/ztrFilter.h"

#include "memtable/ztrErrors.h"
#include "platform/Cp1250.h"
#include "platform/DateTime.h"
#include "platform/LocaleCompare.h"

#include <algorithm>
#include <cstdint>

namespace {

[[noreturn]] void raise(const std::string &message)
{
    throw EMemTableFilterError(message);
}

[[noreturn]] void unknownOperator(std::uint32_t code)
{
    raise("Ismeretlen operátor (" + std::to_string(code) + ")");
}

[[noreturn]] void unsupportedOperator(ExprOperator op)
{
    raise("Az operátor nem támogatott (" + std::to_string(static_cast<std::uint32_t>(op)) + ").");
}

bool isMissing(const Variant &value)
{
    return value.IsNull() || value.IsEmpty();
}

Variant toVariant(const ExprValue &value)
{
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *integer = std::get_if<std::int32_t>(&value))
        return Variant(static_cast<int>(*integer));
    if (const auto *real = std::get_if<double>(&value))
        return *real;
    if (const auto *boolean = std::get_if<bool>(&value))
        return *boolean;
    if (const auto *date = std::get_if<TDateTime>(&value))
        return *date;
    return Variant();
}

// A constant takes the form its data type gives it, whatever form the tree holds it in.
Variant constantValue(const ExprNode &node)
{
    if (node.Operator != ExprOperator::Constant)
        unknownOperator(static_cast<std::uint32_t>(node.Operator));
    const Variant value = toVariant(node.Value);
    switch (node.DataType) {
    case ftString:
    case ftFixedChar:
        return value.AsString();
    case ftSmallint:
        return static_cast<std::int16_t>(value.AsInteger());
    case ftInteger:
    case ftAutoInc:
        return value.AsInteger();
    case ftWord:
        return static_cast<int>(static_cast<std::uint16_t>(value.AsInteger()));
    case ftBoolean:
        return value.Get<bool>() ? *value.Get<bool>() : value.AsInteger() > 0;
    case ftFloat:
    case ftCurrency:
        return value.AsDouble();
    case ftBCD:
    case ftFMTBcd:
        return Currency(value.AsDouble());
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return value.AsDateTime();
    case ftWideString:
    case ftGuid:
        return value.AsWideString();
    default:
        raise("Ismeretlen mezőtípus (" + std::to_string(static_cast<int>(node.DataType)) + ")");
    }
}

std::string trimmed(const std::string &text, bool left, bool right)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    auto first = text.begin();
    auto last = text.end();
    if (left)
        first = std::find_if_not(first, last, isBlank);
    if (right)
        while (last != first && isBlank(*(last - 1)))
            --last;
    return std::string(first, last);
}

// Copy's rules: a start before the text counts from its first character, a start past its end
// or a length below 1 gives an empty text.
std::string substring(const std::string &text, int start, int length)
{
    start = std::max(start, 1);
    if (length < 1 || start > static_cast<int>(text.size()))
        return {};
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

class Evaluator
{
public:
    explicit Evaluator(const FilterFieldValues &record) : record_(record) {}

    Variant evaluate(const ExprNode &node) const
    {
        const auto nodeClass = static_cast<std::uint32_t>(node.NodeClass);
        switch (node.NodeClass) {
        case ExprNodeClass::Field:
            if (node.Operator != ExprOperator::Field)
                unknownOperator(static_cast<std::uint32_t>(node.Operator));
            return record_.FieldNodeValue(node);
        case ExprNodeClass::Constant:
            return constantValue(node);
        case ExprNodeClass::Unary:
            return unary(node);
        case ExprNodeClass::Binary:
            return binary(node);
        case ExprNodeClass::Compare:
            return compare(node);
        case ExprNodeClass::Function:
            return function(node);
        case ExprNodeClass::ListElement:
            if (node.Operator != ExprOperator::ListElement)
                unsupportedOperator(node.Operator);
            return list(&node);
        }
        if (nodeClass > static_cast<std::uint32_t>(ExprNodeClass::ListElement))
            raise("iClass Túl van a határon (" + std::to_string(nodeClass) + ")");
        unknownOperator(nodeClass);
    }

private:
    Variant operand(const std::unique_ptr<ExprNode> &node) const
    {
        return node ? evaluate(*node) : Variant();
    }

    Variant unary(const ExprNode &node) const
    {
        const Variant value = operand(node.Left);
        switch (node.Operator) {
        case ExprOperator::IsNull:
            return isMissing(value);
        case ExprOperator::IsNotNull:
            return !isMissing(value);
        case ExprOperator::Not:
        case ExprOperator::Negate:
        case ExprOperator::Upper:
        case ExprOperator::Lower:
            break;
        default:
            unsupportedOperator(node.Operator);
        }
        if (isMissing(value))
            return Variant::Null();
        switch (node.Operator) {
        case ExprOperator::Not:
            return !value.AsBoolean();
        case ExprOperator::Negate:
            return -value;
        case ExprOperator::Upper:
            return UpperCase(value.AsString());
        default:
            return LowerCase(value.AsString());
        }
    }

    Variant binary(const ExprNode &node) const
    {
        const Variant left = operand(node.Left);
        const Variant right = operand(node.Right);
        const bool missing = isMissing(left) || isMissing(right);
        switch (node.Operator) {
        case ExprOperator::Equal:
            return !missing && left == right;
        case ExprOperator::NotEqual:
            return !missing && left != right;
        case ExprOperator::Greater:
            return !missing && left > right;
        case ExprOperator::Less:
            return !missing && left < right;
        case ExprOperator::GreaterOrEqual:
            return !missing && left >= right;
        case ExprOperator::LessOrEqual:
            return !missing && left <= right;
        case ExprOperator::And:
            return !missing && left.AsBoolean() && right.AsBoolean();
        case ExprOperator::Or:
            return !missing && (left.AsBoolean() || right.AsBoolean());
        case ExprOperator::Like:
            return !missing && MatchesLikePattern(left.AsString(), right.AsString());
        case ExprOperator::In:
            return !missing && isIn(left, right);
        case ExprOperator::Add:
            return missing ? Variant::Null() : left + right;
        case ExprOperator::Subtract:
            return missing ? Variant::Null() : left - right;
        case ExprOperator::Multiply:
            return missing ? Variant::Null() : left * right;
        case ExprOperator::Divide:
            return missing ? Variant::Null() : left / right;
        case ExprOperator::Modulo:
        case ExprOperator::Remainder:
            return missing ? Variant::Null() : left % right;
        default:
            unsupportedOperator(node.Operator);
        }
    }

    static bool isIn(const Variant &value, const Variant &list)
    {
        const Variant::Array *elements = list.Get<Variant::Array>();
        if (!elements)
            return value == list;
        for (const Variant &element : *elements) {
            if (element.IsEmpty())
                return false;
            if (!element.IsNull() && value == element)
                return true;
        }
        return false;
    }

    // Texts compared as the filter options asked: upper-cased with the locale's rules and/or cut
    // to the partial length. LIKE sees the whole texts, its pattern does its own matching.
    Variant compare(const ExprNode &node) const
    {
        const Variant left = operand(node.Left);
        const Variant right = operand(node.Right);
        if (isMissing(left) || isMissing(right))
            return false;
        std::string leftText = left.AsString();
        std::string rightText = right.AsString();
        if (node.CaseInsensitive) {
            leftText = AnsiUpperCase(leftText);
            rightText = AnsiUpperCase(rightText);
        }
        if (node.Operator == ExprOperator::Like)
            return MatchesLikePattern(leftText, rightText);
        if (node.PartialLength > 0) {
            leftText = leftText.substr(0, static_cast<std::size_t>(node.PartialLength));
            rightText = rightText.substr(0, static_cast<std::size_t>(node.PartialLength));
        }
        switch (node.Operator) {
        case ExprOperator::Equal:
            return leftText == rightText;
        case ExprOperator::NotEqual:
            return leftText != rightText;
        default:
            unsupportedOperator(node.Operator);
        }
    }

    // The elements of a list, in order; walked in a loop as lists can be long.
    Variant list(const ExprNode *element) const
    {
        Variant::Array values;
        for (; element; element = element->Right.get()) {
            if (element->NodeClass != ExprNodeClass::ListElement ||
                element->Operator != ExprOperator::ListElement)
                unsupportedOperator(element->Operator);
            values.push_back(operand(element->Left));
        }
        return VarArrayOf(std::move(values));
    }

    Variant function(const ExprNode &node) const
    {
        if (node.Operator != ExprOperator::Function)
            unsupportedOperator(node.Operator);
        static const char *const Names[] = {"UPPER",     "LOWER",   "SUBSTRING", "TRIM",  "TRIMLEFT",
                                            "TRIMRIGHT", "GETDATE", "YEAR",      "MONTH", "DAY",
                                            "HOUR",      "MINUTE",  "SECOND",    "DATE",  "TIME"};
        if (std::find(std::begin(Names), std::end(Names), node.Name) == std::end(Names))
            raise("Invalid function name " + cp1250ToUtf8(node.Name));
        if (node.Name == "GETDATE")
            return Now();

        const Variant arguments = list(node.Left.get());
        const Variant::Array &args = *arguments.Get<Variant::Array>();
        const auto argument = [&](std::size_t index) {
            return index < args.size() ? args[index] : Variant();
        };
        const Variant first = argument(0);
        if (isMissing(first))
            return Variant::Null();

        const std::string &name = node.Name;
        if (name == "UPPER")
            return UpperCase(first.AsString());
        if (name == "LOWER")
            return LowerCase(first.AsString());
        if (name == "SUBSTRING")
            return substringOf(first, argument(1), argument(2));
        if (name == "TRIM" || name == "TRIMLEFT" || name == "TRIMRIGHT")
            return trimmed(first.AsString(), name != "TRIMRIGHT", name != "TRIMLEFT");
        if (name == "DATE")
            return DateOf(first.AsDateTime());
        if (name == "TIME")
            return TimeOf(first.AsDateTime());
        return datePart(name, first.AsDateTime());
    }

    static Variant substringOf(const Variant &text, const Variant &start, const Variant &length)
    {
        if (isMissing(start))
            return Variant::Null();
        const int count = length.IsEmpty() ? INT32_MAX : length.IsNull() ? -1 : length.AsInteger();
        if (count < 0)
            return Variant::Null();
        return substring(text.AsString(), start.AsInteger(), count);
    }

    static Variant datePart(const std::string &name, TDateTime moment)
    {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
        DecodeDate(moment, year, month, day);
        DecodeTime(moment, hour, minute, second, msec);
        if (name == "YEAR")
            return year;
        if (name == "MONTH")
            return month;
        if (name == "DAY")
            return day;
        if (name == "HOUR")
            return hour;
        if (name == "MINUTE")
            return minute;
        return second;
    }

    const FilterFieldValues &record_;
};

} // namespace

Variant EvaluateFilterExpression(const ExprNode &node, const FilterFieldValues &record)
{
    return Evaluator(record).evaluate(node);
}

bool FilterExpressionAccepts(const ExprNode &root, const FilterFieldValues &record)
{
    const Variant value = EvaluateFilterExpression(root, record);
    return !isMissing(value) && value.AsBoolean();
}

bool MatchesLikePattern(std::string_view value, std::string_view pattern)
{
    // Folded one character at a time: the filter matches every record a cursor passes, and
    // upper-cased copies of both texts would cost more than the match.
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    const std::size_t common = std::min(value.size(), pattern.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char p = pattern[i];
        if (p == '%' || p == '*')
            return true;
        if (p != '?' && p != '_' && upper(p) != upper(value[i]))
            return false;
    }
    if (value.size() >= pattern.size())
        return value.size() == pattern.size();
    // "?" may match nothing at the end, "_" must match a character.
    return std::all_of(pattern.begin() + static_cast<std::ptrdiff_t>(common), pattern.end(),
                       [](char p) { return p == '%' || p == '*' || p == '?'; });
}
