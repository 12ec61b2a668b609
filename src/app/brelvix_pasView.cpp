// The main window's view rebuild: the course list and the calendar for the current mode.

#include "app/brelvix_pas.h"

#include "app/ProgramForms.h"
#include "app/brelvix_pasCommon.h"
#include "app/vonalzo.h"
#include "data/datam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScopeGuard>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <set>

using namespace mainwindow;

namespace {

// List filter codes.
constexpr int NoOccasion = 0;
constexpr int NoTeacher = 1;
constexpr int NoRoom = 2;
constexpr int All = 3;
constexpr int NoHeadCountLimit = 4;
constexpr int WithSubject = 5;

bool hasWeek(const std::string &mask, int week)
{
    return week >= 1 && week <= int(mask.size()) && mask[std::size_t(week - 1)] == '1';
}

bool noHeadCountLimit(const TDataSet &course)
{
    TField *limit = course.FieldByName("max_letszam");
    const std::string text = limit->AsString();
    return text.empty() || text == "0" || limit->AsInteger() <= 0;
}

// What the occasions now in the view tell about a course.
struct OccasionFacts {
    int count = 0;
    bool withoutRoom = false;
    bool inChosenWeek = false;
};

OccasionFacts occasionFacts(TDataSet &occasions, int week, bool fromWeekOn)
{
    OccasionFacts facts;
    for (occasions.First(); !occasions.Eof(); occasions.Next()) {
        ++facts.count;
        if (intOf(occasions, "terem_id") <= 0)
            facts.withoutRoom = true;
        const std::string mask = textOf(occasions, "hetek");
        if (fromWeekOn ? HasWeekFrom(mask, week) : hasWeek(mask, week))
            facts.inChosenWeek = true;
    }
    occasions.First();
    return facts;
}

// Whether the list filter lets a course through, from what its occasions tell.
bool admittedByListFilter(int listFilter, bool countOccasions, TDataSet &course, bool noTeacher,
                          const OccasionFacts &facts)
{
    switch (listFilter) {
    case NoOccasion:
        return facts.count == 0;
    case NoTeacher:
        return noTeacher;
    case NoRoom:
        return facts.withoutRoom;
    case All:
        return !countOccasions || facts.count >= 2;
    case NoHeadCountLimit:
        return noHeadCountLimit(course);
    case WithSubject:
        return intOf(course, "targy_id") >= 0;
    default:
        return false;
    }
}

} // namespace

QString mainwindow::courseListTitle(const TDataSet &course)
{
    if (const std::string title = textOf(course, "megnevezes"); !title.empty())
        return guiText(title);
    const int targyId = intOf(course, "targy_id");
    if (targyId < 0)
        return QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    if (locateKey(DM->MT_targy, "targy_id", targyId))
        return guiText(textOf(DM->MT_targy, "targy_nev"));
    return QString();
}

void TForm1::RefreshView()
{
    // Both are drawn once, when the rebuild is over: the list would otherwise work out the
    // place of every row above the one it selects, which takes measuring each row's texts.
    VL->setUpdatesEnabled(false);
    LV->setUpdatesEnabled(false);
    RefreshBusy = true;
    rebuildTeachers_.reset();
    // A rebuild that fails half way still gives the calendar, the list and the occasion panel back.
    const auto done = qScopeGuard([this] {
        RefreshBusy = false;
        rebuildTeachers_.reset();
        LV->setUpdatesEnabled(true);
        VL->setUpdatesEnabled(true);
    });
    RoomTextOn = false;
    VL->Items().Clear();
    LV->clear();
    // Until a row of more lines comes (see CourseListRow).
    LV->setUniformRowHeights(true);
    {
        // The occasion panel and its counter, and the course's teacher and subject grids, follow
        // their tables once, when the first course is selected, rather than at every row the walk
        // passes, for the course it ends on and again for the selection.
        ControlsDisabled still({&MT_alkalom_temp, &MT_oktato_temp, &MT_kurzustargy_temp});
        {
            // The calendar lays its items out once.
            TCalendarItems &items = VL->Items();
            items.BeginUpdate();
            const auto laidOut = qScopeGuard([&items] { items.EndUpdate(); });
            // The lookups of every item move these tables; their grids show only where they end.
            ControlsDisabled subjectsStill(DM->MT_targy);
            ControlsDisabled teachersStill(DM->MT_oktato);
            ControlsDisabled roomsStill(DM->MT_terem_alkalomhoz);
            listCourses();
        }
        // The first row listed is selected where the sort puts it, as if selected at the top
        // before the sort and followed there, with the list laid out once rather than twice.
        QTreeWidgetItem *first = LV->topLevelItem(0);
        SortColumn = 0;
        SortLV();
        if (first) {
            LV->scrollToTop();
            LV->setCurrentItem(first);
        }
    }
}

