#include "platform/widgets/DBGrids.h"

#include "DataControlsTestSupport.h"

#include "platform/widgets/DBCtrls.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class GridOnRooms : public ::testing::Test {
protected:
    explicit GridOnRooms(int rows = 50) : rooms(rows) {}

    void SetUp() override
    {
        grid.resize(560, 240);
        grid.SetDataSource(&rooms.source);
        showActive(grid);
        grid.setFocus();
    }

    TColumn &column(const std::string &fieldName)
    {
        return *grid.Columns().ColumnOfField(rooms.table.FieldByName(fieldName));
    }
    int columnIndex(const std::string &fieldName) { return column(fieldName).Index(); }
    void clickCell(int column, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, grid.CellRect(column, row).center());
    }
    // Each key goes where the focus is: the first typed key opens the editor and moves it there.
    void type(const char *text)
    {
        for (; *text; ++text) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), *text);
        }
    }
    QWidget *focused() { return QApplication::focusWidget(); }

    RoomTable rooms;
    TDBGrid grid;
};

class GridOnManyRooms : public GridOnRooms {
protected:
    GridOnManyRooms() : GridOnRooms(2000) {}
};

// Answers the next modal message box with the given button once the event loop shows it.
// `text` gets the box's title and text joined by "|".
void answerNextMessageBox(QMessageBox::StandardButton answer, QString *text = nullptr)
{
    QTimer::singleShot(0, [answer, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (text)
            *text = box->windowTitle() + '|' + box->text();
        box->button(answer)->click();
    });
}

} // namespace

TEST_F(GridOnRooms, ColumnsFollowTheFieldsOrTheAddedOnesAndComeBackWhenTheDatasetReopens)
{
    ASSERT_EQ(grid.Columns().Count(), 3);
    EXPECT_EQ(grid.Columns()[1]->FieldName(), "terem_kod");
    rooms.table.FieldByName("terem_kod")->SetDisplayLabel(utf8ToCp1250("Hely/Név"));
    rooms.table.FieldByName("terem_id")->SetVisible(false);
    ASSERT_EQ(grid.Columns().Count(), 2);
    EXPECT_EQ(grid.Columns()[0]->FieldName(), "terem_kod");
    EXPECT_EQ(grid.Columns()[0]->Title().Caption(), QStringLiteral("Hely/Név"));
    EXPECT_EQ(grid.Columns().State(), csDefault);
    rooms.table.FieldByName("terem_id")->SetVisible(true);
    TColumn *code = grid.Columns().Add("terem_kod");
    code->Title().SetCaption("Hely/Név");
    code->SetWidth(150);
    TColumn *id = grid.Columns().Add("terem_id");
    id->SetVisible(false);
    ASSERT_EQ(grid.Columns().Count(), 2);
    EXPECT_EQ(grid.Columns().State(), csCustomized);
    EXPECT_EQ(code->Field(), rooms.table.FieldByName("terem_kod"));
    EXPECT_EQ(grid.CellRect(0, 0).width(), 150);
    EXPECT_TRUE(grid.CellRect(1, 0).isNull());
    grid.Columns().Clear();
    EXPECT_EQ(grid.Columns().Count(), 3);
    rooms.table.Close();
    EXPECT_EQ(grid.Columns().Count(), 0);
    EXPECT_EQ(grid.SelectedField(), nullptr);
    rooms.table.Open();
    EXPECT_EQ(grid.Columns().Count(), 3);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_id"));
}

TEST_F(GridOnRooms, NarrowColumnsCutTheirTextsUntilWidenedToTheirTitles)
{
    TColumn *code = grid.Columns().Add("terem_kod");
    code->Title().SetCaption(QStringLiteral("Helyiség neve"));
    code->SetWidth(30);
    TColumn *hidden = grid.Columns().Add("terem_id");
    hidden->SetWidth(0);
    EXPECT_NE(grid.ShownTitle(0), QStringLiteral("Helyiség neve"));
    EXPECT_NE(grid.ShownCellText(0, 0), QStringLiteral("Főépület 1"));
    grid.WidenColumnsToTitles();
    EXPECT_EQ(grid.ShownTitle(0), QStringLiteral("Helyiség neve"));
    EXPECT_EQ(grid.ShownCellText(0, 0), QStringLiteral("Főépület 1"));
    EXPECT_EQ(hidden->Width(), 0);
}

