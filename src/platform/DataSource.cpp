#include "platform/DataSource.h"

#include "platform/DBConsts.h"
#include "platform/DataLink.h"
#include "platform/DataSet.h"

#include <algorithm>

TDataSource::~TDataSource()
{
    SetDataSet(nullptr);
    const std::vector<TDataLink *> links = dataLinks_;
    for (TDataLink *link : links)
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet *dataSet)
{
    if (dataSet == dataSet_)
        return;
    if (IsLinkedTo(dataSet))
        DatabaseError(SCircularDataLink);
    if (dataSet_)
        dataSet_->removeDataSource(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->addDataSource(this);
    updateState();
}

bool TDataSource::IsLinkedTo(const TDataSet *dataSet) const
{
    // Bounded, so that a cycle made elsewhere cannot hang the check.
    for (int steps = 0; dataSet && steps < 1000; ++steps) {
        const TDataSource *master = dataSet->DataSource();
        if (!master)
            return false;
        if (master == this)
            return true;
        dataSet = master->DataSet();
    }
    return false;
}

void TDataSource::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    updateState();
}

void TDataSource::Edit()
{
    if (autoEdit_ && state_ == dsBrowse && dataSet_)
        dataSet_->Edit();
}

void TDataSource::updateState()
{
    setState(enabled_ && dataSet_ ? dataSet_->State() : dsInactive);
}

void TDataSource::setState(TDataSetState state)
{
    if (state_ == state)
        return;
    const TDataSetState prior = state_;
    state_ = state;
    notifyDataLinks(deUpdateState, 0);
    if (OnStateChange)
        OnStateChange(*this);
    if (prior == dsInactive && OnDataChange)
        OnDataChange(*this, nullptr);
}

void TDataSource::dataEvent(TDataEvent event, TDataEventInfo info)
{
    if (event == deUpdateState) {
        updateState();
        return;
    }
    if (event == deDisabledStateChange) {
        // Controls are disabled, but a dataset that closed must still let its links go, and one
        // that opened again must take them back: no later state change would announce it.
        if (!info)
            setState(dsInactive);
        else if (state_ == dsInactive)
            updateState();
        return;
    }
    if (state_ == dsInactive)
        return;
    notifyDataLinks(event, info);
    switch (event) {
    case deFieldChange:
        if (OnDataChange)
            OnDataChange(*this, reinterpret_cast<TField *>(info));
        break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(*this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(*this);
        break;
    default:
        break;
    }
}

void TDataSource::notifyDataLinks(TDataEvent event, TDataEventInfo info)
{
    // Multi-record links (grids) first, so their windows are right before single-record
    // controls react.
    const std::vector<TDataLink *> links = dataLinks_;
    for (TDataLink *link : links)
        if (link->BufferCount() > 1 && link->DataSource() == this)
            link->dataEvent(event, info);
    for (TDataLink *link : links)
        if (link->BufferCount() <= 1 && link->DataSource() == this)
            link->dataEvent(event, info);
}

void TDataSource::addDataLink(TDataLink *link)
{
    dataLinks_.push_back(link);
    link->dataSource_ = this;
    if (dataSet_)
        dataSet_->UpdateBufferCount();
}

void TDataSource::removeDataLink(TDataLink *link)
{
    dataLinks_.erase(std::remove(dataLinks_.begin(), dataLinks_.end(), link), dataLinks_.end());
    link->dataSource_ = nullptr;
    if (dataSet_)
        dataSet_->UpdateBufferCount();
}
