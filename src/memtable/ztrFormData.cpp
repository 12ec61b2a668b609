// A memory table as a component of a form: its records stored with the form, its opening once
// the form has loaded, and the references to other components it drops when they go away.

#include "memtable/ztrCustomMemTable.h"

#include "memtable/ztrStreamFormat.h"

void TztrCustomMemTable::DefineProperties(TFiler &filer)
{
    TDataSet::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream &stream) {
            formData_ = std::make_unique<TMemoryStream>();
            formData_->LoadFromStream(stream);
        },
        [this](TStream &stream) {
            // A closed table has no records to keep.
            if (Active())
                SaveToStreamViaFormat(stream, FormFormat());
        },
        storeDataOnForm_);
}

void TztrCustomMemTable::Loaded()
{
    refuseOpen_ = !designActivation_;
    try {
        TDataSet::Loaded();
    } catch (...) {
        refuseOpen_ = false;
        throw;
    }
    refuseOpen_ = false;
}

void TztrCustomMemTable::loadFormData()
{
    if (!formData_)
        return;
    // Taken first: a format that brings the definitions reopens the table on the way.
    const std::unique_ptr<TMemoryStream> data = std::move(formData_);
    if (data->Size() > 0 && storeDataOnForm_)
        LoadFromStream(*data, FormFormat());
}

void TztrCustomMemTable::Notification(TComponent *component, TOperation operation)
{
    TDataSet::Notification(component, operation);
    if (operation == opRemove)
        forgetFormat(component);
}

void TztrCustomMemTable::MoveFieldsToOwner()
{
    TComponent *owner = Owner();
    if (!owner || FieldCount() == 0)
        return;
    for (int i = FieldCount() - 1; i >= 0; --i) {
        TField *field = Fields()[i];
        const std::string name = Name() + field->FieldName();
        if (owner->FindComponent(name))
            continue;
        field->SetName(name);
        owner->InsertComponent(field);
    }
    // Fields of the owner stay when the table closes.
    SetDefaultFields(false);
}
