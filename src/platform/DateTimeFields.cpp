#include "platform/DateTimeFields.h"

#include "platform/DataSet.h"
#include "platform/FormatSettings.h"

#include <cstring>

// --- TDateTimeField --------------------------------------------------------------------------

TDateTimeField::TDateTimeField(TFieldType type) : TField(type) {}

bool TDateTimeField::GetValue(TDateTime &value) const
{
    double data = 0;
    if (!GetData(&data, false))
        return false;
    value = TDateTime(data);
    return true;
}

std::string TDateTimeField::GetAsString() const
{
    std::string text;
    GetText(text, false);
    return text;
}

void TDateTimeField::SetAsStringValue(const std::string &value)
{
    if (value.empty()) {
        Clear();
        return;
    }
    switch (DataType()) {
    case ftDate:
        SetAsDateTimeValue(StrToDate(value));
        break;
    case ftTime:
        SetAsDateTimeValue(StrToTime(value));
        break;
    default:
        SetAsDateTimeValue(StrToDateTime(value));
        break;
    }
}

bool TDateTimeField::StringToNative(const std::string &value, void *native) const
{
    // The stored form of a date and time is its stamp in milliseconds, as DataConvert makes it.
    TTimeStamp stamp;
    if (DataType() == ftDateTime && DataSet() && TryPlainStrToTimeStamp(value, stamp, FormatSettings())) {
        const double data = TimeStampToMSecs(stamp);
        std::memcpy(native, &data, sizeof data);
        return true;
    }
    TDateTime parsed;
    bool valid = false;
    switch (DataType()) {
    case ftDate:
        valid = TryStrToDate(value, parsed, FormatSettings());
        break;
    case ftTime:
        valid = TryStrToTime(value, parsed, FormatSettings());
        break;
    default:
        valid = TryStrToDateTime(value, parsed, FormatSettings());
        break;
    }
    if (value.empty() || !valid || !DataSet())
        return false;
    // The conversion SetData makes of a value in the field's own form.
    const double data = parsed;
    DataSet()->DataConvert(const_cast<TDateTimeField *>(this), &data, native, true);
    return true;
}

double TDateTimeField::GetAsFloat() const
{
    return GetAsDateTime();
}

void TDateTimeField::SetAsFloatValue(double value)
{
    SetAsDateTimeValue(TDateTime(value));
}

TDateTime TDateTimeField::GetAsDateTime() const
{
    TDateTime value;
    return GetValue(value) ? value : TDateTime();
}

void TDateTimeField::SetAsDateTimeValue(TDateTime value)
{
    const double data = value;
    SetData(&data, false);
}

Variant TDateTimeField::GetAsVariant() const
{
    return Variant(GetAsDateTime());
}

void TDateTimeField::SetVarValue(const Variant &value)
{
    SetAsDateTimeValue(value.AsDateTime());
}

void TDateTimeField::GetText(std::string &text, bool displayText) const
{
    TDateTime value;
    if (!GetValue(value)) {
        text.clear();
        return;
    }
    if (displayText && !displayFormat_.empty()) {
        text = FormatDateTime(displayFormat_, value);
        return;
    }
    switch (DataType()) {
    case ftDate:
        text = DateToStr(value);
        break;
    case ftTime:
        text = TimeToStr(value);
        break;
    default:
        text = DateTimeToStr(value);
        break;
    }
}

// --- TSQLTimeStampField ----------------------------------------------------------------------

TSQLTimeStamp TSQLTimeStampField::AsSQLTimeStamp() const
{
    TSQLTimeStamp value;
    return GetData(&value) ? value : TSQLTimeStamp();
}

void TSQLTimeStampField::SetAsSQLTimeStamp(const TSQLTimeStamp &value)
{
    SetData(&value);
}

std::string TSQLTimeStampField::GetAsString() const
{
    std::string text;
    GetText(text, false);
    return text;
}

void TSQLTimeStampField::SetAsStringValue(const std::string &value)
{
    if (value.empty())
        Clear();
    else
        SetAsDateTimeValue(StrToDateTime(value));
}

double TSQLTimeStampField::GetAsFloat() const
{
    return GetAsDateTime();
}

void TSQLTimeStampField::SetAsFloatValue(double value)
{
    SetAsDateTimeValue(TDateTime(value));
}

TDateTime TSQLTimeStampField::GetAsDateTime() const
{
    TSQLTimeStamp value;
    return GetData(&value) ? SQLTimeStampToDateTime(value) : TDateTime();
}

void TSQLTimeStampField::SetAsDateTimeValue(TDateTime value)
{
    SetAsSQLTimeStamp(DateTimeToSQLTimeStamp(value));
}

Variant TSQLTimeStampField::GetAsVariant() const
{
    return Variant(GetAsDateTime());
}

void TSQLTimeStampField::SetVarValue(const Variant &value)
{
    SetAsDateTimeValue(value.AsDateTime());
}

void TSQLTimeStampField::GetText(std::string &text, bool displayText) const
{
    TSQLTimeStamp value;
    if (!GetData(&value)) {
        text.clear();
        return;
    }
    const TDateTime moment = SQLTimeStampToDateTime(value);
    text = displayText && !displayFormat_.empty() ? FormatDateTime(displayFormat_, moment) : DateTimeToStr(moment);
}
