// The frame of the main window: show, days, time rows, colours, administrator switch, printing.

#include "app/brelvix_pasFixture.h"
#include "calendar/CalendarFitting.h"

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

TEST_F(MainWindow, ShowStartsOnTheWorkingWeekAndDaysTimeRowsAndColoursFollowTheControls)
{
    form->show();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Órarend  (2025-2026-1 ősz)"));
    EXPECT_EQ(SemesterCaption("2025-2026-2") + SemesterCaption("2025"), QStringLiteral(" (2025-2026-2 tavasz) (2025 tavasz)"));
    EXPECT_EQ(std::tuple(form->ScaleMode, form->WorkMode, form->ListFilter, form->TimetableId, form->VL->Hetek()),
              std::tuple(4, 0, 3, -1, 1));
    EXPECT_EQ(form->WeekMask, "111111111111111");
    EXPECT_FALSE(form->B_egyfogl->isVisible() || form->B_admin->isVisible());
    EXPECT_FALSE(form->DBCtrlGrid1->Panel()->isEnabled()) << "no occasion until a course is chosen";
    EXPECT_EQ(textsOf({form->DBEdit1, form->DBEdit2, form->DBEdit3, form->DBEdit6, form->DBEdit7}) + editRow(), "||||" "|||");
    form->resize(1200, 800);
    QCoreApplication::sendPostedEvents();
    int width = 0;
    for (int col = 0; col < form->VL->ColCount(); ++col)
        width += form->VL->ColWidths(col);
    EXPECT_EQ(width, form->VL->ClientWidth()) << "the calendar fills its window after a resize";

    const auto days = [&] { return form->VL->Days().bits(); };
    EXPECT_EQ(days(), 0x1Fu);
    QTest::mouseClick(form->CBNap[5], Qt::LeftButton);
    EXPECT_TRUE(days() == 0x3Fu && form->Nap[5]->isChecked()) << "the menu follows the check boxes";
    form->Nap[6]->trigger();
    EXPECT_TRUE(days() == 0x7Fu && form->CBNap[6]->isChecked()) << "the check boxes follow the menu";
    for (int day = 0; day < 6; ++day)
        QTest::mouseClick(form->CBNap[day], Qt::LeftButton);
    ASSERT_EQ(days(), 0x40u);
    QTest::mouseClick(form->CBNap[6], Qt::LeftButton);
    form->Nap[6]->trigger();
    EXPECT_TRUE(days() == 0x40u && form->CBNap[6]->isChecked() && form->Nap[6]->isChecked()) << "the last day stays";

    // "Félórás" alternates the half-hour layouts; "Órás" pressed twice gives the own rows.
    const auto firstRow = [&] { return form->VL->Rows().empty() ? -1 : form->VL->Rows().front().Start; };
    for (const auto &[button, mode, start] : {std::tuple{form->Button2, 2, 450}, std::tuple{form->Button2, 3, 465},
                                              std::tuple{form->Button2, 2, 450}, std::tuple{form->B_beosztoras, 1, -2},
                                              std::tuple{form->B_beosztoras, 4, -2}}) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(form->ScaleMode, mode);
        EXPECT_TRUE(start < 0 || firstRow() == start) << mode;
        EXPECT_EQ(form->VL->ColWidths(0), 100) << "the cells are fitted again";
    }
    const bool breakRow = DM->SzunetSor;
    QTest::mouseClick(form->B_szunet, Qt::LeftButton);
    EXPECT_NE(DM->SzunetSor, breakRow);

    for (const auto &[entry, color, fixed, selected] :
         {std::tuple{form->Fehr1, clWhite, clWhite, clGreen}, std::tuple{form->Fehrnyomtatshoz1, clWhite, clWhite, clWhite},
          std::tuple{form->Norml1, cl3DLight, TColor(0xA4A0A0), clGreen}}) {
        entry->trigger();
        EXPECT_EQ(std::tuple(form->VL->Color(), form->VL->FixedColor(), form->VL->SelColor()), std::tuple(color, fixed, selected));
    }
    const int height = form->VL->height();
    form->Csakrarend1->trigger();
    int rows = 0;
    for (int row = 0; row < form->VL->RowCount(); ++row)
        rows += form->VL->RowHeights(row);
    EXPECT_TRUE(!form->Panel2->isVisible() && form->VL->height() > height && rows == form->VL->ClientHeight());
    form->Minden1->trigger();
    EXPECT_TRUE(form->Panel2->isVisible() && form->VL->height() == height);
}

