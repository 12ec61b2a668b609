#include "memtable/ztrCustomMemTable.h"

#include "memtable/ztrCompare.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

namespace {

TztrRecord *asRecord(TRecordBuffer buffer)
{
    return reinterpret_cast<TztrRecord *>(buffer);
}

TRecordBuffer asBuffer(TztrRecord *record)
{
    return reinterpret_cast<TRecordBuffer>(record);
}

bool isWritingState(TDataSetState state)
{
    switch (state) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsFilter:
    case dsNewValue:
    case dsInternalCalc:
        return true;
    default:
        return false;
    }
}

// Bytes of a native value worth keeping outside the record: texts up to their terminator,
// length-prefixed values up to their length, anything else whole.
std::uint32_t keptLength(const TField &field, const void *data)
{
    const auto *bytes = static_cast<const char *>(data);
    const auto width = static_cast<std::uint32_t>(field.DataSize());
    switch (field.DataType()) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return static_cast<std::uint32_t>(strnlen(bytes, width > 0 ? width - 1 : 0)) + 1;
    case ftWideString:
        return 4 + std::min(readValue<std::uint32_t>(bytes), width - 4);
    case ftVarBytes:
        return 2 + std::min<std::uint32_t>(readValue<std::uint16_t>(bytes), width - 2);
    default:
        return width;
    }
}

TIndexOptions toIndexOptions(TztrMemTableCompareOptions options)
{
    TIndexOptions result;
    if (options.Contains(mtcoUnique))
        result.Include(ixUnique);
    if (options.Contains(mtcoDescending))
        result.Include(ixDescending);
    if (options.Contains(mtcoCaseInsensitive))
        result.Include(ixCaseInsensitive);
    if (options.Contains(mtcoNonMaintained))
        result.Include(ixNonMaintained);
    return result;
}

// Puts the definitions in field-number order: children behind their parent, an array's children
// once per element.
void addFieldSpecs(const TFieldDefs &definitions, std::vector<TztrFieldSpec> &specs)
{
    for (const auto &definition : definitions) {
        specs.push_back({definition->DataType(), definition->Size(), cp1250ToUtf8(definition->Name()),
                         cp1250ToUtf8(definition->DisplayName())});
        if (!definition->HasChildDefs())
            continue;
        const int repeats = definition->DataType() == ftArray ? definition->Size() : 1;
        for (int i = 0; i < repeats; ++i)
            addFieldSpecs(definition->ChildDefs(), specs);
    }
}

} // namespace

TztrCustomMemTable::TztrCustomMemTable()
    : privateStore_(std::make_unique<TztrCommon>(this)), common_(privateStore_.get()), indexes_(*this)
{
    attachIndex_ = common_->AttachTable(this);
    currentIndex_ = indexes_.RowOrderIndex();
    masterLink_.OnMasterChange = [this](TMasterDataLink &) { MasterChanged(); };
    masterLink_.OnMasterDisable = [this](TMasterDataLink &) { MasterDisabled(); };
}

TztrCustomMemTable::~TztrCustomMemTable()
{
    SetDeltaHandler(nullptr);
    try {
        Close();
    } catch (...) {
        // Nothing can report from here: a persistent table whose save fails closes unsaved, and
        // the file keeps what it held. Callers that must know close the table themselves first.
        SetPersistent(false);
        try {
            Close();
        } catch (...) {
        }
    }
    if (attachedTo_)
        common_->DetachTable(this);
}

// ---- Store sharing -------------------------------------------------------------------------

void TztrCustomMemTable::takePrivateStore()
{
    privateStore_ = std::make_unique<TztrCommon>(this);
    common_ = privateStore_.get();
    attachIndex_ = common_->AttachTable(this);
    attachedTo_ = nullptr;
    currentIndex_ = indexes_.RowOrderIndex();
}

void TztrCustomMemTable::ownerStoreClosing()
{
    Close();
    takePrivateStore();
}

void TztrCustomMemTable::SetAttachedTo(TztrCustomMemTable *table)
{
    if (table == attachedTo_)
        return;
    if (table == this)
        throw EMemTableError(SAttachToSelf);
    Close();
    if (attachedTo_) {
        common_->DetachTable(this);
        takePrivateStore();
    }
    if (!table)
        return;
    if (table->attachedTo_)
        throw EMemTableError(SAttachToAttached);
    // The place in the shared store is taken first, so a refusal leaves the private store.
    const int place = table->common_->AttachTable(this);
    indexes_.Delete(sortIndex_);
    privateStore_.reset();
    common_ = table->common_;
    attachIndex_ = place;
    attachedTo_ = table;
    currentIndex_ = indexes_.RowOrderIndex();
    FieldDefs().Assign(table->FieldDefs());
    for (const auto &source : table->Fields()) {
        if (!FindField(source->FieldName()))
            CopyFieldProperties(*source, *addFieldLike(*source));
    }
}

void TztrCustomMemTable::SetAttachMaxCount(int value)
{
    common_->SetAttachMaxCount(value);
}

void TztrCustomMemTable::SetPerformance(TztrPerformance value)
{
    if (value == common_->Performance())
        return;
    // The layout follows the performance setting, so the records must not exist meanwhile.
    if (common_->AnyAttachedActive())
        throw EMemTableError(SCloseTableFirst);
    common_->SetPerformance(value);
}

void TztrCustomMemTable::SetStandalone(bool value)
{
    if (value == common_->Standalone())
        return;
    if (Active())
        throw EMemTableError(SCloseTableFirst);
    if (attachedTo_)
        throw EMemTableError(SAttachedToAnother);
    if (common_->AttachedCount() >= 2)
        throw EMemTableError(SChildrenAttached);
    common_->SetStandalone(value);
}

