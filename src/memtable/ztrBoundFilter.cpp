#include "memtable/ztrBoundFilter.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"
#include "platform/DateTimeFields.h"
#include "platform/LocaleCompare.h"
#include "platform/NumericFields.h"
#include "platform/TextFields.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// The forms a field reads in, as the variant comparison sees them.
enum class FieldForm { Integer, Real, Text };

// A data field read straight from record memory, giving what the field's own reads would give.
class DirectField
{
public:
    // None for a field whose reads must go through the field (calculated and lookup fields,
    // compressed or indirect numbers, types or field classes of its own).
    static std::optional<DirectField> bind(TField *field, TztrCustomMemTable &table)
    {
        if (!field || field->DataSet() != &table || field->FieldKind() != fkData || field->FieldNo() <= 0)
            return std::nullopt;
        const std::optional<FieldForm> form = formOf(*field);
        const TztrRecordLayout &layout = table.Common().Layout();
        const int fieldNo = field->FieldNo();
        if (!form || fieldNo > layout.FieldCount() || layout.IsCompressed(fieldNo) ||
            (layout.IsIndirect(fieldNo) && *form != FieldForm::Text))
            return std::nullopt;
        return DirectField(*field, *form, table, layout.FieldOffset(fieldNo), layout.IsIndirect(fieldNo));
    }

    FieldForm form() const { return form_; }
    TField &field() const { return *field_; }

    bool isNull(const TztrRecord &record) const { return record.Data()[offset_] == 0; }

    // The value of a non-null Integer field.
    std::int64_t integer(const TztrRecord &record) const
    {
        const std::uint8_t *data = record.Data() + offset_ + 1;
        switch (type_) {
        case ftSmallint:
            return readValue<std::int16_t>(data);
        case ftWord:
            return readValue<std::uint16_t>(data);
        case ftLargeint:
            return readValue<std::int64_t>(data);
        default:
            return readValue<std::int32_t>(data);
        }
    }

    // The value of a non-null Integer or Real field as a floating point number.
    double real(const TztrRecord &record) const
    {
        if (form_ == FieldForm::Integer)
            return static_cast<double>(integer(record));
        const std::uint8_t *data = record.Data() + offset_ + 1;
        if (type_ == ftFloat || type_ == ftCurrency)
            return readValue<double>(data);
        // Dates and times are kept in their native forms; the dataset turns them into date-times.
        std::uint8_t native[sizeof(double)] = {};
        std::memcpy(native, data, static_cast<std::size_t>(width_));
        double value = 0;
        table_->DataConvert(field_, native, &value, false);
        return value;
    }

    // The text of a non-null Text field: what fits the field, up to its first zero byte, a fixed
    // length one without its trailing blanks.
    std::string_view text(const TztrRecord &record) const
    {
        std::string_view value;
        if (indirect_) {
            if (const std::uint8_t *block = table_->Common().IndirectValue(&record, field_->FieldNo()))
                value = ValueBlock::view(block);
        } else {
            value = {reinterpret_cast<const char *>(record.Data() + offset_ + 1),
                     static_cast<std::size_t>(width_)};
        }
        value = value.substr(0, std::min(value.size(), static_cast<std::size_t>(width_)));
        value = value.substr(0, std::min(value.size(), value.find('\0')));
        if (type_ == ftFixedChar) {
            const std::size_t last = value.find_last_not_of(' ');
            value = value.substr(0, last == std::string_view::npos ? 0 : last + 1);
        }
        return value;
    }

private:
    DirectField(TField &field, FieldForm form, TztrCustomMemTable &table, int offset, bool indirect)
        : field_(&field), table_(&table), type_(field.DataType()), form_(form), offset_(offset),
          width_(field.DataSize()), indirect_(indirect)
    {
    }

    static std::optional<FieldForm> formOf(TField &field)
    {
        switch (field.DataType()) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
            return dynamic_cast<TIntegerField *>(&field) ? std::optional(FieldForm::Integer) : std::nullopt;
        case ftLargeint:
            return dynamic_cast<TLargeintField *>(&field) ? std::optional(FieldForm::Integer) : std::nullopt;
        case ftFloat:
        case ftCurrency:
            return dynamic_cast<TFloatField *>(&field) ? std::optional(FieldForm::Real) : std::nullopt;
        case ftDate:
        case ftTime:
        case ftDateTime:
            return dynamic_cast<TDateTimeField *>(&field) ? std::optional(FieldForm::Real) : std::nullopt;
        case ftString:
        case ftFixedChar:
            return dynamic_cast<TStringField *>(&field) ? std::optional(FieldForm::Text) : std::nullopt;
        default:
            return std::nullopt;
        }
    }

    TField *field_;
    TztrCustomMemTable *table_;
    TFieldType type_;
    FieldForm form_;
    int offset_;
    int width_;
    bool indirect_;
};

