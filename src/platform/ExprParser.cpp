#include "platform/ExprParser.h"

#include "platform/Cp1250.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <regex>
#include <unicode/uchar.h>
#include <vector>

namespace {

using NodePtr = std::unique_ptr<ExprNode>;

// Filter texts are cp1250 bytes, one byte per character, so byte offsets are character positions.
bool isLetter(unsigned char c)
{
    return u_isalpha(cp1250CharToUtf16(c));
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isNameChar(char c)
{
    return isLetter(static_cast<unsigned char>(c)) || isDigit(c) || c == '_';
}
bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string asciiUpper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

[[noreturn]] void fail(int position, const std::string &what)
{
    throw EDatabaseError("Filter error at position " + std::to_string(position) + ": " + what);
}

bool isTextType(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString || type == ftMemo ||
           type == ftFmtMemo;
}

bool isDateTimeType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp;
}

// ---- dates and times written as texts

int toInt(const std::ssub_match &digits)
{
    return digits.matched ? std::stoi(digits.str()) : 0;
}

std::optional<double> timeOfDay(const std::string &text)
{
    static const std::regex pattern(R"(([0-9]{1,2}):([0-9]{2})(?::([0-9]{2})(?:\.([0-9]{1,3}))?)?)");
    std::smatch match;
    if (!std::regex_match(text, match, pattern))
        return std::nullopt;
    const int hour = toInt(match[1]), minute = toInt(match[2]), second = toInt(match[3]);
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    // ".5" is half a second: the digits are a decimal fraction.
    const int msec = match[4].matched ? std::stoi((match[4].str() + "00").substr(0, 3)) : 0;
    return ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 / MSecsPerDay + msec / MSecsPerDay;
}

std::optional<int> dayNumber(int year, int month, int day)
{
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
    if (!date.ok())
        return std::nullopt;
    return (sys_days(date) - sys_days(std::chrono::year(1899) / December / 30)).count();
}

// Year first in the usual separators ("2025.09.08", "2025-09-08", "2025. 09. 08.") or the data
// files' "dd/mm/yyyy"; either may be followed by a time, or the text is a time alone. Month first
// is not read: it cannot be told from day first.
std::optional<TDateTime> textToDateTime(const std::string &text)
{
    static const std::regex datePattern(
        R"(([0-9]{4})([-./]) ?([0-9]{1,2})\2 ?([0-9]{1,2})\.?|([0-9]{1,2})/([0-9]{1,2})/([0-9]{4}))");
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    if (first >= last || last - first > 40)
        return std::nullopt;
    const std::string trimmed(first, last);

    if (const auto time = timeOfDay(trimmed))
        return TDateTime(*time);

    std::smatch match;
    if (!std::regex_search(trimmed, match, datePattern, std::regex_constants::match_continuous))
        return std::nullopt;
    const bool yearFirst = match[1].matched;
    const auto days = yearFirst ? dayNumber(toInt(match[1]), toInt(match[3]), toInt(match[4]))
                                : dayNumber(toInt(match[7]), toInt(match[6]), toInt(match[5]));
    if (!days)
        return std::nullopt;

    std::string rest = trimmed.substr(static_cast<std::size_t>(match.length()));
    double time = 0.0;
    if (!rest.empty()) {
        if (rest.front() != 'T' && !isBlank(rest.front()))
            return std::nullopt;
        rest.erase(rest.begin(), std::find_if_not(rest.begin() + 1, rest.end(), isBlank));
        const auto parsed = timeOfDay(rest);
        if (!parsed)
            return std::nullopt;
        time = *parsed;
    }
    // Before the epoch the time of day still counts forward from the day's start.
    return TDateTime(*days >= 0 ? *days + time : *days - time);
}

// ---- tokens

enum class TokenKind { End, Name, BracketedName, Text, Number, Symbol };

struct Token
{
    TokenKind kind = TokenKind::End;
    std::string text;
    int position = 0; // 1-based
};

class Lexer
{
public:
    explicit Lexer(const std::string &text) : text_(text) {}

    std::vector<Token> tokens()
    {
        std::vector<Token> result;
        for (;;) {
            while (at_ < text_.size() && isBlank(text_[at_]))
                ++at_;
            if (at_ == text_.size()) {
                result.push_back({TokenKind::End, {}, position()});
                return result;
            }
            result.push_back(token());
        }
    }

private:
    int position() const { return static_cast<int>(at_) + 1; }

