#pragma once

// Fields of raw bytes: fixed and variable byte strings kept in the record, and blobs reached
// through the dataset's blob streams.

#include "platform/Field.h"

class TStream;

// The value as a byte array variant; AsString gives the bytes as they are.
class TBinaryField : public TField {
protected:
    TBinaryField(TFieldType type, int size) : TField(type, size) {}
    // The value's bytes, or nothing when the field is null.
    virtual bool GetBytes(Variant::Bytes &bytes) const = 0;
    virtual void SetBytes(const Variant::Bytes &bytes) = 0;

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
};

// Native form: Size bytes.
class TBytesField : public TBinaryField {
public:
    TBytesField() : TBinaryField(ftBytes, 16) {}
    int DataSize() const override { return Size(); }

protected:
    bool GetBytes(Variant::Bytes &bytes) const override;
    void SetBytes(const Variant::Bytes &bytes) override;
};

// Native form: a 16-bit length, then up to Size bytes.
class TVarBytesField : public TBinaryField {
public:
    TVarBytesField() : TBinaryField(ftVarBytes, 16) {}
    int DataSize() const override { return Size() + 2; }

protected:
    bool GetBytes(Variant::Bytes &bytes) const override;
    void SetBytes(const Variant::Bytes &bytes) override;
};

// The value lives outside the record; it is read and written whole through the dataset's
// CreateBlobStream.
class TBlobField : public TField {
public:
    TBlobField() : TBlobField(ftBlob) {}
    bool IsBlob() const override { return true; }

    TFieldType BlobType() const { return DataType(); }
    void SetBlobType(TFieldType type);
    bool Transliterate() const { return transliterate_; }
    void SetTransliterate(bool transliterate) { transliterate_ = transliterate; }
    // Set when the value was written since the record was fetched.
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    int BlobSize() const;

    void LoadFromStream(TStream &stream);
    void SaveToStream(TStream &stream) const;
    void Clear() override;

protected:
    explicit TBlobField(TFieldType type) : TField(type) {}

    std::string GetAsString() const override;
    void SetAsStringValue(const std::string &value) override;
    std::u16string GetAsWideString() const override;
    void SetAsWideStringValue(const std::u16string &value) override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void GetText(std::string &text, bool displayText) const override;

private:
    bool transliterate_ = false;
    bool modified_ = false;
};

// Text blobs: the variant value is a string.
class TMemoField : public TBlobField {
public:
    TMemoField();

protected:
    Variant GetAsVariant() const override;
    void GetText(std::string &text, bool displayText) const override;
};

class TGraphicField : public TBlobField {
public:
    TGraphicField() : TBlobField(ftGraphic) {}
};