void TForm1::listCourses()
{
    if (TimetableId >= 0) {
        listTimetable(TimetableId, true, true);
        return;
    }
    if (SelectionId < 0)
        return;
    // Hidden while the walk runs, the occasion panel passes on a focus inside it; one without the
    // focus stays shown, which spares laying it out twice. It is shown however the walk ends.
    if (DBCtrlGrid1->isAncestorOf(focusWidget()))
        DBCtrlGrid1->hide();
    const auto shown = qScopeGuard([this] { DBCtrlGrid1->show(); });
    switch (WorkMode) {
    case 1:
        listTimetable(SelectionId, false, false);
        break;
    case 2:
        listRoom();
        break;
    case 3:
        listLinkedCourses(DM->MT_kurzusoktato, "oktato_id");
        break;
    case 4:
        listLinkedCourses(DM->MT_kurzustargy, "targy_id");
        break;
    default:
        break;
    }
}

int TForm1::chosenWeek() const
{
    return std::max(HetekCB->currentIndex(), 0);
}

void TForm1::loadCoursePanels(int courseId, int teacherCourseId, int linkedCourseId)
{
    LoadCourseTeachers(teacherCourseId, -1);
    LoadCourseEditor(courseId);
    LoadCourseSubjects(courseId, -1);
    LoadLinkedCourses(linkedCourseId);
}

QTreeWidgetItem *TForm1::addCourseRow(const QString &caption, TDataSet &course, const QString &title,
                                      const QString &selection, bool withSubject)
{
    auto row = std::make_unique<CourseListRow>();
    row->setText(0, caption);
    row->setText(1, title);
    row->setText(2, guiText(course.FieldByName("max_letszam")->AsString()));
    row->setText(3, guiText(textOf(course, "megjegyzes")));
    row->setText(4, QString::number(intOf(course, "kurzus_id")));
    row->setText(5, selection);
    if (withSubject)
        row->setText(6, QString::number(intOf(course, "targy_id")));
    row->joinList(*LV);
    return row.release();
}

void TForm1::listTimetable(int orarendId, bool followLinkedCourse, bool weekTestOnItems)
{
    const int lastCourse = walkTimetable(orarendId, followLinkedCourse, weekTestOnItems);
    RoomTextOn = true;
    MT_alkalom_temp.First();
    loadCoursePanels(lastCourse, lastCourse, lastCourse);
}

