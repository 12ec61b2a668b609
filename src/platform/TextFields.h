#pragma once

// Fields of 8-bit (cp1250) text, wide text and GUIDs.

#include "platform/Field.h"

// Native form: the text followed by a zero byte, Size + 1 bytes.
class TStringField : public TField {
public:
    TStringField() : TStringField(ftString, 20) {}
    int DataSize() const override { return Size() + 1; }

    // Fixed-width texts are kept padded and read with the trailing blanks removed.
    bool FixedChar() const { return DataType() == ftFixedChar; }
    void SetFixedChar(bool fixed);
    bool Transliterate() const { return transliterate_; }
    void SetTransliterate(bool transliterate) { transliterate_ = transliterate; }

    // The value, or nothing when the field is null.
    bool GetValue(std::string &value) const;
    bool StringToNative(const std::string &value, void *native) const override;

protected:
    TStringField(TFieldType type, int size);
    int DefaultWidth() const override { return Size(); }

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    std::u16string GetAsWideString() const override;
    void SetAsWideStringValue(const std::u16string &value) override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    std::int64_t GetAsLargeInt() const override;
    void SetAsLargeIntValue(std::int64_t value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    Currency GetAsCurrency() const override;
    void SetAsCurrencyValue(Currency value) override;
    TDateTime GetAsDateTime() const override;
    void SetAsDateTimeValue(TDateTime value) override;
    bool GetAsBoolean() const override;
    void SetAsBooleanValue(bool value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;

private:
    bool transliterate_ = true;
};

// The cp1250 form of a text that comes from outside the data (typed, or set in code). A character
// cp1250 lacks raises EDatabaseError naming it (and the field, when one is given) rather than
// being stored as "?".
std::string StorableText(std::u16string_view text, const TField *field = nullptr);
// The characters a text field holds; -1 for a field that is no fixed-size text.
int TextCapacity(const TField &field);
// Raises EDatabaseError when a text of that many characters does not fit into the field.
void CheckTextFits(const TField &field, std::size_t length);

class TGuidField : public TStringField {
public:
    static constexpr int GuidSize = 38;
    TGuidField() : TStringField(ftGuid, GuidSize) {}
    void SetSize(int size) override;
};

// Native form: an unsigned 32-bit length in bytes, then the UTF-16 code units; Size is the
// capacity in characters. The plain form is a std::u16string.
class TWideStringField : public TField {
public:
    TWideStringField() : TField(ftWideString, 20) {}
    int DataSize() const override { return Size() * 2 + 4; }

    bool GetValue(std::u16string &value) const;

protected:
    int DefaultWidth() const override { return Size(); }

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    std::u16string GetAsWideString() const override;
    void SetAsWideStringValue(const std::u16string &value) override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    double GetAsFloat() const override;
    void SetAsFloatValue(double value) override;
    TDateTime GetAsDateTime() const override;
    bool GetAsBoolean() const override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
};