void TztrCustomMemTable::SetEnableVersioning(bool value)
{
    common_->SetEnableVersioning(value);
    UpdateFilteredState();
}

void TztrCustomMemTable::SetLocaleID(int value)
{
    changeLocale([&] { common_->SetLocaleID(static_cast<LCID>(value)); });
}

void TztrCustomMemTable::SetLanguageID(int value)
{
    changeLocale([&] { common_->SetLanguageID(value); });
}

void TztrCustomMemTable::SetSubLanguageID(int value)
{
    changeLocale([&] { common_->SetSubLanguageID(value); });
}

void TztrCustomMemTable::SetSortID(int value)
{
    changeLocale([&] { common_->SetSortID(value); });
}

void TztrCustomMemTable::changeLocale(const std::function<void()> &change)
{
    const LCID old = common_->LocaleID();
    change();
    if (common_->LocaleID() != old)
        resortIndexes([&] { common_->SetLocaleID(old); }, true);
}

void TztrCustomMemTable::SetOnCompareFields(TztrOnCompareFields handler)
{
    TztrOnCompareFields old = std::exchange(onCompareFields_, std::move(handler));
    resortIndexes([&] { onCompareFields_ = std::move(old); }, false);
}

// ---- Indexes -------------------------------------------------------------------------------

void TztrCustomMemTable::resortIndexes(const std::function<void()> &undoChange, bool wholeStore)
{
    std::vector<std::pair<TztrCustomMemTable *, int>> currents;
    for (TztrCustomMemTable *table : common_->AttachedTables()) {
        if (table && table->Active() && (wholeStore || table == this))
            currents.emplace_back(table, table->IsEmpty() ? -1 : asRecord(table->ActiveBuffer())->RecordID);
    }
    // An index sorted under the old comparison would be bisected in the wrong order.
    auto sortAll = [&] {
        for (const auto &[table, recordID] : currents) {
            table->indexes_.MarkAllUnordered();
            table->indexes_.ReBuildAll();
        }
    };
    std::exception_ptr failure;
    try {
        sortAll();
    } catch (...) {
        failure = std::current_exception();
        undoChange();
        sortAll();
    }
    for (const auto &[table, recordID] : currents)
        table->keepRecordAfterResort(recordID);
    if (failure)
        std::rethrow_exception(failure);
}

void TztrCustomMemTable::keepRecordAfterResort(int recordID)
{
    int place = -1;
    const bool found = recordID >= 0 && currentIndex_->SearchRecordID(recordID, place);
    position_ = found ? place : -1;
    if (State() != dsBrowse)
        return;
    if (!found) {
        First();
        return;
    }
    CursorPosChanged();
    Resync({});
}

void TztrCustomMemTable::IndexRemoved(TztrIndex *index)
{
    if (currentIndex_ == index) {
        currentIndex_ = indexes_.RowOrderIndex();
        indexFieldList_.Clear();
    }
    if (sortIndex_ == index)
        sortIndex_ = nullptr;
}

void TztrCustomMemTable::SetIndexFieldNames(const std::string &fieldNames)
{
    if (!Active()) {
        indexFieldNames_ = fieldNames;
        return;
    }
    if (fieldNames.empty()) {
        SwitchToIndex(nullptr);
        return;
    }
    if (TztrIndex *index = indexes_.GetByFieldNames(fieldNames))
        SwitchToIndex(index);
}

void TztrCustomMemTable::SetIndexName(const std::string &name)
{
    if (!Active()) {
        indexName_ = name;
        return;
    }
    if (name.empty()) {
        SwitchToIndex(nullptr);
        return;
    }
    if (TztrIndex *index = indexes_.IndexByName(name))
        SwitchToIndex(index);
}

void TztrCustomMemTable::selectIndex(TztrIndex *index)
{
    TztrIndex *target = index ? index : indexes_.RowOrderIndex();
    if (!target->IsOrdered())
        target->Rebuild();
    currentIndex_ = target;
    const bool named = target != indexes_.RowOrderIndex() && target != sortIndex_;
    indexFieldNames_ = named ? target->FieldNames() : std::string();
    indexName_ = named ? target->Name() : std::string();
    target->FieldList().AssignTo(indexFieldList_);
    if (position_ >= target->Count())
        position_ = target->Count() - 1;
    // A detail without DetailFields is keyed by its index: a new index, a new key.
    fillMasterKey();
}

void TztrCustomMemTable::SwitchToIndex(TztrIndex *index)
{
    TztrIndex *target = index ? index : indexes_.RowOrderIndex();
    if (target == currentIndex_)
        return;
    if (!Active()) {
        selectIndex(target);
        return;
    }
    CheckBrowseMode();
    const int recordID = IsEmpty() ? -1 : asRecord(ActiveBuffer())->RecordID;
    UpdateCursorPos();
    selectIndex(target);
    int place = 0;
    if (recordID >= 0 && target->SearchRecordID(recordID, place) &&
        (!mustFilter_ || FilterRecord(target->Entry(place), false))) {
        position_ = place;
        Resync({});
    } else {
        First();
    }
}

void TztrCustomMemTable::AddIndex(const std::string &name, const std::string &fields, TIndexOptions options)
{
    AddIndex2(name, fields, IndexOptionsToCompareOptions(options), {usUnmodified, usModified, usInserted});
}