int TForm1::walkTimetable(int orarendId, bool followLinkedCourse, bool weekTestOnItems)
{
    TztrMemTable &links = DM->MT_kurzusorarend;
    // The grids over the shared tables follow them once, when they are handed back.
    ControlsDisabled linksStill(links);
    ControlsDisabled subjectsStill(DM->MT_kurzustargy);
    ControlsDisabled teachersStill(DM->MT_kurzusoktato);
    // The shared tables are handed back unfiltered and unlinked however the walk ends.
    const auto release = qScopeGuard([&links] {
        links.SetFiltered(false);
        for (TztrMemTable *detail : {&DM->MT_kurzustargy, &DM->MT_kurzusoktato}) {
            detail->SetMasterSource(nullptr);
            detail->SetMasterFields("");
        }
    });
    refilter(links, keyFilter("orarend_id", orarendId));
    for (TztrMemTable *detail : {&DM->MT_kurzustargy, &DM->MT_kurzusoktato}) {
        detail->SetMasterSource(&DS_kurzus_temp);
        detail->SetMasterFields("kurzus_id");
    }
    MT_alkalom_temp.SetFiltered(false);

    const int week = chosenWeek();
    const bool everyOccasion = AlkalomCB->isChecked();
    int lastCourse = -1;
    for (links.First(); !links.Eof(); links.Next()) {
        if (intOf(links, "orarend_id") != orarendId)
            continue;
        const int kurzusId = intOf(links, "kurzus_id");
        lastCourse = kurzusId;
        refilter(MT_alkalom_temp, keyFilter("kurzus_id", kurzusId));
        if (!MT_kurzus_temp.Locate("kurzus_id", kurzusId, {}))
            continue;
        const int linked = intOf(MT_kurzus_temp, "kurzus_id_csatolt");
        const int targyId = intOf(MT_kurzus_temp, "targy_id");
        const QString title = courseListTitle(MT_kurzus_temp);
        // A course of a group shows the occasions of the course it is attached to.
        if (followLinkedCourse && linked > 0)
            refilter(MT_alkalom_temp, keyFilter("kurzus_id", linked));

        const bool noTeacher = !DM->MT_kurzusoktato.Locate("kurzus_id", kurzusId, {});
        // One walk over the occasions MT_alkalom_temp now shows serves the list filter and the week test.
        const OccasionFacts facts = occasionFacts(MT_alkalom_temp, week, everyOccasion);
        if (!admittedByListFilter(ListFilter, tobbalkalomCB->isChecked(), MT_kurzus_temp, noTeacher, facts))
            continue;
        if (week >= 1 && week <= 15 && !facts.inChosenWeek)
            continue;

        const QString code = guiText(textOf(MT_kurzus_temp, "kurzus_kod_osszetett"));
        addCourseRow(targyId < 0 ? QStringLiteral("!") + code : code, MT_kurzus_temp, title,
                     QString::number(orarendId), true);
        for (MT_alkalom_temp.First(); !MT_alkalom_temp.Eof(); MT_alkalom_temp.Next()) {
            if (weekTestOnItems && week > 0 && !everyOccasion && !hasWeek(textOf(MT_alkalom_temp, "hetek"), week))
                continue;
            RoomTextOn = true;
            AddCalendarItemForCourse(MT_alkalom_temp, &MT_kurzus_temp);
            RoomTextOn = false;
        }
    }
    return lastCourse;
}

std::vector<int> TForm1::coursesUsingRoom(int teremId)
{
    if (!roomOccasions_.Active()) {
        roomOccasions_.SetName("roomOccasions");
        roomOccasions_.IndexDefs().Add("terem_id", "terem_id", {});
        roomOccasions_.SetAttachedTo(&DM->MT_alkalom);
        roomOccasions_.SetIndexName("terem_id");
        roomOccasions_.Open();
    }
    std::set<int> used;
    if (roomOccasions_.Locate("terem_id", teremId, {})) {
        for (; !roomOccasions_.Eof() && intOf(roomOccasions_, "terem_id") == teremId; roomOccasions_.Next())
            used.insert(intOf(roomOccasions_, "kurzus_id"));
    }
    // In the order of the course table, as a walk over every course would meet them.
    std::vector<std::pair<int, int>> placed;
    for (const int kurzusId : used) {
        if (MT_kurzus_temp.Locate("kurzus_id", kurzusId, {}))
            placed.emplace_back(MT_kurzus_temp.RecNo(), kurzusId);
    }
    std::sort(placed.begin(), placed.end());
    std::vector<int> courses;
    for (const auto &course : placed)
        courses.push_back(course.second);
    return courses;
}

