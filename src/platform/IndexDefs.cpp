#include "platform/IndexDefs.h"

#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/DataSet.h"
#include "platform/LocaleCompare.h"

// --- TIndexDef -------------------------------------------------------------------------------

TIndexDef::TIndexDef(TIndexDefs *owner, const std::string &name, const std::string &fields, TIndexOptions options)
    : owner_(owner), name_(name), fields_(fields), options_(options)
{
}

void TIndexDef::changed()
{
    if (owner_)
        owner_->changed();
}

void TIndexDef::SetName(const std::string &name)
{
    name_ = name;
    changed();
}

std::string TIndexDef::DisplayName() const
{
    if (name_.empty() && options_.Contains(ixPrimary))
        return "<Primary>";
    return name_;
}

void TIndexDef::SetFields(const std::string &fields)
{
    fields_ = fields;
    changed();
}

void TIndexDef::SetDescFields(const std::string &fields)
{
    descFields_ = fields;
    changed();
}

void TIndexDef::SetCaseInsFields(const std::string &fields)
{
    caseInsFields_ = fields;
    changed();
}

void TIndexDef::SetExpression(const std::string &expression)
{
    expression_ = expression;
    changed();
}

void TIndexDef::SetOptions(TIndexOptions options)
{
    options_ = options;
    changed();
}

void TIndexDef::Assign(const TIndexDef &source)
{
    name_ = source.name_;
    fields_ = source.fields_;
    descFields_ = source.descFields_;
    caseInsFields_ = source.caseInsFields_;
    expression_ = source.expression_;
    source_ = source.source_;
    options_ = source.options_;
    groupingLevel_ = source.groupingLevel_;
    changed();
}

// --- TIndexDefs ------------------------------------------------------------------------------

TIndexDef *TIndexDefs::Items(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError("Index out of range", dataSet_);
    return items_[static_cast<std::size_t>(index)].get();
}

TIndexDef *TIndexDefs::Add(const std::string &name, const std::string &fields, TIndexOptions options)
{
    items_.push_back(std::make_unique<TIndexDef>(this, name, fields, options));
    changed();
    return items_.back().get();
}

TIndexDef *TIndexDefs::AddIndexDef()
{
    return Add(std::string(), std::string(), TIndexOptions());
}

void TIndexDefs::Delete(int index)
{
    Items(index);
    items_.erase(items_.begin() + index);
    changed();
}

void TIndexDefs::Clear()
{
    items_.clear();
    changed();
}

void TIndexDefs::Assign(const TIndexDefs &source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto &def : source.items_)
        AddIndexDef()->Assign(*def);
    changed();
}

int TIndexDefs::IndexOf(const std::string &name) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (CompareText(items_[i]->Name(), name) == 0)
            return static_cast<int>(i);
    return -1;
}

TIndexDef *TIndexDefs::Find(const std::string &name) const
{
    const int index = IndexOf(name);
    if (index < 0)
        DatabaseErrorFmt(SIndexNotFound, {cp1250ToUtf8(name)}, dataSet_);
    return items_[static_cast<std::size_t>(index)].get();
}

TIndexDef *TIndexDefs::GetIndexForFields(const std::string &fields, bool caseInsensitive) const
{
    const_cast<TIndexDefs *>(this)->Update();
    auto usable = [caseInsensitive](const TIndexDef &def) {
        return !def.Options().Contains(ixExpression) && (!caseInsensitive || def.Options().Contains(ixCaseInsensitive));
    };
    for (const auto &def : items_)
        if (usable(*def) && CompareText(def->Fields(), fields) == 0)
            return def.get();
    // Otherwise an index whose leading fields are the asked ones.
    for (const auto &def : items_) {
        const std::string &own = def->Fields();
        if (usable(*def) && own.size() > fields.size() && own[fields.size()] == ';' &&
            CompareText(own.substr(0, fields.size()), fields) == 0)
            return def.get();
    }
    return nullptr;
}

void TIndexDefs::Update()
{
    if (!updated_ && dataSet_) {
        dataSet_->UpdateIndexDefs();
        updated_ = true;
    }
}