int signOf(double value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// A comparison operator applied to the order of its two sides.
bool holds(ExprOperator op, int order)
{
    switch (op) {
    case ExprOperator::Equal:
        return order == 0;
    case ExprOperator::NotEqual:
        return order != 0;
    case ExprOperator::Greater:
        return order > 0;
    case ExprOperator::Less:
        return order < 0;
    case ExprOperator::GreaterOrEqual:
        return order >= 0;
    default:
        return order <= 0;
    }
}

bool isOrdering(ExprOperator op)
{
    return op >= ExprOperator::Equal && op <= ExprOperator::LessOrEqual;
}

// The operator that gives the same answer with its sides swapped.
ExprOperator swapped(ExprOperator op)
{
    switch (op) {
    case ExprOperator::Greater:
        return ExprOperator::Less;
    case ExprOperator::Less:
        return ExprOperator::Greater;
    case ExprOperator::GreaterOrEqual:
        return ExprOperator::LessOrEqual;
    case ExprOperator::LessOrEqual:
        return ExprOperator::GreaterOrEqual;
    default:
        return op;
    }
}

// Case folding with the locale's rules, one byte at a time, without a copy per record.
const std::array<char, 256> &localeUpper()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> result{};
        for (int byte = 0; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            result[static_cast<std::size_t>(byte)] = AnsiUpperCase(std::string_view(&c, 1)).front();
        }
        return result;
    }();
    return table;
}

} // namespace

// The fast form of a node: a Boolean that is never null. It raises only where reading the field
// would (a stored date that is no valid date).
class TztrBoundFilter::Test
{
public:
    virtual ~Test() = default;
    virtual bool passes(const TztrRecord &record) const = 0;
};

namespace {

using Test = TztrBoundFilter::Test;
using TestPtr = std::unique_ptr<const Test>;

class NullTest : public Test
{
public:
    NullTest(DirectField field, bool null) : field_(field), null_(null) {}
    bool passes(const TztrRecord &record) const override { return field_.isNull(record) == null_; }

private:
    DirectField field_;
    bool null_;
};

// Both sides are whole numbers: compared exactly, as 64-bit integers.
class IntegerComparison : public Test
{
public:
    IntegerComparison(DirectField field, ExprOperator op, std::int64_t constant)
        : field_(field), op_(op), constant_(constant)
    {
    }
    bool passes(const TztrRecord &record) const override
    {
        if (field_.isNull(record))
            return false;
        const std::int64_t value = field_.integer(record);
        return holds(op_, value < constant_ ? -1 : (value > constant_ ? 1 : 0));
    }

private:
    DirectField field_;
    ExprOperator op_;
    std::int64_t constant_;
};

// Any other pair of numbers or dates: the sign of their difference, as the variant compares them.
class RealComparison : public Test
{
public:
    RealComparison(DirectField field, ExprOperator op, double constant)
        : field_(field), op_(op), constant_(constant)
    {
    }
    bool passes(const TztrRecord &record) const override
    {
        return !field_.isNull(record) && holds(op_, signOf(field_.real(record) - constant_));
    }

private:
    DirectField field_;
    ExprOperator op_;
    double constant_;
};

class TextComparison : public Test
{
public:
    TextComparison(DirectField field, ExprOperator op, std::string constant)
        : field_(field), op_(op), constant_(std::move(constant))
    {
    }
    bool passes(const TztrRecord &record) const override
    {
        return !field_.isNull(record) && holds(op_, CompareStr(field_.text(record), constant_));
    }

private:
    DirectField field_;
    ExprOperator op_;
    std::string constant_;
};

class LikeTest : public Test
{
public:
    LikeTest(DirectField field, std::string constant, bool fieldIsPattern)
        : field_(field), constant_(std::move(constant)), fieldIsPattern_(fieldIsPattern)
    {
    }
    bool passes(const TztrRecord &record) const override
    {
        if (field_.isNull(record))
            return false;
        const std::string_view text = field_.text(record);
        return fieldIsPattern_ ? MatchesLikePattern(constant_, text) : MatchesLikePattern(text, constant_);
    }

private:
    DirectField field_;
    std::string constant_;
    bool fieldIsPattern_;
};

// A compare node: texts folded to upper case and/or cut to their first characters before =
// and <>; LIKE sees the folded texts whole.
class FoldedTextTest : public Test
{
public:
    FoldedTextTest(DirectField field, const ExprNode &node, std::string constant, bool fieldIsPattern)
        : field_(field), op_(node.Operator), caseInsensitive_(node.CaseInsensitive),
          partialLength_(node.PartialLength > 0 ? static_cast<std::size_t>(node.PartialLength)
                                                : std::string::npos),
          fieldIsPattern_(fieldIsPattern)
    {
        constant_ = caseInsensitive_ ? AnsiUpperCase(constant) : std::move(constant);
        if (op_ != ExprOperator::Like)
            constant_.resize(std::min(constant_.size(), partialLength_));
    }
    bool passes(const TztrRecord &record) const override
    {
        if (field_.isNull(record))
            return false;
        const std::string_view text = field_.text(record);
        if (op_ == ExprOperator::Like) {
            const std::string folded = caseInsensitive_ ? AnsiUpperCase(text) : std::string();
            const std::string_view value = caseInsensitive_ ? std::string_view(folded) : text;
            return fieldIsPattern_ ? MatchesLikePattern(constant_, value)
                                   : MatchesLikePattern(value, constant_);
        }
        const bool equal = equalsConstant(text.substr(0, std::min(text.size(), partialLength_)));
        return op_ == ExprOperator::Equal ? equal : !equal;
    }

private:
    bool equalsConstant(std::string_view text) const
    {
        if (!caseInsensitive_)
            return text == constant_;
        const auto &upper = localeUpper();
        return std::equal(text.begin(), text.end(), constant_.begin(), constant_.end(),
                          [&](char c, char k) { return upper[static_cast<unsigned char>(c)] == k; });
    }

