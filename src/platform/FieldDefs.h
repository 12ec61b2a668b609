#pragma once

// Field definitions: what the dataset's data holds, from which its default fields are made.

#include "platform/DBTypes.h"
#include "platform/FieldTypes.h"

#include <memory>
#include <string>
#include <vector>

class TDataSet;
class TField;
class TFieldDefs;
class TObjectField;

class TFieldDef {
public:
    TFieldDef(TFieldDefs *owner, const std::string &name, TFieldType dataType, int size,
              bool required, int fieldNo);
    ~TFieldDef();
    TFieldDef(const TFieldDef &) = delete;
    TFieldDef &operator=(const TFieldDef &) = delete;

    TFieldDefs *Collection() const { return owner_; }
    // The ADT or array definition this one belongs to, or none.
    TFieldDef *ParentDef() const;

    const std::string &Name() const { return name_; }
    void SetName(const std::string &name);
    const std::string &DisplayName() const { return name_; }
    TFieldType DataType() const { return dataType_; }
    void SetDataType(TFieldType type);
    int Size() const { return size_; }
    void SetSize(int size);
    int Precision() const { return precision_; }
    void SetPrecision(int precision);
    TFieldAttributes Attributes() const { return attributes_; }
    void SetAttributes(TFieldAttributes attributes);
    bool Required() const { return attributes_.Contains(faRequired); }
    void SetRequired(bool required);
    bool InternalCalcField() const { return internalCalcField_; }
    void SetInternalCalcField(bool internalCalc);
    // Number of the definition in the dataset's flat definition order (1-based), which the
    // data fields bind to.
    int FieldNo() const { return fieldNo_; }
    void SetFieldNo(int fieldNo) { fieldNo_ = fieldNo; }
    // How many field numbers the definition takes: itself, then its children (an array's once
    // per element).
    int FieldNoSpan() const;

    bool HasChildDefs() const;
    TFieldDefs &ChildDefs();
    const TFieldDefs &ChildDefs() const;

    // Creates the field of the class for the type, named like the definition (or fieldName), in
    // owner's Fields; ADT and array definitions get their children too.
    TField *CreateField(TDataSet &owner, TObjectField *parentField = nullptr,
                        const std::string &fieldName = {}, bool createChildren = true) const;

    // Copies name, type, size, precision, attributes, internal-calc flag and children.
    void Assign(const TFieldDef &source);

private:
    void changed();

    TFieldDefs *owner_;
    std::string name_;
    TFieldType dataType_;
    int size_;
    int precision_ = 0;
    TFieldAttributes attributes_;
    bool internalCalcField_ = false;
    int fieldNo_;
    std::unique_ptr<TFieldDefs> childDefs_;
};

class TFieldDefs {
public:
    // dataSet: the dataset the definitions describe; parentDef: set for child definitions.
    explicit TFieldDefs(TDataSet *dataSet, TFieldDef *parentDef = nullptr);
    ~TFieldDefs();
    TFieldDefs(const TFieldDefs &) = delete;
    TFieldDefs &operator=(const TFieldDefs &) = delete;

    TDataSet *DataSet() const { return dataSet_; }
    TFieldDef *ParentDef() const { return parentDef_; }

    int Count() const { return static_cast<int>(items_.size()); }
    TFieldDef *Items(int index) const;
    TFieldDef *operator[](int index) const { return Items(index); }

    // Adds a definition numbered after those already there.
    TFieldDef *Add(const std::string &name, TFieldType dataType, int size = 0,
                   bool required = false);
    TFieldDef *AddFieldDef();
    void Delete(int index);
    void Clear();
    // Copies every definition of source.
    void Assign(const TFieldDefs &source);

    // Names compare without regard to ASCII case.
    int IndexOf(const std::string &name) const;
    TFieldDef *Find(const std::string &name) const;

    // Set while the definitions reflect the dataset; a change clears it and Update asks the
    // dataset to fill them in again.
    bool Updated() const;
    void SetUpdated(bool updated);
    void Update();

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    friend class TFieldDef;
    void changed();

    TDataSet *dataSet_;
    TFieldDef *parentDef_;
    std::vector<std::unique_ptr<TFieldDef>> items_;
    bool updated_ = false;
};
