// The frame of the main window: caption, calendar fitting, days and time rows, colour schemes,
// the panel's buttons, the administrator switch, and printing.

#include "app/brelvix_pasFixture.h"
#include "calendar/CalendarFitting.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>

using namespace mainwindowtest;

TEST(CalendarFitting, TimeColumnOfAHundredAndTheRemainderToTheLaterDaysUnlessALabelNeedsMore)
{
    TveltoCalendar calendar;
    // Scroll bars coming and going would change the client area under the test.
    calendar.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendar.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendar.show();
    calendar.resize(1000, 600);
    // Aim the client area at exactly 1000 by 600 whatever the frame takes.
    calendar.resize(2000 - calendar.ClientWidth(), 1200 - calendar.ClientHeight());
    ASSERT_EQ(calendar.ClientWidth(), 1000);
    const auto widths = [&] {
        FitCalendarCells(calendar);
        std::vector<int> result;
        for (int col = 0; col < calendar.ColCount(); ++col)
            result.push_back(calendar.ColWidths(col));
        return result;
    };
    calendar.SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    EXPECT_EQ(widths(), (std::vector<int>{100, 180, 180, 180, 180, 180}));
    calendar.SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday, vlSaturday, vlSunday});
    EXPECT_EQ(widths(), (std::vector<int>{100, 128, 128, 128, 129, 129, 129, 129}));
    EXPECT_EQ(calendar.RowHeights(0), 20);
    int rows = 0;
    for (int row = 1; row < calendar.RowCount(); ++row)
        rows += calendar.RowHeights(row);
    EXPECT_EQ(rows, 580);

    const QString label = QStringLiteral("13-14 18:15-19:45");
    calendar.AddRow(465, 90, label);
    EXPECT_GE(widths()[0] - 6, QFontMetrics(calendar.viewport()->font()).horizontalAdvance(label));
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
    EXPECT_EQ(SemesterCaption("2025-2026-2"), QStringLiteral(" (2025-2026-2 tavasz)"));
    EXPECT_EQ(SemesterCaption("2025"), QStringLiteral(" (2025 tavasz)"));
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
    EXPECT_FALSE(form->DBCtrlGrid1->Panel()->isEnabled()) << "no occasion until a course is chosen";
    for (QLineEdit *box : std::initializer_list<QLineEdit *>{form->DBEdit1, form->DBEdit2, form->DBEdit3, form->DBEdit6, form->DBEdit7, form->Edit1})
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString() << ": " << box->text().toStdString();

    form->resize(1200, 800);
    QCoreApplication::sendPostedEvents();
    int width = 0;
    for (int col = 0; col < form->VL->ColCount(); ++col)
        width += form->VL->ColWidths(col);
    EXPECT_EQ(width, form->VL->ClientWidth()) << "the calendar fills its window after a resize";
}

TEST_F(WindowShell, DaysTimeRowsColoursAndTheCalendarAlone)
{
    QTest::mouseClick(form->CBNap[5], Qt::LeftButton);
    EXPECT_EQ(days(), 0x3Fu);
    EXPECT_TRUE(form->Nap[5]->isChecked()) << "the menu follows the check boxes";
    form->Nap[6]->trigger();
    EXPECT_EQ(days(), 0x7Fu);
    EXPECT_TRUE(form->CBNap[6]->isChecked()) << "the check boxes follow the menu";
    form->Nap[5]->trigger();
    form->Nap[6]->trigger();
    EXPECT_EQ(days(), 0x1Fu);
    EXPECT_FALSE(form->CBNap[5]->isChecked());
    for (int day = 1; day < 5; ++day)
        QTest::mouseClick(form->CBNap[day], Qt::LeftButton);
    ASSERT_EQ(days(), 0x01u);
    QTest::mouseClick(form->CBNap[0], Qt::LeftButton);
    EXPECT_EQ(days(), 0x01u) << "the last day stays";
    EXPECT_TRUE(form->CBNap[0]->isChecked());
    form->Nap[0]->trigger();
    EXPECT_TRUE(form->Nap[0]->isChecked());

    // "Félórás" alternates the half-hour layouts; "Órás" pressed twice gives the own rows.
    for (const auto &[button, mode, start] : {std::tuple{form->Button2, 2, 450}, std::tuple{form->Button2, 3, 465},
                                              std::tuple{form->Button2, 2, 450}, std::tuple{form->B_beosztoras, 1, -2},
                                              std::tuple{form->B_beosztoras, 4, -2}}) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(form->ScaleMode, mode);
        EXPECT_TRUE(start < 0 || firstRowStart() == start) << mode;
        EXPECT_EQ(form->VL->ColWidths(0), 100) << "the cells are fitted again";
    }
    const bool breakRow = DM->SzunetSor;
    QTest::mouseClick(form->B_szunet, Qt::LeftButton);
    EXPECT_NE(DM->SzunetSor, breakRow);
    QTest::mouseClick(form->B_szunet, Qt::LeftButton);
    EXPECT_EQ(DM->SzunetSor, breakRow);

    for (const auto &[entry, color, fixed, selected] :
         {std::tuple{form->Fehr1, clWhite, clWhite, clGreen}, std::tuple{form->Fehrnyomtatshoz1, clWhite, clWhite, clWhite},
          std::tuple{form->Norml1, cl3DLight, TColor(0xA4A0A0), clGreen}}) {
        entry->trigger();
        EXPECT_EQ(form->VL->Color(), color);
        EXPECT_EQ(form->VL->FixedColor(), fixed);
        EXPECT_EQ(form->VL->SelColor(), selected);
    }

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