TEST_F(GridOnRooms, ClicksAndTheScrollBarMoveTheDatasetWhichTheGridFollows)
{
    clickCell(columnIndex("terem_kod"), 3);
    EXPECT_EQ(rooms.currentId(), 4);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_kod"));
    clickCell(0, 1);
    EXPECT_EQ(rooms.currentId(), 2);
    rooms.table.Last();
    const int rows = grid.VisibleRowCount();
    EXPECT_EQ(grid.verticalScrollBar()->value(), 49);
    // The last record stands on the bottom row, so the top row holds the record that many above.
    clickCell(0, 0);
    EXPECT_EQ(rooms.currentId(), 50 - rows + 1);
    rooms.table.First();
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    clickCell(0, 0);
    EXPECT_EQ(rooms.currentId(), 1);
    QScrollBar *bar = grid.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 49);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(rooms.currentId(), 2);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(rooms.currentId(), 2 + grid.VisibleRowCount());
    bar->setSliderPosition(39);
    EXPECT_EQ(rooms.currentId(), 40);
    EXPECT_EQ(bar->value(), 39);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(rooms.currentId(), 50);
}

TEST_F(GridOnRooms, TheScrollBarsFollowATableGrownAndShrunk)
{
    QScrollBar *bar = grid.verticalScrollBar();
    for (int id = 51; id <= 60; ++id)
        rooms.table.AppendRecord({id, utf8ToCp1250("Főépület " + std::to_string(id)), 10});
    EXPECT_EQ(bar->maximum(), 59);
    EXPECT_EQ(bar->value(), 59);
    bar->setSliderPosition(54);
    EXPECT_EQ(rooms.currentId(), 55);
    rooms.table.First();
    for (int i = 0; i < 40; ++i)
        rooms.table.Delete();
    EXPECT_EQ(bar->maximum(), 19);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(grid.ShownCellText(0, 0), QStringLiteral("41"));

    // Across: a value wider than the room makes the columns scroll, and they stop when it is gone.
    grid.resize(320, 240);
    QApplication::processEvents();
    QScrollBar *across = grid.horizontalScrollBar();
    ASSERT_EQ(across->maximum(), 0);
    rooms.table.Edit();
    rooms.table.FieldByName("terem_kod")->SetAsString(std::string(40, 'W'));
    rooms.table.Post();
    EXPECT_GT(across->maximum(), 0);
    rooms.table.Delete();
    EXPECT_EQ(across->maximum(), 0);
    EXPECT_EQ(grid.ShownCellText(columnIndex("terem_kod"), 0), QStringLiteral("Főépület 42"));
}

