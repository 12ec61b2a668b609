#pragma once

// Walks the records of a table that keeps record versions and reports each record's net change
// since versioning began (inserted, deleted, modified or unmodified) to overridable handlers, for
// example to write the changes into another store.

#include "platform/DBTypes.h"
#include "platform/Variant.h"

#include <functional>

class TField;
class TztrCustomMemTable;
struct TztrRecord;

inline constexpr const char *SDeltaHandlerWithoutTable =
    "A Delta Handler-t nem lehet minden memória táblához kötni.";

class TztrCustomDeltaHandler
{
public:
    using TztrDeltaHandlerGetValue =
        std::function<void(TztrCustomDeltaHandler &handler, TField &field, Variant &value)>;

    TztrCustomDeltaHandler() = default;
    // Leaves the table it serves.
    virtual ~TztrCustomDeltaHandler();
    TztrCustomDeltaHandler(const TztrCustomDeltaHandler &) = delete;
    TztrCustomDeltaHandler &operator=(const TztrCustomDeltaHandler &) = delete;

    // The table whose DeltaHandler this is; set through the table's SetDeltaHandler.
    TztrCustomMemTable *MemTable() const { return table_; }
    // Told by the table when it goes away.
    void Notification(TztrCustomMemTable &removed);

    // Calls StartRecord, then the handler for the record's net status, for every record of the
    // table's store in store order. Raises EMemTableError without a table.
    virtual void ResolveChanges();

    // The record being handled: its current version, and its oldest kept version (the current
    // one when it has no older version).
    TztrRecord *CurrentRecord() const { return current_; }
    TztrRecord *OldestRecord() const { return oldest_; }
    // A field's value in the current (or the oldest) version of the record being handled,
    // passed through OnGetValue.
    Variant Value(TField &field, bool oldest = false);

    TztrDeltaHandlerGetValue OnGetValue;

protected:
    // Setting retry repeats the call; status is free for a descendant's own bookkeeping.
    virtual void StartRecord(bool &retry, TUpdateStatus &status);
    virtual void HandleInserted(bool &retry, TUpdateStatus &status);
    virtual void HandleDeleted(bool &retry, TUpdateStatus &status);
    virtual void HandleModified(bool &retry, TUpdateStatus &status);
    virtual void HandleUnmodified(bool &retry, TUpdateStatus &status);
    virtual void FinishRecord(bool &retry, TUpdateStatus &status);

private:
    friend class TztrCustomMemTable;

    void handle(void (TztrCustomDeltaHandler::*step)(bool &, TUpdateStatus &), TUpdateStatus &status);

    TztrCustomMemTable *table_ = nullptr;
    TztrRecord *current_ = nullptr;
    TztrRecord *oldest_ = nullptr;
};
