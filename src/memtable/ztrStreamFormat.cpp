#include "memtable/ztrStreamFormat.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/Classes.h"
#include "platform/Variant.h"

namespace {

// A failing value may be a whole damaged line of megabytes; a message quotes only its start.
std::string shortened(const std::string &message)
{
    constexpr std::size_t longest = 300;
    if (message.size() <= longest)
        return message;
    std::size_t cut = longest;
    // Not inside a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(message[cut]) & 0xC0) == 0x80)
        --cut;
    return message.substr(0, cut) + "...";
}

} // namespace

void rethrowWithContext(const std::string &context)
{
    try {
        throw;
    } catch (const EMemTableDupKey &error) {
        throw EMemTableDupKey(shortened(error.Message()) + context);
    } catch (const EMemTableError &error) {
        throw EMemTableError(shortened(error.Message()) + context);
    } catch (const EDatabaseError &error) {
        throw EDatabaseError(shortened(error.Message()) + context);
    } catch (const EConvertError &error) {
        throw EConvertError(shortened(error.Message()) + context);
    } catch (const ERangeError &error) {
        throw ERangeError(shortened(error.Message()) + context);
    } catch (const EVariantError &error) {
        throw EVariantError(shortened(error.Message()) + context);
    } catch (const EStreamError &error) {
        throw EStreamError(shortened(error.Message()) + context);
    } catch (const Exception &error) {
        throw Exception(shortened(error.Message()) + context);
    }
}

void TztrCustomStreamFormat::Assign(const TztrCustomStreamFormat &source)
{
    flags_ = source.flags_;
}

std::string TztrCustomStreamFormat::GetVersion() const
{
    return "1.00";
}

// ---- table access ----

TztrCustomStreamFormat::StoredRecordReads::StoredRecordReads(TztrCustomMemTable &table, TztrRecord *record)
    : table_(table), state_(table.SetTempState(dsFilter))
{
    table.recordUnderTest_ = record;
    table.RecalcStoredRecord(record);
}

TztrCustomStreamFormat::StoredRecordReads::~StoredRecordReads()
{
    table_.recordUnderTest_ = nullptr;
    table_.RestoreState(state_);
}

// ---- the frame ----

void TztrCustomStreamFormat::releaseStreams()
{
    ownWorkStream_.reset();
    workStream_ = nullptr;
    stream_ = nullptr;
}

void TztrCustomStreamFormat::runSave(TztrCustomMemTable &table, TStream &stream)
{
    stream_ = &stream;
    try {
        BeforeSave(table);
        Save(table);
    } catch (...) {
        // The failure that stopped the save is the one worth reporting.
        try {
            AfterSave(table);
        } catch (...) {
        }
        releaseStreams();
        throw;
    }
    try {
        AfterSave(table);
    } catch (...) {
        releaseStreams();
        throw;
    }
    releaseStreams();
}

void TztrCustomStreamFormat::runLoad(TztrCustomMemTable &table, TStream &stream)
{
    stream_ = &stream;
    try {
        BeforeLoad(table);
        Load(table);
    } catch (...) {
        try {
            AfterLoad(table);
        } catch (...) {
        }
        releaseStreams();
        throw;
    }
    try {
        AfterLoad(table);
    } catch (...) {
        releaseStreams();
        throw;
    }
    releaseStreams();
}

// ---- saving ----

void TztrCustomStreamFormat::DetermineSaveFields(TztrCustomMemTable &table)
{
    const TFields &fields = table.Fields();
    saveMap_.assign(static_cast<std::size_t>(fields.Count()), -1);
    for (int i = 0; i < fields.Count(); ++i) {
        const TField &field = *fields[i];
        int &entry = saveMap_[static_cast<std::size_t>(i)];
        if (isBlobType(field.DataType()) && flags_.blobs.Contains(sfSaveBlobs))
            entry = i;
        switch (field.FieldKind()) {
        case fkAggregate:
            entry = -1;
            break;
        case fkCalculated:
            entry = flags_.calculated.Contains(sfSaveCalculated) ? i : -1;
            break;
        case fkLookup:
            entry = flags_.lookup.Contains(sfSaveLookup) ? i : -1;
            break;
        case fkData:
        case fkInternalCalc:
            if (flags_.data.Contains(sfSaveData))
                entry = i;
            break;
        }
        if (!field.Visible() && !flags_.nonVisible.Contains(sfSaveNonVisible))
            entry = -1;
    }
}