TEST_F(WindowShell, SeventhDoubleClickOnThePanelSwitchesAdministratorModeOnAndExitAsks)
{
    // A key that reaches the window itself shows its code.
    QString shown;
    EXPECT_EQ(answeringModals([&] { QTest::keyPress(form.get(), Qt::Key_A); },
                              [&](QWidget &box) {
                                  shown = static_cast<QMessageBox &>(box).text();
                                  pressButton(box, QMessageBox::Cancel);
                              }),
              1);
    EXPECT_TRUE(shown.endsWith(QStringLiteral(": <65>"))) << shown.toStdString();

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
    EXPECT_FALSE(form->B_egyfogl->isVisible());
    EXPECT_EQ(doubleClick(), 1);
    EXPECT_TRUE(DM->Admin);
    EXPECT_TRUE(form->B_egyfogl->isVisible());
    EXPECT_FALSE(form->Edit1->isReadOnly());
    EXPECT_EQ(doubleClick(), 1) << "every later double click opens the browser again";

    // Without a database the copy window says so as it shows; it does not hold the caller up.
    form->B_admin->setVisible(true);
    EXPECT_EQ(answeringModals([&] { QTest::mouseClick(form->B_admin, Qt::LeftButton); },
                              [](QWidget &box) { pressButton(box, QMessageBox::Ok); }),
              1);
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        EXPECT_EQ(messagesOf([&] { QTest::mouseClick(form->Button1, Qt::LeftButton); }, button),
                  QStringList{QStringLiteral("Biztosan?")});
        EXPECT_EQ(form->isVisible(), button == QMessageBox::Cancel);
    }
}

TEST_F(MainWindow, AdministratorAtTheDeskSeesTheAdministratorButtonsAndExitsWithoutBeingAsked)
{
    DM->Felhasznalo = std::string(AdminUsers[3]);
    DM->Admin = true;
    form->show();
    EXPECT_TRUE(form->B_admin->isVisible());
    EXPECT_TRUE(form->B_egyfogl->isVisible());
    EXPECT_EQ(messagesOf([&] { QTest::mouseClick(form->Button1, Qt::LeftButton); }, QMessageBox::Cancel), QStringList{});
    EXPECT_FALSE(form->isVisible());
}

TEST_F(WindowShell, PrintingPutsTheWindowOnOneLandscapePageAndThePressPlateRestoresTheWindow)
{
    addFaculty();
    showTimetable(1);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("orarend.pdf"));
    form->Printer.setOutputFormat(QPrinter::PdfFormat);
    form->Printer.setOutputFileName(pdf);
    const auto printed = [&] {
        QFile file(pdf);
        const QByteArray document = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.remove();
        return document;
    };
    form->PrintFormTo(form->Printer, form->windowTitle());
    const QByteArray document = printed();
    ASSERT_TRUE(document.startsWith("%PDF"));
    EXPECT_EQ(document.count("/Type /Page\n") + document.count("/Type /Page\r") + document.count("/Type /Page "), 1);
    EXPECT_EQ(form->Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(form->Printer.docName(), form->windowTitle());

    EXPECT_EQ(closingDialogs([&] { form->Nyomtats1->trigger(); }), 1);
    EXPECT_TRUE(printed().isEmpty()) << "the print dialog was cancelled";
    answeringModals([&] { form->Nyomtats1->trigger(); },
                    [](QWidget &dialog) {
                        ASSERT_NE(qobject_cast<QPrintDialog *>(&dialog), nullptr);
                        static_cast<QDialog &>(dialog).accept();
                    });
    EXPECT_TRUE(printed().startsWith("%PDF"));

    QStringList seen;
    bool calendarAloneInWhite = false;
    answeringModals([&] { QTest::mouseClick(form->Button3, Qt::LeftButton); },
                    [&](QWidget &dialog) {
                        if (qobject_cast<QPrintDialog *>(&dialog)) {
                            seen << QStringLiteral("print");
                            calendarAloneInWhite = !form->Panel2->isVisible() && form->VL->SelColor() == clWhite;
                            static_cast<QDialog &>(dialog).accept();
                        } else {
                            seen << static_cast<QMessageBox &>(dialog).text();
                            pressButton(dialog, QMessageBox::Ok);
                        }
                    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("print"), QStringLiteral("Nyomtatás kész")}));
    EXPECT_TRUE(calendarAloneInWhite);
    EXPECT_TRUE(printed().startsWith("%PDF"));
    EXPECT_TRUE(form->Panel2->isVisible());
    EXPECT_EQ(form->VL->FixedColor(), TColor(0xA4A0A0));
}