// As on a page of tabs not in front: the grid sizes its columns to the rows it shows once it is.
TEST(GridOnAHiddenPage, ShowsTheRowsThatChangedMeanwhileWithColumnsToFit)
{
    RoomTable rooms(30);
    QWidget window;
    auto *page = new QWidget(&window);
    auto *layout = new QVBoxLayout(page);
    auto *grid = new TDBGrid;
    layout->addWidget(grid);
    grid->SetDataSource(&rooms.source);
    window.resize(320, 240);
    page->resize(320, 240);
    showActive(window);
    page->hide();

    rooms.table.Last();
    rooms.table.Edit();
    rooms.table.FieldByName("terem_kod")->SetAsString(std::string(40, 'W'));
    rooms.table.Post();
    page->show();
    QApplication::processEvents();

    const int kod = grid->Columns().ColumnOfField(rooms.table.FieldByName("terem_kod"))->Index();
    const int bottom = grid->ShownRowCount() - 1;
    EXPECT_EQ(grid->ShownCellText(0, bottom), QStringLiteral("30"));
    EXPECT_GT(grid->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(grid->CellRect(kod, bottom).width(), grid->Columns()[kod]->Width());
    EXPECT_GT(grid->Columns()[kod]->Width(), QFontMetrics(grid->font()).horizontalAdvance(QString(10, u'W')));
    EXPECT_EQ(grid->verticalScrollBar()->value(), 29);
}

TEST_F(GridOnManyRooms, AThumbDragLandsOnTheRecordOfThatNumber)
{
    grid.verticalScrollBar()->setSliderPosition(1499);
    EXPECT_EQ(rooms.currentId(), 1500);
    clickCell(0, 0);
    EXPECT_LE(rooms.currentId(), 1500);
    EXPECT_GT(rooms.currentId(), 1500 - grid.VisibleRowCount());
}

TEST_F(GridOnRooms, KeysMoveTheDatasetAndTheColumnsAfterTheKeyHandlersHadThem)
{
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rooms.currentId(), 3);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(rooms.currentId(), 2);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(rooms.currentId(), 2 + grid.VisibleRowCount());
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(rooms.currentId(), 50);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(rooms.currentId(), 1);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(rooms.currentId(), 1);
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    rooms.table.FieldByName("terem_kod")->SetVisible(false);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_kapacitas"));
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_kapacitas"));
    QTest::keyClick(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_id"));
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_kapacitas"));
    EXPECT_EQ(focused(), &grid);
    std::vector<int> seen;
    grid.OnKeyDown = [&](TDBGrid &sender, int &key, Qt::KeyboardModifiers) {
        EXPECT_EQ(&sender, &grid);
        seen.push_back(key);
        if (key == Qt::Key_Down)
            key = 0;
    };
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_Down, Qt::Key_PageDown}));
    EXPECT_EQ(rooms.currentId(), 1 + grid.VisibleRowCount());
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    grid.OnKeyPress = [](TDBGrid &, QChar &key) {
        if (key == QLatin1Char('x'))
            key = QChar();
    };
    QTest::keyClick(&grid, 'x');
    EXPECT_FALSE(grid.EditorMode());
    QTest::keyClick(&grid, '4');
    EXPECT_TRUE(grid.EditorMode());
}

TEST_F(GridOnRooms, TitleCellAndDoubleClicksAreReportedATitleEdgeDragResizesAndTheMenuIsTheOneGiven)
{
    std::vector<std::string> clicked;
    grid.OnTitleClick = [&](TColumn &column) { clicked.push_back("title " + column.FieldName()); };
    grid.OnCellClick = [&](TColumn &column) {
        clicked.push_back(column.FieldName() + " " + std::to_string(rooms.currentId()));
    };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.TitleRect(2).center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.TitleRect(1).center());
    EXPECT_EQ(rooms.currentId(), 1);
    // Dragging a title's edge resizes the column without a title click.
    const QRect title = grid.TitleRect(0);
    const QPoint edge(title.right() + 1, title.center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(grid.viewport(), edge + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(grid.Columns()[0]->Width(), title.width() + 30);
    clickCell(columnIndex("terem_kapacitas"), 2);
    clickCell(columnIndex("terem_id"), 4);
    EXPECT_EQ(clicked, (std::vector<std::string>{"title terem_kapacitas", "title terem_kod", "terem_kapacitas 3",
                                                 "terem_id 5"}));
    int doubleClicks = 0;
    grid.OnDblClick = [&](TDBGrid &) { ++doubleClicks; };
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, 2).center());
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(rooms.currentId(), 3);
    QMenu menu;
    menu.addAction(QStringLiteral("Módosítás"));
    grid.SetPopupMenu(&menu);
    const QPoint at = grid.CellRect(0, 3).center();
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &request);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST_F(GridOnRooms, MultiSelectCollectsBookmarksByControlClicksAndShiftArrowsDroppingDeletedOnes)
{
    clickCell(0, 2, Qt::ControlModifier);
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    grid.SetOptions(grid.Options() + TDBGridOptions{dgMultiSelect});
    clickCell(0, 3, Qt::ControlModifier);
    clickCell(0, 1, Qt::ControlModifier);
    clickCell(0, 4, Qt::ControlModifier);
    TBookmarkList &selected = grid.SelectedRows();
    ASSERT_EQ(selected.Count(), 3);
    std::vector<int> ids;
    for (int i = 0; i < selected.Count(); ++i) {
        rooms.table.GotoBookmark(selected[i]);
        ids.push_back(rooms.currentId());
    }
    EXPECT_EQ(ids, (std::vector<int>{4, 2, 5}));
    // A second control click drops the row again; a plain click ends the selection.
    clickCell(0, 1, Qt::ControlModifier);
    EXPECT_EQ(selected.Count(), 2);
    EXPECT_FALSE(selected.CurrentRowSelected());
    clickCell(0, 0);
    EXPECT_EQ(selected.Count(), 0);
    grid.SetOptions(grid.Options() + TDBGridOptions{dgMultiSelect});
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.SelectedRows().Count(), 3);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    grid.SetOptions(grid.Options() + TDBGridOptions{dgMultiSelect});
    clickCell(0, 1, Qt::ControlModifier);
    clickCell(0, 2, Qt::ControlModifier);
    rooms.table.Delete();
    EXPECT_TRUE(grid.SelectedRows().Refresh());
    ASSERT_EQ(grid.SelectedRows().Count(), 1);
    rooms.table.GotoBookmark(grid.SelectedRows()[0]);
    EXPECT_EQ(rooms.currentId(), 2);
}

