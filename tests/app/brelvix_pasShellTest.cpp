// The frame of the main window: caption, calendar fitting, days and time rows, colour schemes,
// the panel's buttons, the administrator switch, and printing.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>

using namespace mainwindowtest;

TEST(SemesterCaption, AutumnWhenTheEleventhCharacterIsOneElseSpring)
{
    EXPECT_EQ(SemesterCaption("2025-2026-1"), QStringLiteral(" (2025-2026-1 ősz)"));
    EXPECT_EQ(SemesterCaption("2025-2026-2"), QStringLiteral(" (2025-2026-2 tavasz)"));
    EXPECT_EQ(SemesterCaption("2025"), QStringLiteral(" (2025 tavasz)"));
}

TEST(CalendarFitting, SharesOutInOrderWithTheRemainderToTheLaterCells)
{
    EXPECT_EQ(ShareOut(900, 5), (std::vector<int>{180, 180, 180, 180, 180}));
    EXPECT_EQ(ShareOut(900, 7), (std::vector<int>{128, 128, 128, 129, 129, 129, 129}));
    EXPECT_TRUE(ShareOut(900, 0).empty());
}

TEST(CalendarFitting, CalendarOfAThousandPixelsGetsATimeColumnOfAHundred)
{
    TveltoCalendar calendar;
    calendar.SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday, vlSaturday, vlSunday});
    // Scroll bars coming and going would change the client area under the test.
    calendar.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendar.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendar.show();
    calendar.resize(1000, 600);
    // Aim the client area at exactly 1000 by 600 whatever the frame takes.
    calendar.resize(2000 - calendar.ClientWidth(), 1200 - calendar.ClientHeight());
    ASSERT_EQ(calendar.ClientWidth(), 1000);
    FitCalendarCells(calendar);

    EXPECT_EQ(calendar.ColWidths(0), 100);
    std::vector<int> days;
    for (int col = 1; col < calendar.ColCount(); ++col)
        days.push_back(calendar.ColWidths(col));
    EXPECT_EQ(days, (std::vector<int>{128, 128, 128, 129, 129, 129, 129}));
    EXPECT_EQ(calendar.RowHeights(0), 20);
    int rows = 0;
    for (int row = 1; row < calendar.RowCount(); ++row)
        rows += calendar.RowHeights(row);
    EXPECT_EQ(rows, 580);
}

TEST(CalendarFitting, TimeColumnWidensToShowTheLongestRowLabelWhole)
{
    TveltoCalendar calendar;
    calendar.SetDays({vlMonday, vlTuesday});
    calendar.show();
    calendar.resize(1000, 600);
    const QString label = QStringLiteral("13-14 18:15-19:45");
    calendar.AddRow(465, 90, label);
    calendar.AddRow(-1, 0, QString());
    FitCalendarCells(calendar);

    const int shown = calendar.ColWidths(0) - 6;
    EXPECT_GE(shown, QFontMetrics(calendar.viewport()->font()).horizontalAdvance(label));
}

class WindowShell : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        form->show();
    }
    unsigned days() const { return form->VL->Days().bits(); }
    int firstRowStart() const { return form->VL->Rows().empty() ? -1 : form->VL->Rows().front().Start; }
};

TEST_F(WindowShell, ShowStartsOnTheWorkingWeekWithTheOwnRowsAndNoSelection)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Órarend  (2025-2026-1 ősz)"));
    EXPECT_EQ(form->ScaleMode, 4);
    EXPECT_EQ(form->WorkMode, 0);
    EXPECT_EQ(form->ListFilter, 3);
    EXPECT_EQ(form->TimetableId, -1);
    EXPECT_EQ(form->WeekMask, "111111111111111");
    EXPECT_EQ(form->VL->Hetek(), 1);
    EXPECT_EQ(days(), 0x1Fu);
    EXPECT_EQ(form->VL->ColWidths(0), 100);
    EXPECT_FALSE(form->B_egyfogl->isVisible());
    EXPECT_FALSE(form->B_admin->isVisible());
}

TEST_F(MainWindow, OccasionPanelStartsEmptyUntilACourseIsChosen)
{
    addFaculty();
    form->show();
    EXPECT_FALSE(form->DBCtrlGrid1->Panel()->isEnabled());
    for (QLineEdit *box : std::initializer_list<QLineEdit *>{form->DBEdit1, form->DBEdit2, form->DBEdit3,
                                                             form->DBEdit6, form->DBEdit7})
        EXPECT_TRUE(box->text().isEmpty())
            << box->objectName().toStdString() << ": " << box->text().toStdString();
}

TEST_F(WindowShell, CalendarFillsItsWindowAfterAResize)
{
    form->resize(1200, 800);
    QCoreApplication::sendPostedEvents();
    int width = 0;
    for (int col = 0; col < form->VL->ColCount(); ++col)
        width += form->VL->ColWidths(col);
    EXPECT_EQ(width, form->VL->ClientWidth());
}

