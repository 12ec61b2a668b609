#pragma once

// The lines of a CSV data file's definition block that describe one field or one index, as plain
// values: the writer fills one in from a field or an index definition and formats it, the reader
// parses a line into one and builds the field or the index definition from it.

#include "platform/DBTypes.h"
#include "platform/FieldTypes.h"

#include <string>

// The markers of the definition block, and the file version the writer puts in it.
inline constexpr const char *CSVFileVersionMarker = "@@FILE VERSION@@";
inline constexpr const char *CSVTableDefStart = "@@TABLEDEF START@@";
inline constexpr const char *CSVTableDefEnd = "@@TABLEDEF END@@";
inline constexpr const char *CSVIndexDefStart = "@@INDEXDEF START@@";
inline constexpr const char *CSVIndexDefEnd = "@@INDEXDEF END@@";
inline constexpr int CSVFileVersion = 251;

// The largest size a definition line may give a field; a text of the data files is far shorter.
inline constexpr int CSVMaxFieldSize = 8192;

// Whether a definition line may name the type.
bool IsCSVSupportedFieldType(TFieldType type);

// The EMemTableError text for a field line whose type the format does not know; both values are
// cp1250 text from the file.
std::string CSVUnknownFieldTypeMessage(const std::string &typeName, const std::string &lineItem);

// The EMemTableError text for a field line whose size is negative or above CSVMaxFieldSize.
std::string CSVInvalidFieldSizeMessage(const std::string &size, const std::string &fieldName);

struct TztrCSVFieldDefinition
{
    std::string FieldName;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    // The display label, or the field name when the field has none.
    std::string DisplayName;
    std::string EditMask;
    int DisplayWidth = 0;
    bool Required = false;
    bool ReadOnly = false;
    bool Visible = true;
    TFieldKind FieldKind = fkData;
    std::string DefaultExpression;

    // The line before quoting with the format's quote character.
    std::string Format() const;
    // Reads a line already unquoted. An unknown or unsupported type raises EMemTableError with
    // lineItem (the line's first item) in the text, as does a size outside 0..CSVMaxFieldSize; a
    // size or display width that is not a number raises EConvertError.
    static TztrCSVFieldDefinition Parse(const std::string &line, const std::string &lineItem);
};

struct TztrCSVIndexDefinition
{
    std::string Name;
    // Field names joined by ";".
    std::string Fields;
    // The name, or "<Primary>" for a nameless primary index; a loaded index takes this name.
    std::string DisplayName;
    TIndexOptions Options;

    // The line before quoting; the field list and the display name are quoted with quote.
    std::string Format(char quote) const;
    // Reads a line already unquoted. Only descending, case-insensitive, non-maintained and unique
    // travel in the file.
    static TztrCSVIndexDefinition Parse(const std::string &line);
};
