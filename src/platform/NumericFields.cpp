#include "platform/NumericFields.h"

#include "platform/DBConsts.h"
#include "platform/FormatSettings.h"

#include <cmath>
#include <cstring>

TNumericField::TNumericField(TFieldType type, int size) : TField(type, size)
{
    SetAlignment(taRightJustify);
}

// --- TIntegerField ---------------------------------------------------------------------------

TIntegerField::TIntegerField(TFieldType type) : TNumericField(type) {}

bool TIntegerField::GetValue(int &value) const
{
    switch (DataType()) {
    case ftSmallint: {
        std::int16_t data = 0;
        if (!GetData(&data))
            return false;
        value = data;
        return true;
    }
    case ftWord: {
        std::uint16_t data = 0;
        if (!GetData(&data))
            return false;
        value = data;
        return true;
    }
    default: {
        std::int32_t data = 0;
        if (!GetData(&data))
            return false;
        value = data;
        return true;
    }
    }
}

std::string TIntegerField::GetAsString() const
{
    int value = 0;
    return GetValue(value) ? IntToStr(value) : std::string();
}

void TIntegerField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    std::int64_t number = 0;
    if (!TryStrToInt64(value, number))
        ConvertError(SInvalidIntegerValue, value);
    SetAsLargeIntValue(number);
}

int TIntegerField::GetAsInteger() const
{
    int value = 0;
    return GetValue(value) ? value : 0;
}

void TIntegerField::SetAsIntegerValue(int value)
{
    SetAsLargeIntValue(value);
}

std::int64_t TIntegerField::GetAsLargeInt() const
{
    return GetAsInteger();
}

std::int64_t TIntegerField::lowest() const
{
    return minValue_ != 0 || maxValue_ != 0 ? minValue_ : TypeMin();
}

std::int64_t TIntegerField::highest() const
{
    return minValue_ != 0 || maxValue_ != 0 ? maxValue_ : TypeMax();
}

void TIntegerField::toNative(std::int64_t value, void *native) const
{
    switch (DataType()) {
    case ftSmallint: {
        const auto data = static_cast<std::int16_t>(value);
        std::memcpy(native, &data, sizeof data);
        break;
    }
    case ftWord: {
        const auto data = static_cast<std::uint16_t>(value);
        std::memcpy(native, &data, sizeof data);
        break;
    }
    default: {
        const auto data = static_cast<std::int32_t>(value);
        std::memcpy(native, &data, sizeof data);
        break;
    }
    }
}

bool TIntegerField::StringToNative(const std::string &value, void *native) const
{
    std::int64_t number = 0;
    if (value.empty() || !TryStrToInt64(value, number) || number < lowest() || number > highest())
        return false;
    toNative(number, native);
    return true;
}

void TIntegerField::SetAsLargeIntValue(std::int64_t value)
{
    if (value < lowest() || value > highest())
        RangeError(IntToStr(value), IntToStr(lowest()), IntToStr(highest()));
    std::int32_t data = 0;
    toNative(value, &data);
    SetData(&data);
}

double TIntegerField::GetAsFloat() const
{
    return GetAsInteger();
}

void TIntegerField::SetAsFloatValue(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -9.2e18 && rounded <= 9.2e18))
        RangeError(FloatToStr(value), IntToStr(TypeMin()), IntToStr(TypeMax()));
    SetAsLargeIntValue(static_cast<std::int64_t>(rounded));
}

Currency TIntegerField::GetAsCurrency() const
{
    return Currency(GetAsInteger());
}

void TIntegerField::SetAsCurrencyValue(Currency value)
{
    SetAsFloatValue(value.ToDouble());
}

bool TIntegerField::GetAsBoolean() const
{
    return GetAsInteger() != 0;
}

void TIntegerField::SetAsBooleanValue(bool value)
{
    SetAsIntegerValue(value ? 1 : 0);
}

Variant TIntegerField::GetAsVariant() const
{
    return Variant(GetAsInteger());
}

void TIntegerField::SetVarValue(const Variant &value)
{
    SetAsLargeIntValue(value.AsInt64());
}

void TIntegerField::GetText(std::string &text, bool displayText) const
{
    int value = 0;
    if (!GetValue(value)) {
        text.clear();
        return;
    }
    const std::string &format = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    text = format.empty() ? IntToStr(value) : FormatFloat(format, value);
}

Variant TSmallintField::GetAsVariant() const
{
    return Variant(static_cast<std::int16_t>(GetAsInteger()));
}

// --- TLargeintField --------------------------------------------------------------------------

std::string TLargeintField::GetAsString() const
{
    std::int64_t value = 0;
    return GetData(&value) ? IntToStr(value) : std::string();
}

