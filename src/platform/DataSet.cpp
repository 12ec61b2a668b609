#include "platform/DataSet.h"

#include "platform/Classes.h"
#include "platform/Cp1250.h"
#include "platform/DBConsts.h"
#include "platform/DataLink.h"
#include "platform/DataSource.h"
#include "platform/BinaryFields.h"
#include "platform/FmtBcd.h"
#include "platform/NumericFields.h"
#include "platform/ObjectFields.h"

#include <algorithm>
#include <cstring>

namespace {

// Whether a field of type actual may be bound to a definition of type expected.
bool compatibleTypes(TFieldType expected, TFieldType actual)
{
    if (expected == actual)
        return true;
    auto isText = [](TFieldType t) { return t == ftString || t == ftFixedChar || t == ftGuid; };
    auto isWhole = [](TFieldType t) { return t == ftInteger || t == ftAutoInc; };
    return (isText(expected) && isText(actual)) || (isWhole(expected) && isWhole(actual)) ||
           (isBlobType(expected) && isBlobType(actual));
}

} // namespace

// --- FilterRecordProperty --------------------------------------------------------------------

TDataSet::FilterRecordProperty &TDataSet::FilterRecordProperty::operator=(TFilterRecordEvent handler)
{
    owner_.SetOnFilterRecord(std::move(handler));
    return *this;
}

TDataSet::FilterRecordProperty &TDataSet::FilterRecordProperty::operator=(std::nullptr_t)
{
    owner_.SetOnFilterRecord(nullptr);
    return *this;
}

void TDataSet::SetOnFilterRecord(TFilterRecordEvent handler)
{
    OnFilterRecord.handler_ = std::move(handler);
}

// --- Life and state --------------------------------------------------------------------------

TDataSet::TDataSet() : fields_(this), fieldDefs_(this), indexDefs_(this) {}

TDataSet::~TDataSet()
{
    // The data sources outlive nothing of ours: let them forget this dataset.
    const std::vector<TDataSource *> sources = dataSources_;
    for (TDataSource *source : sources)
        source->SetDataSet(nullptr);
}

bool TDataSet::Active() const
{
    return state_ != dsInactive && state_ != dsOpening;
}

void TDataSet::CheckActive() const
{
    if (state_ == dsInactive)
        DatabaseError(SDataSetClosed, this);
}

void TDataSet::CheckInactive() const
{
    if (Active())
        DatabaseError(SDataSetOpen, this);
}

void TDataSet::SetActive(bool active)
{
    // Other components of the form may not be there yet: the opening waits for Loaded.
    if (ComponentState().Contains(csReading)) {
        streamedActive_ = active;
        return;
    }
    if (Active() == active)
        return;
    if (active) {
        DoBeforeOpen();
        try {
            openCursor();
        } catch (...) {
            SetState(dsInactive);
            closeCursor();
            throw;
        }
        SetState(dsBrowse);
        DoAfterOpen();
        if (!IsEmpty())
            DoAfterScroll();
    } else {
        DoBeforeClose();
        SetState(dsInactive);
        closeCursor();
        DoAfterClose();
    }
}

void TDataSet::DefineProperties(TFiler &filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Active",
        [this](TStream &stream) {
            std::uint8_t active = 0;
            stream.ReadBuffer(&active, 1);
            SetActive(active != 0);
        },
        [this](TStream &stream) {
            const std::uint8_t active = Active() ? 1 : 0;
            stream.WriteBuffer(&active, 1);
        },
        true);
}

void TDataSet::Loaded()
{
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        SetActive(true);
    }
}

void TDataSet::openCursor()
{
    internalOpenComplete_ = false;
    defaultFields_ = fields_.Count() == 0;
    InternalOpen();
    internalOpenComplete_ = true;
    UpdateBufferCount();
    bof_ = true;
}

void TDataSet::closeCursor()
{
    blockReadSize_ = 0;
    internalOpenComplete_ = false;
    ClearBuffers();
    freeBuffers();
    InternalClose();
    defaultFields_ = false;
}

