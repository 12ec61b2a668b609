#pragma once

// Options of copying records between a memory table and any other dataset. The table's
// LoadFromDataSet, SaveToDataSet, UpdateToDataSet, CopyRecords and UpdateRecords take them.

#include "platform/EnumSet.h"

#include <cstdint>

// Members are bit numbers: callers that pass the set as a number rely on these exact values
// (1, 4, 32, 128, 256, 1024).
enum TztrCopyOption : std::uint8_t {
    // Close the table and rebuild its field definitions from the source's.
    mtcpoStructure = 0,
    // Copy the field properties from the source's fields of the same names.
    mtcpoProperties = 2,
    // Keep the records already present instead of emptying the table first.
    mtcpoAppend = 5,
    // Maintain the indexes record by record instead of rebuilding them once afterwards.
    mtcpoKeepIndexes = 7,
    // Handed on to CopyRecords, which leaves it to descendants.
    mtcpoSpareFlag = 8,
    // 8-bit text fields hold UTF-8 when meeting wide-text fields.
    mtcpoConvertWide = 10,
};
using TztrCopyOptions = EnumSet<TztrCopyOption>;

// What UpdateToDataSet does with a source record: update the destination record with its key,
// append it when no record has its key.
enum TztrUpdateFlag : std::uint8_t {
    mtufEdit = 0,
    mtufAppend = 1,
};
using TztrUpdateFlags = EnumSet<TztrUpdateFlag>;

inline constexpr const char *SAppendAndCopyStructure = "Cannot both append and copy structure.";