std::optional<std::string_view> TztrCustomStreamFormat::SavedString(const TztrCustomMemTable &table,
                                                                    const TztrRecord *record, const TField &field)
{
    return table.storedStringLocked(record, field);
}

std::optional<std::int32_t> TztrCustomStreamFormat::SavedInteger(const TztrCustomMemTable &table,
                                                                 const TztrRecord *record, const TField &field)
{
    return table.storedIntegerLocked(record, field);
}

void TztrCustomStreamFormat::BeforeSave(TztrCustomMemTable &table)
{
    table.DisableControls();
    saved_.controlsDisabled = true;
    table.Lock();
    saved_.locked = true;
    table.bulkOperation_ = TztrBulkOperation::Save;
    table.Progress(0, mtpcSave);

    saved_.filtered = table.Filtered();
    saved_.masterDetail = table.MasterDetailEnabled();
    saved_.rangeActive = table.RangeActive();
    saved_.filtersRemembered = true;
    // The framework's flag only: the table's own setter would move the cursor.
    if (flags_.filtered.Contains(sfSaveFiltered) && saved_.filtered)
        table.TDataSet::SetFiltered(false);
    if (flags_.ignoreMasterDetail.Contains(sfSaveIgnoreMasterDetail))
        table.SetMasterDetailEnabled(false);
    if (flags_.ignoreRange.Contains(sfSaveIgnoreRange))
        table.SetRangeActive(false);

    if (OnCompress) {
        ownWorkStream_ = std::make_unique<TMemoryStream>();
        workStream_ = ownWorkStream_.get();
    } else {
        workStream_ = stream_;
    }
    if (flags_.append.Contains(sfSaveAppend)) {
        workStream_->Seek(0, soFromEnd);
    } else if (!flags_.append.Contains(sfSaveInsert)) {
        workStream_->SetSize(0);
        workStream_->SetPosition(0);
    }

    DetermineSaveFields(table);
    table.UpdateFilteredState();
}

void TztrCustomStreamFormat::Save(TztrCustomMemTable &table)
{
    if (OnBeforeSave)
        OnBeforeSave(*this);
    SaveDef(table);
    SaveData(table);
    if (OnAfterSave)
        OnAfterSave(*this);
}

void TztrCustomStreamFormat::AfterSave(TztrCustomMemTable &table)
{
    std::exception_ptr failure;
    if (OnCompress && ownWorkStream_)
        afterStep(failure, [&] { OnCompress(table, *ownWorkStream_, *stream_); });
    if (saved_.filtersRemembered) {
        afterStep(failure, [&] { table.SetMasterDetailEnabled(saved_.masterDetail); });
        afterStep(failure, [&] { table.SetRangeActive(saved_.rangeActive); });
        afterStep(failure, [&] { table.SetFiltered(saved_.filtered); });
    }
    if (table.bulkOperation_ == TztrBulkOperation::Save) {
        table.bulkOperation_ = TztrBulkOperation::None;
        afterStep(failure, [&] { table.Progress(100, mtpcSave); });
    }
    if (saved_.locked)
        table.Unlock();
    afterStep(failure, [&] { table.UpdateFilteredState(); });
    if (saved_.controlsDisabled)
        table.EnableControls();
    saved_ = {};
    if (failure)
        std::rethrow_exception(failure);
}

// ---- loading ----

void TztrCustomStreamFormat::DetermineLoadFieldIDs(TztrCustomMemTable &table, std::vector<std::string> &list,
                                                   int)
{
    for (const auto &field : table.Fields())
        list.push_back(field->DisplayName());
}

void TztrCustomStreamFormat::DetermineLoadFieldIndex(TztrCustomMemTable &, const std::string &, int &, int) {}