    Token token()
    {
        const int start = position();
        const char c = text_[at_];
        if (c == '\'' || c == '"')
            return {TokenKind::Text, quoted(c), start};
        if (c == '[')
            return {TokenKind::BracketedName, bracketed(), start};
        if (isDigit(c))
            return {TokenKind::Number, number(), start};
        if (isNameChar(c))
            return {TokenKind::Name, name(), start};
        for (const char *symbol : {"<>", "<=", ">=", "=", "<", ">", "+", "-", "*", "/", "(", ")", ","}) {
            const std::string_view s(symbol);
            if (text_.compare(at_, s.size(), s) == 0) {
                at_ += s.size();
                return {TokenKind::Symbol, std::string(s), start};
            }
        }
        fail(start, "unexpected character '" + cp1250ToUtf8(std::string_view(&text_[at_], 1)) + "'");
    }

    // A quote inside is written twice.
    std::string quoted(char quote)
    {
        std::string value;
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] != quote) {
                value += text_[at_];
            } else if (at_ + 1 < text_.size() && text_[at_ + 1] == quote) {
                value += quote;
                ++at_;
            } else {
                ++at_;
                return value;
            }
        }
        fail(position(), std::string("closing ") + quote + " expected");
    }

    std::string bracketed()
    {
        const std::size_t close = text_.find(']', at_);
        if (close == std::string::npos) {
            at_ = text_.size();
            fail(position(), "']' expected");
        }
        std::string value = text_.substr(at_ + 1, close - at_ - 1);
        if (value.empty())
            fail(position() + 1, "field name expected");
        at_ = close + 1;
        return value;
    }

    std::string number()
    {
        const std::size_t start = at_;
        skipDigits();
        if (at_ + 1 < text_.size() && text_[at_] == '.' && isDigit(text_[at_ + 1])) {
            ++at_;
            skipDigits();
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            std::size_t exponent = at_ + 1;
            if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-'))
                ++exponent;
            if (exponent < text_.size() && isDigit(text_[exponent])) {
                at_ = exponent;
                skipDigits();
            }
        }
        return text_.substr(start, at_ - start);
    }

    std::string name()
    {
        const std::size_t start = at_;
        while (at_ < text_.size() && isNameChar(text_[at_]))
            ++at_;
        return text_.substr(start, at_ - start);
    }

    void skipDigits()
    {
        while (at_ < text_.size() && isDigit(text_[at_]))
            ++at_;
    }

    const std::string &text_;
    std::size_t at_ = 0;
};

// ---- tree building

int heightOf(const NodePtr &node)
{
    return node ? node->Height : 0;
}

// Every node is made here, so the height bound holds for the whole tree.
NodePtr makeNode(ExprNodeClass nodeClass, ExprOperator op, NodePtr left, NodePtr right, int position)
{
    auto node = std::make_unique<ExprNode>();
    node->NodeClass = nodeClass;
    node->Operator = op;
    node->Height = 1 + std::max(heightOf(left), heightOf(right));
    if (node->Height > TExprParser::MaxNesting)
        fail(position, "expression nested too deeply");
    node->Left = std::move(left);
    node->Right = std::move(right);
    return node;
}

NodePtr makeConstant(TFieldType type, ExprValue value)
{
    auto node = std::make_unique<ExprNode>();
    node->DataType = type;
    node->Value = std::move(value);
    return node;
}

// Elements in order: each list element holds one value and the rest of the list.
NodePtr makeList(std::vector<NodePtr> elements, int position)
{
    NodePtr list;
    for (auto element = elements.rbegin(); element != elements.rend(); ++element)
        list = makeNode(ExprNodeClass::ListElement, ExprOperator::ListElement, std::move(*element),
                        std::move(list), position);
    return list;
}

bool isTextConstant(const ExprNode &node)
{
    return node.NodeClass == ExprNodeClass::Constant && node.DataType == ftString;
}

bool isFieldOf(const ExprNode &node, bool (*typeTest)(TFieldType))
{
    return node.NodeClass == ExprNodeClass::Field && typeTest(node.DataType);
}

// A text compared with a date or time field is meant as a date or time; one that does not read
// as such stays a text.
void typeTextByField(const ExprNode &field, ExprNode &constant)
{
    if (!isFieldOf(field, isDateTimeType) || !isTextConstant(constant))
        return;
    if (const auto value = textToDateTime(std::get<std::string>(constant.Value))) {
        constant.DataType = field.DataType;
        constant.Value = *value;
    }
}