TEST_F(WindowShell, DayCheckBoxAndMenuItemToggleTheirDayButNotTheLastOne)
{
    QTest::mouseClick(form->CBNap[5], Qt::LeftButton);
    EXPECT_EQ(days(), 0x3Fu);
    EXPECT_TRUE(form->Nap[5]->isChecked()) << "the menu follows the check boxes";
    form->Nap[5]->trigger();
    EXPECT_EQ(days(), 0x1Fu);
    EXPECT_FALSE(form->CBNap[5]->isChecked()) << "the check boxes follow the menu";

    for (int day = 1; day < 5; ++day)
        QTest::mouseClick(form->CBNap[day], Qt::LeftButton);
    ASSERT_EQ(days(), 0x01u);
    QTest::mouseClick(form->CBNap[0], Qt::LeftButton);
    EXPECT_EQ(days(), 0x01u);
    EXPECT_TRUE(form->CBNap[0]->isChecked());
    form->Nap[0]->trigger();
    EXPECT_TRUE(form->Nap[0]->isChecked());
}

TEST_F(WindowShell, HalfHourButtonAlternatesTheHalfHourLayoutsAndTheHourButtonReturnsToTheOwnRows)
{
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(form->ScaleMode, 2);
    const int from0730 = firstRowStart();
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(form->ScaleMode, 3);
    EXPECT_EQ(firstRowStart(), 7 * 60 + 45);
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(form->ScaleMode, 2);
    EXPECT_EQ(firstRowStart(), from0730);
    EXPECT_EQ(from0730, 7 * 60 + 30);

    QTest::mouseClick(form->B_beosztoras, Qt::LeftButton);
    EXPECT_EQ(form->ScaleMode, 1);
    QTest::mouseClick(form->B_beosztoras, Qt::LeftButton);
    EXPECT_EQ(form->ScaleMode, 4) << "the hour button pressed twice gives the own rows";
    EXPECT_EQ(form->VL->ColWidths(0), 100) << "the cells are fitted again";
}

TEST_F(WindowShell, BreakButtonTogglesTheBreakRowFlag)
{
    const bool before = DM->SzunetSor;
    QTest::mouseClick(form->B_szunet, Qt::LeftButton);
    EXPECT_NE(DM->SzunetSor, before);
    QTest::mouseClick(form->B_szunet, Qt::LeftButton);
    EXPECT_EQ(DM->SzunetSor, before);
}

TEST_F(WindowShell, ColourSchemes)
{
    form->Fehr1->trigger();
    EXPECT_EQ(form->VL->Color(), clWhite);
    EXPECT_EQ(form->VL->FixedColor(), clWhite);
    EXPECT_EQ(form->VL->SelColor(), clGreen);
    form->Fehrnyomtatshoz1->trigger();
    EXPECT_EQ(form->VL->SelColor(), clWhite);
    form->Norml1->trigger();
    EXPECT_EQ(form->VL->Color(), cl3DLight);
    EXPECT_EQ(form->VL->FixedColor(), TColor(0xA4A0A0));
    EXPECT_EQ(form->VL->SelColor(), clGreen);
}

TEST_F(WindowShell, CalendarAloneTakesTheWholeWindowAndEverythingComesBack)
{
    const int height = form->VL->height();
    form->Csakrarend1->trigger();
    EXPECT_FALSE(form->Panel2->isVisible());
    EXPECT_GT(form->VL->height(), height);
    int rows = 0;
    for (int row = 0; row < form->VL->RowCount(); ++row)
        rows += form->VL->RowHeights(row);
    EXPECT_EQ(rows, form->VL->ClientHeight());
    form->Minden1->trigger();
    EXPECT_TRUE(form->Panel2->isVisible());
    EXPECT_EQ(form->VL->height(), height);
}

TEST_F(WindowShell, ExitAsksAndClosesOnlyOnOk)
{
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        QString asked;
        answeringModals([&] { QTest::mouseClick(form->Button1, Qt::LeftButton); },
                        [&](QWidget &box) {
                            asked = static_cast<QMessageBox &>(box).text();
                            pressButton(box, button);
                        });
        EXPECT_EQ(asked, QStringLiteral("Biztosan?"));
        EXPECT_EQ(form->isVisible(), button == QMessageBox::Cancel);
    }
}

