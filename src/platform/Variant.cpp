#include "platform/Variant.h"

#include "platform/Cp1250.h"
#include "platform/FormatSettings.h"
#include "platform/LocaleCompare.h"

#include <cmath>

namespace {

// Indexes of the storage alternatives, in declaration order.
enum Kind : std::size_t { kEmpty, kNull, kSmallint, kInteger, kInt64, kDouble, kCurrency, kBoolean, kDate, kString, kWide, kBytes, kArray };

bool isIntegerKind(std::size_t kind)
{
    return kind == kSmallint || kind == kInteger || kind == kInt64 || kind == kBoolean;
}

bool isNumberKind(std::size_t kind)
{
    return isIntegerKind(kind) || kind == kDouble || kind == kCurrency || kind == kDate;
}

bool isTextKind(std::size_t kind)
{
    return kind == kString || kind == kWide;
}

int sign(double value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

Variant::Variant(Array elements) : value_(std::make_shared<Array>(std::move(elements))) {}

Variant Variant::Null()
{
    Variant result;
    result.value_ = NullValue{};
    return result;
}

TVarType Variant::VarType() const
{
    static constexpr TVarType types[] = {varEmpty, varNull,    varSmallint, varInteger,
                                         varInt64, varDouble,  varCurrency, varBoolean,
                                         varDate,  varString,  varOleStr,   TVarType(varArray | varByte),
                                         TVarType(varArray | varVariant)};
    return types[value_.index()];
}

bool Variant::IsArray() const
{
    return value_.index() == kBytes || value_.index() == kArray;
}

bool Variant::IsNumeric() const
{
    return isIntegerKind(value_.index()) || value_.index() == kDouble || value_.index() == kCurrency;
}

bool Variant::IsString() const
{
    return isTextKind(value_.index());
}

void Variant::castError(const char *target) const
{
    throw EVariantError("Could not convert variant of type (" + VarTypeAsText(VarType()) + ") into type (" + target + ")");
}

std::string Variant::AsString() const
{
    switch (value_.index()) {
    case kEmpty:
        return {};
    case kSmallint:
    case kInteger:
    case kInt64:
        return IntToStr(AsInt64());
    case kDouble:
        return FloatToStr(std::get<double>(value_));
    case kCurrency:
        return CurrToStr(std::get<Currency>(value_));
    case kBoolean:
        return std::get<bool>(value_) ? "True" : "False";
    case kDate: {
        const TDateTime value = std::get<TDateTime>(value_);
        // A date-time of day 0 is a time alone.
        return std::trunc(static_cast<double>(value)) == 0 && value != 0 ? TimeToStr(value) : DateTimeToStr(value);
    }
    case kString:
        return std::get<std::string>(value_);
    case kWide:
        return utf16ToCp1250(std::get<std::u16string>(value_));
    case kBytes: {
        const Bytes &bytes = std::get<Bytes>(value_);
        return std::string(bytes.begin(), bytes.end());
    }
    default:
        castError("String");
    }
}

std::u16string Variant::AsWideString() const
{
    if (value_.index() == kWide)
        return std::get<std::u16string>(value_);
    return cp1250ToUtf16(AsString());
}

std::int64_t Variant::AsInt64() const
{
    switch (value_.index()) {
    case kEmpty:
        return 0;
    case kSmallint:
        return std::get<std::int16_t>(value_);
    case kInteger:
        return std::get<std::int32_t>(value_);
    case kInt64:
        return std::get<std::int64_t>(value_);
    case kBoolean:
        return std::get<bool>(value_) ? -1 : 0;
    case kDouble:
    case kDate:
    case kCurrency: {
        const double value = std::nearbyint(AsDouble());
        if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
            castError("Int64");
        return static_cast<std::int64_t>(value);
    }
    case kString:
    case kWide: {
        const std::string text = AsString();
        std::int64_t result = 0;
        if (TryStrToInt64(text, result))
            return result;
        double value = 0;
        if (TryStrToFloat(text, value) && value >= -9223372036854775808.0 && value < 9223372036854775808.0)
            return static_cast<std::int64_t>(std::nearbyint(value));
        castError("Int64");
    }
    default:
        castError("Int64");
    }
}

int Variant::AsInteger() const
{
    const std::int64_t value = AsInt64();
    if (value < INT32_MIN || value > INT32_MAX)
        castError("Integer");
    return static_cast<int>(value);
}

double Variant::AsDouble() const
{
    switch (value_.index()) {
    case kEmpty:
        return 0;
    case kSmallint:
    case kInteger:
    case kInt64:
    case kBoolean:
        return static_cast<double>(AsInt64());
    case kDouble:
        return std::get<double>(value_);
    case kCurrency:
        return std::get<Currency>(value_).ToDouble();
    case kDate:
        return std::get<TDateTime>(value_);
    case kString:
    case kWide: {
        double value = 0;
        if (!TryStrToFloat(AsString(), value))
            castError("Double");
        return value;
    }
    default:
        castError("Double");
    }
}

Currency Variant::AsCurrency() const
{
    switch (value_.index()) {
    case kCurrency:
        return std::get<Currency>(value_);
    case kSmallint:
    case kInteger:
    case kInt64:
    case kBoolean:
        return Currency::FromScaled(AsInt64() * Currency::Scale);
    case kString:
    case kWide: {
        Currency value;
        if (!TryStrToCurr(AsString(), value, FormatSettings()))
            castError("Currency");
        return value;
    }
    default:
        try {
            return Currency(AsDouble());
        } catch (const EConvertError &) {
            castError("Currency");
        }
    }
}

bool Variant::AsBoolean() const
{
    switch (value_.index()) {
    case kEmpty:
        return false;
    case kBoolean:
        return std::get<bool>(value_);
    case kString:
    case kWide: {
        const std::string text = AsString();
        if (CompareText(text, "True") == 0)
            return true;
        if (CompareText(text, "False") == 0)
            return false;
        double value = 0;
        if (!TryStrToFloat(text, value))
            castError("Boolean");
        return value != 0;
    }
    default:
        if (isNumberKind(value_.index()))
            return AsDouble() != 0;
        castError("Boolean");
    }
}

TDateTime Variant::AsDateTime() const
{
    switch (value_.index()) {
    case kDate:
        return std::get<TDateTime>(value_);
    case kString:
    case kWide: {
        TDateTime value;
        if (!TryStrToDateTime(AsString(), value, FormatSettings()))
            castError("Date");
        return value;
    }
    default:
        if (value_.index() == kEmpty || isNumberKind(value_.index()))
            return TDateTime(AsDouble());
        castError("Date");
    }
}

Variant::Bytes Variant::AsBytes() const
{
    switch (value_.index()) {
    case kEmpty:
        return {};
    case kBytes:
        return std::get<Bytes>(value_);
    case kString: {
        const std::string &text = std::get<std::string>(value_);
        return Bytes(text.begin(), text.end());
    }
    default:
        castError("Array of Byte");
    }
}

int Variant::ElementCount() const
{
    const Array *array = Get<Array>();
    return array ? static_cast<int>(array->size()) : 0;
}

const Variant &Variant::Element(int index) const
{
    const Array *array = Get<Array>();
    if (!array || index < 0 || index >= static_cast<int>(array->size()))
        throw EVariantError("Variant array index out of bounds");
    return (*array)[static_cast<std::size_t>(index)];
}

void Variant::SetElement(int index, const Variant &value)
{
    ArrayPtr *array = std::get_if<ArrayPtr>(&value_);
    if (!array || index < 0 || index >= static_cast<int>((*array)->size()))
        throw EVariantError("Variant array index out of bounds");
    // Copies share their elements until one of them is changed.
    if (array->use_count() > 1)
        *array = std::make_shared<Array>(**array);
    (**array)[static_cast<std::size_t>(index)] = value;
}

TVariantRelationship VarCompareValue(const Variant &a, const Variant &b)
{
    const bool aMissing = a.IsNull() || a.IsEmpty();
    const bool bMissing = b.IsNull() || b.IsEmpty();
    if (aMissing || bMissing)
        return aMissing && bMissing ? vrEqual : vrNotEqual;
    if (a.IsArray() || b.IsArray()) {
        if (a.VarType() != b.VarType())
            return vrNotEqual;
        if (const auto *bytes = a.Get<Variant::Bytes>())
            return *bytes == *b.Get<Variant::Bytes>() ? vrEqual : vrNotEqual;
        if (a.ElementCount() != b.ElementCount())
            return vrNotEqual;
        for (int i = 0; i < a.ElementCount(); ++i)
            if (VarCompareValue(a.Element(i), b.Element(i)) != vrEqual)
                return vrNotEqual;
        return vrEqual;
    }
    int order;
    if (a.IsString() && b.IsString()) {
        if (a.VarType() == varOleStr || b.VarType() == varOleStr)
            order = WideCompareStr(a.AsWideString(), b.AsWideString());
        else
            order = CompareStr(*a.Get<std::string>(), *b.Get<std::string>());
    } else if (a.VarType() == varCurrency && b.VarType() == varCurrency) {
        order = a.AsCurrency() < b.AsCurrency() ? -1 : (b.AsCurrency() < a.AsCurrency() ? 1 : 0);
    } else if ((a.VarType() == varInt64 || a.VarType() == varInteger || a.VarType() == varSmallint) &&
               (b.VarType() == varInt64 || b.VarType() == varInteger || b.VarType() == varSmallint)) {
        const std::int64_t x = a.AsInt64(), y = b.AsInt64();
        order = x < y ? -1 : (x > y ? 1 : 0);
    } else if ((a.VarType() == varDate && b.IsString()) || (a.IsString() && b.VarType() == varDate)) {
        order = sign(a.AsDateTime() - b.AsDateTime());
    } else {
        order = sign(a.AsDouble() - b.AsDouble());
    }
    return order < 0 ? vrLessThan : (order > 0 ? vrGreaterThan : vrEqual);
}

bool Variant::operator==(const Variant &other) const
{
    return VarCompareValue(*this, other) == vrEqual;
}

bool Variant::operator<(const Variant &other) const
{
    return VarCompareValue(*this, other) == vrLessThan;
}

namespace {

enum class ArithmeticType { Integer, Int64, Currency, Double, Date };

ArithmeticType arithmeticType(const Variant &a, const Variant &b)
{
    auto rank = [](const Variant &v) {
        switch (v.VarType()) {
        case varSmallint:
        case varInteger:
        case varBoolean:
        case varEmpty:
            return ArithmeticType::Integer;
        case varInt64:
            return ArithmeticType::Int64;
        case varCurrency:
            return ArithmeticType::Currency;
        case varDate:
            return ArithmeticType::Date;
        default:
            return ArithmeticType::Double;
        }
    };
    const ArithmeticType x = rank(a), y = rank(b);
    if (x == ArithmeticType::Date || y == ArithmeticType::Date)
        return ArithmeticType::Date;
    return static_cast<int>(x) > static_cast<int>(y) ? x : y;
}

Variant integerResult(__int128 value)
{
    if (value >= INT32_MIN && value <= INT32_MAX)
        return Variant(static_cast<int>(value));
    if (value >= INT64_MIN && value <= INT64_MAX)
        return Variant(static_cast<std::int64_t>(value));
    return Variant(static_cast<double>(value));
}

} // namespace

Variant Variant::operator+(const Variant &other) const
{
    if (IsNull() || other.IsNull())
        return Null();
    if (IsString() && other.IsString()) {
        if (VarType() == varOleStr || other.VarType() == varOleStr)
            return Variant(AsWideString() + other.AsWideString());
        return Variant(AsString() + other.AsString());
    }
    switch (arithmeticType(*this, other)) {
    case ArithmeticType::Integer:
    case ArithmeticType::Int64:
        return integerResult(static_cast<__int128>(AsInt64()) + other.AsInt64());
    case ArithmeticType::Currency:
        return Variant(AsCurrency() + other.AsCurrency());
    case ArithmeticType::Date:
        return Variant(TDateTime(AsDouble() + other.AsDouble()));
    default:
        return Variant(AsDouble() + other.AsDouble());
    }
}

Variant Variant::operator-(const Variant &other) const
{
    if (IsNull() || other.IsNull())
        return Null();
    switch (arithmeticType(*this, other)) {
    case ArithmeticType::Integer:
    case ArithmeticType::Int64:
        return integerResult(static_cast<__int128>(AsInt64()) - other.AsInt64());
    case ArithmeticType::Currency:
        return Variant(AsCurrency() - other.AsCurrency());
    case ArithmeticType::Date:
        // The distance between two dates is a number of days; a date moved by days stays a date.
        if (VarType() == varDate && other.VarType() == varDate)
            return Variant(AsDouble() - other.AsDouble());
        return Variant(TDateTime(AsDouble() - other.AsDouble()));
    default:
        return Variant(AsDouble() - other.AsDouble());
    }
}

Variant Variant::operator*(const Variant &other) const
{
    if (IsNull() || other.IsNull())
        return Null();
    switch (arithmeticType(*this, other)) {
    case ArithmeticType::Integer:
    case ArithmeticType::Int64:
        return integerResult(static_cast<__int128>(AsInt64()) * other.AsInt64());
    case ArithmeticType::Currency:
        return Variant(AsCurrency() * other.AsCurrency());
    default:
        return Variant(AsDouble() * other.AsDouble());
    }
}

Variant Variant::operator/(const Variant &other) const
{
    if (IsNull() || other.IsNull())
        return Null();
    const double divisor = other.AsDouble();
    if (divisor == 0)
        throw EZeroDivide("Division by zero");
    return Variant(AsDouble() / divisor);
}

Variant Variant::operator%(const Variant &other) const
{
    if (IsNull() || other.IsNull())
        return Null();
    const std::int64_t divisor = other.AsInt64();
    if (divisor == 0)
        throw EZeroDivide("Division by zero");
    return integerResult(AsInt64() % divisor);
}

Variant Variant::operator-() const
{
    switch (value_.index()) {
    case kNull:
        return Null();
    case kSmallint:
    case kInteger:
    case kInt64:
    case kEmpty:
        return integerResult(-static_cast<__int128>(AsInt64()));
    case kCurrency:
        return Variant(-std::get<Currency>(value_));
    case kDate:
        return Variant(TDateTime(-AsDouble()));
    default:
        return Variant(-AsDouble());
    }
}

Variant VarArrayOf(std::vector<Variant> elements)
{
    return Variant(std::move(elements));
}

Variant VarArrayCreate(int low, int high)
{
    return Variant(Variant::Array(static_cast<std::size_t>(high >= low ? high - low + 1 : 0)));
}

int VarArrayDimCount(const Variant &value)
{
    return value.IsArray() ? 1 : 0;
}

int VarArrayLowBound(const Variant &value, int)
{
    if (!value.IsArray())
        throw EVariantError("Variant is not an array");
    return 0;
}

int VarArrayHighBound(const Variant &value, int)
{
    if (const auto *bytes = value.Get<Variant::Bytes>())
        return static_cast<int>(bytes->size()) - 1;
    if (!value.IsArray())
        throw EVariantError("Variant is not an array");
    return value.ElementCount() - 1;
}

std::string VarToStr(const Variant &value)
{
    return value.IsNull() ? std::string() : value.AsString();
}

std::u16string VarToWideStr(const Variant &value)
{
    return value.IsNull() ? std::u16string() : value.AsWideString();
}

std::string VarTypeAsText(TVarType type)
{
    switch (type) {
    case varEmpty:
        return "Empty";
    case varNull:
        return "Null";
    case varSmallint:
        return "Smallint";
    case varInteger:
        return "Integer";
    case varDouble:
        return "Double";
    case varCurrency:
        return "Currency";
    case varDate:
        return "Date";
    case varOleStr:
        return "OleStr";
    case varBoolean:
        return "Boolean";
    case varInt64:
        return "Int64";
    case varString:
        return "String";
    default:
        return type & varArray ? "Array" : "Unknown";
    }
}
