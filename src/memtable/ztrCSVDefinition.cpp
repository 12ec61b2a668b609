#include "memtable/ztrCSVDefinition.h"

#include "memtable/ztrCSVCoding.h"
#include "memtable/ztrErrors.h"
#include "platform/Cp1250.h"
#include "platform/FormatSettings.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

constexpr TFieldType SupportedTypes[] = {
    ftString,  ftSmallint, ftInteger,    ftWord,     ftBoolean,     ftFloat,     ftCurrency,   ftBCD,
    ftDate,    ftTime,     ftDateTime,   ftBytes,    ftVarBytes,    ftAutoInc,   ftBlob,       ftMemo,
    ftGraphic, ftFmtMemo,  ftParadoxOle, ftDBaseOle, ftTypedBinary, ftFixedChar, ftWideString, ftLargeint,
    ftADT,     ftArray,    ftOraBlob,    ftOraClob,  ftGuid,        ftTimeStamp, ftFMTBcd};

bool contains(const std::string &line, const char *flag)
{
    return line.find(flag) != std::string::npos;
}

// The text before the first "=" and the text after it; a line without "=" is all rest.
std::pair<std::string, std::string> splitAtEquals(const std::string &line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
        return {std::string(), line};
    return {line.substr(0, equals), line.substr(equals + 1)};
}

const std::string &itemAt(const std::vector<std::string> &items, std::size_t index)
{
    static const std::string none;
    return index < items.size() ? items[index] : none;
}

TFieldType fieldTypeNamed(const std::string &name)
{
    const auto found = std::find(std::begin(FieldTypeNames), std::end(FieldTypeNames), name);
    return found == std::end(FieldTypeNames)
               ? ftUnknown
               : static_cast<TFieldType>(std::distance(std::begin(FieldTypeNames), found));
}

TFieldKind fieldKindNamed(const std::string &name)
{
    const auto found = std::find(std::begin(FieldKindNames), std::end(FieldKindNames), name);
    return found == std::end(FieldKindNames)
               ? fkData
               : static_cast<TFieldKind>(std::distance(std::begin(FieldKindNames), found));
}

} // namespace

bool IsCSVSupportedFieldType(TFieldType type)
{
    return std::find(std::begin(SupportedTypes), std::end(SupportedTypes), type) != std::end(SupportedTypes);
}

std::string CSVUnknownFieldTypeMessage(const std::string &typeName, const std::string &lineItem)
{
    return "Ismeretlen mezőtípus (" + cp1250ToUtf8(typeName) + ") a CSV file-ban. (" +
           cp1250ToUtf8(lineItem) + ")";
}

std::string CSVInvalidFieldSizeMessage(const std::string &size, const std::string &fieldName)
{
    return "Érvénytelen mezőméret (" + cp1250ToUtf8(size) + ") a CSV file-ban. (" + cp1250ToUtf8(fieldName) + ")";
}

std::string TztrCSVFieldDefinition::Format() const
{
    std::string line = FieldName + "=" + std::string(FieldTypeNames[DataType]) + "," + std::to_string(Size) +
                       "," + CSVQuoteText(DisplayName, '"') + "," + CSVQuoteText(EditMask, '"') + "," +
                       std::to_string(DisplayWidth);
    if (Required)
        line += ",REQ";
    if (ReadOnly)
        line += ",RO";
    if (!Visible)
        line += ",INV";
    line += ",";
    line += FieldKindNames[FieldKind];
    line += "," + CSVQuoteText(DefaultExpression, '"');
    return line;
}

TztrCSVFieldDefinition TztrCSVFieldDefinition::Parse(const std::string &line, const std::string &lineItem)
{
    TztrCSVFieldDefinition definition;
    auto [name, rest] = splitAtEquals(line);
    definition.FieldName = std::move(name);
    std::vector<std::string> items = CSVSplitCommaText(rest);

    const std::string &typeName = itemAt(items, 0);
    definition.DataType = fieldTypeNamed(typeName);
    if (definition.DataType == ftUnknown || !IsCSVSupportedFieldType(definition.DataType))
        throw EMemTableError(CSVUnknownFieldTypeMessage(typeName, lineItem));
    definition.Size = StrToInt(itemAt(items, 1));
    // Every record holds a field's full size, so a damaged size would take all the memory there is.
    if (definition.Size < 0 || definition.Size > CSVMaxFieldSize)
        throw EMemTableError(CSVInvalidFieldSizeMessage(itemAt(items, 1), definition.FieldName));
    definition.DisplayName = itemAt(items, 2);
    definition.EditMask = itemAt(items, 3);
    definition.DisplayWidth = StrToInt(itemAt(items, 4));
    // The flags are found anywhere in the line, so a label holding ",RO" counts as well.
    definition.Required = contains(line, ",REQ");
    definition.ReadOnly = contains(line, ",RO");
    definition.Visible = !contains(line, ",INV");

    std::size_t count = items.size();
    if (count > 6)
        definition.DefaultExpression = items[--count];
    if (count >= 6)
        definition.FieldKind = fieldKindNamed(items[count - 1]);
    return definition;
}

namespace {

// The reader takes the items of an index line as comma text, where a blank or a comma ends a bare
// item; such an item is put in double quotes even when the format quotes nothing.
std::string indexItem(const std::string &text, char quote)
{
    const bool needsQuotes = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
    });
    return CSVQuoteText(text, quote == '\0' && needsQuotes ? '"' : quote);
}

} // namespace

std::string TztrCSVIndexDefinition::Format(char quote) const
{
    std::string line = Name + "=" + indexItem(Fields, quote) + "," + indexItem(DisplayName, quote);
    if (Options.Contains(ixDescending))
        line += ",DESC";
    if (Options.Contains(ixCaseInsensitive))
        line += ",CASE";
    if (Options.Contains(ixNonMaintained))
        line += ",NONMT";
    if (Options.Contains(ixUnique))
        line += ",UNIQ";
    return line;
}

TztrCSVIndexDefinition TztrCSVIndexDefinition::Parse(const std::string &line)
{
    TztrCSVIndexDefinition definition;
    auto [name, rest] = splitAtEquals(line);
    definition.Name = std::move(name);
    const std::vector<std::string> items = CSVSplitCommaText(rest);
    definition.Fields = itemAt(items, 0);
    definition.DisplayName = itemAt(items, 1);
    if (contains(line, ",CASE"))
        definition.Options.Include(ixCaseInsensitive);
    if (contains(line, ",NONMT"))
        definition.Options.Include(ixNonMaintained);
    if (contains(line, ",DESC"))
        definition.Options.Include(ixDescending);
    if (contains(line, ",UNIQ"))
        definition.Options.Include(ixUnique);
    return definition;
}