void TLargeintField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    std::int64_t number = 0;
    if (!TryStrToInt64(value, number))
        ConvertError(SInvalidIntegerValue, value);
    SetAsLargeIntValue(number);
}

int TLargeintField::GetAsInteger() const
{
    const std::int64_t value = GetAsLargeInt();
    if (value < INT32_MIN || value > INT32_MAX)
        AccessError("Integer");
    return static_cast<int>(value);
}

void TLargeintField::SetAsIntegerValue(int value)
{
    SetAsLargeIntValue(value);
}

std::int64_t TLargeintField::GetAsLargeInt() const
{
    std::int64_t value = 0;
    return GetData(&value) ? value : 0;
}

void TLargeintField::SetAsLargeIntValue(std::int64_t value)
{
    if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_))
        RangeError(IntToStr(value), IntToStr(minValue_), IntToStr(maxValue_));
    SetData(&value);
}

double TLargeintField::GetAsFloat() const
{
    return static_cast<double>(GetAsLargeInt());
}

void TLargeintField::SetAsFloatValue(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        RangeError(FloatToStr(value), IntToStr(INT64_MIN), IntToStr(INT64_MAX));
    SetAsLargeIntValue(static_cast<std::int64_t>(rounded));
}

Variant TLargeintField::GetAsVariant() const
{
    return Variant(GetAsLargeInt());
}

void TLargeintField::SetVarValue(const Variant &value)
{
    SetAsLargeIntValue(value.AsInt64());
}

void TLargeintField::GetText(std::string &text, bool displayText) const
{
    std::int64_t value = 0;
    if (!GetData(&value)) {
        text.clear();
        return;
    }
    const std::string &format = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    text = format.empty() ? IntToStr(value) : FormatFloat(format, static_cast<double>(value));
}

// --- TFloatField -----------------------------------------------------------------------------

TFloatField::TFloatField(TFieldType type) : TNumericField(type) {}

void TFloatField::SetPrecision(int precision)
{
    precision_ = precision < 2 ? 2 : (precision > 15 ? 15 : precision);
}

std::string TFloatField::GetAsString() const
{
    double value = 0;
    return GetData(&value) ? FloatToStrG(value, precision_, FormatSettings()) : std::string();
}

void TFloatField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    double number = 0;
    if (!TryStrToFloat(value, number))
        ConvertError(SInvalidFloatValue, value);
    SetAsFloatValue(number);
}

int TFloatField::GetAsInteger() const
{
    const double value = std::nearbyint(GetAsFloat());
    if (!(value >= INT32_MIN && value <= INT32_MAX))
        AccessError("Integer");
    return static_cast<int>(value);
}

void TFloatField::SetAsIntegerValue(int value)
{
    SetAsFloatValue(value);
}

std::int64_t TFloatField::GetAsLargeInt() const
{
    const double value = std::nearbyint(GetAsFloat());
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        AccessError("LargeInt");
    return static_cast<std::int64_t>(value);
}

void TFloatField::SetAsLargeIntValue(std::int64_t value)
{
    SetAsFloatValue(static_cast<double>(value));
}

double TFloatField::GetAsFloat() const
{
    double value = 0;
    return GetData(&value) ? value : 0;
}

void TFloatField::SetAsFloatValue(double value)
{
    if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_))
        RangeError(FloatToStr(value), FloatToStr(minValue_), FloatToStr(maxValue_));
    SetData(&value);
}

Currency TFloatField::GetAsCurrency() const
{
    return Currency(GetAsFloat());
}

void TFloatField::SetAsCurrencyValue(Currency value)
{
    SetAsFloatValue(value.ToDouble());
}

Variant TFloatField::GetAsVariant() const
{
    return Variant(GetAsFloat());
}

void TFloatField::SetVarValue(const Variant &value)
{
    SetAsFloatValue(value.AsDouble());
}

void TFloatField::GetText(std::string &text, bool displayText) const
{
    double value = 0;
    if (!GetData(&value)) {
        text.clear();
        return;
    }
    const std::string &format = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    if (!format.empty())
        text = FormatFloat(format, value);
    else if (displayText && currency_)
        text = CurrToStrF(Currency(value), FormatSettings().CurrencyDecimals, FormatSettings());
    else
        text = FloatToStrG(value, precision_, FormatSettings());
}

TCurrencyField::TCurrencyField() : TFloatField(ftCurrency)
{
    SetCurrency(true);
}

// --- TBCDField -------------------------------------------------------------------------------

TBCDField::TBCDField(TFieldType type) : TNumericField(type, 4) {}