TEST_F(MainWindow, SeventhDoubleClickOnThePanelSwitchesAdministratorModeOnAndExitAsksOthers)
{
    form->show();
    // A key that reaches the window itself shows its code, the one the planners know it by.
    for (const auto &keyAndCode : {std::pair{Qt::Key_A, 65}, {Qt::Key_Return, 13}, {Qt::Key_Escape, 27}, {Qt::Key_F1, 112}}) {
        const Qt::Key key = keyAndCode.first;
        const int code = keyAndCode.second;
        // The box answered gives the focus to a control; the key is pressed with the window's own.
        form->setFocus();
        EXPECT_EQ(messagesOf([&] { QTest::keyPress(form, key); }, QMessageBox::Cancel).value(0).section(':', -1),
                  QStringLiteral(" <%1>").arg(code)) << key;
    }
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
    EXPECT_FALSE(DM->Admin || form->B_egyfogl->isVisible());
    EXPECT_EQ(doubleClick(), 1);
    EXPECT_TRUE(DM->Admin && form->B_egyfogl->isVisible() && !form->Edit1->isReadOnly());
    EXPECT_EQ(doubleClick(), 1) << "every later double click opens the browser again";

    // Without a database the copy window says so as it shows; it does not hold the caller up.
    form->B_admin->setVisible(true);
    EXPECT_EQ(messagesOf([&] { QTest::mouseClick(form->B_admin, Qt::LeftButton); }).size(), 1);
    EXPECT_TRUE(Form2->isVisible() && QApplication::activeModalWidget() == nullptr);
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        EXPECT_EQ(messagesOf([&] { QTest::mouseClick(form->Button1, Qt::LeftButton); }, button), QStringList{"Biztosan?"});
        EXPECT_EQ(form->isVisible(), button == QMessageBox::Cancel);
    }
    DM->Felhasznalo = std::string(AdminUsers[3]);
    form->show();
    EXPECT_TRUE(form->B_admin->isVisible()) << "an administrator at the desk sees the copy button";
}

TEST_F(Faculty, PressPlatePrintsTheCalendarAloneInWhiteOnALandscapePageAndRestoresTheWindow)
{
    QTemporaryDir folder;
    form->Printer.setOutputFormat(QPrinter::PdfFormat);
    form->Printer.setOutputFileName(folder.filePath(QStringLiteral("orarend.pdf")));
    QStringList seen;
    answeringModals([&] { QTest::mouseClick(form->Button3, Qt::LeftButton); }, [&](QWidget &dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
            seen << box->text();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            return;
        }
        seen << (!form->Panel2->isVisible() && form->VL->SelColor() == clWhite ? "alone in white" : "as is");
        static_cast<QDialog &>(dialog).accept();
    });
    EXPECT_EQ(seen, (QStringList{"alone in white", "Nyomtatás kész"}));
    QFile printed(form->Printer.outputFileName());
    EXPECT_TRUE(printed.open(QIODevice::ReadOnly) && printed.readAll().startsWith("%PDF"));
    EXPECT_EQ(std::pair(form->Printer.pageLayout().orientation(), form->Printer.docName()), std::pair(QPageLayout::Landscape, form->windowTitle()));
    EXPECT_TRUE(form->Panel2->isVisible() && form->VL->FixedColor() == TColor(0xA4A0A0));
}

TEST_F(Faculty, PrintingGoesToTheDefaultPrinterUnaskedAndAsksForAPrinterOnlyWithoutOne)
{
    QFile printed(form->Printer.outputFileName());
    const auto modals = [&](const std::function<void()> &routine) {
        QStringList seen;
        answeringModals(routine, [&](QWidget &modal) {
            if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
                seen << box->text();
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            } else {
                seen << modal.metaObject()->className();
                static_cast<QDialog &>(modal).reject();
            }
        });
        return seen;
    };
    form->HasDefaultPrinter = [] { return true; };
    EXPECT_EQ(modals([&] { QTest::mouseClick(form->Button3, Qt::LeftButton); }), QStringList{"Nyomtatás kész"});
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
    printed.close();
    ASSERT_TRUE(printed.remove());

    // Without a default printer the choice is the planner's; cancelled, nothing is printed.
    form->HasDefaultPrinter = [] { return false; };
    const QPoint cell = form->VL->CellRect(1, form->VL->RowCount() - 1).center(); // no box there
    EXPECT_EQ(modals([&] { chooseFromPopup(form->VL->viewport(), cell, form->vlPopUpMenu, form->Nyomtats1); }),
              QStringList{"QPrintDialog"});
    EXPECT_FALSE(printed.exists());
}

TEST_F(Faculty, PrintMenuPrintsOnceThePrintDialogIsAccepted)
{
    QFile printed(form->Printer.outputFileName());
    const QPoint cell = form->VL->CellRect(1, form->VL->RowCount() - 1).center(); // no box there
    answeringModals([&] { chooseFromPopup(form->VL->viewport(), cell, form->vlPopUpMenu, form->Nyomtats1); },
                    [](QWidget &dialog) {
                        ASSERT_NE(qobject_cast<QPrintDialog *>(&dialog), nullptr);
                        static_cast<QDialog &>(dialog).accept();
                    });
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray document = printed.readAll();
    EXPECT_TRUE(document.startsWith("%PDF"));
    EXPECT_EQ(document.count("/Type /Page\n") + document.count("/Type /Page\r") + document.count("/Type /Page "), 1)
        << "the window on one page";
    EXPECT_EQ(form->Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(form->Printer.docName(), form->windowTitle());
}