void TDataSet::SetState(TDataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    modified_ = false;
    DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState state)
{
    const TDataSetState previous = state_;
    state_ = state;
    ++disableCount_;
    return previous;
}

void TDataSet::RestoreState(TDataSetState state)
{
    state_ = state;
    --disableCount_;
}

// --- Buffers ---------------------------------------------------------------------------------

TRecordBuffer TDataSet::ActiveBuffer() const
{
    return buffers_.empty() ? nullptr : buffers_[static_cast<std::size_t>(activeRecord_)];
}

void TDataSet::allocateBuffers(int count)
{
    while (static_cast<int>(buffers_.size()) < count + 1)
        buffers_.push_back(AllocRecordBuffer());
}

void TDataSet::freeBuffers()
{
    for (TRecordBuffer &buffer : buffers_)
        FreeRecordBuffer(buffer);
    buffers_.clear();
    bufferCount_ = 0;
}

void TDataSet::SetBufferCount(int count)
{
    count = std::clamp(count, 1, 1024);
    if (count == bufferCount_)
        return;
    if (count > bufferCount_) {
        allocateBuffers(count);
        bufferCount_ = count;
        // A cursor just opened reads its first records here.
        if (recordCount_ == 0) {
            GetNextRecords();
        } else {
            GetNextRecords();
            // Records read in above the window move every buffer index down.
            const int added = GetPriorRecords();
            for (TDataSource *source : dataSources_)
                for (TDataLink *link : source->dataLinks_)
                    link->firstRecord_ += added;
        }
        return;
    }
    if (recordCount_ > count) {
        // Keep the active record inside the smaller window: drop records from the front first.
        const int front = std::max(0, activeRecord_ - (count - 1));
        for (int i = 0; i < front; ++i)
            MoveBuffer(0, static_cast<int>(buffers_.size()) - 1);
        activeRecord_ -= front;
        recordCount_ = count;
        CursorPosChanged();
        for (TDataSource *source : dataSources_)
            for (TDataLink *link : source->dataLinks_)
                link->firstRecord_ = std::max(0, link->firstRecord_ - front);
    }
    while (static_cast<int>(buffers_.size()) > count + 1) {
        FreeRecordBuffer(buffers_.back());
        buffers_.pop_back();
    }
    bufferCount_ = count;
}

void TDataSet::UpdateBufferCount()
{
    if (!IsCursorOpen())
        return;
    int needed = 1;
    for (TDataSource *source : dataSources_)
        for (TDataLink *link : source->dataLinks_)
            needed = std::max(needed, link->BufferCount());
    SetBufferCount(needed);
    for (TDataSource *source : dataSources_)
        for (TDataLink *link : source->dataLinks_)
            if (link->Active())
                link->updateRange();
}

void TDataSet::SetActiveRecord(int index)
{
    if (index >= 0 && index < std::max(recordCount_, 1))
        activeRecord_ = index;
}

void TDataSet::ClearBuffers()
{
    recordCount_ = 0;
    activeRecord_ = 0;
    currentRecord_ = -1;
    bof_ = true;
    eof_ = true;
}

void TDataSet::ActivateBuffers()
{
    recordCount_ = 1;
    activeRecord_ = 0;
    bof_ = false;
    eof_ = false;
}

void TDataSet::MoveBuffer(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    const TRecordBuffer buffer = buffers_[static_cast<std::size_t>(curIndex)];
    buffers_.erase(buffers_.begin() + curIndex);
    buffers_.insert(buffers_.begin() + newIndex, buffer);
}

void TDataSet::SetCurrentRecord(int index)
{
    if (currentRecord_ == index)
        return;
    const TRecordBuffer buffer = buffers_[static_cast<std::size_t>(index)];
    switch (GetBookmarkFlag(buffer)) {
    case bfCurrent:
    case bfInserted:
        InternalSetToRecord(buffer);
        break;
    case bfBOF:
        InternalFirst();
        break;
    case bfEOF:
        InternalLast();
        break;
    }
    currentRecord_ = index;
}

void TDataSet::UpdateCursorPos()
{
    if (recordCount_ > 0)
        SetCurrentRecord(activeRecord_);
}

