#pragma once

// The two comparisons every index, search, range and master/detail test is built on.

#include "memtable/ztrTypes.h"
#include "platform/FieldTypes.h"
#include "platform/LocaleCompare.h"

// Compares two data areas (past their null bytes) of one field type: -1, 0 or 1, the sign of
// keyValue minus value. fullCompare turns False when a partial text compare cut a value.
int CompareFields(const void *keyValue, const void *value, TFieldType fieldType, TztrifoOptions options,
                  bool &fullCompare, LCID localeID);