void TztrCustomMemTable::AddIndex2(const std::string &name, const std::string &fields,
                                   TztrMemTableCompareOptions options, TztrUpdateStatusSet statuses)
{
    if (name.empty() || fields.empty())
        throw EMemTableError(SMissingIndexFields);
    TIndexDef *definition = IndexDefs().Add(name, fields, toIndexOptions(options));
    if (!Active())
        return;
    TztrIndex *index = nullptr;
    try {
        auto created = std::make_unique<TztrIndex>(name, *this, fields, options, TztrIndex::Kind::Sorted);
        created->SetStatusSet(statuses);
        index = indexes_.Add(std::move(created));
        index->Rebuild();
    } catch (...) {
        // A refused index (unknown field, duplicate keys) leaves neither index nor definition.
        indexes_.Delete(index);
        IndexDefs().Delete(IndexDefs().IndexOf(definition->Name()));
        throw;
    }
}

void TztrCustomMemTable::SortOn(const std::string &fieldNames, TztrMemTableCompareOptions options)
{
    CheckActive();
    CheckBrowseMode();
    // The range stays out of the way while the new order takes the cursor over.
    const bool ranged = rangeActive_;
    SetRangeActive(false);
    TztrIndex *sorted = nullptr;
    if (!SplitFieldNames(fieldNames).empty()) {
        sorted = indexes_.Add(
            std::make_unique<TztrIndex>(DefaultSortIndexName, *this, fieldNames, options, TztrIndex::Kind::Sorted));
        try {
            sorted->Rebuild();
        } catch (...) {
            indexes_.Delete(sorted);
            SetRangeActive(ranged);
            throw;
        }
    }
    sortFields_ = fieldNames;
    sortOptions_ = options;
    // The old sort index goes only after the switch, so the cursor can still find its record.
    TztrIndex *previous = sortIndex_;
    sortIndex_ = sorted;
    SwitchToIndex(sorted);
    indexes_.Delete(previous);
    if (ranged) {
        SetRangeActive(true);
        First();
    }
}

void TztrCustomMemTable::rebuildIndexesFromDefs()
{
    indexes_.Clear();
    sortIndex_ = nullptr;
    currentIndex_ = indexes_.RowOrderIndex();
    indexFieldList_.Clear();
    for (const auto &definition : IndexDefs())
        indexes_.AddIndex(*definition);
}

bool TztrCustomMemTable::GetIsIndexField(const TField *field) const
{
    return indexFieldList_.IndexOf(field) >= 0;
}

void TztrCustomMemTable::RecalcStoredRecord(TztrRecord *record)
{
    if (CalcFieldsSize() > 0)
        GetCalcFields(asBuffer(record));
}

// ---- Filtering -----------------------------------------------------------------------------

bool TztrCustomMemTable::MoveToNextAccepted(bool forceUseFilter)
{
    const int count = currentIndex_->Count();
    if (forceUseFilter || mustFilter_) {
        // Held over the whole scan: the filter reads the records it passes without locking each.
        const TztrStoreLock lock(*common_);
        // A filter of field = value reaches its records through an index; a forced search scans.
        const std::optional<bool> moved = forceUseFilter ? std::nullopt : indexedFilter_.StepForward(position_);
        if (moved)
            return *moved;
        for (int i = std::max(position_ + 1, 0); i < count; ++i) {
            if (FilterRecord(currentIndex_->Entry(i), forceUseFilter)) {
                position_ = i;
                return true;
            }
        }
        return false;
    }
    if (position_ >= count - 1)
        return false;
    position_ = std::max(position_ + 1, 0);
    return true;
}

bool TztrCustomMemTable::MoveToPriorAccepted(bool forceUseFilter)
{
    const int start = std::min(position_, currentIndex_->Count());
    if (forceUseFilter || mustFilter_) {
        const TztrStoreLock lock(*common_);
        const std::optional<bool> moved = forceUseFilter ? std::nullopt : indexedFilter_.StepBack(position_);
        if (moved)
            return *moved;
        // The position moves only once a record is accepted, so a failing filter leaves it.
        int i = start - 1;
        while (i >= 0 && !FilterRecord(currentIndex_->Entry(i), forceUseFilter))
            --i;
        position_ = i;
        return i >= 0;
    }
    if (start <= 0)
        return false;
    position_ = start - 1;
    return true;
}

bool TztrCustomMemTable::FindRecord(bool restart, bool goForward)
{
    CheckBrowseMode();
    DoBeforeScroll();
    SetFound(false);
    UpdateCursorPos();
    CursorPosChanged();
    bool found;
    if (goForward) {
        if (restart)
            position_ = -1;
        found = MoveToNextAccepted(true);
    } else {
        if (restart)
            position_ = currentIndex_->Count();
        found = MoveToPriorAccepted(true);
    }
    if (found) {
        Resync({rmExact, rmCenter});
        SetFound(true);
        DoAfterScroll();
    }
    return found;
}

// ---- Opening and closing -------------------------------------------------------------------

void TztrCustomMemTable::InternalInitFieldDefs()
{
    if (attachedTo_) {
        FieldDefs().Assign(attachedTo_->FieldDefs());
        return;
    }
    if (Fields().Count() == 0)
        return;
    // Persistent fields describe the data themselves.
    FieldDefs().Clear();
    for (const auto &field : Fields()) {
        if (field->FieldKind() != fkData && field->FieldKind() != fkInternalCalc)
            continue;
        TFieldDef *definition = FieldDefs().Add(field->FieldName(), field->DataType(), field->Size(), field->Required());
        definition->SetInternalCalcField(field->FieldKind() == fkInternalCalc);
        if (const auto *bcd = dynamic_cast<const TBCDField *>(field.get()))
            definition->SetPrecision(bcd->Precision());
    }
}

std::vector<TztrFieldSpec> TztrCustomMemTable::fieldSpecs() const
{
    std::vector<TztrFieldSpec> specs;
    addFieldSpecs(FieldDefs(), specs);
    return specs;
}