    DirectField field_;
    ExprOperator op_;
    bool caseInsensitive_;
    std::size_t partialLength_;
    bool fieldIsPattern_;
    std::string constant_;
};

class NotTest : public Test
{
public:
    explicit NotTest(TestPtr operand) : operand_(std::move(operand)) {}
    bool passes(const TztrRecord &record) const override { return !operand_->passes(record); }

private:
    TestPtr operand_;
};

// Both sides are tested, left first, as the general evaluator does: a side that raises raises
// even when the other has decided.
class AndOrTest : public Test
{
public:
    AndOrTest(TestPtr left, TestPtr right, bool isAnd)
        : left_(std::move(left)), right_(std::move(right)), and_(isAnd)
    {
    }
    bool passes(const TztrRecord &record) const override
    {
        const bool left = left_->passes(record);
        const bool right = right_->passes(record);
        return and_ ? left && right : left || right;
    }

private:
    TestPtr left_;
    TestPtr right_;
    bool and_;
};

// IN over a list of constants: any element equal.
class AnyOfTest : public Test
{
public:
    explicit AnyOfTest(std::vector<TestPtr> equalities) : equalities_(std::move(equalities)) {}
    bool passes(const TztrRecord &record) const override
    {
        return std::any_of(equalities_.begin(), equalities_.end(),
                           [&](const TestPtr &equality) { return equality->passes(record); });
    }

private:
    std::vector<TestPtr> equalities_;
};

// Evaluating a part of the tree that reads no field.
class NoFields : public FilterFieldValues
{
public:
    Variant FieldValue(const std::string &fieldName) const override
    {
        throw EMemTableFilterError("Field '" + fieldName + "' not read");
    }
};

// Whether node gives the same value for every record: it reads no field and not the clock.
bool isRecordIndependent(const ExprNode &node)
{
    if (node.NodeClass == ExprNodeClass::Field ||
        (node.NodeClass == ExprNodeClass::Function && node.Name == "GETDATE"))
        return false;
    return (!node.Left || isRecordIndependent(*node.Left)) &&
           (!node.Right || isRecordIndependent(*node.Right));
}

// The two sides of a comparison when one is a field read directly and the other a constant.
struct FieldAndConstant
{
    DirectField field;
    Variant constant;
    bool fieldOnRight;
};

class Binder
{
public:
    Binder(TztrCustomMemTable &table, const std::unordered_map<const ExprNode *, TField *> &fields)
        : table_(table), fields_(fields)
    {
    }

