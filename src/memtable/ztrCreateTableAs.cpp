// Giving a memory table the structure of another dataset.

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"

#include "platform/NumericFields.h"

#include <algorithm>

TField *TztrCustomMemTable::addFieldLike(const TField &source)
{
    std::unique_ptr<TField> field = CreateFieldOfType(source.DataType());
    field->SetFieldName(source.FieldName());
    field->SetFieldKind(source.FieldKind());
    field->SetSize(source.Size());
    field->SetKeyFields(source.KeyFields());
    field->SetLookupDataSet(source.LookupDataSet());
    field->SetLookupKeyFields(source.LookupKeyFields());
    field->SetLookupResultField(source.LookupResultField());
    const auto *sourceBcd = dynamic_cast<const TBCDField *>(&source);
    if (auto *bcd = dynamic_cast<TBCDField *>(field.get()); bcd && sourceBcd)
        bcd->SetPrecision(sourceBcd->Precision());
    return Fields().Add(std::move(field));
}

void TztrCustomMemTable::CloseAndDestroyFields()
{
    common_->Owner()->Close();
    Close();
    DestroyFields();
}

void TztrCustomMemTable::CreateTableAs(TDataSet &source, TztrCreateTableOptions options)
{
    // The store's layout changes, so nothing may read the records meanwhile.
    common_->Owner()->Close();
    Close();
    if (!source.Active())
        source.InitFieldDefs();
    if (source.FieldDefs().Count() > MaxFields)
        throw EMemTableError(STooManyFieldDefs);
    Fields().Clear();
    FieldDefs().Assign(source.FieldDefs());
    for (int i = FieldDefs().Count() - 1; i >= 0; --i) {
        TFieldDef *definition = FieldDefs()[i];
        const TFieldType type = definition->DataType();
        if (!IsStorableFieldType(type) ||
            (options.Contains(mtctoOnlySourceFields) && !source.FindField(definition->Name())))
            FieldDefs().Delete(i);
        else if (options.Contains(mtctoStringsAsWide) && (type == ftString || type == ftFixedChar))
            definition->SetDataType(ftWideString);
        else if (const auto *bcd = dynamic_cast<const TBCDField *>(source.FindField(definition->Name()));
                 bcd && bcd->Precision() > 0)
            // The source's field knows its precision even where its definition does not.
            definition->SetPrecision(bcd->Precision());
    }
    CreateFields();
    for (const auto &sourceField : source.Fields()) {
        const TFieldKind kind = sourceField->FieldKind();
        if (!(kind == fkLookup && options.Contains(mtctoLookupFields)) &&
            !(kind == fkCalculated && options.Contains(mtctoCalculatedFields)))
            continue;
        addFieldLike(*sourceField);
    }
    if (options.Contains(mtctoKeepFieldOrder)) {
        for (const auto &sourceField : source.Fields()) {
            if (TField *field = FindField(sourceField->FieldName()))
                field->SetIndex(std::min(sourceField->Index(), Fields().Count() - 1));
        }
    }
    if (options.Contains(mtctoCopyData))
        LoadFromDataSet(source, {});
}
