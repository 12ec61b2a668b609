#pragma once

// Fields of dates, times, date-times and SQL time stamps.

#include "platform/Field.h"

// Native forms: a date is a 32-bit time-stamp day number, a time 32-bit milliseconds since
// midnight, a date-time a double of time-stamp milliseconds. The plain form is TDateTime.
class TDateTimeField : public TField {
public:
    TDateTimeField() : TDateTimeField(ftDateTime) {}
    int DataSize() const override { return 8; }

    // FormatDateTime format for showing; empty means the settings' own format for the type.
    const std::string &DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const std::string &format) { displayFormat_ = format; }

protected:
    explicit TDateTimeField(TFieldType type);
    bool GetValue(TDateTime &value) const;

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    bool StringToNative(const std::string &value, void *native) const override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    TDateTime GetAsDateTime() const override;
    void SetAsDateTimeValue(TDateTime value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    std::string displayFormat_;
};

class TDateField : public TDateTimeField {
public:
    TDateField() : TDateTimeField(ftDate) {}
    int DataSize() const override { return 4; }
};

class TTimeField : public TDateTimeField {
public:
    TTimeField() : TDateTimeField(ftTime) {}
    int DataSize() const override { return 4; }
};

// Native and plain form: TSQLTimeStamp.
class TSQLTimeStampField : public TField {
public:
    TSQLTimeStampField() : TField(ftTimeStamp) {}
    int DataSize() const override { return sizeof(TSQLTimeStamp); }

    TSQLTimeStamp AsSQLTimeStamp() const;
    void SetAsSQLTimeStamp(const TSQLTimeStamp &value);

    const std::string &DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const std::string &format) { displayFormat_ = format; }

protected:
    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    TDateTime GetAsDateTime() const override;
    void SetAsDateTimeValue(TDateTime value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    std::string displayFormat_;
};
