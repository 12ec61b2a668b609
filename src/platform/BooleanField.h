#pragma once

// Boolean fields. Native form: 16 bits, zero for False.

#include "platform/Field.h"

class TBooleanField : public TField {
public:
    TBooleanField() : TField(ftBoolean) {}
    int DataSize() const override { return 2; }

    // "TrueText;FalseText" used for the text forms; the default "True;False".
    const std::string &DisplayValues() const { return displayValues_; }
    void SetDisplayValues(const std::string &values);

protected:
    int DefaultWidth() const override;
    bool GetValue(bool &value) const;

    std::string GetAsString() const override;
    // Accepts, ignoring case, the start of either display value; the empty text clears.
    void SetAsStringValue(const std::string &value) override;
    int GetAsInteger() const override;
    void SetAsIntegerValue(int value) override;
    bool GetAsBoolean() const override;
    void SetAsBooleanValue(bool value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;

private:
    std::string displayValues_ = "True;False";
    std::string trueText_ = "True";
    std::string falseText_ = "False";
};