struct FunctionSignature
{
    const char *name;
    int minArguments;
    int maxArguments;
};

constexpr FunctionSignature Functions[] = {
    {"UPPER", 1, 1},     {"LOWER", 1, 1},   {"SUBSTRING", 2, 3}, {"TRIM", 1, 1},  {"TRIMLEFT", 1, 1},
    {"TRIMRIGHT", 1, 1}, {"GETDATE", 0, 0}, {"YEAR", 1, 1},      {"MONTH", 1, 1}, {"DAY", 1, 1},
    {"HOUR", 1, 1},      {"MINUTE", 1, 1},  {"SECOND", 1, 1},    {"DATE", 1, 1},  {"TIME", 1, 1},
};

// ---- the grammar, loosest binding first: OR, AND, NOT, comparisons, + -, * /, unary minus

class Parser
{
public:
    Parser(const std::string &text, const FieldTypeOf &fieldTypeOf, TFilterOptions options)
        : tokens_(Lexer(text).tokens()), fieldTypeOf_(fieldTypeOf), options_(options)
    {
    }

    NodePtr parse()
    {
        NodePtr root = parseOr();
        if (peek().kind != TokenKind::End)
            fail(peek().position, "operator or end of text expected");
        return root;
    }

private:
    // Brackets, lists and argument lists all come back here, so this bounds the recursion.
    NodePtr parseOr()
    {
        if (++nesting_ > TExprParser::MaxNesting)
            fail(peek().position, "expression nested too deeply");
        NodePtr left = parseAnd();
        while (peekKeyword("OR")) {
            const int at = next().position;
            left = makeNode(ExprNodeClass::Binary, ExprOperator::Or, std::move(left), parseAnd(), at);
        }
        --nesting_;
        return left;
    }

    NodePtr parseAnd()
    {
        NodePtr left = parseNot();
        while (peekKeyword("AND")) {
            const int at = next().position;
            left = makeNode(ExprNodeClass::Binary, ExprOperator::And, std::move(left), parseNot(), at);
        }
        return left;
    }

    NodePtr parseNot()
    {
        std::vector<int> nots;
        while (peekKeyword("NOT"))
            nots.push_back(next().position);
        NodePtr node = parseComparison();
        for (auto at = nots.rbegin(); at != nots.rend(); ++at)
            node = makeNode(ExprNodeClass::Unary, ExprOperator::Not, std::move(node), nullptr, *at);
        return node;
    }

    NodePtr parseComparison()
    {
        NodePtr left = parseAdditive();
        const int at = peek().position;
        if (const auto op = comparisonOperator()) {
            next();
            return makeComparison(*op, std::move(left), parseAdditive(), at);
        }
        if (acceptKeyword("LIKE"))
            return makeComparison(ExprOperator::Like, std::move(left), parseAdditive(), at);
        if (acceptKeyword("IN"))
            return makeIn(std::move(left), at);
        if (acceptKeyword("IS")) {
            const bool negated = acceptKeyword("NOT");
            if (!acceptKeyword("NULL"))
                fail(peek().position, negated ? "NULL expected" : "NULL or NOT NULL expected");
            return makeNode(ExprNodeClass::Unary, negated ? ExprOperator::IsNotNull : ExprOperator::IsNull,
                            std::move(left), nullptr, at);
        }
        return left;
    }

    NodePtr parseAdditive()
    {
        NodePtr left = parseMultiplicative();
        for (;;) {
            const int at = peek().position;
            if (acceptSymbol("+"))
                left = makeNode(ExprNodeClass::Binary, ExprOperator::Add, std::move(left),
                                parseMultiplicative(), at);
            else if (acceptSymbol("-"))
                left = makeNode(ExprNodeClass::Binary, ExprOperator::Subtract, std::move(left),
                                parseMultiplicative(), at);
            else
                return left;
        }
    }

    NodePtr parseMultiplicative()
    {
        NodePtr left = parseUnary();
        for (;;) {
            const int at = peek().position;
            if (acceptSymbol("*"))
                left = makeNode(ExprNodeClass::Binary, ExprOperator::Multiply, std::move(left), parseUnary(),
                                at);
            else if (acceptSymbol("/"))
                left =
                    makeNode(ExprNodeClass::Binary, ExprOperator::Divide, std::move(left), parseUnary(), at);
            else
                return left;
        }
    }

