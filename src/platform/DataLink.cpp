#include "platform/DataLink.h"

#include "platform/DataSet.h"
#include "platform/DataSource.h"

#include <algorithm>

// --- TDataLink -------------------------------------------------------------------------------

TDataLink::~TDataLink()
{
    // No notifications from here: the derived part of this link is already gone.
    if (dataSource_)
        dataSource_->removeDataLink(this);
}

void TDataLink::SetDataSource(TDataSource *dataSource)
{
    if (dataSource == dataSource_)
        return;
    if (dataSource_) {
        dataSource_->removeDataLink(this);
        updateState();
    }
    if (dataSource) {
        dataSource->addDataLink(this);
        updateState();
    }
}

TDataSet *TDataLink::DataSet() const
{
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly)
{
    if (readOnly_ == readOnly)
        return;
    readOnly_ = readOnly;
    updateState();
}

void TDataLink::SetBufferCount(int count)
{
    count = std::max(count, 1);
    if (bufferCount_ == count)
        return;
    bufferCount_ = count;
    if (active_) {
        updateRange();
        DataSet()->UpdateBufferCount();
        updateRange();
    }
}

int TDataLink::ActiveRecord() const
{
    if (!active_ || dataSource_->State() == dsSetKey)
        return 0;
    return DataSet()->ActiveRecord() - firstRecord_;
}

void TDataLink::SetActiveRecord(int index)
{
    if (active_ && dataSource_->State() != dsSetKey)
        DataSet()->SetActiveRecord(index + firstRecord_);
}

int TDataLink::RecordCount() const
{
    if (!active_)
        return 0;
    if (dataSource_->State() == dsSetKey)
        return 1;
    return std::clamp(DataSet()->BufferedRecordCount() - firstRecord_, 0, bufferCount_);
}

bool TDataLink::Edit()
{
    if (dataSource_ && !readOnly_)
        dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord()
{
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TDataLink::DataSetChanged()
{
    RecordChanged(nullptr);
}

void TDataLink::DataSetScrolled(int)
{
    DataSetChanged();
}

void TDataLink::FocusControl(TField *) {}

void TDataLink::LayoutChanged()
{
    DataSetChanged();
}

void TDataLink::updateState()
{
    const TDataSetState state = dataSource_ ? dataSource_->State() : dsInactive;
    setActive(state != dsInactive);
    setEditing(IsEditState(state) && !readOnly_);
}

void TDataLink::setActive(bool active)
{
    if (active_ == active)
        return;
    active_ = active;
    if (active)
        updateRange();
    else
        firstRecord_ = 0;
    ActiveChanged();
}

void TDataLink::setEditing(bool editing)
{
    if (editing_ == editing)
        return;
    editing_ = editing;
    EditingChanged();
}

void TDataLink::updateRange()
{
    TDataSet *dataSet = DataSet();
    if (!dataSet)
        return;
    const int active = dataSet->ActiveRecord();
    const int minimum = std::max(0, active - bufferCount_ + 1);
    const int maximum = std::clamp(dataSet->BufferCount() - bufferCount_, 0, active);
    firstRecord_ = std::clamp(firstRecord_, minimum, std::max(minimum, maximum));
}

void TDataLink::dataEvent(TDataEvent event, TDataEventInfo info)
{
    if (event == deUpdateState) {
        updateState();
        return;
    }
    if (!active_)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!updating_)
            RecordChanged(reinterpret_cast<TField *>(info));
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
        // Keep the active record inside this link's window; count how far the window moved.
        int moved = 0;
        if (dataSource_->State() != dsSetKey) {
            const int active = DataSet()->ActiveRecord();
            const int first = firstRecord_ + (event == deDataSetScroll ? static_cast<int>(info) : 0);
            const int last = first + bufferCount_ - 1;
            if (active > last)
                moved = active - last;
            else if (active < first)
                moved = active - first;
            firstRecord_ = first + moved;
        }
        if (event == deDataSetChange)
            DataSetChanged();
        else if (event == deDataSetScroll)
            DataSetScrolled(moved);
        else
            LayoutChanged();
        break;
    }
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        FocusControl(reinterpret_cast<TField *>(info));
        break;
    default:
        break;
    }
}

// --- TMasterDataLink -------------------------------------------------------------------------

void TMasterDataLink::SetFieldNames(const std::string &names)
{
    if (fieldNames_ == names)
        return;
    fieldNames_ = names;
    ActiveChanged();
}

void TMasterDataLink::ActiveChanged()
{
    fields_.clear();
    if (Active()) {
        try {
            fields_ = DataSet()->GetFieldList(fieldNames_);
        } catch (...) {
            fields_.clear();
            throw;
        }
    }
    if (!detail_ || !detail_->Active())
        return;
    if (Active() && !fields_.empty()) {
        if (OnMasterChange)
            OnMasterChange(*this);
    } else if (OnMasterDisable) {
        OnMasterDisable(*this);
    }
}

void TMasterDataLink::CheckBrowseMode()
{
    if (detail_ && detail_->Active())
        detail_->CheckBrowseMode();
}

void TMasterDataLink::LayoutChanged()
{
    ActiveChanged();
}

void TMasterDataLink::RecordChanged(TField *field)
{
    if (DataSource()->State() == dsSetKey || !detail_ || !detail_->Active() || fields_.empty())
        return;
    if (field && std::find(fields_.begin(), fields_.end(), field) == fields_.end())
        return;
    if (OnMasterChange)
        OnMasterChange(*this);
}
