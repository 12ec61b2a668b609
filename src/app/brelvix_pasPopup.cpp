// The popup every calendar item carries, with the timetables and subjects of the selected
// course, and the launches of the occupancy views.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/csoportfog.h"
#include "calendar/veltoCalendar.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

// A timetable under "Órarendben".
class TMenuItemExtended3 : public QAction {
public:
    using QAction::QAction;
    int OrarendId = -1;
    QString Megnevezes;
    std::string Hetek;
};

// A subject under "Alapértelmezés (később)"; only its code is kept.
class TMenuItemExtended : public QAction {
public:
    using QAction::QAction;
    std::array<std::string, 3> Texts;
};

QString subjectCaption(const TDataSet &subject)
{
    return QStringLiteral("%1, %2").arg(guiText(textOf(subject, "targy_kod")), guiText(textOf(subject, "targy_nev")));
}

} // namespace

void TForm1::PMSajatPopup()
{
    if (TCustomCalendarItem *selected = VL->SelectedItem())
        UresSor1->setVisible(selected->Select());
    const int courseId = selectedCourseId();
    if (courseId < 0)
        return;
    Orarendben->clear();
    TztrMemTable &courses = DM->MT_kurzus;
    if (!courses.Locate("kurzus_id", courseId, {}))
        return;
    const auto addItem = [this](auto *item, QMenu *menu) {
        item->setProperty("tag", 1);
        menu->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { ItemClick(item); });
        return item;
    };

    TztrMemTable &links = DM->MT_kurzusorarend;
    refilter(links, keyFilter("kurzus_id", courseId));
    for (; !links.Eof(); links.Next()) {
        if (!DM->MT_orarend.Locate("orarend_id", intOf(links, "orarend_id"), {}))
            continue;
        auto *item = addItem(new TMenuItemExtended3(guiText(textOf(DM->MT_orarend, "megnevezes")), Orarendben),
                             Orarendben);
        item->OrarendId = intOf(DM->MT_orarend, "orarend_id");
        item->Megnevezes = item->text();
        item->Hetek = textOf(DM->MT_orarend, "hetek");
    }
    links.SetFiltered(false);

    const int ownSubject = intOf(courses, "targy_id");
    const int templateId = intOf(courses, "kurzusminta_id");
    TztrMemTable &subjects = DM->MT_targy;
    // Without its own subject the course keeps the list of the previous opening.
    if (!subjects.Locate("targy_id", ownSubject, {}))
        return;
    Alapertelmezes->clear();
    const auto addSubject = [&](bool ticked) {
        auto *item = addItem(new TMenuItemExtended(subjectCaption(subjects), Alapertelmezes), Alapertelmezes);
        item->Texts[0] = textOf(subjects, "targy_kod");
        item->setCheckable(true);
        item->setChecked(ticked);
    };
    TztrMemTable &subjectLinks = DM->MT_kurzustargy;
    refilter(subjectLinks, keyFilter("kurzus_id", courseId));
    bool ownListed = false;
    for (; !subjectLinks.Eof(); subjectLinks.Next()) {
        const int targyId = intOf(subjectLinks, "targy_id");
        if (!subjects.Locate("targy_id", targyId, {}))
            continue;
        addSubject(targyId == ownSubject);
        ownListed = ownListed || targyId == ownSubject;
    }
    if (!ownListed && subjects.Locate("targy_id", ownSubject, {}))
        addSubject(true);

    if (DM->MT_kurzusminta.Locate("kurzusminta_id", templateId, {})) {
        const int templateSubject = intOf(DM->MT_kurzusminta, "targy_id");
        Alapertelmezes->addSeparator();
        TztrMemTable &templateSubjects = DM->MT_kurzusmintatargy;
        refilter(templateSubjects, keyFilter("kurzusminta_id", templateId));
        for (; !templateSubjects.Eof(); templateSubjects.Next()) {
            const int targyId = intOf(templateSubjects, "targy_id");
            if (subjects.Locate("targy_id", targyId, {}))
                addSubject(targyId == templateSubject);
        }
    }
    subjectLinks.SetFiltered(false);
    DM->MT_kurzusmintatargy.SetFiltered(false);
}

void TForm1::ItemClick(QAction *sender)
{
    auto *timetable = dynamic_cast<TMenuItemExtended3 *>(sender);
    if (!timetable)
        return;
    TimetableId = SelectionId = timetable->OrarendId;
    WeekMask = timetable->Hetek;
    setWindowTitle(QStringLiteral("Órarend") + SemesterCaption(DM->Felev) + QStringLiteral(": ") +
                   timetable->Megnevezes);
    RefreshView();
    UM_orarendek->setChecked(true);
    PM_Uzemmod->setDefaultAction(UM_orarendek);
    B_group->setText(QStringLiteral("Órarendek"));
    WorkMode = 0;
    showSelectorPage(nullptr);
}

void TForm1::prepareOccupancyCalendar(TveltoCalendar &calendar)
{
    DM->applyTimeRowPreset(ScaleMode, calendar);
    calendar.SetHetek(VL->Hetek());
    calendar.SetDays(VL->Days());
    calendar.SetVonalzoBal(VL->VonalzoBal());
    calendar.SetVonalzoJobb(VL->VonalzoJobb());
}

void TForm1::Button9Click()
{
    prepareOccupancyCalendar(*Teremfog->VL);
    Teremfog->exec();
}

void TForm1::openGroupOccupancy(int mode)
{
    csoportfoglalasok->FoglalasMod = mode;
    prepareOccupancyCalendar(*csoportfoglalasok->VL);
    csoportfoglalasok->exec();
}

void TForm1::Foglalsok1Click()
{
    if (DM->MT_kurzus.Locate("kurzus_id", selectedCourseId(), {}))
        openGroupOccupancy(Tcsoportfoglalasok::TantargyFoglalasai);
}

void TForm1::Foglalasok4Click()
{
    if (DM->MT_kurzus.Locate("kurzus_id", selectedCourseId(), {}))
        openGroupOccupancy(Tcsoportfoglalasok::KapcsolodoTargyakFoglalasai);
}

void TForm1::Foglalsok3Click()
{
    if (selectedCourseId() >= 0 && hasRow(&MT_alkalom_temp) &&
        DM->MT_terem.Locate("terem_id", intOf(MT_alkalom_temp, "terem_id"), {}))
        openGroupOccupancy(Tcsoportfoglalasok::TeremFoglalasai);
}
