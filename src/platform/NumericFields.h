#pragma once

// Fields of whole numbers, floating point, currency and BCD values.

#include "platform/Field.h"

class TNumericField : public TField {
public:
    // FormatFloat formats for showing and editing; empty means the plain text.
    const std::string &DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const std::string &format) { displayFormat_ = format; }
    const std::string &EditFormat() const { return editFormat_; }
    void SetEditFormat(const std::string &format) { editFormat_ = format; }

protected:
    explicit TNumericField(TFieldType type, int size = 0);

private:
    std::string displayFormat_;
    std::string editFormat_;
};

// 32-bit integers; also the base of the 16-bit and auto-increment fields.
class TIntegerField : public TNumericField {
public:
    TIntegerField() : TIntegerField(ftInteger) {}
    int DataSize() const override { return 4; }

    // 0 and 0 mean no range check beyond the type's own.
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }

protected:
    explicit TIntegerField(TFieldType type);
    // The range the stored form can hold.
    virtual std::int64_t TypeMin() const { return INT32_MIN; }
    virtual std::int64_t TypeMax() const { return INT32_MAX; }
    // Native-form access in the field's own width.
    bool GetValue(int &value) const;

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    bool StringToNative(const std::string &value, void *native) const override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    std::int64_t GetAsLargeInt() const override;
    void SetAsLargeIntValue(std::int64_t value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    Currency GetAsCurrency() const override;
    void SetAsCurrencyValue(Currency value) override;
    bool GetAsBoolean() const override;
    void SetAsBooleanValue(bool value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    // The range values must lie in: the field's own when set, else the type's.
    std::int64_t lowest() const;
    std::int64_t highest() const;
    // A value within the range in the field's own width.
    void toNative(std::int64_t value, void *native) const;

    int minValue_ = 0;
    int maxValue_ = 0;
};

class TSmallintField : public TIntegerField {
public:
    TSmallintField() : TIntegerField(ftSmallint) {}
    int DataSize() const override { return 2; }

protected:
    std::int64_t TypeMin() const override { return INT16_MIN; }
    std::int64_t TypeMax() const override { return INT16_MAX; }
    Variant GetAsVariant() const override;
};

class TWordField : public TIntegerField {
public:
    TWordField() : TIntegerField(ftWord) {}
    int DataSize() const override { return 2; }

protected:
    std::int64_t TypeMin() const override { return 0; }
    std::int64_t TypeMax() const override { return UINT16_MAX; }
};

class TAutoIncField : public TIntegerField {
public:
    TAutoIncField() : TIntegerField(ftAutoInc) {}
};

class TLargeintField : public TNumericField {
public:
    TLargeintField() : TNumericField(ftLargeint) {}
    int DataSize() const override { return 8; }

    std::int64_t MinValue() const { return minValue_; }
    void SetMinValue(std::int64_t value) { minValue_ = value; }
    std::int64_t MaxValue() const { return maxValue_; }
    void SetMaxValue(std::int64_t value) { maxValue_ = value; }

protected:
    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    std::int64_t GetAsLargeInt() const override;
    void SetAsLargeIntValue(std::int64_t value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    std::int64_t minValue_ = 0;
    std::int64_t maxValue_ = 0;
};

class TFloatField : public TNumericField {
public:
    TFloatField() : TFloatField(ftFloat) {}
    int DataSize() const override { return 8; }

    // Shown with the currency string when set.
    bool IsCurrency() const { return currency_; }
    void SetCurrency(bool currency) { currency_ = currency; }
    // Significant digits of the plain text (default 15).
    int Precision() const { return precision_; }
    void SetPrecision(int precision);
    // 0 and 0 mean no range check.
    double MinValue() const { return minValue_; }
    void SetMinValue(double value) { minValue_ = value; }
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double value) { maxValue_ = value; }

protected:
    explicit TFloatField(TFieldType type);

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    std::int64_t GetAsLargeInt() const override;
    void SetAsLargeIntValue(std::int64_t value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    Currency GetAsCurrency() const override;
    void SetAsCurrencyValue(Currency value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    bool currency_ = false;
    int precision_ = 15;
    double minValue_ = 0;
    double maxValue_ = 0;
};

class TCurrencyField : public TFloatField {
public:
    TCurrencyField();
};

// Native form: the BCD record; the framework's plain form: Currency. Size is the number of
// decimal places.
class TBCDField : public TNumericField {
public:
    TBCDField() : TBCDField(ftBCD) {}
    int DataSize() const override { return sizeof(TBcd); }

    bool IsCurrency() const { return currency_; }
    void SetCurrency(bool currency) { currency_ = currency; }
    // Total digits (0: as many as needed).
    int Precision() const { return precision_; }
    void SetPrecision(int precision) { precision_ = precision; }
    Currency MinValue() const { return minValue_; }
    void SetMinValue(Currency value) { minValue_ = value; }
    Currency MaxValue() const { return maxValue_; }
    void SetMaxValue(Currency value) { maxValue_ = value; }

protected:
    explicit TBCDField(TFieldType type);

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    std::int64_t GetAsLargeInt() const override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    Currency GetAsCurrency() const override;
    void SetAsCurrencyValue(Currency value) override;
    TBcd GetAsBCD() const override;
    void SetAsBCDValue(const TBcd &value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    bool currency_ = false;
    int precision_ = 0;
    Currency minValue_;
    Currency maxValue_;
};

// BCD values of any precision: the plain form is the BCD record itself.
class TFMTBCDField : public TBCDField {
public:
    TFMTBCDField();

protected:
    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    TBcd GetAsBCD() const override;
    void SetAsBCDValue(const TBcd &value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    Currency GetAsCurrency() const override;
    void SetAsCurrencyValue(Currency value) override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;
};
