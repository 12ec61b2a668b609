#include "memtable/ztrCommon.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/Field.h"

#include <algorithm>
#include <random>

namespace {

// The store's identity is drawn from one generator for the whole run, seeded once.
std::int32_t randomTableID()
{
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<std::int32_t>{0, 1073741824}(generator);
}

// UniqueRecordID may not run into the end of its range; the table must be reopened first.
constexpr std::int32_t UniqueRecordIDLimit = 2147483600;

} // namespace

TztrCommon::TztrCommon(TztrCustomMemTable *owner) : owner_(owner), attached_(1, nullptr)
{
    drawTableID();
    SetLocaleID(LOCALE_USER_DEFAULT);
}

TztrCommon::~TztrCommon()
{
    // Tables still sharing the store fall back to private stores of their own.
    for (TztrCustomMemTable *table : attached_) {
        if (table && table != owner_)
            table->ownerStoreClosing();
    }
    for (TztrRecord *record : records_)
        layout_.FreeRecord(record, true, true);
}

void TztrCommon::drawTableID()
{
    std::int32_t id = randomTableID();
    while (id == tableID_)
        id = randomTableID();
    tableID_ = id;
}

void TztrCommon::LayoutRecord(const std::vector<TztrFieldSpec> &fields, int calcAreaSize,
                              const TztrSetupFieldHook &setupField)
{
    TztrStoreLock lock(*this);
    layout_.Layout(fields, calcAreaSize, AttachMaxCount(), performance_, setupField);
}

int TztrCommon::FieldAreaOffset(const TField &field) const
{
    if (field.FieldNo() > 0)
        return layout_.FieldOffset(field.FieldNo());
    return layout_.CalcAreaOffset() + field.Offset();
}

TztrRecord *TztrCommon::Record(int recordID) const
{
    if (recordID < 0 || recordID >= RecordCount())
        return nullptr;
    return records_[recordID];
}

void TztrCommon::AddRecord(TztrRecord *record)
{
    TztrStoreLock lock(*this);
    bool freshID = freeIDs_.empty();
    if (freshID) {
        record->RecordID = nextRecordID_++;
        records_.push_back(record);
    } else {
        record->RecordID = freeIDs_.back();
        freeIDs_.pop_back();
        records_[record->RecordID] = record;
    }
    record->UniqueRecordID = nextUniqueRecordID_++;
    record->Flag |= TztrRecord::RecordFlagStored;
    if (enableVersioning_)
        record->UpdateStatus = usInserted;
    if (freshID && nextUniqueRecordID_ >= UniqueRecordIDLimit)
        throw EMemTableFatalError(STooManyBookmarks);
}

void TztrCommon::RemoveRecord(TztrRecord *record)
{
    TztrStoreLock lock(*this);
    freeIDs_.push_back(record->RecordID);
    records_[record->RecordID] = nullptr;
}

void TztrCommon::ClearRecords()
{
    TztrStoreLock lock(*this);
    for (TztrRecord *record : records_)
        layout_.FreeRecord(record, true, true);
    records_.clear();
    freeIDs_.clear();
    nextRecordID_ = 0;
    nextUniqueRecordID_ = 0;
    drawTableID();
}

const std::uint8_t *TztrCommon::IndirectValue(const TztrRecord *record, int fieldNo) const
{
    if (*layout_.FieldNullByte(record, fieldNo) == 0)
        return nullptr;
    if (const std::uint8_t *block = layout_.IndirectBlock(record, fieldNo))
        return block;
    const TztrRecord *stored = Record(record->RecordID);
    // A copy of a deleted record must not show the values of the record that reused its ID.
    if (record->RecordID < 0 || !stored || stored->UniqueRecordID != record->UniqueRecordID)
        throw EMemTableInvalidRecord(SInvalidRecord);
    if (stored == record || *layout_.FieldNullByte(stored, fieldNo) == 0)
        return nullptr;
    return layout_.IndirectBlock(stored, fieldNo);
}