bool TDataSet::GetNextRecord()
{
    TGetMode mode = gmNext;
    if (recordCount_ > 0) {
        SetCurrentRecord(recordCount_ - 1);
        // An inserted record that is not stored yet: the cursor still stands on the record the
        // insert began at, which is therefore the next one.
        if (state_ == dsInsert && currentRecord_ == activeRecord_ && GetBookmarkFlag(ActiveBuffer()) == bfCurrent)
            mode = gmCurrent;
    }
    if (GetRecord(buffers_[static_cast<std::size_t>(recordCount_)], mode, true) != grOK) {
        CursorPosChanged();
        return false;
    }
    if (recordCount_ == 0)
        ActivateBuffers();
    else if (recordCount_ < bufferCount_)
        ++recordCount_;
    else
        MoveBuffer(0, recordCount_);
    currentRecord_ = recordCount_ - 1;
    return true;
}

bool TDataSet::GetPriorRecord()
{
    if (recordCount_ > 0)
        SetCurrentRecord(0);
    if (GetRecord(buffers_[static_cast<std::size_t>(recordCount_)], gmPrior, true) != grOK) {
        CursorPosChanged();
        return false;
    }
    if (recordCount_ == 0) {
        ActivateBuffers();
    } else {
        MoveBuffer(recordCount_, 0);
        if (recordCount_ < bufferCount_) {
            ++recordCount_;
            ++activeRecord_;
        }
    }
    currentRecord_ = 0;
    return true;
}

int TDataSet::GetNextRecords()
{
    int count = 0;
    while (recordCount_ < bufferCount_ && GetNextRecord())
        ++count;
    return count;
}

int TDataSet::GetPriorRecords()
{
    int count = 0;
    while (recordCount_ < bufferCount_ && GetPriorRecord())
        ++count;
    return count;
}

void TDataSet::Resync(TResyncMode mode)
{
    const TRecordBuffer spare = buffers_[static_cast<std::size_t>(recordCount_)];
    if (mode.Contains(rmExact)) {
        CursorPosChanged();
        if (GetRecord(spare, gmCurrent, true) != grOK)
            DatabaseError(SRecordNotFound, this);
    } else if (GetRecord(spare, gmCurrent, false) != grOK && GetRecord(spare, gmNext, false) != grOK &&
               GetRecord(spare, gmPrior, false) != grOK) {
        ClearBuffers();
        DataEvent(deDataSetChange, 0);
        return;
    }
    int count = mode.Contains(rmCenter) ? (bufferCount_ - 1) / 2 : activeRecord_;
    MoveBuffer(recordCount_, 0);
    ActivateBuffers();
    try {
        while (count > 0 && GetPriorRecord())
            --count;
        GetNextRecords();
        GetPriorRecords();
    } catch (...) {
        DataEvent(deDataSetChange, 0);
        throw;
    }
    DataEvent(deDataSetChange, 0);
}

// --- Navigation ------------------------------------------------------------------------------

void TDataSet::First()
{
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    try {
        InternalFirst();
        GetNextRecords();
    } catch (...) {
        bof_ = true;
        DataEvent(deDataSetChange, 0);
        throw;
    }
    bof_ = true;
    DataEvent(deDataSetChange, 0);
    DoAfterScroll();
}

void TDataSet::Last()
{
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    try {
        InternalLast();
        GetPriorRecords();
    } catch (...) {
        eof_ = true;
        DataEvent(deDataSetChange, 0);
        throw;
    }
    eof_ = true;
    DataEvent(deDataSetChange, 0);
    DoAfterScroll();
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    int moved = 0;
    DoBeforeScroll();
    if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
        bof_ = false;
        eof_ = false;
        // How far the buffer contents moved, for the data links' windows.
        int scrolled = 0;
        try {
            while (distance > 0) {
                if (activeRecord_ < recordCount_ - 1) {
                    ++activeRecord_;
                } else {
                    const bool rotates = recordCount_ >= bufferCount_;
                    if (!GetNextRecord()) {
                        eof_ = true;
                        break;
                    }
                    if (rotates)
                        --scrolled;
                    activeRecord_ = recordCount_ - 1;
                }
                --distance;
                ++moved;
            }
            while (distance < 0) {
                if (activeRecord_ > 0) {
                    --activeRecord_;
                } else {
                    if (!GetPriorRecord()) {
                        bof_ = true;
                        break;
                    }
                    ++scrolled;
                    activeRecord_ = 0;
                }
                ++distance;
                --moved;
            }
        } catch (...) {
            DataEvent(deDataSetScroll, scrolled);
            throw;
        }
        DataEvent(deDataSetScroll, scrolled);
        DoAfterScroll();
    }
    return moved;
}