void TztrCustomMemTable::InternalOpen()
{
    TztrStoreLock lock(*common_);
    if (attachedTo_ && !attachedTo_->Active())
        attachedTo_->Open();
    InternalInitFieldDefs();
    if (Fields().Count() == 0) {
        if (FieldDefs().Count() == 0)
            throw EMemTableError(SNoFields);
        // Before the framework refuses such a type in words of its own.
        CheckStorableFields(fieldSpecs());
        CreateFields();
    }
    BindFields(true);
    if (attachedTo_ && CalcFieldsSize() > common_->Layout().CalcAreaSize()) {
        // The shared records were laid out for the owner's calculated fields only.
        throw EMemTableError(SCalcFieldsDoNotFit);
    }
    if (!attachedTo_) {
        common_->LayoutRecord(fieldSpecs(), CalcFieldsSize(), [this](int fieldNo, std::uint8_t &flags) {
            if (OnSetupField) {
                if (TField *field = FieldByNumber(fieldNo))
                    OnSetupField(*this, field, flags);
            }
        });
    }
    SetBookmarkSize(sizeof(TztrBookmark));
    cursorOpen_ = true;
    position_ = -1;
    repositionPlace_ = -1;
    beforeInsertPosition_ = -1;
    rebuildIndexesFromDefs();
    indexes_.ReBuildAll();
    autoIncField_ = nullptr;
    for (const auto &field : Fields()) {
        if (field->DataType() == ftAutoInc) {
            autoIncField_ = field.get();
            break;
        }
    }
    if (!attachedTo_)
        common_->SetAutoIncMax(std::int64_t{common_->AutoIncMinValue()} - 1);
    BuildFieldList(*this, detailFieldList_, detailFields_);
    compiledFilters_.Clear();
    compileFilter();
    UpdateFilteredState();
}

void TztrCustomMemTable::DoAfterOpen()
{
    TztrIndex *index = nullptr;
    if (!indexFieldNames_.empty())
        index = indexes_.GetByFieldNames(indexFieldNames_);
    else if (!indexName_.empty())
        index = indexes_.IndexByName(indexName_);
    selectIndex(index);
    loadFormData();
    PersistentLoadOnOpen();
    UpdateFilteredState();
    // An opened table stands on its first record before anyone hears of the opening.
    ClearBuffers();
    InternalFirst();
    GetNextRecords();
    SetBof(true);
    TDataSet::DoAfterOpen();
}

void TztrCustomMemTable::SetActive(bool active)
{
    if (active && refuseOpen_)
        return;
    if (!active && Active())
        PersistentSaveOnClose();
    TDataSet::SetActive(active);
}

void TztrCustomMemTable::DoBeforeClose()
{
    if (State() == dsEdit || State() == dsInsert)
        Cancel();
    TDataSet::DoBeforeClose();
}

void TztrCustomMemTable::InternalClose()
{
    TztrStoreLock lock(*common_);
    if (!attachedTo_) {
        common_->CloseTables(this);
        common_->ClearRecords();
    }
    position_ = -1;
    indexes_.EmptyAll();
    currentIndex_ = indexes_.RowOrderIndex();
    cursorOpen_ = false;
    freeScratchRecords();
    detailFieldList_.Clear();
    compiledFilters_.Clear();
    BindFields(false);
    if (DefaultFields())
        DestroyFields();
}

void TztrCustomMemTable::EmptyTable()
{
    Progress(0, mtpcEmpty);
    DisableControls();
    try {
        TztrStoreLock lock(*common_);
        // Every pending edit is posted or refused before anything goes, so that a refusal leaves
        // all tables as they were.
        for (TztrCustomMemTable *table : common_->AttachedTables()) {
            if (table && table->Active())
                table->CheckBrowseMode();
        }
        for (TztrCustomMemTable *table : common_->AttachedTables()) {
            if (!table || !table->Active())
                continue;
            table->ClearBuffers();
            table->DataEvent(deDataSetChange, 0);
            table->indexes_.EmptyAll();
            table->position_ = -1;
        }
        common_->ClearRecords();
        common_->RebuildAllIndexes();
    } catch (...) {
        EnableControls();
        throw;
    }
    EnableControls();
    Progress(100, mtpcEmpty);
}

// ---- Record buffers ------------------------------------------------------------------------

TRecordBuffer TztrCustomMemTable::AllocRecordBuffer()
{
    return asBuffer(common_->Layout().AllocateRecord());
}

void TztrCustomMemTable::FreeRecordBuffer(TRecordBuffer &buffer)
{
    common_->Layout().FreeRecord(asRecord(buffer), true, false);
    buffer = nullptr;
}

int TztrCustomMemTable::GetRecordSize() const
{
    return common_->Layout().RecordSize();
}

void TztrCustomMemTable::InternalInitRecord(TRecordBuffer buffer)
{
    const TztrRecordLayout &layout = common_->Layout();
    layout.FreeIndirectValues(asRecord(buffer));
    layout.InitialiseRecord(asRecord(buffer));
}

void TztrCustomMemTable::ClearCalcFields(TRecordBuffer buffer)
{
    const TztrRecordLayout &layout = common_->Layout();
    std::memset(asRecord(buffer)->Data() + layout.CalcAreaOffset(), 0, static_cast<std::size_t>(layout.CalcAreaSize()));
}

void TztrCustomMemTable::fillBuffer(TztrRecord *buffer, TztrRecord *stored)
{
    const TztrRecordLayout &layout = common_->Layout();
    layout.FreeIndirectValues(buffer);
    layout.InitialiseRecord(buffer);
    layout.CopyRecord(stored, buffer);
    buffer->RecordNo = position_;
    layout.SetBookmarkSlot(buffer, attachIndex_, {common_->BookmarkOf(stored), bfCurrent});
    if (recalcOnFetch_ && CalcFieldsSize() > 0)
        GetCalcFields(asBuffer(buffer));
}