TEST_F(GridOnRooms, TypingOrAClickOnTheCurrentCellOpensTheEditorAndEnterPosts)
{
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    QTest::keyClick(&grid, Qt::Key_Down);
    type("77");
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(grid.InplaceEditor()->text(), QStringLiteral("77"));
    EXPECT_EQ(rooms.table.State(), dsEdit);
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    EXPECT_EQ(rooms.currentId(), 2);
    EXPECT_EQ(rooms.currentCapacity(), 77);
    EXPECT_EQ(focused(), &grid);
    clickCell(1, 2);
    EXPECT_FALSE(grid.EditorMode());
    clickCell(1, 2);
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_EQ(grid.InplaceEditor()->geometry().center().y(), grid.CellRect(1, 2).center().y());
    grid.SetOptions(grid.Options() + TDBGridOptions{dgRowSelect});
    EXPECT_FALSE(grid.EditorMode()) << "whole-row selection closes the editor";
}

TEST_F(GridOnRooms, EditedTextReachesTheFieldAsCp1250AndMovingToAnotherRowPostsIt)
{
    grid.SetSelectedIndex(columnIndex("terem_kod"));
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(grid.InplaceEditor()->text(), QStringLiteral("Főépület 1"));
    grid.InplaceEditor()->selectAll();
    typeText(grid.InplaceEditor(), QStringLiteral("Új szárny"));
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Enter);
    EXPECT_EQ(rooms.table.FieldByName("terem_kod")->AsString(), utf8ToCp1250("Új szárny"));
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    type("5");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Down);
    EXPECT_EQ(rooms.currentId(), 2);
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    rooms.table.First();
    EXPECT_EQ(rooms.currentCapacity(), 5);
}

TEST_F(GridOnRooms, EscapeOrARefusedValueLeavesTheStoredRecordAlone)
{
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    type("99");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    EXPECT_EQ(rooms.currentCapacity(), 10);
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    type("1x");
    EXPECT_THROW(pressKeyOn(grid.InplaceEditor(), Qt::Key_Return), EConvertError);
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_EQ(rooms.table.State(), dsEdit);
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    EXPECT_EQ(rooms.currentCapacity(), 10);
    EXPECT_EQ(std::count(rooms.table.calls.begin(), rooms.table.calls.end(), "post"), 50);
}