    // The fast form of node, or none when it needs the general evaluator.
    TestPtr bind(const ExprNode &node) const
    {
        switch (node.NodeClass) {
        case ExprNodeClass::Unary:
            return bindUnary(node);
        case ExprNodeClass::Binary:
            if (node.Operator == ExprOperator::And || node.Operator == ExprOperator::Or)
                return bindAndOr(node);
            if (node.Operator == ExprOperator::Like)
                return bindLike(node);
            if (node.Operator == ExprOperator::In)
                return bindIn(node);
            return isOrdering(node.Operator) ? bindComparison(node) : nullptr;
        case ExprNodeClass::Compare:
            return bindCompareNode(node);
        default:
            return nullptr;
        }
    }

    // The equalities of an integer field with a whole number that node requires; these are the
    // comparisons that bind to IntegerComparison.
    void collectRequiredKeys(const ExprNode &node, std::vector<TztrBoundFilter::IntegerKey> &keys) const
    {
        if (node.NodeClass != ExprNodeClass::Binary)
            return;
        if (node.Operator == ExprOperator::And) {
            if (node.Left)
                collectRequiredKeys(*node.Left, keys);
            if (node.Right)
                collectRequiredKeys(*node.Right, keys);
            return;
        }
        if (node.Operator != ExprOperator::Equal)
            return;
        const auto sides = sidesOf(node);
        if (!sides || sides->field.form() != FieldForm::Integer)
            return;
        const TVarType type = sides->constant.VarType();
        if (type == varSmallint || type == varInteger || type == varInt64)
            keys.push_back({&sides->field.field(), sides->constant.AsInt64()});
    }

private:
    std::optional<DirectField> directField(const ExprNode *node) const
    {
        if (!node || node->NodeClass != ExprNodeClass::Field || node->Operator != ExprOperator::Field)
            return std::nullopt;
        const auto field = fields_.find(node);
        return field == fields_.end() ? std::nullopt : DirectField::bind(field->second, table_);
    }

    // The value of a part that is the same for every record ("5", "-5", "2*3"), worked out once.
    static std::optional<Variant> constantOf(const ExprNode *node)
    {
        if (!node || !isRecordIndependent(*node))
            return std::nullopt;
        try {
            return EvaluateFilterExpression(*node, NoFields());
        } catch (const Exception &) {
            // Raised again, record by record, by the general evaluator.
            return std::nullopt;
        }
    }

    std::optional<FieldAndConstant> sidesOf(const ExprNode &node) const
    {
        if (auto field = directField(node.Left.get())) {
            if (auto constant = constantOf(node.Right.get()))
                return FieldAndConstant{*field, std::move(*constant), false};
        } else if (auto field = directField(node.Right.get())) {
            if (auto constant = constantOf(node.Left.get()))
                return FieldAndConstant{*field, std::move(*constant), true};
        }
        return std::nullopt;
    }

    TestPtr bindUnary(const ExprNode &node) const
    {
        switch (node.Operator) {
        case ExprOperator::IsNull:
        case ExprOperator::IsNotNull:
            if (const auto field = directField(node.Left.get()))
                return std::make_unique<NullTest>(*field, node.Operator == ExprOperator::IsNull);
            return nullptr;
        case ExprOperator::Not:
            if (TestPtr operand = node.Left ? bind(*node.Left) : nullptr)
                return std::make_unique<NotTest>(std::move(operand));
            return nullptr;
        default:
            return nullptr;
        }
    }

    TestPtr bindAndOr(const ExprNode &node) const
    {
        if (!node.Left || !node.Right)
            return nullptr;
        TestPtr left = bind(*node.Left);
        TestPtr right = left ? bind(*node.Right) : nullptr;
        if (!right)
            return nullptr;
        return std::make_unique<AndOrTest>(std::move(left), std::move(right),
                                           node.Operator == ExprOperator::And);
    }

    TestPtr bindComparison(const ExprNode &node) const
    {
        const auto sides = sidesOf(node);
        if (!sides)
            return nullptr;
        return comparison(sides->field, sides->fieldOnRight ? swapped(node.Operator) : node.Operator,
                          sides->constant);
    }