TztrBookmark TztrCommon::BookmarkOf(const TztrRecord *stored) const
{
    return {stored->RecordID, stored->UniqueRecordID, tableID_};
}

TztrRecord *TztrCommon::RecordOfBookmark(const TztrBookmark &bookmark) const
{
    if (bookmark.TableID != tableID_)
        return nullptr;
    TztrRecord *record = Record(bookmark.RecordID);
    if (!record || record->UniqueRecordID != bookmark.UniqueRecordID)
        return nullptr;
    return record;
}

void TztrCommon::SetLocaleID(LCID value)
{
    TztrStoreLock lock(*this);
    localeID_ = value;
    const LCID languageWord = value & 0xFFFF;
    languageID_ = static_cast<int>(languageWord & 0xFF);
    subLanguageID_ = static_cast<int>((languageWord >> 10) & 0xFF);
    sortID_ = static_cast<int>((value >> 16) & 0xF);
}

void TztrCommon::rebuildLocaleID()
{
    localeID_ = static_cast<LCID>(sortID_) * 65536 + static_cast<LCID>(subLanguageID_) * 1024 +
                static_cast<LCID>(languageID_);
}

void TztrCommon::SetLanguageID(int value)
{
    TztrStoreLock lock(*this);
    languageID_ = value;
    rebuildLocaleID();
}

void TztrCommon::SetSubLanguageID(int value)
{
    TztrStoreLock lock(*this);
    subLanguageID_ = value;
    rebuildLocaleID();
}

void TztrCommon::SetSortID(int value)
{
    TztrStoreLock lock(*this);
    sortID_ = value;
    rebuildLocaleID();
}

void TztrCommon::SetAutoIncMinValue(int value)
{
    TztrStoreLock lock(*this);
    autoIncMin_ = value;
    if (value > autoIncMax_)
        autoIncMax_ = std::int64_t{value} - 1;
}

void TztrCommon::SetAutoIncMax(std::int64_t value)
{
    TztrStoreLock lock(*this);
    autoIncMax_ = value;
}

void TztrCommon::SetPerformance(TztrPerformance value)
{
    TztrStoreLock lock(*this);
    performance_ = value;
}

void TztrCommon::SetEnableVersioning(bool value)
{
    TztrStoreLock lock(*this);
    enableVersioning_ = value;
}

void TztrCommon::SetVersioningMode(TztrVersioningMode value)
{
    TztrStoreLock lock(*this);
    versioningMode_ = value;
}

void TztrCommon::IncTransactionLevel()
{
    TztrStoreLock lock(*this);
    ++transactionLevel_;
}

void TztrCommon::CommitTransactionLevel()
{
    TztrStoreLock lock(*this);
    if (transactionLevel_ <= 0)
        return;
    for (TztrRecord *record : records_) {
        for (TztrRecord *version = record; version; version = version->PrevRecordVersion) {
            if (version->TransactionLevel == transactionLevel_)
                version->TransactionLevel = transactionLevel_ - 1;
        }
    }
    --transactionLevel_;
}

void TztrCommon::RollbackTransactionLevel()
{
    TztrStoreLock lock(*this);
    for (std::size_t id = 0; id < records_.size(); ++id) {
        while (records_[id] && records_[id]->TransactionLevel == transactionLevel_) {
            TztrRecord *record = records_[id];
            if (record->UpdateStatus == usInserted) {
                layout_.FreeRecord(record, true, true);
                freeIDs_.push_back(static_cast<std::int32_t>(id));
                records_[id] = nullptr;
            } else if (record->PrevRecordVersion) {
                // The older version takes the slot back and becomes the stored record again.
                TztrRecord *older = record->PrevRecordVersion;
                older->Flag |= TztrRecord::RecordFlagStored;
                records_[id] = older;
                layout_.FreeRecord(record, true, false);
            } else {
                // Unmodified, or changed while nothing kept its older version: nothing to go back to.
                break;
            }
        }
    }
    dataModified_ = std::any_of(records_.begin(), records_.end(), [](const TztrRecord *record) {
        return record && record->UpdateStatus != usUnmodified;
    });
    transactionLevel_ = std::max(0, transactionLevel_ - 1);
}