TztrRecord *TztrCustomMemTable::currentEntry(int position) const
{
    if (position == found_.position && found_.entriesVersion == currentIndex_->EntriesVersion())
        return found_.record;
    return currentIndex_->Entry(position);
}

TGetResult TztrCustomMemTable::GetRecord(TRecordBuffer buffer, TGetMode getMode, bool)
{
    TztrStoreLock lock(*common_);
    TGetResult result = grOK;
    switch (getMode) {
    case gmCurrent:
        if (position_ < 0)
            result = grBOF;
        else if (position_ >= currentIndex_->Count())
            result = grEOF;
        else if (mustFilter_ && !FilterRecord(currentEntry(position_), false))
            result = grEOF;
        break;
    case gmNext:
        result = MoveToNextAccepted(false) ? grOK : grEOF;
        break;
    case gmPrior:
        result = MoveToPriorAccepted(false) ? grOK : grBOF;
        break;
    }
    if (result == grOK)
        fillBuffer(asRecord(buffer), currentEntry(position_));
    else if (getMode == gmCurrent)
        result = grError;
    return result;
}

// ---- Bookmarks -----------------------------------------------------------------------------

void TztrCustomMemTable::GetBookmarkData(TRecordBuffer buffer, void *data)
{
    const TztrBookmark bookmark = common_->Layout().BookmarkSlot(asRecord(buffer), attachIndex_).Bookmark;
    std::memcpy(data, &bookmark, sizeof(bookmark));
}

void TztrCustomMemTable::SetBookmarkData(TRecordBuffer buffer, const void *data)
{
    const TztrRecordLayout &layout = common_->Layout();
    TztrBookmarkSlot slot = layout.BookmarkSlot(asRecord(buffer), attachIndex_);
    std::memcpy(&slot.Bookmark, data, sizeof(slot.Bookmark));
    layout.SetBookmarkSlot(asRecord(buffer), attachIndex_, slot);
}

TBookmarkFlag TztrCustomMemTable::GetBookmarkFlag(TRecordBuffer buffer)
{
    return TBookmarkFlag(common_->Layout().BookmarkSlot(asRecord(buffer), attachIndex_).Flag);
}

void TztrCustomMemTable::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag)
{
    const TztrRecordLayout &layout = common_->Layout();
    TztrBookmarkSlot slot = layout.BookmarkSlot(asRecord(buffer), attachIndex_);
    slot.Flag = flag;
    layout.SetBookmarkSlot(asRecord(buffer), attachIndex_, slot);
}

TztrBookmark TztrCustomMemTable::bookmarkOf(const TBookmark &bookmark) const
{
    TztrBookmark result{-1, -1, -1};
    if (bookmark.size() == sizeof(result))
        std::memcpy(&result, bookmark.data(), sizeof(result));
    return result;
}

bool TztrCustomMemTable::BookmarkValid(const TBookmark &bookmark)
{
    TztrStoreLock lock(*common_);
    return Active() && common_->RecordOfBookmark(bookmarkOf(bookmark)) != nullptr;
}

int TztrCustomMemTable::CompareBookmarks(const TBookmark &a, const TBookmark &b)
{
    TztrStoreLock lock(*common_);
    const TztrRecord *first = common_->RecordOfBookmark(bookmarkOf(a));
    const TztrRecord *second = common_->RecordOfBookmark(bookmarkOf(b));
    if (!first || !second)
        return 0;
    int result = 0;
    if (!currentIndex_->IsRowOrder()) {
        result = currentIndex_->CompareIndexRecords(indexFieldList_, first, second, false, true);
        if (result == 0)
            result = first->RecordNo - second->RecordNo;
    }
    if (result == 0)
        result = first->RecordID - second->RecordID;
    return (result > 0) - (result < 0);
}

void TztrCustomMemTable::InternalGotoBookmark(const void *bookmark)
{
    TztrBookmark target;
    std::memcpy(&target, bookmark, sizeof(target));
    TztrStoreLock lock(*common_);
    const TztrRecord *record = common_->RecordOfBookmark(target);
    if (!record)
        throw EMemTableError(bookmarkNotFoundMessage(-200));
    int place = 0;
    if (currentIndex_->SearchRecord(record, place))
        position_ = place;
}

void TztrCustomMemTable::InternalSetToRecord(TRecordBuffer buffer)
{
    const TztrRecord *record = asRecord(buffer);
    if (record->RecordNo != -1) {
        position_ = record->RecordNo;
        return;
    }
    const TztrBookmark bookmark = common_->Layout().BookmarkSlot(record, attachIndex_).Bookmark;
    InternalGotoBookmark(&bookmark);
}

// ---- Navigation and counting ---------------------------------------------------------------

void TztrCustomMemTable::InternalLast()
{
    position_ = currentIndex_->Count();
}

int TztrCustomMemTable::GetRecordCount() const
{
    CheckActive();
    if (!mustFilter_)
        return currentIndex_->Count();
    // Counting runs the record filter, which steps the cursor; it is put back afterwards.
    auto &self = const_cast<TztrCustomMemTable &>(*this);
    TztrStoreLock lock(*common_);
    const int saved = self.position_;
    self.position_ = -1;
    int count = 0;
    try {
        while (self.MoveToNextAccepted(false))
            ++count;
    } catch (...) {
        self.position_ = saved;
        throw;
    }
    self.position_ = saved;
    return count;
}

