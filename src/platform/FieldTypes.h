#pragma once

// Field types and kinds of the dataset framework. The ordinals are part of the data-file format
// (type names are written by ordinal) and of the record layout, so they must never be reordered.

#include <cstdint>
#include <string_view>

enum TFieldType : std::uint8_t {
    ftUnknown,     // 0
    ftString,      // 1
    ftSmallint,    // 2
    ftInteger,     // 3
    ftWord,        // 4
    ftBoolean,     // 5
    ftFloat,       // 6
    ftCurrency,    // 7
    ftBCD,         // 8
    ftDate,        // 9
    ftTime,        // 10
    ftDateTime,    // 11
    ftBytes,       // 12
    ftVarBytes,    // 13
    ftAutoInc,     // 14
    ftBlob,        // 15
    ftMemo,        // 16
    ftGraphic,     // 17
    ftFmtMemo,     // 18
    ftParadoxOle,  // 19
    ftDBaseOle,    // 20
    ftTypedBinary, // 21
    ftCursor,      // 22
    ftFixedChar,   // 23
    ftWideString,  // 24
    ftLargeint,    // 25
    ftADT,         // 26
    ftArray,       // 27
    ftReference,   // 28
    ftDataSet,     // 29
    ftOraBlob,     // 30
    ftOraClob,     // 31
    ftVariant,     // 32
    ftInterface,   // 33
    ftIDispatch,   // 34
    ftGuid,        // 35
    ftTimeStamp,   // 36
    ftFMTBcd,      // 37
};

inline constexpr int FieldTypeCount = 38;

enum TFieldKind : std::uint8_t { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

// The names the data files use for field types and kinds, by ordinal.
inline constexpr std::string_view FieldTypeNames[FieldTypeCount] = {
    "Unknown",  "String",     "SmallInt",  "Integer",  "Word",         "Boolean",     "Float",
    "Currency", "BCD",        "Date",      "Time",     "DateTime",     "Bytes",       "VarBytes",
    "AutoInc",  "Blob",       "Memo",      "Graphic",  "FmtMemo",      "ParadoxOle",  "dBaseOle",
    "TypedBinary", "Cursor",  "FixedChar", "WideString", "LargeInt",   "ADT",         "Array",
    "Reference", "DataSet",   "HugeBlob",  "HugeClob", "Variant",      "Interface",   "Dispatch",
    "Guid",     "SQLTimeStamp", "FMTBcdField"};

inline constexpr std::string_view FieldKindNames[] = {"Data", "Calculated", "Lookup", "InternalCalc",
                                                      "Aggregate"};

inline constexpr bool isBlobType(TFieldType type)
{
    return (type >= ftBlob && type <= ftTypedBinary) || type == ftOraBlob || type == ftOraClob;
}
