#pragma once

// The framework's variant: a value that knows its own type, used for field values, locate keys
// and filter evaluation. Narrow strings are cp1250 like all framework text.

#include "platform/Currency.h"
#include "platform/DateTime.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

class EVariantError : public Exception {
public:
    using Exception::Exception;
};

// The framework's type codes, so code that switches on them reads as usual.
enum TVarType : std::uint16_t {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varByte = 0x0011,
    varInt64 = 0x0014,
    varString = 0x0100,
    varArray = 0x2000,
};

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Array = std::vector<Variant>;

    Variant() = default;
    Variant(std::int16_t value) : value_(value) {}
    Variant(int value) : value_(static_cast<std::int32_t>(value)) {}
    Variant(std::int64_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(Currency value) : value_(value) {}
    Variant(bool value) : value_(value) {}
    Variant(TDateTime value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char *value) : value_(std::string(value)) {}
    Variant(std::u16string value) : value_(std::move(value)) {}
    Variant(const char16_t *value) : value_(std::u16string(value)) {}
    Variant(Bytes value) : value_(std::move(value)) {}
    Variant(Array elements);

    static Variant Null();

    TVarType VarType() const;
    bool IsEmpty() const { return value_.index() == 0; }
    bool IsNull() const { return value_.index() == 1; }
    bool IsArray() const;
    bool IsNumeric() const;
    bool IsString() const;

    // Conversions follow the framework: empty converts to 0, "" or False; null and values that
    // do not convert raise EVariantError; texts convert with the user's format settings.
    std::string AsString() const;
    std::u16string AsWideString() const;
    int AsInteger() const;
    std::int64_t AsInt64() const;
    double AsDouble() const;
    Currency AsCurrency() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;
    Bytes AsBytes() const;

    // Elements of a variant array (not of a byte array), indexed from 0.
    int ElementCount() const;
    const Variant &Element(int index) const;
    void SetElement(int index, const Variant &value);

    // Direct access to the stored alternative, or null when the variant holds another type.
    template <class T> const T *Get() const { return std::get_if<T>(&value_); }

    bool operator==(const Variant &other) const;
    bool operator!=(const Variant &other) const { return !(*this == other); }
    bool operator<(const Variant &other) const;
    bool operator>(const Variant &other) const { return other < *this; }
    bool operator<=(const Variant &other) const { return !(other < *this); }
    bool operator>=(const Variant &other) const { return !(*this < other); }

    // Arithmetic in the widest type of the two operands; "+" joins two texts; date plus number
    // stays a date. A null operand gives null.
    Variant operator+(const Variant &other) const;
    Variant operator-(const Variant &other) const;
    Variant operator*(const Variant &other) const;
    // Always floating point.
    Variant operator/(const Variant &other) const;
    // Integer remainder.
    Variant operator%(const Variant &other) const;
    Variant operator-() const;

private:
    struct NullValue {
        bool operator==(const NullValue &) const = default;
    };
    using ArrayPtr = std::shared_ptr<Array>;
    using Storage = std::variant<std::monostate, NullValue, std::int16_t, std::int32_t, std::int64_t,
                                 double, Currency, bool, TDateTime, std::string, std::u16string,
                                 Bytes, ArrayPtr>;

    [[noreturn]] void castError(const char *target) const;

    Storage value_;
};

template <> inline const Variant::Array *Variant::Get<Variant::Array>() const
{
    const ArrayPtr *array = std::get_if<ArrayPtr>(&value_);
    return array ? array->get() : nullptr;
}

// Compares two variants: numbers, dates and Booleans numerically, texts ordinally, a text with a
// number by converting the text; two nulls (or empties) are equal, a null against a value is
// vrNotEqual.
TVariantRelationship VarCompareValue(const Variant &a, const Variant &b);

inline bool VarIsNull(const Variant &value) { return value.IsNull(); }
inline bool VarIsEmpty(const Variant &value) { return value.IsEmpty(); }
inline bool VarIsArray(const Variant &value) { return value.IsArray(); }
inline TVarType VarType(const Variant &value) { return value.VarType(); }
Variant VarArrayOf(std::vector<Variant> elements);
// An array of high - low + 1 empty elements; only 0-based arrays are kept.
Variant VarArrayCreate(int low, int high);
// Arrays have one dimension; other values none.
int VarArrayDimCount(const Variant &value);
int VarArrayLowBound(const Variant &value, int dim);
int VarArrayHighBound(const Variant &value, int dim);
// Null and empty give "".
std::string VarToStr(const Variant &value);
std::u16string VarToWideStr(const Variant &value);
std::string VarTypeAsText(TVarType type);
