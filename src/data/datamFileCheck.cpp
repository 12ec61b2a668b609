#include "data/datamFileCheck.h"

#include "memtable/ztrMemCSVStreamFormat.h"
#include "platform/Cp1250.h"
#include "platform/LocaleCompare.h"

#include <algorithm>

std::vector<DesignField> DesignFieldsOf(const TDataSet &table)
{
    std::vector<DesignField> fields;
    for (const auto &field : table.Fields())
        if (field->FieldKind() == fkData)
            fields.push_back({field->FieldName(), field->DataType(), field->Size()});
    return fields;
}

std::string DataFilePlace(const std::string &fileName, int line, const std::string &field)
{
    std::string text = " (fájl: " + fileName;
    if (line > 0)
        text += ", sor: " + std::to_string(line);
    if (!field.empty())
        text += ", mező: " + cp1250ToUtf8(field);
    return text + ")";
}

std::string LoadedFileProblem(const TztrMemTable &table, const std::vector<DesignField> &design,
                              const std::string &fileName)
{
    const auto *format = dynamic_cast<const TztrCustomCSVStreamFormat *>(table.DefaultFormat());
    if (format == nullptr)
        return {};
    const TztrCustomCSVStreamFormat::LoadedLayout &layout = format->LastLoadedLayout();
    if (!table.Active() || layout.headerLine == 0)
        return "A fájl üres vagy csonka: nincs fejléce." + DataFilePlace(fileName, 0, "");
    const auto definitionLine = [&layout](const std::string &name) {
        const auto found = layout.definitionLines.find(name);
        return found == layout.definitionLines.end() ? 0 : found->second;
    };
    const auto filled = [&](const TField &field) {
        const int index = table.Fields().IndexOf(&field);
        return std::find(layout.filledFields.begin(), layout.filledFields.end(), index) != layout.filledFields.end();
    };
    for (const DesignField &expected : design) {
        const TField *field = table.FindField(expected.name);
        if (field == nullptr)
            return "A fájl nem határozza meg a program által használt mezőt." + DataFilePlace(fileName, 0, expected.name);
        if (field->DataType() != expected.type || field->Size() < expected.size)
            return "A mező típusa vagy mérete eltér a programétól (" + std::string(FieldTypeNames[field->DataType()]) +
                   "," + std::to_string(field->Size()) + " a(z) " + std::string(FieldTypeNames[expected.type]) + "," +
                   std::to_string(expected.size) + " helyett), az értékei csonkulnának." +
                   DataFilePlace(fileName, definitionLine(expected.name), expected.name);
        if (field->FieldKind() != fkData)
            return "A mező nem adatmező (" + std::string(FieldKindNames[field->FieldKind()]) +
                   "), az értékei nem töltődnének be." + DataFilePlace(fileName, definitionLine(expected.name), expected.name);
        if (!filled(*field))
            return "A fejléc nem nevezi meg a mező oszlopát." + DataFilePlace(fileName, layout.headerLine, expected.name);
    }
    // The next save writes every data field the file defines, so one that the header does not
    // name would come back empty.
    for (const auto &[name, line] : layout.definitionLines) {
        const TField *field = table.FindField(name);
        if (field != nullptr && field->FieldKind() == fkData && !filled(*field))
            return "A fejléc nem nevezi meg a mező oszlopát." + DataFilePlace(fileName, layout.headerLine, name);
    }
    // The next save heads each column with its field's display name, and a start finds columns
    // by name whatever their case, so two fields under one name would not load again.
    std::vector<const TField *> saved;
    for (const auto &field : table.Fields()) {
        if (field->FieldKind() != fkData)
            continue;
        for (const TField *earlier : saved)
            if (CompareText(earlier->DisplayName(), field->DisplayName()) == 0)
                return "Két mező oszlopa ugyanazt a nevet kapná, a mentett fájl nem töltődne be újra." +
                       DataFilePlace(fileName, layout.headerLine, field->FieldName());
        saved.push_back(field.get());
    }
    return {};
}

