#include "platform/ObjectFields.h"

TObjectField::~TObjectField() = default;

TField *TObjectField::AddChild(std::unique_ptr<TField> child)
{
    child->parentField_ = this;
    child->dataSet_ = DataSet();
    children_.push_back(std::move(child));
    return children_.back().get();
}

std::string TObjectField::GetAsString() const
{
    std::string text = "(";
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += children_[i]->AsString();
    }
    return text + ")";
}

Variant TObjectField::GetAsVariant() const
{
    Variant::Array values;
    for (const auto &child : children_)
        values.push_back(child->AsVariant());
    return Variant(std::move(values));
}

void TObjectField::SetVarValue(const Variant &value)
{
    const int count = std::min(value.ElementCount(), FieldCount());
    for (int i = 0; i < count; ++i)
        children_[static_cast<std::size_t>(i)]->SetAsVariant(value.Element(i));
}

void TObjectField::Clear()
{
    for (const auto &child : children_)
        child->Clear();
}