// --- Editing ---------------------------------------------------------------------------------

void TDataSet::CheckCanModify() const
{
    if (!GetCanModify())
        DatabaseError(SDataSetReadOnly, this);
}

void TDataSet::beginInsertAppend()
{
    CheckBrowseMode();
    CheckCanModify();
    DoBeforeInsert();
    DoBeforeScroll();
}

void TDataSet::endInsertAppend()
{
    SetState(dsInsert);
    try {
        DoOnNewRecord();
    } catch (...) {
        UpdateCursorPos();
        FreeFieldBuffers();
        SetState(dsBrowse);
        Resync({});
        throw;
    }
    modified_ = false;
    DataEvent(deDataSetChange, 0);
    DoAfterInsert();
    DoAfterScroll();
}

void TDataSet::InitRecord(TRecordBuffer buffer)
{
    InternalInitRecord(buffer);
    ClearCalcFields(buffer);
    SetBookmarkFlag(buffer, bfInserted);
}

void TDataSet::Insert()
{
    beginInsertAppend();
    const TBookmark current = GetBookmark();
    MoveBuffer(recordCount_, activeRecord_);
    const TRecordBuffer buffer = ActiveBuffer();
    InitRecord(buffer);
    // The new record remembers where it was begun: before the record that was current.
    if (recordCount_ == 0)
        SetBookmarkFlag(buffer, bfBOF);
    else if (!current.empty())
        SetBookmarkData(buffer, current.data());
    if (recordCount_ < bufferCount_)
        ++recordCount_;
    if (recordCount_ == 1) {
        bof_ = false;
        eof_ = false;
    }
    InternalInsert();
    endInsertAppend();
}

void TDataSet::Append()
{
    beginInsertAppend();
    ClearBuffers();
    const TRecordBuffer buffer = buffers_[0];
    InitRecord(buffer);
    SetBookmarkFlag(buffer, bfEOF);
    recordCount_ = 1;
    bof_ = false;
    eof_ = false;
    // The records before the new one stay visible above it.
    GetPriorRecords();
    InternalInsert();
    endInsertAppend();
}

void TDataSet::Edit()
{
    if (state_ == dsEdit || state_ == dsInsert)
        return;
    if (recordCount_ == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    DoBeforeEdit();
    checkOperation(&TDataSet::InternalEdit, OnEditError);
    GetCalcFields(ActiveBuffer());
    SetState(dsEdit);
    DataEvent(deRecordChange, 0);
    DoAfterEdit();
}

void TDataSet::UpdateRecord()
{
    if (!IsEditState(state_))
        DatabaseError(SNotEditing, this);
    DataEvent(deUpdateRecord, 0);
}

void TDataSet::InternalPost()
{
    CheckRequiredFields();
}

void TDataSet::CheckRequiredFields()
{
    for (const auto &field : fields_) {
        if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData && field->IsNull()) {
            field->FocusControl();
            DatabaseErrorFmt(SFieldRequired, {cp1250ToUtf8(field->DisplayName())}, this);
        }
    }
}

void TDataSet::Post()
{
    UpdateRecord();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    DataEvent(deCheckBrowseMode, 0);
    DoBeforePost();
    checkOperation(&TDataSet::InternalPost, OnPostError);
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync({});
    DoAfterPost();
}

void TDataSet::Cancel()
{
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    DataEvent(deCheckBrowseMode, 0);
    DoBeforeCancel();
    const bool scrolls = state_ == dsInsert;
    if (scrolls)
        DoBeforeScroll();
    UpdateCursorPos();
    InternalCancel();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync({});
    DoAfterCancel();
    if (scrolls)
        DoAfterScroll();
}

