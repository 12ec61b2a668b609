#pragma once

// The two comparisons every index, search, range and master/detail test is built on.

#include "memtable/ztrTypes.h"
#include "platform/FieldTypes.h"
#include "platform/LocaleCompare.h"

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
