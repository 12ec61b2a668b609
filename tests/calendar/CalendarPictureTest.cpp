#include "CalendarTestSupport.h"

#include <QCoreApplication>
#include <QDir>

using namespace calendartest;

namespace {

// Pictures go to the build folder, beside the folder of the test binaries.
QString picturesFolder()
{
    const QString folder = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../pictures")).absolutePath();
    QDir().mkpath(folder);
    return folder;
}

struct Occasion {
    int day;
    int startMinute;
    int length;
    const char *subject;
};

// A planner's fortnight: overlapping seminars, double periods and a few odd times.
const Occasion Fortnight[] = {
    {2, 465, 90, "BMEVIAUA01; Algebra; QBF10; Dr. Kovács Anna"},
    {2, 465, 90, "BMEVIAUA02; Analízis I.; QBF12; +; Nagy Péter"},
    {2, 570, 180, "BMEVITMA03; Programozás alapjai; IL105; Szabó Éva, Tóth Gábor"},
    {3, 675, 90, "BMEVIHIA04; Fizika; K150; Varga László"},
    {4, 465, 90, "BMEVIAUA05; Digitális technika; QBF08; Molnár Zsófia"},
    {4, 480, 90, "BMEVIAUA06; Valószínűségszámítás; QBF09; #; Kiss Ádám"},
    {4, 500, 120, "BMEVIAUA07; Gazdaságtan; QBF11; Horváth Júlia"},
    {5, 885, 90, "BMEVIAUA08; Jelek és rendszerek; IB028; Farkas Bence"},
    {6, 990, 90, "BMEVIAUA09; Szoftvertechnológia; IB025; (1,3-5); Balogh Eszter"},
    {9, 570, 90, "BMEVIAUA10; Adatbázisok; QBF13; Papp Dániel"},
    {10, 780, 195, "BMEVIAUA11; Számítógépes grafika labor; IL302; Lakatos Rita"},
    {12, 465, 90, "BMEVIAUA12; Operációs rendszerek; QBF14; Simon Márk"},
    {13, 1095, 90, "BMEVIAUA13; Rendszerelmélet; QBF15; Fekete Lili"},
};

class CalendarPicture : public testing::Test {
protected:
    void SetUp() override
    {
        calendar = shownCalendar(1400, 820);
        calendar->SetFixedColor(0xA0A0A4);
        calendar->SetColor(clCream);
        calendar->SetSelColor(clGreen);
        calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
        calendar->SetHetek(2);
        applyRows(*calendar, 7);
        calendar->SetCaption(QStringLiteral("2025-2026-1"));
        fit(*calendar);
        for (const Occasion &occasion : Fortnight) {
            TCustomCalendarItem *item = addItem(*calendar, occasion.day + occasion.startMinute / 1440.0,
                                                occasion.length, QString::fromUtf8(occasion.subject));
            item->SetBGColor(clMoneyGreen);
        }
    }

    void save(const QString &name)
    {
        const QString path = picturesFolder() + QLatin1Char('/') + name;
        EXPECT_TRUE(calendar->grab().save(path)) << path.toStdString();
    }

    std::unique_ptr<TveltoCalendar> calendar;
};

} // namespace

// Pictures for a person to look at: a fortnight with overlaps, a selected item and cells, then a drag.
TEST_F(CalendarPicture, FortnightWithSelectionsAndADrag)
{
    CalendarMouse mouse(*calendar);
    mouse.press(calendar->CellRect(9, 3).center());
    mouse.move(calendar->CellRect(9, 4).center());
    mouse.release(calendar->CellRect(9, 4).center());
    TCustomCalendarItem *selected = calendar->Items()[5];
    clickItem(*calendar, selected);
    calendar->Items()[1]->SetSelect(true);
    ASSERT_EQ(calendar->SelectedItem(), selected);
    ASSERT_EQ(calendar->Selection(), (TGridRect{9, 3, 9, 4}));
    save(QStringLiteral("calendar-fortnight.png"));

    TveltoCalendarObj *box = calendar->Items()[3]->Obj();
    const QPoint to = calendar->CellRect(8, 5).center();
    mouse.press(box->geometry().center(), Qt::ControlModifier);
    mouse.move(to);
    ASSERT_EQ(box->DragMode(), TveltoCalendarObj::dmMove);
    save(QStringLiteral("calendar-dragging.png"));
    calendar->OnMoving = [](TveltoCalendar &, TCustomCalendarItem *, TDateTime, TDateTime, int, bool &accept) {
        accept = false;
    };
    mouse.release(to, Qt::ControlModifier);
}