void TDataSet::Delete()
{
    CheckActive();
    if (state_ == dsInsert || state_ == dsSetKey) {
        Cancel();
        return;
    }
    if (recordCount_ == 0)
        DatabaseError(SDataSetEmpty, this);
    DataEvent(deCheckBrowseMode, 0);
    DoBeforeDelete();
    DoBeforeScroll();
    checkOperation(&TDataSet::InternalDelete, OnDeleteError);
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync({});
    DoAfterDelete();
    DoAfterScroll();
}

void TDataSet::checkOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent &onError)
{
    for (;;) {
        try {
            UpdateCursorPos();
            (this->*operation)();
            return;
        } catch (EDatabaseError &error) {
            TDataAction action = daFail;
            if (onError)
                onError(*this, error, action);
            if (action == daFail)
                throw;
            if (action == daAbort)
                throw EAbort("Operation aborted");
        }
    }
}

void TDataSet::FreeFieldBuffers()
{
    for (const auto &field : fields_) {
        // Runs on every post: the virtual test spares the cast on the other fields.
        if (!field->IsBlob())
            continue;
        auto *blob = dynamic_cast<TBlobField *>(field.get());
        if (blob && blob->Modified()) {
            CloseBlob(blob);
            blob->SetModified(false);
        }
    }
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode, 0);
    switch (state_) {
    case dsEdit:
    case dsInsert:
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
        break;
    case dsSetKey:
        Post();
        break;
    default:
        break;
    }
}

void TDataSet::AppendRecord(const std::vector<Variant> &values)
{
    Append();
    SetFields(values);
    Post();
}

void TDataSet::InsertRecord(const std::vector<Variant> &values)
{
    Insert();
    SetFields(values);
    Post();
}

void TDataSet::SetFields(const std::vector<Variant> &values)
{
    const int count = std::min(static_cast<int>(values.size()), fields_.Count());
    for (int i = 0; i < count; ++i)
        fields_[i]->SetAsVariant(values[static_cast<std::size_t>(i)]);
}

void TDataSet::ClearFields()
{
    if (!IsEditState(state_))
        DatabaseError(SNotEditing, this);
    DataEvent(deCheckBrowseMode, 0);
    FreeFieldBuffers();
    InternalInitRecord(ActiveBuffer());
    if (state_ != dsSetKey)
        GetCalcFields(ActiveBuffer());
    DataEvent(deRecordChange, 0);
}

void TDataSet::Refresh()
{
    DoBeforeRefresh();
    CheckBrowseMode();
    UpdateCursorPos();
    try {
        InternalRefresh();
    } catch (...) {
        Resync({});
        throw;
    }
    Resync({});
    DoAfterRefresh();
}

// --- Fields ----------------------------------------------------------------------------------

std::vector<TField *> TDataSet::GetFieldList(const std::string &fieldNames) const
{
    std::vector<TField *> list;
    for (const std::string &name : SplitFieldNames(fieldNames))
        list.push_back(FieldByName(name));
    return list;
}

std::vector<std::string> TDataSet::GetFieldNames() const
{
    std::vector<std::string> names;
    for (const auto &field : fields_)
        names.push_back(field->FieldName());
    return names;
}

void TDataSet::InitFieldDefs()
{
    InternalInitFieldDefs();
    fieldDefs_.SetUpdated(true);
}

void TDataSet::CreateFields()
{
    for (const auto &def : fieldDefs_)
        if (def->DataType() != ftUnknown && !def->Attributes().Contains(faHiddenCol))
            def->CreateField(*this);
}

void TDataSet::DestroyFields()
{
    fields_.Clear();
}

