#pragma once

// TField: one column of a dataset. A field holds no value of its own: it reads and writes the
// dataset's current record through GetFieldData/SetFieldData in its native form, and converts
// between that form and texts, numbers, dates and variants.

#include "platform/Component.h"
#include "platform/Currency.h"
#include "platform/DBTypes.h"
#include "platform/DateTime.h"
#include "platform/FieldTypes.h"
#include "platform/FmtBcd.h"
#include "platform/Variant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataSet;
class TFields;
class TObjectField;

class TField : public TComponent {
public:
    using TFieldNotifyEvent = std::function<void(TField &sender)>;
    using TFieldGetTextEvent = std::function<void(TField &sender, std::string &text, bool displayText)>;
    using TFieldSetTextEvent = std::function<void(TField &sender, const std::string &text)>;

    virtual ~TField();
    TField(const TField &) = delete;
    TField &operator=(const TField &) = delete;

    // The dataset whose Fields list owns this field, or none.
    TDataSet *DataSet() const { return dataSet_; }
    // The ADT or array field this one is a child of, or none.
    TObjectField *ParentField() const { return parentField_; }

    const std::string &FieldName() const { return fieldName_; }
    void SetFieldName(const std::string &name);
    // Parent names joined by ".", then this field's name.
    std::string FullName() const;
    // The field definition's number (1-based); -1 for calculated and lookup fields, 0 unbound.
    int FieldNo() const { return fieldNo_; }
    TFieldType DataType() const { return dataType_; }
    TFieldKind FieldKind() const { return fieldKind_; }
    void SetFieldKind(TFieldKind kind);
    bool Calculated() const { return fieldKind_ == fkCalculated; }
    bool Lookup() const { return fieldKind_ == fkLookup; }
    int Size() const { return size_; }
    virtual void SetSize(int size);
    // Bytes of the field's value in its native form.
    virtual int DataSize() const { return 0; }
    virtual bool IsBlob() const { return false; }

    const std::string &DisplayLabel() const { return displayLabel_; }
    void SetDisplayLabel(const std::string &label);
    // The display label, or the field name while the label is empty.
    const std::string &DisplayName() const;
    int DisplayWidth() const;
    void SetDisplayWidth(int width);
    const std::string &EditMask() const { return editMask_; }
    void SetEditMask(const std::string &mask) { editMask_ = mask; }
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TProviderFlags ProviderFlags() const { return providerFlags_; }
    void SetProviderFlags(TProviderFlags flags) { providerFlags_ = flags; }
    const std::string &DefaultExpression() const { return defaultExpression_; }
    void SetDefaultExpression(const std::string &expression) { defaultExpression_ = expression; }
    // Position in the dataset's Fields list.
    int Index() const;
    void SetIndex(int index);

    TDataSet *LookupDataSet() const { return lookupDataSet_; }
    void SetLookupDataSet(TDataSet *dataSet);
    const std::string &LookupKeyFields() const { return lookupKeyFields_; }
    void SetLookupKeyFields(const std::string &names) { lookupKeyFields_ = names; }
    const std::string &LookupResultField() const { return lookupResultField_; }
    void SetLookupResultField(const std::string &name) { lookupResultField_ = name; }
    const std::string &KeyFields() const { return keyFields_; }
    void SetKeyFields(const std::string &names) { keyFields_ = names; }

    // Calculated and lookup fields: where the null byte of the value lies in the dataset's
    // calculated-fields buffer (the data follows it). Blob fields: their number among the blobs.
    int Offset() const { return offset_; }

    bool CanModify() const;
    bool IsIndexField() const;

    // Native-form access through the dataset; false when the value is null. A null buffer only
    // asks whether a value is there.
    bool GetData(void *buffer, bool nativeFormat = true) const;
    void SetData(const void *buffer, bool nativeFormat = true);
    // Runs OnValidate with the value about to be written readable through this field.
    virtual void Validate(const void *buffer);
    // Moves the input focus to the control that edits this field (through the data links).
    void FocusControl();

    bool IsNull() const;
    virtual void Clear();

