// Calendar items clicked where they are drawn: which item and course become current, what the
// item's popup acts on, and that hiding the course panel leaves the current course alone.

#include "app/brelvix_pasFixture.h"
#include "calendar/CalendarTestSupport.h"

using namespace mainwindowtest;

namespace {

// A right click: the press and release, then the menu request the platform makes of it.
void rightClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &request);
}

} // namespace

class ItemSelection : public Faculty {
protected:
    void SetUp() override
    {
        Faculty::SetUp();
        form->resize(1200, 800);
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }
    // A click as the planner makes it, at the place of the viewport where the item's box is drawn.
    void clickItem(int alkalomId, Qt::MouseButton button = Qt::LeftButton)
    {
        const TveltoCalendarObj *box = itemOf(alkalomId)->Obj();
        ASSERT_TRUE(box->isVisible()) << "the box is not drawn";
        calendartest::CalendarMouse mouse(*form->VL);
        if (button == Qt::RightButton)
            mouse.rightClick(box->geometry().center());
        else
            mouse.click(box->geometry().center(), {}, button);
    }
    int currentCourse() const { return form->LV->currentItem() ? form->LV->currentItem()->text(4).toInt() : -1; }
    // The colour the box's background shows, beside its text.
    QColor background(int alkalomId) const
    {
        const TveltoCalendarObj *box = itemOf(alkalomId)->Obj();
        return box->grab().toImage().pixelColor(box->width() - 3, box->height() - 3);
    }
    // Opens a popup by `rightClick` and clicks its entry named `entry`.
    QStringList chooseFromPopup(const std::function<void()> &rightClick, const QString &entry,
                                QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        rightClick();
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        EXPECT_NE(menu, nullptr) << "no popup opened";
        if (!menu)
            return {};
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions())
            if (action->text() == entry)
                chosen = action;
        EXPECT_NE(chosen, nullptr) << entry.toStdString();
        if (!chosen)
            return {};
        return messagesOf([&] { QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center()); },
                          answer);
    }
};

TEST_F(ItemSelection, AClickedItemBecomesSelectedItsCourseCurrentAndASecondClickMarksIt)
{
    clickItem(110);
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(110));
    EXPECT_EQ(currentCourse(), 11);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("FIZ-1"));
    EXPECT_FALSE(itemOf(110)->Select()) << "a first click selects, it does not mark";
    EXPECT_EQ(background(110), toQColor(clMoneyGreen));
    clickItem(110);
    EXPECT_TRUE(itemOf(110)->Select());
    EXPECT_EQ(background(110), toQColor(clSkyBlue));
    clickItem(110);
    EXPECT_FALSE(itemOf(110)->Select());

    // Another course's item, then back: each first click only selects.
    clickItem(100);
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(100));
    EXPECT_EQ(currentCourse(), 10);
    clickItem(110);
    EXPECT_FALSE(itemOf(110)->Select());
    EXPECT_EQ(currentCourse(), 11);
    // Nor after a course picked in the list has selected its own item.
    clickRow(*form->LV, rowOf(10));
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(100));
    clickItem(110);
    EXPECT_FALSE(itemOf(110)->Select());
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(110));
}

TEST_F(ItemSelection, ACoursePickedInTheListSelectsItsItemAndTheListKeepsTheKeys)
{
    clickRow(*form->LV, rowOf(13));
    clickRow(*form->LV, rowOf(10));
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(100));
    EXPECT_TRUE(form->LV->hasFocus());
    // Sorted by code: KEM-1 stands above MAT-1.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(currentCourse(), 12);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("KEM-1"));
}

TEST_F(ItemSelection, DeleteFromAnItemsPopupAsksAboutThatItemAndRemovesOnlyItsOccasion)
{
    clickItem(110);
    const int count = form->VL->Items().Count();
    // The popup of another item acts on that item, not on the one selected before.
    const auto openItsPopup = [&] { clickItem(101, Qt::RightButton); };
    EXPECT_EQ(chooseFromPopup(openItsPopup, QStringLiteral("Törlés"), QMessageBox::Cancel),
              QStringList{"Valóban megakarja szüntetni?\r\n\r\n\r\nIdőpont:Szerda 10:00-12:00"});
    EXPECT_EQ(form->VL->Items().Count(), count);
    EXPECT_EQ(chooseFromPopup(openItsPopup, QStringLiteral("Törlés")),
              QStringList{"Valóban megakarja szüntetni?\r\n\r\n\r\nIdőpont:Szerda 10:00-12:00"});
    DM->MT_alkalom.SetFiltered(false);
    EXPECT_EQ(rowsOf(DM->MT_alkalom, {"alkalom_id"}), (QStringList{"100", "110", "140"}));
    EXPECT_EQ(form->VL->Items().Count(), count - 1);
    // The box gone, its focus does not wander to the next box and make that course current: the
    // panel goes back to the course's first occasion, whose item is selected.
    EXPECT_EQ(currentCourse(), 10);
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(100));
}

TEST_F(ItemSelection, PressPlatePrintsAndLeavesTheCourseThePlannerHadCurrent)
{
    QTemporaryDir folder;
    form->Printer.setOutputFormat(QPrinter::PdfFormat);
    form->Printer.setOutputFileName(folder.filePath(QStringLiteral("orarend.pdf")));
    clickItem(110);
    ASSERT_EQ(currentCourse(), 11);
    // The course whose items carry the current colours on the printed page.
    QSet<int> highlighted;
    answeringModals([&] { QTest::mouseClick(form->Button3, Qt::LeftButton); }, [&](QWidget &dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            return;
        }
        for (TCustomCalendarItem *item : form->VL->Items())
            if (item->BGColor() == clMoneyGreen)
                highlighted << static_cast<TSajat *>(item)->KurzusID;
        static_cast<QDialog &>(dialog).accept();
    });
    EXPECT_EQ(highlighted, QSet<int>{11});
    EXPECT_TRUE(form->Panel2->isVisible());
    EXPECT_EQ(currentCourse(), 11);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("FIZ-1"));
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(110));
}

TEST_F(ItemSelection, CalendarAloneFromThePopupKeepsTheCourseChosenInTheList)
{
    clickRow(*form->LV, rowOf(13));
    ASSERT_EQ(currentCourse(), 13);
    ASSERT_TRUE(form->LV->hasFocus());
    QWidget *grid = form->VL->viewport();
    // Right click on an empty day cell: Sunday is not shown, Monday's last row is free.
    const QPoint empty = form->VL->CellRect(1, form->VL->RowCount() - 1).center();
    ASSERT_EQ(grid->childAt(empty), nullptr);
    chooseFromPopup([&] { rightClick(grid, empty); }, QStringLiteral("Csak órarend"));
    EXPECT_FALSE(form->Panel2->isVisible());
    EXPECT_EQ(currentCourse(), 13);
    EXPECT_EQ(form->VL->SelectedItem(), nullptr);
    chooseFromPopup([&] { rightClick(grid, empty); }, QStringLiteral("Minden"));
    EXPECT_TRUE(form->Panel2->isVisible());
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("BIO-1"));
}

// A course gone from the view's table while its row is still listed: clicking its occasion still
// makes the row current and the item selected, and the panels follow the course.
TEST_F(ItemSelection, AnItemOfACourseGoneFromTheViewsTableStillSelectsItsListRow)
{
    ASSERT_TRUE(form->MT_kurzus_temp.Locate("kurzus_id", 11, {}));
    form->MT_kurzus_temp.Delete();
    clickItem(110);
    EXPECT_EQ(form->VL->SelectedItem(), itemOf(110));
    EXPECT_EQ(currentCourse(), 11);
}