void TztrCommon::Lock() const
{
    if (!standalone_)
        mutex_.lock();
}

void TztrCommon::Unlock() const
{
    if (!standalone_)
        mutex_.unlock();
}

int TztrCommon::AttachedCount() const
{
    return static_cast<int>(std::count_if(attached_.begin(), attached_.end(),
                                          [](const TztrCustomMemTable *table) { return table != nullptr; }));
}

bool TztrCommon::AnyAttachedActive() const
{
    return std::any_of(attached_.begin(), attached_.end(),
                       [](const TztrCustomMemTable *table) { return table && table->Active(); });
}

void TztrCommon::checkNoActiveTable() const
{
    if (AnyAttachedActive())
        throw EMemTableError(SCloseTableFirst);
}

void TztrCommon::SetAttachMaxCount(int value)
{
    TztrStoreLock lock(*this);
    if (value == AttachMaxCount())
        return;
    if (value < 1)
        throw ERangeError(SInvalidParameter);
    checkNoActiveTable();
    // Places still taken cannot be dropped: their tables would lose their bookmark slots.
    const auto lastTaken = std::find_if(attached_.rbegin(), attached_.rend(),
                                        [](const TztrCustomMemTable *table) { return table != nullptr; });
    if (value < static_cast<int>(attached_.rend() - lastTaken))
        throw ERangeError(SInvalidParameter);
    attached_.resize(static_cast<std::size_t>(value), nullptr);
}

int TztrCommon::AttachTable(TztrCustomMemTable *table)
{
    TztrStoreLock lock(*this);
    const auto freePlace = std::find(attached_.begin(), attached_.end(), nullptr);
    if (freePlace != attached_.end()) {
        *freePlace = table;
        return static_cast<int>(freePlace - attached_.begin());
    }
    checkNoActiveTable();
    attached_.push_back(table);
    return AttachMaxCount() - 1;
}

void TztrCommon::DetachTable(TztrCustomMemTable *table)
{
    TztrStoreLock lock(*this);
    std::replace(attached_.begin(), attached_.end(), table, static_cast<TztrCustomMemTable *>(nullptr));
}

void TztrCommon::SetStandalone(bool value)
{
    // Taken outside the lock: the lock's own use depends on this switch.
    standalone_ = value;
}

void TztrCommon::CloseTables(TztrCustomMemTable *except)
{
    for (TztrCustomMemTable *table : attached_) {
        if (table && table != except && table->Active())
            table->Close();
    }
}

void TztrCommon::RefreshTables(TztrCustomMemTable *except)
{
    for (TztrCustomMemTable *table : attached_) {
        if (table && table != except && table->Active() && table->State() == dsBrowse)
            table->Refresh();
    }
}

void TztrCommon::RebuildAllIndexes()
{
    TztrStoreLock lock(*this);
    for (TztrCustomMemTable *table : attached_) {
        if (table && table->Active())
            table->Indexes().ReBuildAll();
    }
}

void TztrCommon::MarkAllIndexesUnordered()
{
    TztrStoreLock lock(*this);
    for (TztrCustomMemTable *table : attached_) {
        if (table && table->Active())
            table->Indexes().MarkAllUnordered();
    }
}

void TztrCommon::RebuildIndexDefs()
{
    TztrStoreLock lock(*this);
    for (TztrCustomMemTable *table : attached_) {
        if (table && table->Active()) {
            table->rebuildIndexesFromDefs();
            table->Indexes().ReBuildAll();
        }
    }
}

void TztrCommon::ReflectChange(TztrChangeKind kind, TztrRecord *oldRecord, bool versioned, int position,
                               TztrRecord *record, TztrCustomMemTable *caller)
{
    TztrStoreLock lock(*this);
    for (TztrCustomMemTable *table : attached_) {
        if (table && table->Active())
            table->Indexes().ReflectChange(kind, oldRecord, versioned, table == caller ? position : -1, record);
    }
}