void TztrCustomStreamFormat::DetermineLoadFields(TztrCustomMemTable &table, int situation)
{
    std::vector<std::string> ids;
    DetermineLoadFieldIDs(table, ids, situation);
    loadMap_.assign(ids.size(), -1);
    const TFields &fields = table.Fields();
    for (std::size_t column = 0; column < ids.size(); ++column) {
        int index = -1;
        DetermineLoadFieldIndex(table, ids[column], index, situation);
        if (index < 0 || index >= fields.Count())
            continue;
        const TField &field = *fields[index];
        bool loaded = true;
        switch (field.FieldKind()) {
        case fkCalculated:
            loaded = flags_.calculated.Contains(sfLoadCalculated);
            break;
        case fkLookup:
            loaded = flags_.lookup.Contains(sfLoadLookup);
            break;
        case fkData:
        case fkInternalCalc:
            loaded = flags_.data.Contains(sfLoadData);
            break;
        case fkAggregate:
            loaded = false;
            break;
        }
        if (isBlobType(field.DataType()) && !flags_.blobs.Contains(sfLoadBlobs))
            loaded = false;
        if (!field.Visible() && !flags_.nonVisible.Contains(sfLoadNonVisible))
            loaded = false;
        loadMap_[column] = loaded ? index : -1;
    }
}

void TztrCustomStreamFormat::BeforeLoad(TztrCustomMemTable &table)
{
    table.DisableControls();
    saved_.controlsDisabled = true;
    table.Lock();
    saved_.locked = true;
    table.bulkOperation_ = TztrBulkOperation::Load;

    saved_.persistent = table.persistent_;
    saved_.enableIndexes = table.EnableIndexes();
    saved_.flagsRemembered = true;
    table.persistent_ = false;
    table.SetEnableIndexes(false);
    table.loading_ = true;
    table.keepLoadedAutoIncValues_ = true;

    if (table.Active() && !table.IsEmpty() && table.AutoReposition())
        saved_.bookmark = table.GetBookmark();
    table.Progress(0, mtpcLoad);

    if (OnDeCompress) {
        ownWorkStream_ = std::make_unique<TMemoryStream>();
        workStream_ = ownWorkStream_.get();
        if (flags_.fromStart.Contains(sfLoadFromStart))
            stream_->SetPosition(0);
        OnDeCompress(table, *stream_, *ownWorkStream_);
        workStream_->SetPosition(0);
    } else {
        workStream_ = stream_;
        if (flags_.fromStart.Contains(sfLoadFromStart))
            workStream_->SetPosition(0);
    }
    DetermineLoadFields(table, 0);
}

void TztrCustomStreamFormat::Load(TztrCustomMemTable &table)
{
    if (OnBeforeLoad)
        OnBeforeLoad(*this);
    LoadDef(table);
    DetermineLoadFields(table, 1);
    if (loadMap_.empty())
        throw EMemTableError(SNoLoadFieldCount);
    LoadData(table);
    if (OnAfterLoad)
        OnAfterLoad(*this);
}

void TztrCustomStreamFormat::AfterLoad(TztrCustomMemTable &table)
{
    std::exception_ptr failure;
    if (saved_.flagsRemembered) {
        table.persistent_ = saved_.persistent;
        table.SetEnableIndexes(saved_.enableIndexes);
        table.loading_ = false;
        table.keepLoadedAutoIncValues_ = false;
    }
    if (saved_.locked) {
        afterStep(failure, [&] {
            table.Common().MarkAllIndexesUnordered();
            table.Common().RebuildAllIndexes();
        });
        table.Unlock();
        afterStep(failure, [&] { table.ClearBuffers(); });
        afterStep(failure, [&] {
            if (!table.Active())
                return;
            if (table.AutoReposition() && !saved_.bookmark.empty() && table.BookmarkValid(saved_.bookmark))
                table.GotoBookmark(saved_.bookmark);
            else
                table.First();
        });
    }
    if (saved_.controlsDisabled)
        table.EnableControls();
    if (table.bulkOperation_ == TztrBulkOperation::Load) {
        afterStep(failure, [&] { table.Progress(100, mtpcLoad); });
        table.bulkOperation_ = TztrBulkOperation::None;
        afterStep(failure, [&] {
            if (table.Active())
                table.Refresh();
        });
    }
    saved_ = {};
    if (failure)
        std::rethrow_exception(failure);
}