std::string TBCDField::GetAsString() const
{
    Currency value;
    return GetData(&value, false) ? CurrToStr(value) : std::string();
}

void TBCDField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    Currency number;
    if (!TryStrToCurr(value, number, FormatSettings()))
        ConvertError(SInvalidFloatValue, value);
    SetAsCurrencyValue(number);
}

int TBCDField::GetAsInteger() const
{
    const std::int64_t value = GetAsLargeInt();
    if (value < INT32_MIN || value > INT32_MAX)
        AccessError("Integer");
    return static_cast<int>(value);
}

void TBCDField::SetAsIntegerValue(int value)
{
    SetAsCurrencyValue(Currency(value));
}

std::int64_t TBCDField::GetAsLargeInt() const
{
    return static_cast<std::int64_t>(std::nearbyint(GetAsCurrency().ToDouble()));
}

double TBCDField::GetAsFloat() const
{
    return GetAsCurrency().ToDouble();
}

void TBCDField::SetAsFloatValue(double value)
{
    SetAsCurrencyValue(Currency(value));
}

Currency TBCDField::GetAsCurrency() const
{
    Currency value;
    return GetData(&value, false) ? value : Currency();
}

void TBCDField::SetAsCurrencyValue(Currency value)
{
    if ((minValue_ != Currency() || maxValue_ != Currency()) && (value < minValue_ || value > maxValue_))
        RangeError(CurrToStr(value), CurrToStr(minValue_), CurrToStr(maxValue_));
    SetData(&value, false);
}

TBcd TBCDField::GetAsBCD() const
{
    TBcd value;
    return GetData(&value) ? value : TBcd();
}

void TBCDField::SetAsBCDValue(const TBcd &value)
{
    Currency number;
    if (!BCDToCurr(value, number))
        RangeError(BcdToStr(value), CurrToStr(minValue_), CurrToStr(maxValue_));
    SetAsCurrencyValue(number);
}

Variant TBCDField::GetAsVariant() const
{
    return Variant(GetAsCurrency());
}

void TBCDField::SetVarValue(const Variant &value)
{
    SetAsCurrencyValue(value.AsCurrency());
}

void TBCDField::GetText(std::string &text, bool displayText) const
{
    Currency value;
    if (!GetData(&value, false)) {
        text.clear();
        return;
    }
    const std::string &format = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    if (!format.empty())
        text = FormatFloat(format, value.ToDouble());
    else if (displayText && currency_)
        text = CurrToStrF(value, FormatSettings().CurrencyDecimals, FormatSettings());
    else
        text = CurrToStr(value);
}

// --- TFMTBCDField ----------------------------------------------------------------------------

TFMTBCDField::TFMTBCDField() : TBCDField(ftFMTBcd)
{
    SetSize(8);
    SetPrecision(15);
}

std::string TFMTBCDField::GetAsString() const
{
    TBcd value;
    return GetData(&value) ? BcdToStr(value) : std::string();
}

void TFMTBCDField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    TBcd number;
    try {
        number = StrToBcd(value);
    } catch (const EConvertError &) {
        ConvertError(SInvalidFloatValue, value);
    }
    SetAsBCDValue(number);
}

TBcd TFMTBCDField::GetAsBCD() const
{
    TBcd value;
    return GetData(&value) ? value : TBcd();
}

void TFMTBCDField::SetAsBCDValue(const TBcd &value)
{
    SetData(&value);
}

double TFMTBCDField::GetAsFloat() const
{
    TBcd value;
    return GetData(&value) ? BcdToDouble(value) : 0;
}

void TFMTBCDField::SetAsFloatValue(double value)
{
    SetAsBCDValue(DoubleToBcd(value));
}

Currency TFMTBCDField::GetAsCurrency() const
{
    TBcd value;
    Currency result;
    if (GetData(&value) && !BCDToCurr(value, result))
        AccessError("Currency");
    return result;
}

void TFMTBCDField::SetAsCurrencyValue(Currency value)
{
    SetAsBCDValue(CurrToBCD(value, 32, 4));
}

void TFMTBCDField::SetVarValue(const Variant &value)
{
    switch (value.VarType()) {
    case varCurrency:
        SetAsCurrencyValue(value.AsCurrency());
        break;
    case varString:
    case varOleStr:
        SetAsStringValue(value.AsString());
        break;
    default:
        SetAsFloatValue(value.AsDouble());
        break;
    }
}

void TFMTBCDField::GetText(std::string &text, bool displayText) const
{
    TBcd value;
    if (!GetData(&value)) {
        text.clear();
        return;
    }
    const std::string &format = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    text = format.empty() ? BcdToStr(value) : FormatFloat(format, BcdToDouble(value));
}
