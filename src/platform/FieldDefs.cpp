#include "platform/FieldDefs.h"

#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/DataSet.h"
#include "platform/Field.h"
#include "platform/LocaleCompare.h"
#include "platform/NumericFields.h"
#include "platform/ObjectFields.h"

namespace {

int renumber(TFieldDefs &defs, int next)
{
    for (const auto &def : defs) {
        def->SetFieldNo(next);
        if (def->HasChildDefs())
            renumber(def->ChildDefs(), next + 1);
        next += def->FieldNoSpan();
    }
    return next;
}

} // namespace

// --- TFieldDef -------------------------------------------------------------------------------

TFieldDef::TFieldDef(TFieldDefs *owner, const std::string &name, TFieldType dataType, int size, bool required,
                     int fieldNo)
    : owner_(owner), name_(name), dataType_(dataType), size_(size), fieldNo_(fieldNo)
{
    if (required)
        attributes_.Include(faRequired);
}

TFieldDef::~TFieldDef() = default;

TFieldDef *TFieldDef::ParentDef() const
{
    return owner_ ? owner_->ParentDef() : nullptr;
}

void TFieldDef::changed()
{
    if (owner_)
        owner_->changed();
}

void TFieldDef::SetName(const std::string &name)
{
    name_ = name;
    changed();
}

void TFieldDef::SetDataType(TFieldType type)
{
    dataType_ = type;
    changed();
}

void TFieldDef::SetSize(int size)
{
    size_ = size;
    changed();
}

void TFieldDef::SetPrecision(int precision)
{
    precision_ = precision;
    changed();
}

void TFieldDef::SetAttributes(TFieldAttributes attributes)
{
    attributes_ = attributes;
    changed();
}

void TFieldDef::SetRequired(bool required)
{
    if (required)
        attributes_.Include(faRequired);
    else
        attributes_.Exclude(faRequired);
    changed();
}

void TFieldDef::SetInternalCalcField(bool internalCalc)
{
    internalCalcField_ = internalCalc;
    changed();
}

int TFieldDef::FieldNoSpan() const
{
    if (!HasChildDefs())
        return 1;
    int children = 0;
    for (const auto &child : *childDefs_)
        children += child->FieldNoSpan();
    return 1 + (dataType_ == ftArray ? children * size_ : children);
}

bool TFieldDef::HasChildDefs() const
{
    return childDefs_ && childDefs_->Count() > 0;
}

TFieldDefs &TFieldDef::ChildDefs()
{
    if (!childDefs_)
        childDefs_ = std::make_unique<TFieldDefs>(owner_ ? owner_->DataSet() : nullptr, this);
    return *childDefs_;
}

const TFieldDefs &TFieldDef::ChildDefs() const
{
    return const_cast<TFieldDef *>(this)->ChildDefs();
}

TField *TFieldDef::CreateField(TDataSet &owner, TObjectField *parentField, const std::string &fieldName,
                               bool createChildren) const
{
    std::unique_ptr<TField> created = CreateFieldOfType(dataType_);
    if (!created)
        DatabaseErrorFmt(SUnknownFieldType, {cp1250ToUtf8(name_)}, &owner);
    created->SetFieldName(fieldName.empty() ? name_ : fieldName);
    if (dataType_ != ftGuid)
        created->SetSize(size_);
    created->SetRequired(Required());
    created->SetReadOnly(attributes_.Contains(faReadonly));
    if (internalCalcField_)
        created->SetFieldKind(fkInternalCalc);
    if (auto *bcd = dynamic_cast<TBCDField *>(created.get()); bcd && precision_ > 0)
        bcd->SetPrecision(precision_);
    TField *field = parentField ? parentField->AddChild(std::move(created)) : owner.Fields().Add(std::move(created));
    auto *object = dynamic_cast<TObjectField *>(field);
    if (object && createChildren && HasChildDefs()) {
        if (dataType_ == ftArray) {
            for (int i = 0; i < size_; ++i)
                childDefs_->Items(0)->CreateField(owner, object, name_ + "[" + std::to_string(i) + "]");
        } else {
            for (const auto &child : *childDefs_)
                child->CreateField(owner, object);
        }
    }
    return field;
}

void TFieldDef::Assign(const TFieldDef &source)
{
    name_ = source.name_;
    dataType_ = source.dataType_;
    size_ = source.size_;
    precision_ = source.precision_;
    attributes_ = source.attributes_;
    internalCalcField_ = source.internalCalcField_;
    if (source.HasChildDefs())
        ChildDefs().Assign(*source.childDefs_);
    else if (childDefs_)
        childDefs_->Clear();
    changed();
}

// --- TFieldDefs ------------------------------------------------------------------------------

TFieldDefs::TFieldDefs(TDataSet *dataSet, TFieldDef *parentDef) : dataSet_(dataSet), parentDef_(parentDef) {}

TFieldDefs::~TFieldDefs() = default;

TFieldDef *TFieldDefs::Items(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError(SFieldIndexError, dataSet_);
    return items_[static_cast<std::size_t>(index)].get();
}

TFieldDef *TFieldDefs::Add(const std::string &name, TFieldType dataType, int size, bool required)
{
    items_.push_back(std::make_unique<TFieldDef>(this, name, dataType, size, required, 0));
    changed();
    return items_.back().get();
}

TFieldDef *TFieldDefs::AddFieldDef()
{
    return Add(std::string(), ftUnknown);
}

void TFieldDefs::Delete(int index)
{
    Items(index);
    items_.erase(items_.begin() + index);
    changed();
}

void TFieldDefs::Clear()
{
    items_.clear();
    changed();
}

void TFieldDefs::Assign(const TFieldDefs &source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto &def : source.items_) {
        TFieldDef *copy = Add(def->Name(), def->DataType(), def->Size(), def->Required());
        copy->Assign(*def);
    }
    changed();
}

int TFieldDefs::IndexOf(const std::string &name) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (CompareText(items_[i]->Name(), name) == 0)
            return static_cast<int>(i);
    return -1;
}

TFieldDef *TFieldDefs::Find(const std::string &name) const
{
    const int index = IndexOf(name);
    if (index < 0)
        DatabaseErrorFmt(SFieldNotFound, {cp1250ToUtf8(name)}, dataSet_);
    return items_[static_cast<std::size_t>(index)].get();
}

bool TFieldDefs::Updated() const
{
    return updated_;
}

void TFieldDefs::SetUpdated(bool updated)
{
    updated_ = updated;
}

void TFieldDefs::Update()
{
    if (!updated_ && dataSet_ && !parentDef_)
        dataSet_->InitFieldDefs();
}

void TFieldDefs::changed()
{
    // Numbers follow the flat order of the whole tree, so any change renumbers from the root.
    TFieldDefs *root = this;
    while (root->parentDef_ && root->parentDef_->Collection())
        root = root->parentDef_->Collection();
    renumber(*root, 1);
    root->updated_ = false;
    updated_ = false;
}
