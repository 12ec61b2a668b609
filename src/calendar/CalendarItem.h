#pragma once

// Calendar items: timed entries shown on a TveltoCalendar, and the collection that owns them.
// Every change that affects placement is reported to the calendar, which lays the items out again.

#include "platform/DateTime.h"
#include "platform/widgets/Colors.h"

#include <QString>

#include <vector>

class TCalendarItems;
class TveltoCalendar;
class TveltoCalendarObj;

class TCustomCalendarItem {
public:
    // Adds the item to the collection, which owns it from then on; deleting it removes it again.
    explicit TCustomCalendarItem(TCalendarItems &collection);
    virtual ~TCustomCalendarItem();
    TCustomCalendarItem(const TCustomCalendarItem &) = delete;
    TCustomCalendarItem &operator=(const TCustomCalendarItem &) = delete;

    TCalendarItems &Collection() const { return *collection_; }
    int Index() const;
    // The item's box, which its calendar draws; null when the collection belongs to no calendar.
    TveltoCalendarObj *Obj() const { return obj_; }

    const QString &Subject() const { return subject_; }
    void SetSubject(const QString &value);
    TDateTime Start() const { return start_; }
    void SetStart(TDateTime value);
    // Minutes, kept to a multiple of 5 within 5..1440 once set.
    int Length() const { return length_; }
    void SetLength(int minutes);
    const QString &Comment() const { return comment_; }
    void SetComment(const QString &value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor SelBGColor() const { return selBGColor_; }
    void SetSelBGColor(TColor value);
    TColor BGColor() const { return bgColor_; }
    void SetBGColor(TColor value);
    bool Select() const { return select_; }
    void SetSelect(bool value);

    // Copies the texts and times, not the colours nor the mark.
    virtual void AssignTo(TCustomCalendarItem &dest) const;

private:
    void notify();

    TCalendarItems *collection_;
    TveltoCalendarObj *obj_ = nullptr;
    QString subject_;
    TDateTime start_;
    int length_ = 0;
    QString comment_;
    TColor color_ = clBlack;
    TColor selBGColor_ = clSkyBlue;
    TColor bgColor_ = clWhite;
    bool select_ = false;
};

class TCalendarItems {
public:
    // A collection without a calendar holds items that have no box.
    explicit TCalendarItems(TveltoCalendar *calendar = nullptr);
    virtual ~TCalendarItems();
    TCalendarItems(const TCalendarItems &) = delete;
    TCalendarItems &operator=(const TCalendarItems &) = delete;

    TveltoCalendar *Calendar() const { return calendar_; }
    int Count() const { return int(items_.size()); }
    TCustomCalendarItem *Items(int index) const { return items_.at(std::size_t(index)); }
    TCustomCalendarItem *operator[](int index) const { return Items(index); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    template <class Item = TCustomCalendarItem>
    Item *Add()
    {
        return new Item(*this);
    }
    void Delete(int index);
    void Clear();

    // Changes inside the bracket lay nothing out; closing it lays everything out once.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // The change notification: tells the calendar which item changed (null: all of them).
    virtual void Update(TCustomCalendarItem *item);
    void SetSelectAll(bool value);

private:
    friend class TCustomCalendarItem;
    friend class TveltoCalendar;

    void insert(TCustomCalendarItem *item);
    void remove(TCustomCalendarItem *item);
    void changed();

    TveltoCalendar *calendar_;
    std::vector<TCustomCalendarItem *> items_;
    int updateCount_ = 0;
};