void TztrCustomMemTable::SetBlockReadSize(int size)
{
    if (size > 0 || size < -1 || !Active()) {
        TDataSet::SetBlockReadSize(std::max(size, 0));
        return;
    }
    // Leaving block reading: the cursor stands where the last block ended, not on the buffers.
    TDataSet::SetBlockReadSize(0);
    CursorPosChanged();
    Resync({});
}

int TztrCustomMemTable::GetRecNo() const
{
    const TDataSetState state = State();
    if (state != dsBrowse && state != dsEdit && state != dsInsert)
        return -1;
    if (IsEmpty() || !ActiveBuffer())
        return -1;
    const int recordNo = reinterpret_cast<const TztrRecord *>(ActiveBuffer())->RecordNo;
    return recordNo >= 0 ? recordNo + 1 : -1;
}

void TztrCustomMemTable::SetRecNo(int recNo)
{
    CheckActive();
    if (recNo == RecNo() || recNo < 1 || recNo > currentIndex_->Count())
        return;
    if (mustFilter_) {
        MoveBy(recNo - RecNo());
        return;
    }
    CheckBrowseMode();
    DoBeforeScroll();
    position_ = recNo - 1;
    Resync({});
    DoAfterScroll();
}

void TztrCustomMemTable::GotoCurrent(TztrCustomMemTable &other)
{
    TztrStoreLock lock(*common_);
    int place = 0;
    const TztrRecord *active = other.IsEmpty() ? nullptr : asRecord(other.ActiveBuffer());
    if (!active || &other.Common() != common_ || !currentIndex_->SearchRecordID(active->RecordID, place) ||
        (mustFilter_ && !FilterRecord(currentIndex_->Entry(place), false)))
        throw Exception(SCurrentRecordNotFound);
    CheckBrowseMode();
    position_ = place;
    Resync({rmExact, rmCenter});
}

// ---- Field data ----------------------------------------------------------------------------

TztrRecord *TztrCustomMemTable::activeRecord()
{
    if (recordUnderTest_)
        return recordUnderTest_;
    switch (State()) {
    case dsBrowse:
        return IsEmpty() ? nullptr : asRecord(ActiveBuffer());
    case dsEdit:
    case dsInsert:
    case dsNewValue:
    case dsCurValue:
    case dsBlockRead:
        return asRecord(ActiveBuffer());
    case dsCalcFields:
    case dsInternalCalc:
        return asRecord(CalcBuffer());
    case dsOldValue: {
        TztrRecord *buffer = asRecord(ActiveBuffer());
        TztrRecord *oldest = buffer ? common_->Record(buffer->RecordID) : nullptr;
        if (!oldest || oldest->UniqueRecordID != buffer->UniqueRecordID)
            return buffer;
        while (oldest->PrevRecordVersion)
            oldest = oldest->PrevRecordVersion;
        return oldest;
    }
    default:
        return nullptr;
    }
}

TztrRecord *TztrCustomMemTable::storedRecordOf(const TztrRecord *buffer) const
{
    TztrRecord *stored = buffer ? common_->Record(buffer->RecordID) : nullptr;
    // Freed IDs are reused, so the slot may hold a newer record than the one the buffer shows.
    if (!stored || stored->UniqueRecordID != buffer->UniqueRecordID)
        throw EMemTableInvalidRecord(SInvalidRecord);
    return stored;
}

void TztrCustomMemTable::readFieldValue(const TztrRecord *record, TField *field, void *buffer)
{
    const int fieldNo = field->FieldNo();
    const TztrRecordLayout &layout = common_->Layout();
    const auto width = static_cast<std::size_t>(field->DataSize());
    if (fieldNo <= 0 || !layout.IsIndirect(fieldNo)) {
        std::memcpy(buffer, common_->FieldNullByte(record, *field) + 1, width);
        return;
    }
    const std::uint8_t *block = common_->IndirectValue(record, fieldNo);
    std::string_view value = block ? ValueBlock::view(block) : std::string_view();
    std::string decompressed;
    if (block && layout.IsCompressed(fieldNo) && OnDecompressField) {
        decompressed.assign(value);
        OnDecompressField(*this, field, decompressed);
        value = decompressed;
    }
    const std::size_t copied = std::min(value.size(), width);
    std::memcpy(buffer, value.data(), copied);
    std::memset(static_cast<std::uint8_t *>(buffer) + copied, 0, width - copied);
}

bool TztrCustomMemTable::StringReadInPlace(const TField &field) const
{
    const int fieldNo = field.FieldNo();
    return field.FieldKind() == fkData && fieldNo > 0 && field.DataType() == ftString &&
           !(common_->Layout().IsIndirect(fieldNo) && common_->Layout().IsCompressed(fieldNo) && OnDecompressField);
}

bool TztrCustomMemTable::IntegerReadInPlace(const TField &field) const
{
    const int fieldNo = field.FieldNo();
    return field.FieldKind() == fkData && fieldNo > 0 && field.DataType() == ftInteger &&
           !common_->Layout().IsIndirect(fieldNo);
}

std::optional<std::int32_t> TztrCustomMemTable::storedIntegerLocked(const TztrRecord *record,
                                                                    const TField &field) const
{
    const std::uint8_t *nullByte = common_->Layout().FieldNullByte(record, field.FieldNo());
    if (*nullByte == 0)
        return std::nullopt;
    std::int32_t value = 0;
    std::memcpy(&value, nullByte + 1, sizeof value);
    return value;
}