    NodePtr parseUnary()
    {
        std::vector<int> minuses;
        while (peek().kind == TokenKind::Symbol && peek().text == "-")
            minuses.push_back(next().position);
        NodePtr node = parsePrimary();
        for (auto at = minuses.rbegin(); at != minuses.rend(); ++at) {
            // A negative number is a constant of its own, not an operation on one.
            if (auto *integer = std::get_if<std::int32_t>(&node->Value))
                *integer = -*integer;
            else if (auto *real = std::get_if<double>(&node->Value))
                *real = -*real;
            else
                node = makeNode(ExprNodeClass::Unary, ExprOperator::Negate, std::move(node), nullptr, *at);
        }
        return node;
    }

    NodePtr parsePrimary()
    {
        const Token token = next();
        switch (token.kind) {
        case TokenKind::Number:
            return makeNumber(token);
        case TokenKind::Text:
            return makeConstant(ftString, token.text);
        case TokenKind::BracketedName:
            return makeField(token.text);
        case TokenKind::Name:
            if (isKeyword(token, "TRUE") || isKeyword(token, "FALSE"))
                return makeConstant(ftBoolean, isKeyword(token, "TRUE"));
            if (peek().kind == TokenKind::Symbol && peek().text == "(")
                return parseFunction(token);
            if (isReserved(token))
                break;
            return makeField(token.text);
        case TokenKind::Symbol:
            if (token.text == "(") {
                NodePtr inner = parseOr();
                expectSymbol(")");
                return inner;
            }
            break;
        case TokenKind::End:
            break;
        }
        fail(token.position, "field name, constant or '(' expected");
    }

    NodePtr parseFunction(const Token &nameToken)
    {
        const std::string name = asciiUpper(nameToken.text);
        const auto signature = std::find_if(std::begin(Functions), std::end(Functions),
                                            [&](const FunctionSignature &f) { return name == f.name; });
        std::vector<NodePtr> arguments = parseList();
        const int count = static_cast<int>(arguments.size());
        // A name the evaluator does not know is its to refuse, as the record under test is read.
        const bool known = signature != std::end(Functions);
        if (known && (count < signature->minArguments || count > signature->maxArguments)) {
            const std::string expected = signature->minArguments == signature->maxArguments
                                             ? std::to_string(signature->minArguments)
                                             : std::to_string(signature->minArguments) + " or " +
                                                   std::to_string(signature->maxArguments);
            fail(nameToken.position,
                 name + " takes " + expected + " argument" + (signature->maxArguments == 1 ? "" : "s"));
        }
        // Upper and lower case have operators of their own.
        if (name == "UPPER" || name == "LOWER")
            return makeNode(ExprNodeClass::Unary, name == "UPPER" ? ExprOperator::Upper : ExprOperator::Lower,
                            std::move(arguments.front()), nullptr, nameToken.position);
        NodePtr function =
            makeNode(ExprNodeClass::Function, ExprOperator::Function,
                     makeList(std::move(arguments), nameToken.position), nullptr, nameToken.position);
        function->Name = known ? name : nameToken.text;
        return function;
    }

    // "(" [element {"," element}] ")"
    std::vector<NodePtr> parseList()
    {
        expectSymbol("(");
        std::vector<NodePtr> elements;
        if (acceptSymbol(")"))
            return elements;
        do
            elements.push_back(parseOr());
        while (acceptSymbol(","));
        expectSymbol(")");
        return elements;
    }

    NodePtr makeIn(NodePtr left, int at)
    {
        const int listAt = peek().position;
        std::vector<NodePtr> elements = parseList();
        if (elements.empty())
            fail(listAt + 1, "value expected");
        for (NodePtr &element : elements)
            typeTextByField(*left, *element);
        return makeNode(ExprNodeClass::Binary, ExprOperator::In, std::move(left),
                        makeList(std::move(elements), at), at);
    }

