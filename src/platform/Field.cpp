#include "platform/Field.h"

#include "platform/BinaryFields.h"
#include "platform/BooleanField.h"
#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/DataSet.h"
#include "platform/DateTimeFields.h"
#include "platform/NumericFields.h"
#include "platform/ObjectFields.h"
#include "platform/TextFields.h"

#include <cstring>
#include <vector>

namespace {

// Types whose fields carry a size of their own; every other type has Size 0.
bool hasSize(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftBytes:
    case ftVarBytes:
    case ftBCD:
    case ftFMTBcd:
    case ftGuid:
    case ftArray:
        return true;
    default:
        return isBlobType(type);
    }
}

} // namespace

TField::TField(TFieldType dataType, int size) : dataType_(dataType), size_(size) {}

TField::~TField() = default;

void TField::SetFieldName(const std::string &name)
{
    if (dataSet_ && parentField_ == nullptr) {
        TField *other = dataSet_->FindField(name);
        if (other && other != this)
            DatabaseErrorFmt(SDuplicateFieldName, {cp1250ToUtf8(name)}, dataSet_);
    }
    fieldName_ = name;
}

std::string TField::FullName() const
{
    if (parentField_)
        return parentField_->FullName() + "." + fieldName_;
    return fieldName_;
}

void TField::SetFieldKind(TFieldKind kind)
{
    if (dataSet_)
        dataSet_->CheckInactive();
    fieldKind_ = kind;
}

void TField::SetSize(int size)
{
    if (dataSet_)
        dataSet_->CheckInactive();
    size_ = hasSize(dataType_) ? size : 0;
}

void TField::SetDisplayLabel(const std::string &label)
{
    displayLabel_ = label;
    if (dataSet_ && dataSet_->Active())
        dataSet_->DataEvent(deLayoutChange, 0);
}

const std::string &TField::DisplayName() const
{
    return displayLabel_.empty() ? fieldName_ : displayLabel_;
}

int TField::DisplayWidth() const
{
    return displayWidth_ > 0 ? displayWidth_ : DefaultWidth();
}

void TField::SetDisplayWidth(int width)
{
    displayWidth_ = width;
    if (dataSet_ && dataSet_->Active())
        dataSet_->DataEvent(deLayoutChange, 0);
}

void TField::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (dataSet_ && dataSet_->Active())
        dataSet_->DataEvent(deDataSetChange, 0);
}

void TField::SetVisible(bool visible)
{
    visible_ = visible;
    if (dataSet_ && dataSet_->Active())
        dataSet_->DataEvent(deLayoutChange, 0);
}

void TField::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    if (dataSet_ && dataSet_->Active())
        dataSet_->DataEvent(deDataSetChange, 0);
}

int TField::Index() const
{
    return dataSet_ && !parentField_ ? dataSet_->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (dataSet_ && !parentField_)
        dataSet_->Fields().SetFieldIndex(this, index);
}

void TField::SetLookupDataSet(TDataSet *dataSet)
{
    if (dataSet && dataSet == dataSet_)
        DatabaseError(SCircularDataLink, dataSet_);
    lookupDataSet_ = dataSet;
}

bool TField::CanModify() const
{
    if (readOnly_ || !dataSet_ || fieldKind_ == fkCalculated || fieldKind_ == fkAggregate)
        return false;
    return dataSet_->CanModify();
}

bool TField::IsIndexField() const
{
    return dataSet_ && dataSet_->GetIsIndexField(this);
}

bool TField::GetData(void *buffer, bool nativeFormat) const
{
    if (!dataSet_)
        DatabaseErrorFmt(SDataSetMissing, {cp1250ToUtf8(DisplayName())});
    if (validating_) {
        if (validatingBuffer_ && buffer) {
            if (nativeFormat)
                std::memcpy(buffer, validatingBuffer_, static_cast<std::size_t>(DataSize()));
            else
                dataSet_->DataConvert(const_cast<TField *>(this), validatingBuffer_, buffer, false);
        }
        return validatingBuffer_ != nullptr;
    }
    return dataSet_->GetFieldData(const_cast<TField *>(this), buffer, nativeFormat);
}

void TField::SetData(const void *buffer, bool nativeFormat)
{
    if (!dataSet_)
        DatabaseErrorFmt(SDataSetMissing, {cp1250ToUtf8(DisplayName())});
    dataSet_->SetFieldData(this, buffer, nativeFormat);
}

void TField::Validate(const void *buffer)
{
    if (!OnValidate)
        return;
    // Reads inside the handler see the incoming value, also when the handler raises.
    struct Restore {
        TField &field;
        ~Restore()
        {
            field.validating_ = false;
            field.validatingBuffer_ = nullptr;
        }
    } restore{*this};
    validatingBuffer_ = buffer;
    validating_ = true;
    OnValidate(*this);
}

void TField::FocusControl()
{
    if (dataSet_ && dataSet_->Active())
        dataSet_->DataEvent(deFocusControl, reinterpret_cast<TDataEventInfo>(this));
}

bool TField::IsNull() const
{
    return !GetData(nullptr);
}

void TField::Clear()
{
    SetData(nullptr);
}

Variant TField::AsVariant() const
{
    if (IsNull())
        return Variant::Null();
    return GetAsVariant();
}

void TField::SetAsVariant(const Variant &value)
{
    if (value.IsNull() || value.IsEmpty())
        Clear();
    else
        SetVarValue(value);
}

