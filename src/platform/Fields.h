#pragma once

// TFields: the dataset's ordered list of its fields. The list owns them.

#include "platform/Field.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TFields {
public:
    explicit TFields(TDataSet *dataSet) : dataSet_(dataSet) {}
    ~TFields();
    TFields(const TFields &) = delete;
    TFields &operator=(const TFields &) = delete;

    TDataSet *DataSet() const { return dataSet_; }
    int Count() const { return static_cast<int>(fields_.size()); }
    TField *Fields(int index) const;
    TField *operator[](int index) const { return Fields(index); }

    // Takes the field over, binds it to this dataset and returns it. A second field with the same
    // name raises "Duplicate field name '%s'".
    TField *Add(std::unique_ptr<TField> field);
    // Creates a field of class F with that name and adds it.
    template <class F> F *Add(const std::string &fieldName)
    {
        auto field = std::make_unique<F>();
        field->SetFieldName(fieldName);
        return static_cast<F *>(Add(std::move(field)));
    }
    // Hands the field back to the caller, unbound.
    std::unique_ptr<TField> Remove(TField *field);
    void Clear();

    // Names compare without regard to ASCII case.
    TField *FindField(std::string_view fieldName) const;
    // Raises EDatabaseError "Field '%s' not found".
    TField *FieldByName(std::string_view fieldName) const;
    // The field bound to that field number, or none.
    TField *FieldByNumber(int fieldNo) const;
    int IndexOf(const TField *field) const;
    void SetFieldIndex(TField *field, int index);

    auto begin() const { return fields_.begin(); }
    auto end() const { return fields_.end(); }

private:
    // A name looked up before and the field found for it, remembered by where the name's text
    // lies: readers name their fields with the same few literals again and again.
    struct Found {
        const char *Name = nullptr;
        TField *Field = nullptr;
    };
    static constexpr std::size_t FoundSlots = 16;

    TDataSet *dataSet_;
    std::vector<std::unique_ptr<TField>> fields_;
    mutable std::array<Found, FoundSlots> found_{};
};
