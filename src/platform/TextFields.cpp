#include "platform/TextFields.h"

#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/FormatSettings.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Zeroed room for one stored text: on the stack for the usual sizes, so that reading and writing
// a string value allocates nothing beyond the value itself.
class StoredText {
public:
    explicit StoredText(std::size_t size)
    {
        if (size > sizeof small_)
            large_.resize(size);
        std::memset(data(), 0, size);
    }
    char *data() { return large_.empty() ? small_ : large_.data(); }

private:
    char small_[256];
    std::vector<char> large_;
};

} // namespace

std::size_t NativeTextLength(const char *bytes, std::size_t width)
{
    // The text ends after its last non-zero byte, a #0 inside it or not. Nearly all that follows
    // a text is padding, which whole words read back from the end pass fastest.
    std::size_t end = width;
    for (std::uint64_t word = 0; end >= sizeof word; end -= sizeof word) {
        std::memcpy(&word, bytes + end - sizeof word, sizeof word);
        if (word != 0)
            break;
    }
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    return end;
}

std::string StorableText(std::u16string_view text, const TField *field)
{
    const std::size_t at = firstNonCp1250(text);
    if (at == std::u16string_view::npos)
        return utf16ToCp1250(text);
    UChar32 character = 0;
    std::size_t next = at;
    U16_NEXT(text.data(), next, text.size(), character);
    char encoded[U8_MAX_LENGTH];
    int length = 0;
    U8_APPEND_UNSAFE(encoded, length, character);
    const std::string shown(encoded, static_cast<std::size_t>(length));
    if (field)
        DatabaseErrorFmt(SFieldCharNotStorable, {shown, cp1250ToUtf8(field->DisplayName())}, field->DataSet());
    DatabaseErrorFmt(SCharNotStorable, {shown});
}

int TextCapacity(const TField &field)
{
    switch (field.DataType()) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
        return field.Size();
    default:
        return -1;
    }
}

void CheckTextFits(const TField &field, std::size_t length)
{
    const int capacity = TextCapacity(field);
    if (capacity >= 0 && length > static_cast<std::size_t>(capacity))
        DatabaseErrorFmt(SFieldTextTooLong,
                         {cp1250ToUtf8(field.DisplayName()), std::to_string(capacity), std::to_string(length)},
                         field.DataSet());
}

// --- TStringField ----------------------------------------------------------------------------

TStringField::TStringField(TFieldType type, int size) : TField(type, size) {}

void TStringField::SetFixedChar(bool fixed)
{
    SetDataType(fixed ? ftFixedChar : ftString);
}

bool TStringField::GetValue(std::string &value) const
{
    StoredText buffer(static_cast<std::size_t>(DataSize()) + 1);
    if (!GetData(buffer.data()))
        return false;
    value.assign(buffer.data(), NativeTextLength(buffer.data(), static_cast<std::size_t>(DataSize())));
    if (FixedChar()) {
        const auto last = value.find_last_not_of(' ');
        value.erase(last == std::string::npos ? 0 : last + 1);
    }
    return true;
}

std::string TStringField::GetAsString() const
{
    std::string value;
    GetValue(value);
    return value;
}

void TStringField::SetAsStringValue(const std::string &value)
{
    StoredText buffer(static_cast<std::size_t>(DataSize()));
    StringToNative(value, buffer.data());
    SetData(buffer.data());
}

bool TStringField::StringToNative(const std::string &value, void *native) const
{
    // The stored form has room for Size characters; a longer text is cut.
    const std::size_t length = std::min(value.size(), static_cast<std::size_t>(Size()));
    auto *bytes = static_cast<char *>(native);
    std::memcpy(bytes, value.data(), length);
    std::memset(bytes + length, 0, static_cast<std::size_t>(DataSize()) - length);
    return true;
}

std::u16string TStringField::GetAsWideString() const
{
    return cp1250ToUtf16(GetAsString());
}