std::string TField::Text() const
{
    std::string text;
    if (OnGetText)
        OnGetText(const_cast<TField &>(*this), text, false);
    else
        GetText(text, false);
    return text;
}

void TField::SetText(const std::string &text)
{
    if (OnSetText)
        OnSetText(*this, text);
    else
        SetAsString(text);
}

std::string TField::DisplayText() const
{
    std::string text;
    if (OnGetText)
        OnGetText(const_cast<TField &>(*this), text, true);
    else
        GetText(text, true);
    return text;
}

void TField::Bind(bool binding)
{
    if (binding && fieldKind_ == fkLookup &&
        (!lookupDataSet_ || lookupKeyFields_.empty() || lookupResultField_.empty() || keyFields_.empty()))
        DatabaseErrorFmt(SLookupInfoError, {cp1250ToUtf8(DisplayName())}, dataSet_);
}

void TField::AccessError(const char *typeName) const
{
    DatabaseErrorFmt(SFieldAccessError, {cp1250ToUtf8(DisplayName()), typeName}, dataSet_);
}

void TField::RangeError(const std::string &value, const std::string &minimum, const std::string &maximum) const
{
    DatabaseErrorFmt(SFieldRangeError, {value, cp1250ToUtf8(DisplayName()), minimum, maximum}, dataSet_);
}

void TField::ConvertError(const char *format, const std::string &text) const
{
    throw EConvertError(FormatMessage(format, {cp1250ToUtf8(text), cp1250ToUtf8(DisplayName())}));
}

std::string TField::GetAsString() const
{
    AccessError("String");
}

bool TField::StringToNative(const std::string &, void *) const
{
    return false;
}

void TField::SetAsStringValue(const std::string &)
{
    AccessError("String");
}

std::u16string TField::GetAsWideString() const
{
    return cp1250ToUtf16(GetAsString());
}

void TField::SetAsWideStringValue(const std::u16string &value)
{
    SetAsStringValue(utf16ToCp1250(value));
}

int TField::GetAsInteger() const
{
    AccessError("Integer");
}

void TField::SetAsIntegerValue(int)
{
    AccessError("Integer");
}

std::int64_t TField::GetAsLargeInt() const
{
    return GetAsInteger();
}

void TField::SetAsLargeIntValue(std::int64_t value)
{
    if (value < INT32_MIN || value > INT32_MAX)
        AccessError("LargeInt");
    SetAsIntegerValue(static_cast<int>(value));
}

double TField::GetAsFloat() const
{
    AccessError("Float");
}

void TField::SetAsFloatValue(double)
{
    AccessError("Float");
}

Currency TField::GetAsCurrency() const
{
    return Currency(GetAsFloat());
}

void TField::SetAsCurrencyValue(Currency value)
{
    SetAsFloatValue(value.ToDouble());
}

TBcd TField::GetAsBCD() const
{
    AccessError("BCD");
}

void TField::SetAsBCDValue(const TBcd &)
{
    AccessError("BCD");
}

TDateTime TField::GetAsDateTime() const
{
    AccessError("DateTime");
}

void TField::SetAsDateTimeValue(TDateTime)
{
    AccessError("DateTime");
}

bool TField::GetAsBoolean() const
{
    AccessError("Boolean");
}

void TField::SetAsBooleanValue(bool)
{
    AccessError("Boolean");
}

Variant TField::GetAsVariant() const
{
    AccessError("Variant");
}

void TField::SetVarValue(const Variant &)
{
    AccessError("Variant");
}

void TField::GetText(std::string &text, bool) const
{
    text = GetAsString();
}

std::unique_ptr<TField> CreateFieldOfType(TFieldType type)
{
    switch (type) {
    case ftString:
        return std::make_unique<TStringField>();
    case ftFixedChar: {
        auto field = std::make_unique<TStringField>();
        field->SetFixedChar(true);
        return field;
    }
    case ftSmallint:
        return std::make_unique<TSmallintField>();
    case ftInteger:
        return std::make_unique<TIntegerField>();
    case ftWord:
        return std::make_unique<TWordField>();
    case ftBoolean:
        return std::make_unique<TBooleanField>();
    case ftFloat:
        return std::make_unique<TFloatField>();
    case ftCurrency:
        return std::make_unique<TCurrencyField>();
    case ftBCD:
        return std::make_unique<TBCDField>();
    case ftFMTBcd:
        return std::make_unique<TFMTBCDField>();
    case ftDate:
        return std::make_unique<TDateField>();
    case ftTime:
        return std::make_unique<TTimeField>();
    case ftDateTime:
        return std::make_unique<TDateTimeField>();
    case ftBytes:
        return std::make_unique<TBytesField>();
    case ftVarBytes:
        return std::make_unique<TVarBytesField>();
    case ftAutoInc:
        return std::make_unique<TAutoIncField>();
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob: {
        auto field = std::make_unique<TMemoField>();
        field->SetBlobType(type);
        return field;
    }
    case ftGraphic:
        return std::make_unique<TGraphicField>();
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob: {
        auto field = std::make_unique<TBlobField>();
        field->SetBlobType(type);
        return field;
    }
    case ftWideString:
        return std::make_unique<TWideStringField>();
    case ftLargeint:
        return std::make_unique<TLargeintField>();
    case ftADT:
        return std::make_unique<TADTField>();
    case ftArray:
        return std::make_unique<TArrayField>();
    case ftGuid:
        return std::make_unique<TGuidField>();
    case ftTimeStamp:
        return std::make_unique<TSQLTimeStampField>();
    default:
        return nullptr;
    }
}
