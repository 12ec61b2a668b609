#pragma once

// The memory table engine: tables, the shared record store, indexes, comparison, searching and
// filtering.

#include "memtable/ztrCommon.h"
#include "memtable/ztrCompare.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldList.h"
#include "memtable/ztrIndex.h"
#include "memtable/ztrLocate.h"
#include "memtable/ztrRecord.h"
#include "memtable/ztrStreamFormat.h"
#include "memtable/ztrTypes.h"

// The memory table every table of the application's data is.
class TztrMemTable : public TztrCustomMemTable {
public:
    using TztrCustomMemTable::TztrCustomMemTable;
};