void TDataSet::BindFields(bool binding)
{
    calcFieldsSize_ = 0;
    internalCalcFields_ = binding && std::any_of(fields_.begin(), fields_.end(), [](const auto &field) {
                              return field->FieldKind() == fkInternalCalc;
                          });
    int blobCount = 0;
    // Binds one data field (and its children) to its definition.
    auto bindData = [&](auto &self, TField *field, const TFieldDef &def, int fieldNo) -> void {
        if (!compatibleTypes(def.DataType(), field->DataType()))
            DatabaseErrorFmt(SFieldTypeMismatch,
                             {cp1250ToUtf8(field->DisplayName()), std::string(FieldTypeNames[def.DataType()]),
                              std::string(FieldTypeNames[field->DataType()])},
                             this);
        field->fieldNo_ = fieldNo;
        if (field->IsBlob()) {
            field->size_ = def.Size();
            field->offset_ = blobCount++;
        }
        auto *object = dynamic_cast<TObjectField *>(field);
        if (!object || !def.HasChildDefs())
            return;
        if (def.DataType() == ftArray) {
            const TFieldDef &element = *def.ChildDefs().Items(0);
            for (int i = 0; i < object->FieldCount(); ++i)
                self(self, object->Field(i), element, fieldNo + 1 + i * element.FieldNoSpan());
        } else {
            for (int i = 0; i < object->FieldCount(); ++i) {
                TField *child = object->Field(i);
                const int index = def.ChildDefs().IndexOf(child->FieldName());
                if (index < 0)
                    DatabaseErrorFmt(SFieldNotFound, {cp1250ToUtf8(child->FullName())}, this);
                const TFieldDef &childDef = *def.ChildDefs().Items(index);
                self(self, child, childDef, childDef.FieldNo());
            }
        }
    };
    for (const auto &field : fields_) {
        if (binding) {
            if (field->FieldKind() == fkCalculated || field->FieldKind() == fkLookup) {
                if (field->IsBlob() || dynamic_cast<TObjectField *>(field.get()))
                    DatabaseErrorFmt(SInvalidCalcType, {cp1250ToUtf8(field->DisplayName())}, this);
                field->fieldNo_ = -1;
                field->offset_ = calcFieldsSize_;
                calcFieldsSize_ += field->DataSize() + 1;
            } else if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) {
                const int index = fieldDefs_.IndexOf(field->FieldName());
                if (index < 0)
                    DatabaseErrorFmt(SFieldNotFound, {cp1250ToUtf8(field->DisplayName())}, this);
                const TFieldDef &def = *fieldDefs_.Items(index);
                bindData(bindData, field.get(), def, def.FieldNo());
            }
        }
        field->Bind(binding);
    }
}

// --- Calculated fields -----------------------------------------------------------------------

void TDataSet::GetCalcFields(TRecordBuffer buffer)
{
    if (calcFieldsSize_ == 0 && !internalCalcFields_)
        return;
    const TDataSetState saved = state_;
    state_ = dsCalcFields;
    try {
        CalculateFields(buffer);
    } catch (...) {
        state_ = saved;
        throw;
    }
    state_ = saved;
}

void TDataSet::CalculateFields(TRecordBuffer buffer)
{
    calcBuffer_ = buffer;
    if (state_ != dsInternalCalc) {
        ClearCalcFields(buffer);
        calculateLookupFields();
    }
    DoOnCalcFields();
}

void TDataSet::calculateLookupFields()
{
    for (const auto &field : fields_) {
        if (field->FieldKind() != fkLookup)
            continue;
        TDataSet *lookup = field->LookupDataSet();
        if (!lookup || !lookup->Active())
            continue;
        const std::vector<TField *> keys = GetFieldList(field->KeyFields());
        Variant::Array keyValues;
        bool complete = !keys.empty();
        for (TField *key : keys) {
            keyValues.push_back(key->AsVariant());
            complete = complete && !keyValues.back().IsNull();
        }
        if (!complete)
            continue;
        const Variant keyValue = keyValues.size() == 1 ? keyValues.front() : Variant(keyValues);
        const Variant result = lookup->Lookup(field->LookupKeyFields(), keyValue, field->LookupResultField());
        if (!result.IsEmpty() && !result.IsNull())
            field->SetAsVariant(result);
    }
}

void TDataSet::updateCalcFields()
{
    if (state_ != dsSetKey && (state_ == dsEdit || state_ == dsInsert) && autoCalcFields_)
        GetCalcFields(ActiveBuffer());
}

