#pragma once

// TForm1: the main timetable window. So far it holds its calendar, its own cursors on the data
// module's tables and the routines that turn occasion rows into calendar items.

#include "calendar/veltoCalendar.h"
#include "memtable/ztrMemTable.h"

#include <QMainWindow>

#include <string>

class TSajat;

class TForm1 : public QMainWindow {
public:
    // Needs the data module DM loaded: the window's tables share its records.
    explicit TForm1(QWidget *parent = nullptr);

    TveltoCalendar *VL;

    // The window's own cursors, filters and orders on DM's courses, occasions and course-teacher
    // links; the rows are DM's.
    TztrMemTable MT_kurzus_temp;
    TztrMemTable MT_kurzusoktato_temp2;
    TztrMemTable MT_alkalom_temp;

    // The room text of MT_alkalom_temp's rows is looked up only while this is set, so that walks
    // over many occasions that never show it skip the lookups.
    bool RoomTextOn = false;

    // Occasion rows to calendar items. A row argument is the current record of its dataset; a
    // null dataset, or one at its end, means there is no such row.
    void AddCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject);
    // Rewrites the item of the occasion in place; tells the user when it is not on the calendar.
    // The teacher names are left empty until the next rebuild.
    void UpdateCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject);
    TSajat *FindCalendarItem(int alkalomId) const;
    // As above, with the course's subject looked up in DM.
    void AddCalendarItemForCourse(TDataSet &occasion, TDataSet *course);
    void UpdateCalendarItemForCourse(TDataSet &occasion, TDataSet *course);
    // As above, with the course looked up among the courses of this window; an occasion whose
    // course is not there is left off the calendar.
    void AddOccasionToCalendar(TDataSet &occasion);
    void UpdateOccasionInCalendar(TDataSet &occasion);

    void MT_alkalom_tempkiirasGetText(TField &sender, std::string &text, bool displayText);

private:
    void FormCreate();
    void fillItem(TSajat &item, TDataSet &occasion, TDataSet *course, TDataSet *subject);
    QString teacherNames(int kurzusId);
    TDataSet *courseSubject(TDataSet *course);
};

extern TForm1 *Form1;

// Whether the week mask has a "1" at the 1-based position `from` or after it.
bool HasWeekFrom(const std::string &mask, int from);

// What every window caption of the program ends with: the semester and its season.
QString SemesterCaption(const std::string &felev);
