#include "platform/BooleanField.h"

#include "platform/DBConsts.h"
#include "platform/LocaleCompare.h"

#include <algorithm>

void TBooleanField::SetDisplayValues(const std::string &values)
{
    const auto separator = values.find(';');
    trueText_ = values.substr(0, separator);
    falseText_ = separator == std::string::npos ? std::string() : values.substr(separator + 1);
    displayValues_ = values;
}

int TBooleanField::DefaultWidth() const
{
    return static_cast<int>(std::max(trueText_.size(), falseText_.size()));
}

bool TBooleanField::GetValue(bool &value) const
{
    std::uint16_t data = 0;
    if (!GetData(&data))
        return false;
    value = data != 0;
    return true;
}

std::string TBooleanField::GetAsString() const
{
    bool value = false;
    if (!GetValue(value))
        return {};
    return value ? trueText_ : falseText_;
}

void TBooleanField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    // The typed text may be the start of a display value ("t" for "True").
    auto matches = [&value](const std::string &display) {
        return CompareText(value, display.substr(0, value.size())) == 0;
    };
    if (matches(falseText_))
        SetAsBooleanValue(false);
    else if (matches(trueText_))
        SetAsBooleanValue(true);
    else
        ConvertError(SInvalidBoolValue, value);
}

int TBooleanField::GetAsInteger() const
{
    return GetAsBoolean() ? 1 : 0;
}

void TBooleanField::SetAsIntegerValue(int value)
{
    SetAsBooleanValue(value != 0);
}

bool TBooleanField::GetAsBoolean() const
{
    bool value = false;
    GetValue(value);
    return value;
}

void TBooleanField::SetAsBooleanValue(bool value)
{
    const std::uint16_t data = value ? 1 : 0;
    SetData(&data);
}

Variant TBooleanField::GetAsVariant() const
{
    return Variant(GetAsBoolean());
}

void TBooleanField::SetVarValue(const Variant &value)
{
    SetAsBooleanValue(value.AsBoolean());
}
