#pragma once

// Finding a table's records by key values.

#include "memtable/ztrFieldList.h"

class TztrCustomMemTable;
struct TztrRecord;

// Tables of this many records or fewer are scanned: a scan is cheaper than keeping an index.
inline constexpr int MaxScannedRecords = 20;

// Finds the first record of the table's current index whose searchList fields equal keyRecord
// (with nearest, the first one not below it). A small or unordered current index is scanned;
// otherwise the last ordered index whose fields begin with the search fields (case sensitivity
// alike) is searched, and with mayAddIndex one is made for the purpose when there is none.
// searchList takes that index's field options. Without such an index an exact search still
// bisects an index on some of the search fields and finds what the scan would. position is a
// place in the current index, found the record at that place.
bool FindIndexAndSearch(TztrCustomMemTable &table, TztrFieldList &searchList, const TztrRecord *keyRecord,
                        int &position, TztrRecord *&found, bool mayAddIndex, bool respectFilter,
                        bool nearest);