// --- Field data ------------------------------------------------------------------------------

namespace {

// Scratch room for one value in its native form; dates and BCD values fit without allocating.
class NativeBuffer {
public:
    explicit NativeBuffer(int size)
    {
        if (size >= static_cast<int>(sizeof small_))
            large_.resize(static_cast<std::size_t>(size) + 1);
    }
    std::uint8_t *data() { return large_.empty() ? small_ : large_.data(); }

private:
    std::uint8_t small_[64] = {};
    std::vector<std::uint8_t> large_;
};

} // namespace

bool TDataSet::GetFieldData(TField *field, void *buffer, bool nativeFormat)
{
    if (nativeFormat || !buffer)
        return GetFieldData(field, buffer);
    NativeBuffer native(field->DataSize());
    const bool present = GetFieldData(field, native.data());
    if (present)
        DataConvert(field, native.data(), buffer, false);
    return present;
}

void TDataSet::SetFieldData(TField *field, const void *buffer, bool nativeFormat)
{
    if (nativeFormat || !buffer) {
        SetFieldData(field, buffer);
        return;
    }
    NativeBuffer native(field->DataSize());
    DataConvert(field, buffer, native.data(), true);
    SetFieldData(field, native.data());
}

void TDataSet::DataConvert(TField *field, const void *source, void *dest, bool toNative)
{
    switch (field->DataType()) {
    case ftDate:
    case ftTime:
        if (toNative) {
            double value;
            std::memcpy(&value, source, sizeof value);
            const TTimeStamp stamp = DateTimeToTimeStamp(TDateTime(value));
            const std::int32_t data = field->DataType() == ftDate ? stamp.Date : stamp.Time;
            std::memcpy(dest, &data, sizeof data);
        } else {
            std::int32_t data;
            std::memcpy(&data, source, sizeof data);
            TTimeStamp stamp;
            if (field->DataType() == ftDate)
                stamp.Date = data;
            else {
                stamp.Date = DateDelta;
                stamp.Time = data;
            }
            const double value = TimeStampToDateTime(stamp);
            std::memcpy(dest, &value, sizeof value);
        }
        break;
    case ftDateTime: {
        double value;
        std::memcpy(&value, source, sizeof value);
        value = toNative ? TimeStampToMSecs(DateTimeToTimeStamp(TDateTime(value)))
                         : static_cast<double>(TimeStampToDateTime(MSecsToTimeStamp(value)));
        std::memcpy(dest, &value, sizeof value);
        break;
    }
    case ftBCD:
        if (toNative) {
            Currency value;
            std::memcpy(&value, source, sizeof value);
            const auto *bcdField = dynamic_cast<const TBCDField *>(field);
            const int precision = bcdField && bcdField->Precision() > 0 ? bcdField->Precision() : 32;
            const TBcd bcd = CurrToBCD(value, precision, field->Size());
            std::memcpy(dest, &bcd, sizeof bcd);
        } else {
            TBcd bcd;
            std::memcpy(&bcd, source, sizeof bcd);
            Currency value;
            if (!BCDToCurr(bcd, value))
                throw EConvertError("BCD overflow");
            std::memcpy(dest, &value, sizeof value);
        }
        break;
    case ftWideString:
        if (toNative) {
            const auto &text = *static_cast<const std::u16string *>(source);
            const auto units = static_cast<std::uint32_t>(std::min(text.size(), static_cast<std::size_t>(field->Size())));
            const std::uint32_t bytes = units * 2;
            auto *out = static_cast<std::uint8_t *>(dest);
            std::memcpy(out, &bytes, sizeof bytes);
            std::memcpy(out + sizeof bytes, text.data(), bytes);
        } else {
            const auto *in = static_cast<const std::uint8_t *>(source);
            std::uint32_t bytes;
            std::memcpy(&bytes, in, sizeof bytes);
            bytes = std::min<std::uint32_t>(bytes, static_cast<std::uint32_t>(field->Size()) * 2);
            std::u16string text(bytes / 2, u'\0');
            std::memcpy(text.data(), in + sizeof bytes, bytes / 2 * 2);
            *static_cast<std::u16string *>(dest) = std::move(text);
        }
        break;
    default:
        std::memcpy(dest, source, static_cast<std::size_t>(field->DataSize()));
        break;
    }
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField *, TBlobStreamMode)
{
    return nullptr;
}