TEST_F(GridOnRooms, TheEditorTakesNoMoreThanTheFieldHoldsAndNoCharacterTheFilesCannotHold)
{
    grid.SetSelectedIndex(columnIndex("terem_kod"));
    typeCharacter(&grid, QStringLiteral("中"));
    EXPECT_FALSE(grid.EditorMode()) << "the first key opens no editor for what it would refuse";
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    QLineEdit *editor = grid.InplaceEditor();
    typeCharacter(editor, QStringLiteral("😀"));
    editor->selectAll();
    EXPECT_EQ(pasteInto(editor, QStringLiteral("中庭")).size(), 1);
    EXPECT_EQ(editor->text(), QStringLiteral("Főépület 1"));
    editor->selectAll();
    typeText(editor, QString(45, u'y'));
    EXPECT_EQ(editor->text(), QString(40, u'y'));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(rooms.currentRoom(), std::string(40, 'y'));
    // A number column is not held to the text column's length.
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_GT(grid.InplaceEditor()->maxLength(), 40);
}

TEST_F(GridOnRooms, ReadOnlyGridsAndWholeRowSelectionDoNotEdit)
{
    grid.SetReadOnly(true);
    type("5");
    EXPECT_FALSE(grid.EditorMode());
    grid.SetReadOnly(false);
    grid.SetOptions(grid.Options() + TDBGridOptions{dgRowSelect});
    type("5");
    EXPECT_FALSE(grid.EditorMode());
    grid.SetOptions(grid.Options() - TDBGridOptions{dgRowSelect, dgEditing});
    type("5");
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(rooms.table.State(), dsBrowse);
}

TEST_F(GridOnRooms, ReadOnlyColumnsAndFieldsDoNotEdit)
{
    TColumn *id = grid.Columns().Add("terem_id");
    grid.Columns().Add("terem_kod");
    id->SetReadOnly(true);
    rooms.table.FieldByName("terem_kod")->SetReadOnly(true);
    type("5");
    EXPECT_FALSE(grid.EditorMode());
    QTest::keyClick(&grid, Qt::Key_Right);
    type("5");
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(rooms.table.State(), dsBrowse);
}

TEST_F(GridOnRooms, InsertOrDownBelowTheLastRecordBeginsANewOne)
{
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(rooms.table.State(), dsInsert);
    type("99");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(rooms.table.RowCount(), 51);
    EXPECT_EQ(rooms.currentId(), 99);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rooms.currentId(), 2);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rooms.table.State(), dsInsert);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    EXPECT_EQ(rooms.table.RowCount(), 51);
    grid.SetOptions(grid.Options() - TDBGridOptions{dgEditing});
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rooms.table.State(), dsBrowse);
}

TEST_F(GridOnRooms, ControlDeleteAsksFirstWhenConfirmationIsOn)
{
    QTest::keyClick(&grid, Qt::Key_Down);
    QString question;
    answerNextMessageBox(QMessageBox::Cancel, &question);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    // Asked in the program's language, under the program's title.
    ASSERT_FALSE(QApplication::applicationDisplayName().isEmpty());
    EXPECT_EQ(question, QApplication::applicationDisplayName() + QStringLiteral("|Törli a rekordot?"));
    EXPECT_EQ(rooms.table.RowCount(), 50);
    answerNextMessageBox(QMessageBox::Ok);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(rooms.table.RowCount(), 49);
    EXPECT_EQ(rooms.currentId(), 3);
    grid.SetOptions(grid.Options() - TDBGridOptions{dgConfirmDelete});
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(rooms.table.RowCount(), 48);
}

TEST_F(GridOnRooms, ChangesMadeElsewhereShowInTheOpenEditorAndLeavingTheGridDropsABlankNewRecord)
{
    grid.SetSelectedIndex(columnIndex("terem_kapacitas"));
    grid.SetEditorMode(true);
    rooms.table.Edit();
    rooms.table.FieldByName("terem_kapacitas")->SetAsInteger(31);
    EXPECT_EQ(grid.InplaceEditor()->text(), QStringLiteral("31"));
    rooms.table.Post();
    EXPECT_FALSE(grid.EditorMode());
    QLineEdit other;
    other.setParent(grid.parentWidget());
    int exits = 0;
    grid.OnExit = [&](TDBGrid &) { ++exits; };
    QTest::keyClick(&grid, Qt::Key_Insert);
    grid.SetEditorMode(true);
    other.show();
    QApplication::setActiveWindow(&other);
    other.setFocus();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    EXPECT_EQ(rooms.table.RowCount(), 50);
}

