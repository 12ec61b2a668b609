#include "platform/BinaryFields.h"

#include "platform/Classes.h"
#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/DataSet.h"

#include <algorithm>
#include <cctype>
#include <cstring>

// --- TBinaryField ----------------------------------------------------------------------------

std::string TBinaryField::GetAsString() const
{
    Variant::Bytes bytes;
    GetBytes(bytes);
    return std::string(bytes.begin(), bytes.end());
}

void TBinaryField::SetAsStringValue(const std::string &value)
{
    SetBytes(Variant::Bytes(value.begin(), value.end()));
}

Variant TBinaryField::GetAsVariant() const
{
    Variant::Bytes bytes;
    GetBytes(bytes);
    return Variant(bytes);
}

void TBinaryField::SetVarValue(const Variant &value)
{
    SetBytes(value.AsBytes());
}

bool TBytesField::GetBytes(Variant::Bytes &bytes) const
{
    bytes.assign(static_cast<std::size_t>(DataSize()), 0);
    if (!GetData(bytes.data())) {
        bytes.clear();
        return false;
    }
    return true;
}

void TBytesField::SetBytes(const Variant::Bytes &bytes)
{
    Variant::Bytes buffer(static_cast<std::size_t>(DataSize()), 0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), buffer.size()), buffer.begin());
    SetData(buffer.data());
}

bool TVarBytesField::GetBytes(Variant::Bytes &bytes) const
{
    Variant::Bytes buffer(static_cast<std::size_t>(DataSize()), 0);
    bytes.clear();
    if (!GetData(buffer.data()))
        return false;
    std::uint16_t length = 0;
    std::memcpy(&length, buffer.data(), sizeof length);
    length = std::min<std::uint16_t>(length, static_cast<std::uint16_t>(Size()));
    bytes.assign(buffer.begin() + 2, buffer.begin() + 2 + length);
    return true;
}

void TVarBytesField::SetBytes(const Variant::Bytes &bytes)
{
    Variant::Bytes buffer(static_cast<std::size_t>(DataSize()), 0);
    const auto length = static_cast<std::uint16_t>(std::min(bytes.size(), static_cast<std::size_t>(Size())));
    std::memcpy(buffer.data(), &length, sizeof length);
    std::copy_n(bytes.begin(), length, buffer.begin() + 2);
    SetData(buffer.data());
}

// --- TBlobField ------------------------------------------------------------------------------

namespace {

std::unique_ptr<TStream> openBlob(const TBlobField &field, TBlobStreamMode mode)
{
    if (!field.DataSet())
        DatabaseErrorFmt(SDataSetMissing, {cp1250ToUtf8(field.DisplayName())});
    std::unique_ptr<TStream> stream = field.DataSet()->CreateBlobStream(const_cast<TBlobField *>(&field), mode);
    if (!stream)
        DatabaseErrorFmt(SBlobStreamMissing, {cp1250ToUtf8(field.DisplayName())}, field.DataSet());
    return stream;
}

} // namespace

void TBlobField::SetBlobType(TFieldType type)
{
    if (isBlobType(type))
        SetDataType(type);
}

int TBlobField::BlobSize() const
{
    if (IsNull())
        return 0;
    return static_cast<int>(openBlob(*this, bmRead)->Size());
}

void TBlobField::LoadFromStream(TStream &stream)
{
    std::unique_ptr<TStream> blob = openBlob(*this, bmWrite);
    stream.SetPosition(0);
    blob->CopyFrom(stream, 0);
    modified_ = true;
}

void TBlobField::SaveToStream(TStream &stream) const
{
    if (IsNull())
        return;
    std::unique_ptr<TStream> blob = openBlob(*this, bmRead);
    stream.CopyFrom(*blob, 0);
}

void TBlobField::Clear()
{
    // A write stream that receives nothing empties the value.
    openBlob(*this, bmWrite);
    modified_ = true;
}

std::string TBlobField::GetAsString() const
{
    if (IsNull())
        return {};
    std::unique_ptr<TStream> blob = openBlob(*this, bmRead);
    std::string value(static_cast<std::size_t>(blob->Size()), '\0');
    blob->SetPosition(0);
    blob->ReadBuffer(value.data(), static_cast<std::int64_t>(value.size()));
    return value;
}

void TBlobField::SetAsStringValue(const std::string &value)
{
    std::unique_ptr<TStream> blob = openBlob(*this, bmWrite);
    if (!value.empty())
        blob->WriteBuffer(value.data(), static_cast<std::int64_t>(value.size()));
    modified_ = true;
}

std::u16string TBlobField::GetAsWideString() const
{
    return cp1250ToUtf16(GetAsString());
}

void TBlobField::SetAsWideStringValue(const std::u16string &value)
{
    SetAsStringValue(utf16ToCp1250(value));
}

Variant TBlobField::GetAsVariant() const
{
    const std::string value = GetAsString();
    return Variant(Variant::Bytes(value.begin(), value.end()));
}

void TBlobField::SetVarValue(const Variant &value)
{
    if (const auto *bytes = value.Get<Variant::Bytes>())
        SetAsStringValue(std::string(bytes->begin(), bytes->end()));
    else
        SetAsStringValue(value.AsString());
}

void TBlobField::GetText(std::string &text, bool) const
{
    // A blob has no text of its own: it shows its type, in capitals when it holds a value.
    text = FieldTypeNames[DataType()];
    if (!IsNull())
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    text = "(" + text + ")";
}

TMemoField::TMemoField() : TBlobField(ftMemo)
{
    SetTransliterate(true);
}

Variant TMemoField::GetAsVariant() const
{
    return Variant(GetAsString());
}

void TMemoField::GetText(std::string &text, bool displayText) const
{
    if (displayText)
        TBlobField::GetText(text, displayText);
    else
        text = GetAsString();
}