    // A text field against a text becomes a compare node when the options ask for case-blind or
    // partial matching ("abc*": the first three characters must match).
    NodePtr makeComparison(ExprOperator op, NodePtr left, NodePtr right, int at)
    {
        typeTextByField(*left, *right);
        typeTextByField(*right, *left);

        ExprNode *text = nullptr;
        if (isFieldOf(*left, isTextType) && isTextConstant(*right))
            text = right.get();
        else if (isFieldOf(*right, isTextType) && isTextConstant(*left))
            text = left.get();

        if (text && (op == ExprOperator::Equal || op == ExprOperator::NotEqual || op == ExprOperator::Like)) {
            const bool caseInsensitive = options_.Contains(foCaseInsensitive);
            int partialLength = 0;
            auto &value = std::get<std::string>(text->Value);
            if (op != ExprOperator::Like && !options_.Contains(foNoPartialCompare) && value.size() > 1 &&
                value.back() == '*') {
                value.pop_back();
                partialLength = static_cast<int>(value.size());
            }
            if (caseInsensitive || partialLength > 0) {
                NodePtr compare = makeNode(ExprNodeClass::Compare, op, std::move(left), std::move(right), at);
                compare->CaseInsensitive = caseInsensitive;
                compare->PartialLength = partialLength;
                return compare;
            }
        }
        return makeNode(ExprNodeClass::Binary, op, std::move(left), std::move(right), at);
    }

    NodePtr makeNumber(const Token &token)
    {
        const char *first = token.text.data();
        const char *last = first + token.text.size();
        std::int32_t integer = 0;
        if (const auto [end, error] = std::from_chars(first, last, integer);
            error == std::errc() && end == last)
            return makeConstant(ftInteger, integer);
        // Decimals and integers too large for 32 bits.
        double real = 0.0;
        if (const auto [end, error] = std::from_chars(first, last, real); error != std::errc() || end != last)
            fail(token.position, "number out of range");
        return makeConstant(ftFloat, real);
    }

    NodePtr makeField(const std::string &name)
    {
        const auto type = fieldTypeOf_(name);
        if (!type)
            throw EDatabaseError("Field '" + cp1250ToUtf8(name) + "' not found");
        auto field = std::make_unique<ExprNode>();
        field->NodeClass = ExprNodeClass::Field;
        field->Operator = ExprOperator::Field;
        field->Name = name;
        field->DataType = *type;
        return field;
    }

    std::optional<ExprOperator> comparisonOperator() const
    {
        if (peek().kind != TokenKind::Symbol)
            return std::nullopt;
        static const std::pair<const char *, ExprOperator> operators[] = {
            {"=", ExprOperator::Equal},        {"<>", ExprOperator::NotEqual},
            {"<", ExprOperator::Less},         {">", ExprOperator::Greater},
            {"<=", ExprOperator::LessOrEqual}, {">=", ExprOperator::GreaterOrEqual},
        };
        for (const auto &[symbol, op] : operators)
            if (peek().text == symbol)
                return op;
        return std::nullopt;
    }

    static bool isKeyword(const Token &token, const char *keyword)
    {
        return token.kind == TokenKind::Name && asciiUpper(token.text) == keyword;
    }

    // Words that cannot name a field without square brackets.
    static bool isReserved(const Token &token)
    {
        for (const char *keyword : {"AND", "OR", "NOT", "IS", "NULL", "LIKE", "IN"})
            if (isKeyword(token, keyword))
                return true;
        return false;
    }

    const Token &peek() const { return tokens_[current_]; }

    Token next()
    {
        const Token &token = tokens_[current_];
        if (token.kind != TokenKind::End)
            ++current_;
        return token;
    }

    bool peekKeyword(const char *keyword) const { return isKeyword(peek(), keyword); }

    bool acceptKeyword(const char *keyword)
    {
        if (!peekKeyword(keyword))
            return false;
        next();
        return true;
    }

    bool acceptSymbol(const char *symbol)
    {
        if (peek().kind != TokenKind::Symbol || peek().text != symbol)
            return false;
        next();
        return true;
    }

    void expectSymbol(const char *symbol)
    {
        if (!acceptSymbol(symbol))
            fail(peek().position, std::string("'") + symbol + "' expected");
    }

    std::vector<Token> tokens_;
    std::size_t current_ = 0;
    const FieldTypeOf &fieldTypeOf_;
    TFilterOptions options_;
    int nesting_ = 0;
};

} // namespace

TExprParser::TExprParser(const std::string &text, const FieldTypeOf &fieldTypeOf, TFilterOptions options)
    : root_(Parser(text, fieldTypeOf, options).parse())
{
}