TEST_F(GridOnRooms, AValueWrittenAgainElsewhereLeavesTheOpenEditorsCaret)
{
    clickCell(columnIndex("terem_kapacitas"), 0);
    clickCell(columnIndex("terem_kapacitas"), 0);
    ASSERT_TRUE(grid.EditorMode());
    QTest::keyClick(focused(), Qt::Key_Home);
    QTest::keyClick(focused(), Qt::Key_Right);
    rooms.table.Edit();
    rooms.table.FieldByName("terem_kapacitas")->SetAsInteger(10);
    EXPECT_EQ(grid.InplaceEditor()->text(), QStringLiteral("10"));
    EXPECT_EQ(grid.InplaceEditor()->cursorPosition(), 1);
    type("5");
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(rooms.currentCapacity(), 150);
}

TEST_F(GridOnRooms, AddedColumnsStayWhenTheGridMovesToAnotherDataSourceOrLosesItsTitles)
{
    grid.SetOptions(grid.Options() - TDBGridOptions{dgTitles, dgIndicator});
    EXPECT_TRUE(grid.TitleRect(0).isNull());
    EXPECT_EQ(grid.CellRect(0, 0).topLeft(), QPoint(0, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(3, grid.RowHeight() + 3));
    EXPECT_EQ(rooms.currentId(), 2);
    grid.Columns().Add("terem_kapacitas");
    grid.SetOptions(grid.Options() + TDBGridOptions{dgMultiSelect});
    clickCell(0, 1, Qt::ControlModifier);
    RoomTable narrowed(3);
    narrowed.table.Last();
    grid.SetDataSource(&narrowed.source);
    ASSERT_EQ(grid.Columns().Count(), 1);
    EXPECT_EQ(grid.SelectedField(), narrowed.table.FieldByName("terem_kapacitas"));
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    clickCell(0, 0);
    EXPECT_EQ(narrowed.currentId(), 1);
    grid.SetDataSource(&rooms.source);
    EXPECT_EQ(grid.SelectedField(), rooms.table.FieldByName("terem_kapacitas"));
}

TEST(GridOnAnEmptyTable, TypingBeginsTheFirstRecord)
{
    RoomTable rooms(0);
    TDBGrid grid;
    grid.resize(400, 200);
    grid.SetDataSource(&rooms.source);
    showActive(grid);
    grid.setFocus();
    QTest::keyClick(&grid, '7');
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(rooms.table.State(), dsInsert);
    QTest::keyClick(grid.InplaceEditor(), '3');
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
    ASSERT_EQ(rooms.table.RowCount(), 1);
    EXPECT_EQ(rooms.currentId(), 73);
}

// A dataset that cannot number its records, as a filtered memory table.
class UnnumberedTable : public ArrayDataSet {
public:
    bool IsSequenced() override { return false; }
};

TEST(GridOnUnnumberedRecords, TheScrollBarShowsOnlyTheEndsAndTheMiddle)
{
    UnnumberedTable table;
    table.FieldDefs().Add("n", ftInteger);
    table.Open();
    for (int i = 1; i <= 100; ++i)
        table.AppendRecord({i});
    table.First();
    TDataSource source(&table);
    TDBGrid grid;
    grid.resize(300, 200);
    grid.SetDataSource(&source);
    QScrollBar *bar = grid.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 1);
    bar->setSliderPosition(2);
    EXPECT_EQ(table.FieldByName("n")->AsInteger(), 100);
    EXPECT_EQ(bar->value(), 2);
    bar->setSliderPosition(0);
    EXPECT_EQ(table.FieldByName("n")->AsInteger(), 1);
}