std::optional<std::string_view> TztrCustomMemTable::storedStringLocked(const TztrRecord *record,
                                                                       const TField &field) const
{
    const std::uint8_t *nullByte = common_->Layout().FieldNullByte(record, field.FieldNo());
    if (*nullByte == 0)
        return std::nullopt;
    const auto width = static_cast<std::size_t>(field.DataSize());
    std::string_view value;
    if (!common_->Layout().IsIndirect(field.FieldNo())) {
        value = std::string_view(reinterpret_cast<const char *>(nullByte + 1), width);
    } else if (const std::uint8_t *block = common_->IndirectValue(record, field.FieldNo())) {
        value = ValueBlock::view(block).substr(0, width);
    }
    // The stored form ends where its zero padding begins, as a copy read through the field does.
    return value.substr(0, NativeTextLength(value.data(), value.size()));
}

bool TztrCustomMemTable::GetFieldData(TField *field, void *buffer)
{
    TztrStoreLock lock(*common_);
    const TztrRecord *record = activeRecord();
    if (!record || *common_->FieldNullByte(record, *field) == 0)
        return false;
    if (buffer && !field->IsBlob())
        readFieldValue(record, field, buffer);
    return true;
}

void TztrCustomMemTable::writeFieldValue(TztrRecord *record, TField *field, const void *buffer)
{
    const int fieldNo = field->FieldNo();
    const TztrRecordLayout &layout = common_->Layout();
    std::uint8_t *nullByte = common_->FieldNullByte(record, *field);
    if (fieldNo <= 0 || !layout.IsIndirect(fieldNo)) {
        const auto width = static_cast<std::size_t>(field->DataSize());
        if (buffer)
            std::memcpy(nullByte + 1, buffer, width);
        else
            std::memset(nullByte + 1, 0, width);
        *nullByte = buffer ? NullByteValue : 0;
        return;
    }
    if (buffer && field->IsBlob())
        return; // blob values are written through their streams
    std::uint8_t *block = nullptr;
    if (buffer) {
        const auto *bytes = static_cast<const char *>(buffer);
        const std::size_t length = keptLength(*field, buffer);
        if (layout.IsCompressed(fieldNo) && OnCompressField) {
            std::string kept(bytes, length);
            OnCompressField(*this, field, kept);
            block = ValueBlock::makeFrom(kept.data(), static_cast<std::uint32_t>(kept.size()));
        } else {
            block = ValueBlock::makeFrom(bytes, static_cast<std::uint32_t>(length));
        }
    }
    ValueBlock::free(layout.IndirectBlock(record, fieldNo));
    layout.SetIndirectBlock(record, fieldNo, block);
    *nullByte = buffer ? NullByteValue : 0;
}

void TztrCustomMemTable::SetFieldData(TField *field, const void *buffer)
{
    const TDataSetState state = State();
    if (!cursorOpen_ || !isWritingState(state))
        DatabaseError(SNotInEditMode, this);
    if ((readOnly_ || field->ReadOnly()) && !Loading() && state != dsSetKey && state != dsCalcFields)
        DatabaseError(readOnlyFieldMessage(cp1250ToUtf8(field->DisplayName())), this);
    TztrStoreLock lock(*common_);
    TztrRecord *record = activeRecord();
    if (!record)
        DatabaseError(SNotInEditMode, this);
    if (state == dsSetKey) {
        // A search key is no record of the table: nobody validates or hears of its values.
        writeFieldValue(record, field, buffer);
        return;
    }
    const TFieldKind kind = field->FieldKind();
    if (kind == fkData || kind == fkCalculated || kind == fkInternalCalc)
        field->Validate(buffer);
    writeFieldValue(record, field, buffer);
    if (field->FieldNo() > 0)
        common_->Layout().MarkWritten(field->FieldNo());
    if (state != dsCalcFields && state != dsFilter && state != dsNewValue)
        DataEvent(deFieldChange, reinterpret_cast<TDataEventInfo>(field));
}

TUpdateStatus TztrCustomMemTable::UpdateStatus()
{
    const TztrRecord *record = activeRecord();
    return record ? TUpdateStatus(record->UpdateStatus) : TDataSet::UpdateStatus();
}

// ---- Changes -------------------------------------------------------------------------------

void TztrCustomMemTable::DoBeforeInsert()
{
    beforeInsertPosition_ = IsEmpty() || !ActiveBuffer() ? -1 : asRecord(ActiveBuffer())->RecordNo;
    TDataSet::DoBeforeInsert();
}

void TztrCustomMemTable::keepPreviousVersion(TztrRecord *stored, bool always)
{
    if (always || !stored->PrevRecordVersion)
        stored->PrevRecordVersion = common_->Layout().DuplicateRecord(stored, true);
}

void TztrCustomMemTable::insertRecord(TztrRecord *buffer, bool append)
{
    for (TztrCustomMemTable *table : common_->AttachedTables()) {
        if (table && table->Active())
            table->indexes_.CheckRecordUniqueness(buffer, nullptr);
    }
    // The stored record takes the buffer's value blocks rather than copies of them; the buffer,
    // refilled after posting, shows them through its record ID until then.
    const TztrRecordLayout &layout = common_->Layout();
    TztrRecord *stored = layout.DuplicateRecord(buffer, false);
    layout.MoveIndirectValues(buffer, stored);
    try {
        storeNewRecord(stored, append ? -1 : beforeInsertPosition_);
    } catch (...) {
        // The insert stays open with the values typed into it.
        layout.DuplicateIndirectValues(stored, buffer);
        throw;
    }
    buffer->RecordID = stored->RecordID;
    buffer->UniqueRecordID = stored->UniqueRecordID;
}