    std::string AsString() const { return GetAsString(); }
    void SetAsString(const std::string &value) { SetAsStringValue(value); }
    // The native form SetAsString(value) would write, for a caller that fills a record itself;
    // false, with native untouched, when that takes more than a plain conversion (a null, a
    // refusal, a field with no such shortcut): SetAsString then does it.
    virtual bool StringToNative(const std::string &value, void *native) const;
    std::u16string AsWideString() const { return GetAsWideString(); }
    void SetAsWideString(const std::u16string &value) { SetAsWideStringValue(value); }
    int AsInteger() const { return GetAsInteger(); }
    void SetAsInteger(int value) { SetAsIntegerValue(value); }
    std::int64_t AsLargeInt() const { return GetAsLargeInt(); }
    void SetAsLargeInt(std::int64_t value) { SetAsLargeIntValue(value); }
    double AsFloat() const { return GetAsFloat(); }
    void SetAsFloat(double value) { SetAsFloatValue(value); }
    Currency AsCurrency() const { return GetAsCurrency(); }
    void SetAsCurrency(Currency value) { SetAsCurrencyValue(value); }
    TBcd AsBCD() const { return GetAsBCD(); }
    void SetAsBCD(const TBcd &value) { SetAsBCDValue(value); }
    TDateTime AsDateTime() const { return GetAsDateTime(); }
    void SetAsDateTime(TDateTime value) { SetAsDateTimeValue(value); }
    bool AsBoolean() const { return GetAsBoolean(); }
    void SetAsBoolean(bool value) { SetAsBooleanValue(value); }
    // Null when the field is null.
    Variant AsVariant() const;
    void SetAsVariant(const Variant &value);
    Variant Value() const { return AsVariant(); }
    void SetValue(const Variant &value) { SetAsVariant(value); }

    // The edit text and the display text, through OnGetText when it is assigned.
    std::string Text() const;
    void SetText(const std::string &text);
    std::string DisplayText() const;

    // Called by the dataset when it binds its fields at open and unbinds them at close.
    void Bind(bool binding);

    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

protected:
    explicit TField(TFieldType dataType, int size = 0);

    void SetDataType(TFieldType type) { dataType_ = type; }
    // Raises the framework's "Cannot access field as type" error.
    [[noreturn]] void AccessError(const char *typeName) const;
    // Raises the range error for a value outside minimum..maximum.
    [[noreturn]] void RangeError(const std::string &value, const std::string &minimum,
                                 const std::string &maximum) const;
    // Raises EConvertError with a field-conversion message ("'%s' is not a valid ... value for
    // field '%s'").
    [[noreturn]] void ConvertError(const char *format, const std::string &text) const;
    virtual int DefaultWidth() const { return 10; }

    virtual std::string GetAsString() const;
    virtual void SetAsStringValue(const std::string &value);
    virtual std::u16string GetAsWideString() const;
    virtual void SetAsWideStringValue(const std::u16string &value);
    virtual int GetAsInteger() const;
    virtual void SetAsIntegerValue(int value);
    virtual std::int64_t GetAsLargeInt() const;
    virtual void SetAsLargeIntValue(std::int64_t value);
    virtual double GetAsFloat() const;
    virtual void SetAsFloatValue(double value);
    virtual Currency GetAsCurrency() const;
    virtual void SetAsCurrencyValue(Currency value);
    virtual TBcd GetAsBCD() const;
    virtual void SetAsBCDValue(const TBcd &value);
    virtual TDateTime GetAsDateTime() const;
    virtual void SetAsDateTimeValue(TDateTime value);
    virtual bool GetAsBoolean() const;
    virtual void SetAsBooleanValue(bool value);
    // The value of a non-null field.
    virtual Variant GetAsVariant() const;
    virtual void SetVarValue(const Variant &value);
    // The edit or display text of the value; the base gives AsString.
    virtual void GetText(std::string &text, bool displayText) const;

private:
    friend class TDataSet;
    friend class TFields;
    friend class TObjectField;
    friend class TFieldDef;

    TDataSet *dataSet_ = nullptr;
    TObjectField *parentField_ = nullptr;
    std::string fieldName_;
    int fieldNo_ = 0;
    TFieldType dataType_;
    TFieldKind fieldKind_ = fkData;
    int size_;
    std::string displayLabel_;
    int displayWidth_ = 0;
    std::string editMask_;
    bool required_ = false;
    bool readOnly_ = false;
    bool visible_ = true;
    TAlignment alignment_ = taLeftJustify;
    TProviderFlags providerFlags_{pfInUpdate, pfInWhere};
    std::string defaultExpression_;
    TDataSet *lookupDataSet_ = nullptr;
    std::string lookupKeyFields_;
    std::string lookupResultField_;
    std::string keyFields_;
    int offset_ = 0;
    // While OnValidate runs, reads see the value about to be written (native form).
    const void *validatingBuffer_ = nullptr;
    bool validating_ = false;
};

// A new, unowned field of the class the framework uses for the type; none for types without a
// field class (ftUnknown, ftCursor, ...).
std::unique_ptr<TField> CreateFieldOfType(TFieldType type);
