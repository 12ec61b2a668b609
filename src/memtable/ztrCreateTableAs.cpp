// Giving a memory table the structure of another dataset.

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"

#include <algorithm>

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
    }
    CreateFields();
    for (const auto &sourceField : source.Fields()) {
        const TFieldKind kind = sourceField->FieldKind();
        if (!(kind == fkLookup && options.Contains(mtctoLookupFields)) &&
            !(kind == fkCalculated && options.Contains(mtctoCalculatedFields)))
            continue;
        TField *field = Fields().Add(CreateFieldOfType(sourceField->DataType()));
        field->SetFieldName(sourceField->FieldName());
        field->SetFieldKind(kind);
        field->SetSize(sourceField->Size());
        field->SetKeyFields(sourceField->KeyFields());
        field->SetLookupDataSet(sourceField->LookupDataSet());
        field->SetLookupKeyFields(sourceField->LookupKeyFields());
        field->SetLookupResultField(sourceField->LookupResultField());
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