bool TDataSet::GetCurrentRecord(TRecordBuffer)
{
    return false;
}

// --- Bookmarks and searching -----------------------------------------------------------------

bool TDataSet::BookmarkAvailable()
{
    return (state_ == dsBrowse || state_ == dsEdit || state_ == dsInsert) && !IsEmpty() &&
           GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::GetBookmark()
{
    if (!BookmarkAvailable())
        return {};
    TBookmark bookmark(static_cast<std::size_t>(bookmarkSize_));
    GetBookmarkData(ActiveBuffer(), bookmark.data());
    return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark &bookmark)
{
    if (bookmark.empty())
        return;
    CheckBrowseMode();
    DoBeforeScroll();
    InternalGotoBookmark(bookmark.data());
    Resync({rmExact, rmCenter});
    DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark &)
{
    return false;
}

int TDataSet::CompareBookmarks(const TBookmark &a, const TBookmark &b)
{
    if (a.empty() || b.empty())
        return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
    const int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0)
        return order < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool TDataSet::Locate(const std::string &, const Variant &, TLocateOptions)
{
    return false;
}

Variant TDataSet::Lookup(const std::string &, const Variant &, const std::string &)
{
    return Variant();
}

bool TDataSet::FindRecord(bool, bool)
{
    return false;
}

void TDataSet::SetBlockReadSize(int size)
{
    if (size > 0) {
        CheckActive();
        SetState(dsBlockRead);
    } else if (state_ == dsBlockRead) {
        SetState(dsBrowse);
    }
    blockReadSize_ = size;
}

// --- Controls --------------------------------------------------------------------------------

void TDataSet::DisableControls()
{
    if (disableCount_ == 0) {
        disableState_ = state_;
        enableEvent_ = deDataSetChange;
    }
    ++disableCount_;
}

void TDataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0) {
        if (disableState_ != state_)
            DataEvent(deUpdateState, 0);
        if (disableState_ != dsInactive && state_ != dsInactive)
            DataEvent(enableEvent_, 0);
    }
}

void TDataSet::DataEvent(TDataEvent event, TDataEventInfo info)
{
    bool notify = !(ControlsDisabled() || state_ == dsBlockRead);
    switch (event) {
    case deFieldChange: {
        auto *field = reinterpret_cast<TField *>(info);
        if (!field)
            break;
        if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc)
            modified_ = true;
        updateCalcFields();
        if (field->OnChange)
            field->OnChange(*field);
        break;
    }
    case dePropertyChange:
        fieldDefs_.SetUpdated(false);
        break;
    case deLayoutChange:
        if (ControlsDisabled())
            enableEvent_ = deLayoutChange;
        break;
    case deUpdateState:
        if (ControlsDisabled()) {
            // Controls still learn whether the dataset is open, so they can let go of it.
            event = deDisabledStateChange;
            info = state_ != dsInactive;
            notify = true;
            enableEvent_ = deLayoutChange;
        }
        break;
    default:
        break;
    }
    if (!notify)
        return;
    const std::vector<TDataSource *> sources = dataSources_;
    for (TDataSource *source : sources)
        source->dataEvent(event, info);
}

bool TDataSet::IsLinkedTo(TDataSource *dataSource) const
{
    // A chain longer than the number of datasets there can be would be a cycle; stop there too.
    int steps = 0;
    for (TDataSet *dataSet = dataSource ? dataSource->DataSet() : nullptr; dataSet && steps < 1000; ++steps) {
        if (dataSet == this)
            return true;
        TDataSource *master = dataSet->DataSource();
        dataSet = master ? master->DataSet() : nullptr;
    }
    return false;
}

void TDataSet::addDataSource(TDataSource *source)
{
    dataSources_.push_back(source);
    UpdateBufferCount();
}

void TDataSet::removeDataSource(TDataSource *source)
{
    dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source), dataSources_.end());
}
