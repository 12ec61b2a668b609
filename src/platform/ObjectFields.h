#pragma once

// Container fields: an ADT field groups named child fields, an array field Size elements. Their
// values are the children's values as a variant array.

#include "platform/Field.h"

#include <algorithm>
#include <memory>
#include <vector>

class TObjectField : public TField {
public:
    ~TObjectField() override;

    int FieldCount() const { return static_cast<int>(children_.size()); }
    TField *Field(int index) const { return children_.at(static_cast<std::size_t>(index)).get(); }
    // Adds a child; the child's FieldNo and dataset follow its parent.
    TField *AddChild(std::unique_ptr<TField> child);

protected:
    TObjectField(TFieldType type, int size) : TField(type, size) {}

    std::string GetAsString() const override;
    Variant GetAsVariant() const override;
    void SetVarValue(const Variant &value) override;
    void Clear() override;

private:
    friend class TDataSet;
    std::vector<std::unique_ptr<TField>> children_;
};

class TADTField : public TObjectField {
public:
    TADTField() : TObjectField(ftADT, 0) {}
};

class TArrayField : public TObjectField {
public:
    TArrayField() : TObjectField(ftArray, 10) {}
};