void TztrCustomMemTable::storeNewRecord(TztrRecord *stored, int position)
{
    stored->RecordNo = -1;
    std::exception_ptr fatal;
    try {
        common_->AddRecord(stored);
    } catch (const EMemTableFatalError &) {
        // The record is stored all the same; the indexes must learn of it before the error leaves.
        fatal = std::current_exception();
    }
    stored->TransactionLevel = common_->TransactionLevel();
    common_->ReflectChange(TztrChangeKind::Insert, nullptr, false, position, stored, this);
    common_->SetDataModified(true);
    if (fatal)
        std::rethrow_exception(fatal);
}

void TztrCustomMemTable::postEdit(TztrRecord *buffer)
{
    TztrRecord *stored = storedRecordOf(buffer);
    for (TztrCustomMemTable *table : common_->AttachedTables()) {
        if (table && table->Active())
            table->indexes_.CheckRecordUniqueness(buffer, stored);
    }
    const bool versioned = common_->EnableVersioning();
    if (Modified()) {
        // The kept version is the record as it was, with the status it had.
        if (versioned)
            keepPreviousVersion(stored, common_->VersioningMode() == mtvmAllSinceCheckPoint);
        stored->UpdateStatus = usModified;
    }
    // The buffer's header goes into the stored record with its values; it must carry the
    // stored record's own status and versions.
    buffer->UpdateStatus = stored->UpdateStatus;
    buffer->PrevRecordVersion = stored->PrevRecordVersion;
    common_->ReflectChange(TztrChangeKind::Edit, stored, versioned, position_, buffer, this);
    common_->Layout().TransferRecord(buffer, stored);
    stored->TransactionLevel = common_->TransactionLevel();
    if (stored->UpdateStatus != usUnmodified)
        common_->SetDataModified(true);
}

void TztrCustomMemTable::InternalPost()
{
    // Posting would otherwise keep the blob's old value without a word.
    if (blobWriteFailure_)
        std::rethrow_exception(std::exchange(blobWriteFailure_, nullptr));
    TDataSet::InternalPost();
    TztrStoreLock lock(*common_);
    TztrRecord *buffer = asRecord(ActiveBuffer());
    if (State() == dsInsert)
        insertRecord(buffer, GetBookmarkFlag(ActiveBuffer()) == bfEOF);
    else
        postEdit(buffer);
    common_->Layout().ClearWrittenMarks();
}

void TztrCustomMemTable::InternalAddRecord(TRecordBuffer buffer, bool append)
{
    TztrStoreLock lock(*common_);
    beforeInsertPosition_ = append || IsEmpty() || !ActiveBuffer() ? -1 : asRecord(ActiveBuffer())->RecordNo;
    insertRecord(asRecord(buffer), append);
    common_->Layout().ClearWrittenMarks();
}

void TztrCustomMemTable::InternalDelete()
{
    TztrStoreLock lock(*common_);
    TztrRecord *stored = storedRecordOf(asRecord(ActiveBuffer()));
    const bool versioned = common_->EnableVersioning();
    common_->ReflectChange(TztrChangeKind::Delete, stored, versioned, position_, stored, this);
    if (versioned) {
        keepPreviousVersion(stored, true);
        stored->UpdateStatus = usDeleted;
        stored->TransactionLevel = common_->TransactionLevel();
    } else {
        common_->RemoveRecord(stored);
        common_->Layout().FreeRecord(stored, true, true);
    }
    common_->SetDataModified(true);
}

void TztrCustomMemTable::InternalCancel()
{
    blobWriteFailure_ = nullptr;
    TDataSet::InternalCancel();
    common_->Layout().ClearWrittenMarks();
}

void TztrCustomMemTable::refreshIfBrowsing()
{
    if (attachedAutoRefresh_)
        common_->RefreshTables(this);
}

void TztrCustomMemTable::DoAfterPost()
{
    refreshIfBrowsing();
    if (autoReposition_ && repositionPlace_ >= 0) {
        position_ = repositionPlace_;
        Resync({});
    }
    repositionPlace_ = -1;
    TDataSet::DoAfterPost();
}

void TztrCustomMemTable::DoAfterDelete()
{
    refreshIfBrowsing();
    TDataSet::DoAfterDelete();
}

void TztrCustomMemTable::DataEvent(TDataEvent event, TDataEventInfo info)
{
    if (!common_->LockedByTable()) {
        TDataSet::DataEvent(event, info);
        return;
    }
    if (event != deFieldChange)
        return;
    DisableControls();
    TDataSet::DataEvent(event, info);
    EnableControls();
}

// ---- Locking, transactions, progress -------------------------------------------------------

void TztrCustomMemTable::Lock()
{
    common_->Lock();
    common_->SetLockedByTable(true);
}

void TztrCustomMemTable::Unlock()
{
    common_->SetLockedByTable(false);
    common_->Unlock();
}

void TztrCustomMemTable::StartTransaction()
{
    CheckActive();
    if (!common_->EnableVersioning() || common_->VersioningMode() != mtvmAllSinceCheckPoint)
        throw EMemTableError(SNeedsVersioning);
    common_->IncTransactionLevel();
}

void TztrCustomMemTable::Commit()
{
    CheckActive();
    if (common_->TransactionLevel() <= 0)
        return;
    common_->CommitTransactionLevel();
    common_->RebuildAllIndexes();
    Refresh();
}

void TztrCustomMemTable::Rollback()
{
    CheckActive();
    if (common_->TransactionLevel() <= 0)
        return;
    Cancel();
    common_->RollbackTransactionLevel();
    common_->RebuildAllIndexes();
    if (position_ >= currentIndex_->Count())
        position_ = currentIndex_->Count() - 1;
    CursorPosChanged();
    Resync({});
}

void TztrCustomMemTable::Progress(int percentage, TztrProgressCode code)
{
    if (OnProgress && progressFlags_.Contains(code))
        OnProgress(*this, percentage, code);
}