void TForm1::listRoom()
{
    LV->hide();
    ControlsDisabled still(MT_alkalom_teremtemp);
    MT_kurzus_temp.SetFiltered(false);
    // The walk visits only the courses that use the room, so the bar counts those.
    const std::vector<int> courses = coursesUsingRoom(SelectionId);
    if (Vonal)
        Vonal->start(int(courses.size()), "Fress");
    // The progress window closes and the list comes back however the walk ends.
    const auto release = qScopeGuard([this] {
        if (Vonal)
            Vonal->finish();
        LV->show();
    });
    const bool everyOccasion = AlkalomCB->isChecked();
    const auto showOccasionsOf = [this](int kurzusId) {
        refilter(MT_alkalom_teremtemp, "(" + keyFilter("kurzus_id", kurzusId) + ")");
    };
    {
        // The course table's detail views follow it once, when the walk is over.
        ControlsDisabled coursesStill(DM->MT_kurzus);
        for (const int kurzusId : courses) {
            if (Vonal)
                Vonal->step();
            MT_kurzus_temp.Locate("kurzus_id", kurzusId, {});
            showOccasionsOf(kurzusId);
            addCourseRow(guiText(textOf(MT_kurzus_temp, "kurzus_kod")), MT_kurzus_temp,
                         courseListTitle(MT_kurzus_temp), QStringLiteral("-1"), false);
            const int linked = intOf(MT_kurzus_temp, "kurzus_id_csatolt");
            TDataSet *course = linked > 0 && DM->MT_kurzus.Locate("kurzus_id", linked, {})
                                   ? static_cast<TDataSet *>(&DM->MT_kurzus)
                                   : &MT_kurzus_temp;
            for (; !MT_alkalom_teremtemp.Eof(); MT_alkalom_teremtemp.Next()) {
                if (!everyOccasion && intOf(MT_alkalom_teremtemp, "terem_id") != SelectionId)
                    continue;
                RoomTextOn = true;
                AddCalendarItemForCourse(MT_alkalom_teremtemp, course);
                RoomTextOn = false;
            }
        }
    }
    // The tables end where a walk over every course leaves them: past the last course, whose
    // occasions stay filtered.
    MT_kurzus_temp.Last();
    if (!MT_kurzus_temp.IsEmpty()) {
        showOccasionsOf(intOf(MT_kurzus_temp, "kurzus_id"));
        MT_alkalom_teremtemp.Last();
    }
    MT_alkalom_temp.First();
    RoomTextOn = true;
    loadCoursePanels(-1, -1, -1);
}

void TForm1::listLinkedCourses(TztrMemTable &links, const char *keyField)
{
    refilter(MT_alkalom_temp, keyFilter("kurzus_id", -1));
    {
        // The course table's detail views and the grids over the links follow them once, when
        // the walk is over.
        ControlsDisabled linksStill(links);
        ControlsDisabled coursesStill(DM->MT_kurzus);
        const auto release = qScopeGuard([&links] { links.SetFiltered(false); });
        refilter(links, keyFilter(keyField, SelectionId));
        for (; !links.Eof(); links.Next()) {
            const int kurzusId = intOf(links, "kurzus_id");
            TztrMemTable &courses = DM->MT_kurzus;
            if (!courses.Locate("kurzus_id", kurzusId, {}))
                continue;
            addCourseRow(guiText(textOf(courses, "kurzus_kod_osszetett")), courses, courseListTitle(courses),
                         QString::number(SelectionId), true);
            refilter(MT_alkalom_temp, keyFilter("kurzus_id", kurzusId));
            for (; !MT_alkalom_temp.Eof(); MT_alkalom_temp.Next()) {
                RoomTextOn = true;
                AddCalendarItemForCourse(MT_alkalom_temp, &courses);
                RoomTextOn = false;
            }
        }
    }
    MT_alkalom_temp.First();
    RoomTextOn = true;
    loadCoursePanels(-1, -1, -1);
}
