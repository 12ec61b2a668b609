#pragma once

// The two comparisons every index, search, range and master/detail test is built on.

#include "memtable/ztrTypes.h"
#include "platform/FieldTypes.h"
#include "platform/LocaleCompare.h"

#include <string>

// Compares two data areas (past their null bytes) of one field type: -1, 0 or 1, the sign of
// keyValue minus value. fullCompare turns False when a partial text compare cut a value.
int CompareFields(const void *keyValue, const void *value, TFieldType fieldType, TztrifoOptions options,
                  bool &fullCompare, LCID localeID);

class TztrCustomMemTable;
class TztrFieldList;
struct TztrRecord;

// Compares two records of the table's store over the first fieldLimit entries of fieldList (all
// when fieldLimit is 0 or not below the count). Null sorts before any value. Mode 0 stops at the
// first deciding field (lexicographic order); modes 1 to 4 stop at the first field that is
// below, above, not above or not below (range tests); a larger mode never stops early.
int CompareRecords(TztrCustomMemTable &table, const TztrRecord *keyRecord, const TztrRecord *record,
                   const TztrFieldList &fieldList, int fieldLimit, bool ignoreNull, bool partial, int mode);

// Sort keys: byte strings whose plain unsigned byte order is the order CompareRecords gives in
// mode 0 without partial compares, so that a sort compares bytes instead of fields.
// SortKeysApply tells whether the fields' types and options, and the table's comparison event,
// allow such keys at all; AppendSortKey then appends one record's key, and returns False when a
// value has no such form (a NaN, an unknown locale), leaving the caller to compare records.
bool SortKeysApply(const TztrCustomMemTable &table, const TztrFieldList &fieldList);
bool AppendSortKey(TztrCustomMemTable &table, const TztrRecord *record, const TztrFieldList &fieldList,
                   std::string &key);
// The bytes a value of this type adds to a sort key after its null marker; 0 for a type whose
// values' keys differ in length (texts) or that has no sort key.
int FixedSortKeyWidth(TFieldType type);