    // The field (left) against the constant (right) as the variant comparison would see them;
    // none where it would convert a text or compare other kinds of value.
    static TestPtr comparison(const DirectField &field, ExprOperator op, const Variant &constant)
    {
        switch (constant.VarType()) {
        case varSmallint:
        case varInteger:
        case varInt64:
            if (field.form() == FieldForm::Integer)
                return std::make_unique<IntegerComparison>(field, op, constant.AsInt64());
            [[fallthrough]];
        case varDouble:
        case varCurrency:
        case varDate:
        case varBoolean:
            if (field.form() == FieldForm::Text)
                return nullptr;
            return std::make_unique<RealComparison>(field, op, constant.AsDouble());
        case varString:
            if (field.form() != FieldForm::Text)
                return nullptr;
            return std::make_unique<TextComparison>(field, op, *constant.Get<std::string>());
        default:
            return nullptr;
        }
    }

    // A field IN a list of constants; a null element equals nothing. An empty element ends the
    // list, which the general evaluator knows how to do.
    TestPtr bindIn(const ExprNode &node) const
    {
        const auto field = directField(node.Left.get());
        if (!field || !node.Right || node.Right->NodeClass != ExprNodeClass::ListElement)
            return nullptr;
        std::vector<TestPtr> equalities;
        for (const ExprNode *element = node.Right.get(); element; element = element->Right.get()) {
            if (element->NodeClass != ExprNodeClass::ListElement ||
                element->Operator != ExprOperator::ListElement)
                return nullptr;
            const auto constant = constantOf(element->Left.get());
            if (!constant || constant->IsEmpty())
                return nullptr;
            if (constant->IsNull())
                continue;
            TestPtr equality = comparison(*field, ExprOperator::Equal, *constant);
            if (!equality)
                return nullptr;
            equalities.push_back(std::move(equality));
        }
        return std::make_unique<AnyOfTest>(std::move(equalities));
    }

    // The field's text against a text constant; a number or date would be turned into a text first.
    std::optional<FieldAndConstant> textSidesOf(const ExprNode &node) const
    {
        auto sides = sidesOf(node);
        if (!sides || sides->field.form() != FieldForm::Text || sides->constant.VarType() != varString)
            return std::nullopt;
        return sides;
    }

    TestPtr bindLike(const ExprNode &node) const
    {
        auto sides = textSidesOf(node);
        if (!sides)
            return nullptr;
        return std::make_unique<LikeTest>(sides->field, *sides->constant.Get<std::string>(),
                                          sides->fieldOnRight);
    }

    TestPtr bindCompareNode(const ExprNode &node) const
    {
        if (node.Operator != ExprOperator::Equal && node.Operator != ExprOperator::NotEqual &&
            node.Operator != ExprOperator::Like)
            return nullptr;
        auto sides = textSidesOf(node);
        if (!sides)
            return nullptr;
        return std::make_unique<FoldedTextTest>(sides->field, node, *sides->constant.Get<std::string>(),
                                                sides->fieldOnRight);
    }

    TztrCustomMemTable &table_;
    const std::unordered_map<const ExprNode *, TField *> &fields_;
};

} // namespace

TztrBoundFilter::TztrBoundFilter(const ExprNode &root, TztrCustomMemTable &table) : root_(root), table_(table)
{
    bindFieldNodes(root);
    const Binder binder(table, fields_);
    test_ = binder.bind(root);
    if (test_)
        binder.collectRequiredKeys(root, requiredKeys_);
}

TztrBoundFilter::~TztrBoundFilter() = default;

bool TztrBoundFilter::Accepts(const TztrRecord *record) const
{
    // No lock of its own: the caller holds the store's lock for as long as it holds the record.
    return test_ ? test_->passes(*record) : FilterExpressionAccepts(root_, *this);
}

Variant TztrBoundFilter::FieldValue(const std::string &fieldName) const
{
    return table_.FieldByName(fieldName)->AsVariant();
}

Variant TztrBoundFilter::FieldNodeValue(const ExprNode &field) const
{
    const auto bound = fields_.find(&field);
    return bound == fields_.end() ? FieldValue(field.Name) : bound->second->AsVariant();
}

// A name the table does not know stays unbound, and its reads raise the field-not-found error.
void TztrBoundFilter::bindFieldNodes(const ExprNode &node)
{
    if (node.NodeClass == ExprNodeClass::Field) {
        if (TField *field = table_.FindField(node.Name))
            fields_.emplace(&node, field);
    }
    if (node.Left)
        bindFieldNodes(*node.Left);
    if (node.Right)
        bindFieldNodes(*node.Right);
}
