#include "platform/Fields.h"

#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/DataSet.h"
#include "platform/LocaleCompare.h"
#include "platform/ObjectFields.h"

#include <algorithm>
#include <functional>

namespace {

// Gives a field and its children (of an ADT or array field) their dataset.
void bindToDataSet(TField *field, TDataSet *dataSet, void (*assign)(TField *, TDataSet *))
{
    assign(field, dataSet);
    if (auto *object = dynamic_cast<TObjectField *>(field))
        for (int i = 0; i < object->FieldCount(); ++i)
            bindToDataSet(object->Field(i), dataSet, assign);
}

} // namespace

TFields::~TFields()
{
    Clear();
}

TField *TFields::Fields(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError(SFieldIndexError, dataSet_);
    return fields_[static_cast<std::size_t>(index)].get();
}

TField *TFields::Add(std::unique_ptr<TField> field)
{
    if (FindField(field->FieldName()))
        DatabaseErrorFmt(SDuplicateFieldName, {cp1250ToUtf8(field->FieldName())}, dataSet_);
    bindToDataSet(field.get(), dataSet_, [](TField *f, TDataSet *d) { f->dataSet_ = d; });
    fields_.push_back(std::move(field));
    if (dataSet_)
        dataSet_->DataEvent(deFieldListChange, 0);
    return fields_.back().get();
}

std::unique_ptr<TField> TFields::Remove(TField *field)
{
    const auto it = std::find_if(fields_.begin(), fields_.end(), [field](const auto &f) { return f.get() == field; });
    if (it == fields_.end())
        return nullptr;
    std::unique_ptr<TField> removed = std::move(*it);
    fields_.erase(it);
    found_.fill({});
    bindToDataSet(removed.get(), nullptr, [](TField *f, TDataSet *d) { f->dataSet_ = d; });
    if (dataSet_)
        dataSet_->DataEvent(deFieldListChange, 0);
    return removed;
}

void TFields::Clear()
{
    if (fields_.empty())
        return;
    // Unbind first so that a field being destroyed never reaches back into the list.
    for (const auto &field : fields_)
        bindToDataSet(field.get(), nullptr, [](TField *f, TDataSet *d) { f->dataSet_ = d; });
    fields_.clear();
    found_.fill({});
    if (dataSet_)
        dataSet_->DataEvent(deFieldListChange, 0);
}

namespace {

bool sameName(const std::string &name, std::string_view wanted)
{
    // Names that match case-insensitively are as long as each other; the length turns most
    // fields away before their names are compared.
    return name.size() == wanted.size() && CompareText(name, wanted) == 0;
}

} // namespace

TField *TFields::FindField(std::string_view fieldName) const
{
    // Only a dataset refuses a second field of a name, so only its fields are remembered. The
    // name is checked, so a text reused for another name, or a field renamed, is looked for anew.
    Found &found = found_[std::hash<const char *>{}(fieldName.data()) % FoundSlots];
    if (dataSet_ && found.Name == fieldName.data() && found.Field &&
        sameName(found.Field->FieldName(), fieldName))
        return found.Field;
    for (const auto &field : fields_) {
        if (!sameName(field->FieldName(), fieldName))
            continue;
        if (dataSet_)
            found = {fieldName.data(), field.get()};
        return field.get();
    }
    return nullptr;
}

TField *TFields::FieldByName(std::string_view fieldName) const
{
    TField *field = FindField(fieldName);
    if (!field)
        DatabaseErrorFmt(SFieldNotFound, {cp1250ToUtf8(fieldName)}, dataSet_);
    return field;
}

TField *TFields::FieldByNumber(int fieldNo) const
{
    for (const auto &field : fields_)
        if (field->FieldNo() == fieldNo)
            return field.get();
    return nullptr;
}

int TFields::IndexOf(const TField *field) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].get() == field)
            return static_cast<int>(i);
    return -1;
}

void TFields::SetFieldIndex(TField *field, int index)
{
    const int current = IndexOf(field);
    if (current < 0)
        return;
    index = std::clamp(index, 0, Count() - 1);
    if (index == current)
        return;
    std::unique_ptr<TField> moving = std::move(fields_[static_cast<std::size_t>(current)]);
    fields_.erase(fields_.begin() + current);
    fields_.insert(fields_.begin() + index, std::move(moving));
    if (dataSet_)
        dataSet_->DataEvent(deFieldListChange, 0);
}