void TStringField::SetAsWideStringValue(const std::u16string &value)
{
    SetAsStringValue(StorableText(value, this));
}

int TStringField::GetAsInteger() const
{
    return StrToInt(GetAsString());
}

void TStringField::SetAsIntegerValue(int value)
{
    SetAsStringValue(IntToStr(value));
}

std::int64_t TStringField::GetAsLargeInt() const
{
    return StrToInt64(GetAsString());
}

void TStringField::SetAsLargeIntValue(std::int64_t value)
{
    SetAsStringValue(IntToStr(value));
}

double TStringField::GetAsFloat() const
{
    return StrToFloat(GetAsString());
}

void TStringField::SetAsFloatValue(double value)
{
    SetAsStringValue(FloatToStr(value));
}

Currency TStringField::GetAsCurrency() const
{
    return StrToCurr(GetAsString());
}

void TStringField::SetAsCurrencyValue(Currency value)
{
    SetAsStringValue(CurrToStr(value));
}

TDateTime TStringField::GetAsDateTime() const
{
    return StrToDateTime(GetAsString());
}

void TStringField::SetAsDateTimeValue(TDateTime value)
{
    SetAsStringValue(DateTimeToStr(value));
}

bool TStringField::GetAsBoolean() const
{
    const std::string value = GetAsString();
    if (value.empty())
        return false;
    switch (std::toupper(static_cast<unsigned char>(value[0]))) {
    case 'T':
    case 'Y':
        return true;
    case 'F':
    case 'N':
        return false;
    default:
        ConvertError(SInvalidBoolValue, value);
    }
}

void TStringField::SetAsBooleanValue(bool value)
{
    SetAsStringValue(value ? "T" : "F");
}

Variant TStringField::GetAsVariant() const
{
    return Variant(GetAsString());
}

void TStringField::SetVarValue(const Variant &value)
{
    SetAsStringValue(value.AsString());
}

void TGuidField::SetSize(int size)
{
    if (size != GuidSize)
        DatabaseErrorFmt("Invalid size %s for field '%s'", {std::to_string(size), cp1250ToUtf8(DisplayName())}, DataSet());
    TStringField::SetSize(size);
}

// --- TWideStringField ------------------------------------------------------------------------

bool TWideStringField::GetValue(std::u16string &value) const
{
    return GetData(&value, false);
}

std::string TWideStringField::GetAsString() const
{
    return utf16ToCp1250(GetAsWideString());
}

void TWideStringField::SetAsStringValue(const std::string &value)
{
    SetAsWideStringValue(cp1250ToUtf16(value));
}

std::u16string TWideStringField::GetAsWideString() const
{
    std::u16string value;
    GetValue(value);
    return value;
}

void TWideStringField::SetAsWideStringValue(const std::u16string &value)
{
    // The stored form has room for Size characters; a longer text is cut.
    const std::u16string cut = value.substr(0, static_cast<std::size_t>(Size()));
    SetData(&cut, false);
}

int TWideStringField::GetAsInteger() const
{
    return StrToInt(GetAsString());
}

void TWideStringField::SetAsIntegerValue(int value)
{
    SetAsStringValue(IntToStr(value));
}

double TWideStringField::GetAsFloat() const
{
    return StrToFloat(GetAsString());
}

void TWideStringField::SetAsFloatValue(double value)
{
    SetAsStringValue(FloatToStr(value));
}

TDateTime TWideStringField::GetAsDateTime() const
{
    return StrToDateTime(GetAsString());
}

bool TWideStringField::GetAsBoolean() const
{
    const std::string value = GetAsString();
    if (value.empty())
        return false;
    const char first = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
    if (first == 'T' || first == 'Y')
        return true;
    if (first == 'F' || first == 'N')
        return false;
    ConvertError(SInvalidBoolValue, value);
}

Variant TWideStringField::GetAsVariant() const
{
    return Variant(GetAsWideString());
}

void TWideStringField::SetVarValue(const Variant &value)
{
    SetAsWideStringValue(value.AsWideString());
}
