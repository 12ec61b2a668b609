#include "calendar/CalendarItem.h"

#include "calendar/CalendarGrid.h"
#include "calendar/CalendarObj.h"

#include <algorithm>

TCustomCalendarItem::TCustomCalendarItem(TCalendarItems &collection) : collection_(&collection)
{
    collection.insert(this);
    SetStart(0);
    if (TveltoCalendar *calendar = collection.Calendar()) {
        obj_ = new TveltoCalendarObj(calendar);
        obj_->SetItem(this);
        obj_->SetSelect(select_);
        obj_->SetSelBGColor(selBGColor_);
        obj_->SetBGColor(bgColor_);
        obj_->SetPopupMenu(calendar->ItemPopupMenu());
    }
    SetColor(clBlue);
}

TCustomCalendarItem::~TCustomCalendarItem()
{
    TveltoCalendar *calendar = collection_->Calendar();
    if (obj_) {
        if (calendar) {
            calendar->releaseBox(*obj_);
            obj_->hide();
        }
        obj_->SetItem(nullptr);
        // The box may be the one whose mouse handler is running this deletion (an owner that
        // rebuilds its items from an event), so it goes when control is back in the event loop.
        if (obj_->Handling())
            obj_->deleteLater();
        else
            delete obj_;
    }
    if (calendar && calendar->SelectedItem() == this)
        calendar->SetSelectedItem(nullptr);
    collection_->remove(this);
}

int TCustomCalendarItem::Index() const
{
    const auto found = std::find(collection_->begin(), collection_->end(), this);
    return int(found - collection_->begin());
}

void TCustomCalendarItem::notify()
{
    collection_->Update(this);
}

void TCustomCalendarItem::SetSubject(const QString &value)
{
    subject_ = value;
    notify();
}

void TCustomCalendarItem::SetStart(TDateTime value)
{
    start_ = value;
    notify();
}

void TCustomCalendarItem::SetLength(int minutes)
{
    const int remainder = minutes % 5;
    int length = minutes - remainder + (remainder >= 3 ? 5 : 0);
    length_ = std::clamp(length, 5, 1440);
    notify();
}

void TCustomCalendarItem::SetComment(const QString &value)
{
    comment_ = value;
    if (obj_)
        obj_->setToolTip(value);
    notify();
}

void TCustomCalendarItem::SetColor(TColor value)
{
    color_ = value;
    if (obj_)
        obj_->SetColor(value);
}

void TCustomCalendarItem::SetSelBGColor(TColor value)
{
    selBGColor_ = value;
    if (obj_)
        obj_->SetSelBGColor(value);
}

void TCustomCalendarItem::SetBGColor(TColor value)
{
    bgColor_ = value;
    if (obj_)
        obj_->SetBGColor(value);
}

void TCustomCalendarItem::SetSelect(bool value)
{
    select_ = value;
    if (obj_)
        obj_->SetSelect(value);
    notify();
}

void TCustomCalendarItem::AssignTo(TCustomCalendarItem &dest) const
{
    dest.SetSubject(subject_);
    dest.SetStart(start_);
    dest.SetLength(length_);
    dest.SetComment(comment_);
}

TCalendarItems::TCalendarItems(TveltoCalendar *calendar) : calendar_(calendar) {}

TCalendarItems::~TCalendarItems()
{
    Clear();
}

void TCalendarItems::insert(TCustomCalendarItem *item)
{
    items_.push_back(item);
    // A new item has no place yet: nothing else moves for it.
    if (updateCount_ == 0)
        Update(item);
}

void TCalendarItems::remove(TCustomCalendarItem *item)
{
    std::erase(items_, item);
    changed();
}

void TCalendarItems::changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCalendarItems::Delete(int index)
{
    delete Items(index);
}

void TCalendarItems::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    while (!items_.empty())
        delete items_.back();
    EndUpdate();
}

void TCalendarItems::BeginUpdate()
{
    ++updateCount_;
}

void TCalendarItems::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        changed();
}

void TCalendarItems::Update(TCustomCalendarItem *item)
{
    if (calendar_)
        calendar_->itemChanged(item);
}

void TCalendarItems::SetSelectAll(bool value)
{
    for (TCustomCalendarItem *item : items_) {
        if (item->Select() != value)
            item->SetSelect(value);
    }
}
