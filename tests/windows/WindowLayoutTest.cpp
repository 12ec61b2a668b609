// Every window of the program opened at the size it comes up with on a 1024 x 768 screen, looked
// at as a planner would: each window fits the screen, no control lies outside its window or
// its panel, none covers another, every caption shows whole, and the columns a grid is built to
// show are in view without scrolling.

#include "SampleDataWindows.h"
#include "app/vonalzo.h"
#include "memtable/ztrMemTable.h"
#include "platform/widgets/DBCGrids.h"
#include "platform/widgets/DBGrids.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace windowtest;

const QRect Screen(0, 0, 1024, 768);

QString nameOf(const QWidget &widget)
{
    QString name = widget.objectName();
    if (name.isEmpty())
        if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
            name = button->text();
    if (name.isEmpty())
        if (const auto *label = qobject_cast<const QLabel *>(&widget))
            name = label->text();
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(widget.metaObject()->className()), name);
}

// A scroll area's contents move under its viewport by design; the occasion panels never scroll.
bool scrolls(const QWidget &viewport)
{
    const auto *area = qobject_cast<const QAbstractScrollArea *>(viewport.parentWidget());
    return area && area->viewport() == &viewport && !dynamic_cast<const TDBCtrlGrid *>(area);
}

// Controls made of parts that Qt lays over one another on purpose.
bool composite(const QWidget &widget)
{
    return qobject_cast<const QTabWidget *>(&widget) || qobject_cast<const QTabBar *>(&widget) ||
           qobject_cast<const QComboBox *>(&widget) || qobject_cast<const QAbstractSpinBox *>(&widget) ||
           qobject_cast<const QAbstractScrollArea *>(&widget);
}

// The room a caption has inside its control, against the room its text takes.
bool captionCut(const QWidget &widget, QString &text)
{
    QStyleOptionButton option;
    option.initFrom(&widget);
    QStyle::SubElement contents;
    if (const auto *push = qobject_cast<const QPushButton *>(&widget)) {
        text = push->text();
        contents = QStyle::SE_PushButtonContents;
    } else if (const auto *check = qobject_cast<const QCheckBox *>(&widget)) {
        text = check->text();
        contents = QStyle::SE_CheckBoxContents;
    } else if (const auto *radio = qobject_cast<const QRadioButton *>(&widget)) {
        text = radio->text();
        contents = QStyle::SE_RadioButtonContents;
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        text = label->text();
        return !label->wordWrap() && !text.contains(QLatin1Char('\n')) &&
               label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width();
    } else {
        return false;
    }
    text.remove(QLatin1Char('&'));
    const QRect room = widget.style()->subElementRect(contents, &option, &widget);
    return widget.fontMetrics().horizontalAdvance(text) > room.width();
}