TEST(GridWithoutData, ItsColumnsStillTakeClicksAndTyping)
{
    TDBGrid grid;
    grid.Columns().Add("targykod");
    grid.Columns().Add("targynev");
    grid.resize(400, 150);
    showActive(grid);
    grid.setFocus();
    std::vector<std::string> clicked;
    grid.OnCellClick = [&](TColumn &column) { clicked.push_back(column.FieldName()); };
    grid.OnTitleClick = [&](TColumn &column) { clicked.push_back("title " + column.FieldName()); };
    QString typed;
    grid.OnKeyPress = [&](TDBGrid &, QChar &key) { typed += key; };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, 0).center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.TitleRect(0).center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(0, 2).center());
    EXPECT_EQ(clicked, (std::vector<std::string>{"targynev", "title targykod"}));
    QTest::keyClicks(&grid, "ab");
    QTest::keyClick(&grid, Qt::Key_Backspace);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(typed, QStringLiteral("ab\b"));
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);
}

TEST_F(GridOnRooms, EnteringIsReportedOnceForTheGridAndItsEditor)
{
    QLineEdit other;
    showActive(other);
    other.setFocus();
    int enters = 0;
    grid.OnEnter = [&](TDBGrid &) { ++enters; };
    showActive(grid);
    grid.setFocus();
    EXPECT_EQ(enters, 1);
    grid.SetEditorMode(true);
    ASSERT_EQ(focused(), grid.InplaceEditor());
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
    EXPECT_EQ(focused(), &grid);
    EXPECT_EQ(enters, 1);
}

TEST(GridPicture, TheCurrentCellIsHighlightedAndThePictureIsWritten)
{
    RoomTable rooms(8);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *grid = new TDBGrid(&window);
    auto *edit = new TDBEdit(&window);
    layout->addWidget(grid);
    layout->addWidget(edit);
    grid->SetOptions(grid->Options() + TDBGridOptions{dgAlwaysShowSelection});
    grid->SetDataSource(&rooms.source);
    TColumn *code = grid->Columns().Add("terem_kod");
    code->Title().SetCaption("Hely/Név");
    code->SetWidth(150);
    TColumn *capacity = grid->Columns().Add("terem_kapacitas");
    capacity->Title().SetCaption("Max hely");
    capacity->Title().SetAlignment(taCenter);
    capacity->SetWidth(70);
    rooms.table.FieldByName("terem_kapacitas")->SetAlignment(taRightJustify);
    edit->SetDataSource(&rooms.source);
    edit->SetDataField("terem_kod");
    window.resize(280, 260);
    window.show();
    rooms.table.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("Főépület 2"));
    // Scroll bars come and go through queued calls.
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    const QImage picture = window.grab().toImage();
    EXPECT_TRUE(picture.save(QApplication::applicationDirPath() + "/dbcontrols.png"));
    const auto pixelAt = [&](int column, int row) {
        return picture.pixelColor(grid->viewport()->mapTo(&window, grid->CellRect(column, row).topLeft() + QPoint(2, 2)));
    };
    EXPECT_EQ(pixelAt(0, 1), grid->palette().color(QPalette::Highlight));
    EXPECT_EQ(pixelAt(1, 1), grid->palette().color(QPalette::Base));
    EXPECT_EQ(pixelAt(0, 2), grid->palette().color(QPalette::Base));
}

// The one blank row of an empty grid is no record and is not drawn as the current one.
TEST(DBGridEmpty, ShowsItsBlankRowUnhighlighted)
{
    RoomTable rooms(0);
    TDBGrid grid;
    grid.resize(300, 120);
    grid.SetOptions(TDBGridOptions{dgColLines, dgRowLines, dgRowSelect, dgAlwaysShowSelection});
    grid.SetDataSource(&rooms.source);
    showActive(grid);
    const QImage drawn = grid.viewport()->grab().toImage();
    const QPoint inRow = grid.CellRect(0, 0).center();
    EXPECT_EQ(drawn.pixelColor(inRow), grid.palette().color(QPalette::Base));

    rooms.table.AppendRecord({1, std::string("A1"), 10});
    const QImage withRecord = grid.viewport()->grab().toImage();
    EXPECT_EQ(withRecord.pixelColor(grid.CellRect(0, 0).topLeft() + QPoint(1, 1)),
              grid.palette().color(QPalette::Highlight));
}
