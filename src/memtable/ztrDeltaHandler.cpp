#include "memtable/ztrDeltaHandler.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/DB.h"

namespace {

// What a record amounts to since versioning began, judged from its current and oldest versions.
TUpdateStatus netStatus(const TztrRecord &current, const TztrRecord &oldest)
{
    const bool bornInPeriod = oldest.UpdateStatus == usInserted;
    if (current.UpdateStatus == usDeleted)
        return bornInPeriod ? usUnmodified : usDeleted;
    if (bornInPeriod)
        return usInserted;
    return TUpdateStatus(current.UpdateStatus);
}

} // namespace

TztrCustomDeltaHandler::~TztrCustomDeltaHandler()
{
    if (table_)
        table_->SetDeltaHandler(nullptr);
}

void TztrCustomDeltaHandler::Notification(TztrCustomMemTable &removed)
{
    if (&removed == table_)
        table_ = nullptr;
}

void TztrCustomDeltaHandler::StartRecord(bool &, TUpdateStatus &) {}
void TztrCustomDeltaHandler::HandleInserted(bool &, TUpdateStatus &) {}
void TztrCustomDeltaHandler::HandleDeleted(bool &, TUpdateStatus &) {}
void TztrCustomDeltaHandler::HandleModified(bool &, TUpdateStatus &) {}
void TztrCustomDeltaHandler::HandleUnmodified(bool &, TUpdateStatus &) {}
void TztrCustomDeltaHandler::FinishRecord(bool &, TUpdateStatus &) {}

void TztrCustomDeltaHandler::handle(void (TztrCustomDeltaHandler::*step)(bool &, TUpdateStatus &),
                                    TUpdateStatus &status)
{
    bool retry = true;
    while (retry) {
        retry = false;
        (this->*step)(retry, status);
    }
}

void TztrCustomDeltaHandler::ResolveChanges()
{
    if (!table_)
        throw EMemTableError(SDeltaHandlerWithoutTable);
    TztrCustomMemTable &table = *table_;
    const TztrCommon &common = table.Common();
    TztrStoreLock lock(common);
    // Handlers may write elsewhere through the table's store; other views refresh once, later.
    struct Restore
    {
        TztrCustomDeltaHandler &handler;
        TztrCustomMemTable &table;
        bool autoRefresh;
        ~Restore()
        {
            table.SetAttachedAutoRefresh(autoRefresh);
            handler.current_ = nullptr;
            handler.oldest_ = nullptr;
        }
    } restore{*this, table, table.AttachedAutoRefresh()};
    table.SetAttachedAutoRefresh(false);
    for (int recordID = 0; recordID < common.RecordCount(); ++recordID) {
        TztrRecord *record = common.Record(recordID);
        if (!record)
            continue;
        TztrRecord *oldest = record;
        while (oldest->PrevRecordVersion)
            oldest = oldest->PrevRecordVersion;
        current_ = record;
        oldest_ = oldest;
        const TUpdateStatus net = netStatus(*record, *oldest);
        TUpdateStatus status = net;
        handle(&TztrCustomDeltaHandler::StartRecord, status);
        switch (net) {
        case usInserted:
            handle(&TztrCustomDeltaHandler::HandleInserted, status);
            break;
        case usDeleted:
            handle(&TztrCustomDeltaHandler::HandleDeleted, status);
            break;
        case usModified:
            handle(&TztrCustomDeltaHandler::HandleModified, status);
            break;
        case usUnmodified:
            handle(&TztrCustomDeltaHandler::HandleUnmodified, status);
            break;
        }
        handle(&TztrCustomDeltaHandler::FinishRecord, status);
    }
}

Variant TztrCustomDeltaHandler::Value(TField &field, bool oldest)
{
    TztrRecord *version = oldest ? oldest_ : current_;
    if (!table_ || !version)
        return Variant();
    TztrCustomMemTable &table = *table_;
    // Field reads see the chosen version the way a filter test sees a stored record.
    struct Reads
    {
        TztrCustomMemTable &table;
        TDataSetState state;
        TztrRecord *previous;
        ~Reads()
        {
            table.recordUnderTest_ = previous;
            table.RestoreState(state);
        }
    } reads{table, table.SetTempState(dsFilter), table.recordUnderTest_};
    table.recordUnderTest_ = version;
    Variant value = field.AsVariant();
    if (OnGetValue)
        OnGetValue(*this, field, value);
    return value;
}

// ---- The table's side ------------------------------------------------------------------------

void TztrCustomMemTable::SetDeltaHandler(TztrCustomDeltaHandler *handler)
{
    if (handler == deltaHandler_)
        return;
    if (deltaHandler_)
        deltaHandler_->Notification(*this);
    // A handler serves one table at a time.
    if (handler && handler->table_)
        handler->table_->SetDeltaHandler(nullptr);
    deltaHandler_ = handler;
    if (handler)
        handler->table_ = this;
}