// What a planner would call a broken window, one line per fault.
void collectFaults(const QWidget &window, const QWidget &parent, QStringList &faults)
{
    QList<const QWidget *> shown;
    for (const QObject *object : parent.children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (child && !child->isWindow() && child->isVisibleTo(&window))
            shown << child;
    }
    for (const QWidget *child : shown) {
        const QRect inWindow(child->mapTo(&window, QPoint(0, 0)), child->size());
        if (!window.rect().contains(inWindow))
            faults << nameOf(*child) + QStringLiteral(" lies outside the window");
        else if (!parent.rect().contains(child->geometry()))
            faults << nameOf(*child) + QStringLiteral(" lies outside ") + nameOf(parent);
        QString text;
        if (captionCut(*child, text))
            faults << nameOf(*child) + QStringLiteral(" shows its caption cut");
        if (!scrolls(*child))
            collectFaults(window, *child, faults);
    }
    if (composite(parent))
        return;
    for (int i = 0; i < shown.size(); ++i)
        for (int j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                faults << nameOf(*shown[i]) + QStringLiteral(" overlaps ") + nameOf(*shown[j]);
}

void expectWellLaidOut(const QWidget &window, const std::string &name)
{
    EXPECT_TRUE(Screen.contains(QRect(QPoint(0, 0), window.size())))
        << name << " is " << window.width() << " x " << window.height();
    QStringList faults;
    collectFaults(window, window, faults);
    EXPECT_TRUE(faults.isEmpty()) << name << ":\n" << faults.join(QLatin1Char('\n')).toStdString();
}

// Each column of the grid (or those of the fields named) lies wholly in its visible width,
// scrolled to the left as it opens.
void expectColumnsInView(const TDBGrid &grid, const std::string &name, const std::set<std::string> &fields = {})
{
    ASSERT_TRUE(grid.isVisible()) << name;
    for (int column = 0; column < grid.Columns().Count(); ++column) {
        const TColumn &shown = *grid.Columns()[column];
        if (!shown.Visible() || (!fields.empty() && !fields.count(shown.FieldName())))
            continue;
        const QRect cell = grid.CellRect(column, 0);
        EXPECT_TRUE(cell.left() >= 0 && cell.right() < grid.viewport()->width())
            << name << ": column " << shown.FieldName() << " spans " << cell.left() << " to " << cell.right()
            << " of " << grid.viewport()->width();
    }
}

void showAtDesignedSize(QWidget &window)
{
    withModalsClosed([&] {
        window.show();
        QApplication::processEvents();
    });
}

// Brings a page to the front by clicking its tab.
void clickTab(QTabWidget &pages, QWidget *page)
{
    const int index = pages.indexOf(page);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(pages.isTabVisible(index));
    withModalsClosed([&] {
        QTest::mouseClick(pages.tabBar(), Qt::LeftButton, {}, pages.tabBar()->tabRect(index).center());
        QApplication::processEvents();
    });
    ASSERT_EQ(pages.currentWidget(), page);
}

class WindowLayout : public SampleDataWindows {};

// A point on the row's first column: a row wider than its list has its middle out of sight.
QPoint rowStart(const QTreeWidget &list, QTreeWidgetItem *row)
{
    const QRect rect = list.visualItemRect(row);
    return {rect.left() + 8, rect.center().y()};
}

// A course of a group, picked in the course list of the timetable that holds one.
QTreeWidgetItem *pickGroupedCourse(TForm1 &window)
{
    std::set<int> grouped;
    TztrMemTable courses;
    courses.SetAttachedTo(&DM->MT_kurzus);
    courses.Open();
    for (courses.First(); !courses.Eof(); courses.Next())
        if (const int head = courses.FieldByName("kurzus_id_csatolt")->AsInteger(); head > 0)
            grouped.insert(courses.FieldByName("kurzus_id")->AsInteger());
    withModalsClosed([&] { window.UM_orarend->trigger(); });
    QTreeWidget &timetables = *window.LV_orarend;
    for (int timetable = 0; timetable < timetables.topLevelItemCount(); ++timetable) {
        withModalsClosed([&] {
            QTest::mouseClick(timetables.viewport(), Qt::LeftButton, {},
                              rowStart(timetables, timetables.topLevelItem(timetable)));
        });
        for (int row = 0; row < window.LV->topLevelItemCount(); ++row) {
            QTreeWidgetItem *course = window.LV->topLevelItem(row);
            if (course->isHidden() || !grouped.count(course->text(4).toInt()))
                continue;
            window.LV->scrollToItem(course);
            QApplication::processEvents();
            withModalsClosed([&] {
                QTest::mouseClick(window.LV->viewport(), Qt::LeftButton, {}, rowStart(*window.LV, course));
            });
            return course;
        }
    }
    return nullptr;
}

TEST_F(WindowLayout, MainWindowFitsTheScreenForAPlannerAndAnAdministrator)
{
    showAtDesignedSize(*Form1);
    ASSERT_NE(pickGroupedCourse(*Form1), nullptr) << "the sample data holds a course group";
    QApplication::processEvents();
    expectWellLaidOut(*Form1, "main window");
    clickTab(*Form1->PC, Form1->PC_oktatok);
    expectColumnsInView(*Form1->G_okttemp, "teachers");
    clickTab(*Form1->PC, Form1->PC_targyak);
    expectColumnsInView(*Form1->DBGrid2, "subjects");
    clickTab(*Form1->PC, Form1->PC_kurzus);
    expectColumnsInView(*Form1->DBGrid1, "course group");
    expectWellLaidOut(*Form1, "main window, course group");

    // The administrator's single reservation button joins the course panel.
    Form1->B_egyfogl->show();
    Form1->B_admin->show();
    QApplication::processEvents();
    expectWellLaidOut(*Form1, "main window of an administrator");
    Form1->B_egyfogl->hide();
    Form1->B_admin->hide();
    Form1->hide();
}

TEST_F(WindowLayout, EveryDialogFitsTheScreen)
{
    for (const auto &[dialog, name] : everyDialog()) {
        ASSERT_NE(dialog, nullptr) << name;
        showAtDesignedSize(*dialog);
        expectWellLaidOut(*dialog, name);
        dialog->hide();
    }
}

TEST_F(WindowLayout, DialogsGiveTheirWindowsTheDesignedSizes)
{
    for (QWidget *dialog : {static_cast<QWidget *>(Teremfog), static_cast<QWidget *>(csoportfoglalasok)}) {
        showAtDesignedSize(*dialog);
        dialog->hide();
    }
    EXPECT_EQ(Teremfog->size(), QSize(809, 579));
    EXPECT_LE(Teremfog->minimumWidth(), 780);
    EXPECT_EQ(csoportfoglalasok->size(), QSize(914, 718));
    EXPECT_EQ(orarend->size(), QSize(746, 292));
}

TEST_F(WindowLayout, DialogGridsShowTheirColumnsInView)
{
    everyDialog();
    const auto check = [](QWidget &dialog, std::initializer_list<std::pair<TDBGrid *, const char *>> grids) {
        showAtDesignedSize(dialog);
        for (const auto &[grid, name] : grids)
            expectColumnsInView(*grid, name);
        dialog.hide();
    };
    check(*beemeles, {{beemeles->DBGrid1, "other courses"}, {beemeles->DBGrid2, "courses of the timetable"}});
    check(*teremvalasztas, {{teremvalasztas->DBGrid1, "rooms"}});
    check(*oktval, {{oktval->DBGrid1, "teachers"}});
    check(*orarend, {{orarend->DBGrid1, "timetables"}});
    check(*orarend_valaszto, {{orarend_valaszto->DBGrid1, "timetables of a course"}});

    showAtDesignedSize(*Targyfelvet);
    expectColumnsInView(*Targyfelvet->DBG_mintatanterv, "curricula");
    expectColumnsInView(*Targyfelvet->DBG_kurzusminta, "templates");
    clickTab(*Targyfelvet->PageControl1, Targyfelvet->TS_targy);
    expectColumnsInView(*Targyfelvet->DBG_targy, "subjects of a curriculum");
    Targyfelvet->hide();

    // Subjects (narrowed or all) and templates each open with their own pages.
    const std::pair<QWidget *, std::vector<std::pair<TDBGrid *, const char *>>> pages[] = {
        {targy_kereso->TS_szuk, {{targy_kereso->DBGrid1, "suggested subjects"}}},
        {targy_kereso->TS_targy, {{targy_kereso->DBGrid2, "subjects"}}},
        {targy_kereso->TS_kurzusminta,
         {{targy_kereso->DBG_kurzusminta, "templates"},
          {targy_kereso->DBG_kurzusmintatargyai, "subjects of a template"}}}};
    for (const int mode : {2, 3}) {
        targy_kereso->KeresesMod = mode;
        showAtDesignedSize(*targy_kereso);
        expectWellLaidOut(*targy_kereso, "subject search in mode " + std::to_string(mode));
        for (const auto &[page, grids] : pages) {
            if (!targy_kereso->PC->isTabVisible(targy_kereso->PC->indexOf(page)))
                continue;
            clickTab(*targy_kereso->PC, page);
            for (const auto &[grid, name] : grids)
                expectColumnsInView(*grid, name);
        }
        targy_kereso->hide();
    }

    // The administrator reads the times of the occasions.
    showAtDesignedSize(*Adminka);
    QTabWidget &tables = *Adminka->PageControl1;
    int occasions = 0;
    while (occasions < tables.count() && tables.tabText(occasions) != QStringLiteral("Alkalom"))
        ++occasions;
    ASSERT_LT(occasions, tables.count());
    clickTab(tables, tables.widget(occasions));
    const auto grids = childrenOf<TDBGrid>(*tables.widget(occasions));
    ASSERT_EQ(grids.size(), 1u);
    expectColumnsInView(*grids.front(), "occasions", {"kurzus_id", "kezd_ido", "veg_ido"});
    Adminka->hide();
}

TEST_F(WindowLayout, ProgressWindowOpensOverTheMainWindow)
{
    Form1->move(120, 40);
    showAtDesignedSize(*Form1);
    Vonal->start(3, "Mentés");
    const QPoint offset = Vonal->frameGeometry().center() - Form1->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << Vonal->frameGeometry().x() << "," << Vonal->frameGeometry().y();
    Vonal->finish();
    Form1->hide();
}

} // namespace