TEST_F(WindowShell, SeventhDoubleClickOnThePanelSwitchesAdministratorModeOn)
{
    DM->Admin = false;
    const QPoint freeArea(form->Panel4->width() / 2, form->Panel4->height() / 2);
    ASSERT_EQ(form->Panel4->childAt(freeArea), nullptr);
    const auto doubleClick = [&] {
        return answeringModals([&] { QTest::mouseDClick(form->Panel4, Qt::LeftButton, {}, freeArea); },
                               [](QWidget &dialog) {
                                   EXPECT_EQ(&dialog, Adminka);
                                   static_cast<QDialog &>(dialog).reject();
                               });
    };
    for (int click = 1; click <= 6; ++click)
        EXPECT_EQ(doubleClick(), 0) << "double click " << click;
    EXPECT_FALSE(DM->Admin);
    EXPECT_EQ(doubleClick(), 1);
    EXPECT_TRUE(DM->Admin);
    EXPECT_TRUE(form->B_egyfogl->isVisible());
    EXPECT_FALSE(form->Edit1->isReadOnly());
    EXPECT_EQ(doubleClick(), 1) << "every later double click opens the browser again";
}

class Printing : public WindowShell {
protected:
    void SetUp() override
    {
        WindowShell::SetUp();
        addFaculty();
        showTimetable(1);
        pdf = folder.filePath(QStringLiteral("orarend.pdf"));
        form->Printer.setOutputFormat(QPrinter::PdfFormat);
        form->Printer.setOutputFileName(pdf);
    }
    QByteArray printed() const
    {
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QString pdf;
};

TEST_F(Printing, WindowIsPrintedOnOneLandscapePage)
{
    form->PrintFormTo(form->Printer, form->windowTitle());
    const QByteArray document = printed();
    ASSERT_TRUE(document.startsWith("%PDF"));
    EXPECT_EQ(document.count("/Type /Page\n") + document.count("/Type /Page\r") +
                  document.count("/Type /Page "),
              1);
    EXPECT_EQ(form->Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(form->Printer.docName(), form->windowTitle());
}

TEST_F(Printing, PrintDialogAcceptedPrintsCancelledDoesNot)
{
    answeringModals([&] { form->Nyomtats1->trigger(); },
                    [](QWidget &dialog) { static_cast<QDialog &>(dialog).reject(); });
    EXPECT_TRUE(printed().isEmpty());
    answeringModals([&] { form->Nyomtats1->trigger(); },
                    [](QWidget &dialog) {
                        ASSERT_NE(qobject_cast<QPrintDialog *>(&dialog), nullptr);
                        static_cast<QDialog &>(dialog).accept();
                    });
    EXPECT_TRUE(printed().startsWith("%PDF"));
}

TEST_F(Printing, PressPlatePrintsTheCalendarAloneInWhiteAndRestoresTheWindow)
{
    QStringList seen;
    bool panelHiddenWhilePrinting = false;
    answeringModals([&] { QTest::mouseClick(form->Button3, Qt::LeftButton); },
                    [&](QWidget &dialog) {
                        if (qobject_cast<QPrintDialog *>(&dialog)) {
                            seen << QStringLiteral("print");
                            panelHiddenWhilePrinting =
                                !form->Panel2->isVisible() && form->VL->SelColor() == clWhite;
                            static_cast<QDialog &>(dialog).accept();
                        } else {
                            seen << static_cast<QMessageBox &>(dialog).text();
                            pressButton(dialog, QMessageBox::Ok);
                        }
                    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("print"), QStringLiteral("Nyomtatás kész")}));
    EXPECT_TRUE(panelHiddenWhilePrinting);
    EXPECT_TRUE(printed().startsWith("%PDF"));
    EXPECT_TRUE(form->Panel2->isVisible());
    EXPECT_EQ(form->VL->FixedColor(), TColor(0xA4A0A0));
}

TEST_F(WindowShell, DatabaseCopyButtonOpensItsWindowWithoutWaiting)
{
    form->B_admin->setVisible(true);
    // Without a database the copy window says so as it shows; it does not hold the caller up.
    const int boxes = answeringModals([&] { QTest::mouseClick(form->B_admin, Qt::LeftButton); },
                                      [](QWidget &box) { pressButton(box, QMessageBox::Ok); });
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WindowShell, KeyReachingTheWindowItselfShowsItsCode)
{
    QString shown;
    const int boxes = answeringModals([&] { QTest::keyPress(form.get(), Qt::Key_A); },
                                      [&](QWidget &box) {
                                          shown = static_cast<QMessageBox &>(box).text();
                                          pressButton(box, QMessageBox::Cancel);
                                      });
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(shown.endsWith(QStringLiteral(": <65>"))) << shown.toStdString();
}

class AdministratorAtTheDesk : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        DM->Felhasznalo = std::string(AdminUsers[3]);
        DM->Admin = true;
        form->show();
    }
};

TEST_F(AdministratorAtTheDesk, SeesTheAdministratorButtonsAndExitsWithoutBeingAsked)
{
    EXPECT_TRUE(form->B_admin->isVisible());
    EXPECT_TRUE(form->B_egyfogl->isVisible());
    const int asked = answeringModals([&] { QTest::mouseClick(form->Button1, Qt::LeftButton); },
                                      [](QWidget &box) { pressButton(box, QMessageBox::Cancel); });
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(form->isVisible());
}
