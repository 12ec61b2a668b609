#pragma once

// The main window among the program's forms; each test states the rows it needs and answers the dialogs.

#include "sajat/SajatVCI.h"
#include "app/ProgramForms.h"
#include "app/brelvix_pas.h"
#include "data/adoform.h"
#include "data/datam.h"
#include "dialogs/Admin_table.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/csoportfog.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/letszaminp.h"
#include "dialogs/orarendek.h"
#include "dialogs/orarentitle.h"
#include "dialogs/targykereso.h"
#include "dialogs/targykival.h"
#include "dialogs/teremval.h"
#include "platform/widgets/DBCtrls.h"
#include "platform/widgets/DBGrids.h"
#include "platform/Cp1250.h"
#include "support/ModalAnswerer.h"
#include "support/PopupChooser.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

namespace mainwindowtest {

using Ids = std::vector<int>;
using Items = std::multiset<std::pair<int, int>>;
constexpr int Monday1 = 2;
constexpr const char *Always = "111111111111111";

inline TDateTime at(int day, int hour, int minute) { return day + (hour * 60 + minute) / 1440.0; }

// Appends a row; a text value is UTF-8 and stored as the data files hold it.
inline void appendRow(TDataSet &table, std::initializer_list<std::pair<const char *, Variant>> values)
{
    table.Append();
    for (const auto &[field, value] : values)
        table.FieldByName(field)->SetAsVariant(value.IsString() ? Variant(utf8ToCp1250(value.AsString())) : value);
    table.Post();
}

inline void setFields(TDataSet &table, std::initializer_list<std::pair<const char *, Variant>> values)
{
    table.Edit();
    for (const auto &[field, value] : values)
        table.FieldByName(field)->SetAsVariant(value);
    table.Post();
}

// Every row of a table, its fields' texts joined by "|"; the table goes back to the row it stood on.
inline QStringList rowsOf(TDataSet &table, std::initializer_list<const char *> fields)
{
    const TBookmark place = table.GetBookmark();
    QStringList result;
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList values;
        for (const char *field : fields)
            values << QString::fromStdString(cp1250ToUtf8(table.FieldByName(field)->AsString()));
        result << values.join(QLatin1Char('|'));
    }
    if (!place.empty())
        table.GotoBookmark(place);
    return result;
}

// The texts of the boxes joined by "|", as the user reads them.
inline QString textsOf(std::initializer_list<const QLineEdit *> boxes)
{
    QStringList texts;
    for (const QLineEdit *box : boxes)
        texts << box->text().trimmed();
    return texts.join(QLatin1Char('|'));
}

inline void clickRow(QTreeWidget &list, QTreeWidgetItem *row)
{
    ASSERT_NE(row, nullptr);
    list.scrollToItem(row);
    // Near the row's start: a row wider than its list has its middle out of sight.
    const QRect rect = list.visualItemRect(row);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 8, rect.center().y()));
}

// Runs `routine`, closing every dialog it opens with `done(result)`; returns how many opened. The
// progress window, modal while it runs, closes by itself.
inline int closingDialogs(const std::function<void()> &routine, int result = QDialog::Rejected)
{
    int dialogs = 0;
    answeringModals(routine, [&](QWidget &modal) {
        if (auto *dialog = qobject_cast<QDialog *>(&modal)) {
            dialog->done(result);
            ++dialogs;
        }
    });
    return dialogs;
}

// Runs `routine` and gives the texts of the message boxes it showed, answered with `button`.
inline QStringList messagesOf(const std::function<void()> &routine, QMessageBox::StandardButton button = QMessageBox::Ok)
{
    QStringList texts;
    answeringModals(routine, [&](QWidget &modal) {
        if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
            texts << box->text();
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        }
    });
    return texts;
}

// The codes a course grid draws, top to bottom.
inline QString drawn(const TDBGrid &grid)
{
    QStringList codes;
    for (int row = 0; row < grid.ShownRowCount(); ++row)
        codes << grid.ShownCellText(0, row);
    return codes.join(QLatin1Char(','));
}

inline void pressButton(QWidget &modal, QMessageBox::StandardButton which)
{
    auto *box = qobject_cast<QMessageBox *>(&modal);
    ASSERT_NE(box, nullptr) << "expected a message box";
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}

// Whether a line edit is wide enough for its whole text; its frame and margins take a few pixels.
inline bool showsWholeText(const QWidget &box, const QString &text)
{
    return box.fontMetrics().horizontalAdvance(text) + 8 <= box.width();
}

// Every form of the program on the sample data, then the tables the window shows emptied.
class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        forms = std::make_unique<TProgramForms>(TDMEnvironment{[] { return std::string(BRELVIX_SAMPLEDATA_DIR "/"); },
                                                               [](std::string &) { return false; }});
        form = Form1;
        // A test never reaches a real printer: printing asks, and a print accepted goes to a file.
        form->HasDefaultPrinter = [] { return false; };
        form->Printer.setOutputFormat(QPrinter::PdfFormat);
        form->Printer.setOutputFileName(printFolder.filePath(QStringLiteral("printed.pdf")));
        for (TztrMemTable *table : {&DM->MT_kurzus, &DM->MT_alkalom, &DM->MT_kurzusoktato, &DM->MT_oktato, &DM->MT_targy,
                                    &DM->MT_terem, &DM->MT_orarend, &DM->MT_kurzusorarend, &DM->MT_kurzustargy})
            table->EmptyTable();
    }
    void TearDown() override { forms.reset(); }

    struct Course {
        int id;
        const char *code;
        const char *title = "";
        int targyId = -1;
        Variant maxLetszam = 30;
        int linked = 0;
    };
    void addCourse(const Course &c, std::initializer_list<int> timetables = {})
    {
        appendRow(DM->MT_kurzus, {{"kurzus_id", c.id}, {"targy_id", c.targyId}, {"kurzus_kod_osszetett", c.code},
                                  {"kurzus_kod", std::string(c.code) + "/r"}, {"megnevezes", c.title},
                                  {"max_letszam", c.maxLetszam}, {"kurzus_id_csatolt", c.linked}});
        for (int timetable : timetables)
            appendRow(DM->MT_kurzusorarend, {{"kurzus_id", c.id}, {"orarend_id", timetable}});
    }
    // Leaves DM.MT_alkalom on the new occasion.
    TDataSet &addOccasion(int id, int kurzusId, TDateTime start, TDateTime end, const char *hetek = Always, int teremId = 0,
                          int gyakorisag = 0)
    {
        appendRow(DM->MT_alkalom, {{"alkalom_id", id}, {"kurzus_id", kurzusId}, {"terem_id", teremId}, {"kezd_ido", start},
                                   {"veg_ido", end}, {"gyakorisag", gyakorisag}, {"hetek", hetek}});
        return DM->MT_alkalom;
    }
    void addSubject(int id, const char *code, const char *name)
    {
        appendRow(DM->MT_targy, {{"targy_id", id}, {"targy_kod", code}, {"targy_nev", name}});
    }
    void addTeacher(int id, const char *name, const char *code = "")
    {
        appendRow(DM->MT_oktato, {{"oktato_id", id}, {"oktato_nev", name}, {"oktato_kkod", code}});
    }
    void linkSubject(int kurzusId, int targyId, int maxletszam = -1)
    {
        appendRow(DM->MT_kurzustargy, {{"kurzus_id", kurzusId}, {"targy_id", targyId}, {"maxletszam", maxletszam}});
    }
    void linkTeacher(int kurzusId, int oktatoId, int share = 100)
    {
        appendRow(DM->MT_kurzusoktato, {{"kurzus_id", kurzusId}, {"oktato_id", oktatoId}, {"szazalek", share}});
    }

    void addRoom(int id, const char *place, const char *code, const char *site, int capacity)
    {
        appendRow(DM->MT_terem, {{"terem_id", id}, {"terem_hely", place}, {"terem_kod", code}, {"terem_telephely", site},
                                 {"terem_kapacitas", capacity}});
    }
    // A small faculty: timetable 1 holds courses 10 to 13, timetable 2 course 14; course 12 is
    // attached to course 10 and has no occasions of its own.
    void addFaculty()
    {
        for (const auto &[id, name, note] : {std::tuple{1, "Első évfolyam", ""}, {2, "Második", "esti"}, {3, "Üres", ""}})
            appendRow(DM->MT_orarend, {{"orarend_id", id}, {"megnevezes", name}, {"megjegyzes", note}});
        addSubject(3, "MAT", "Matematika");
        addSubject(4, "BIO", "Biológia");
        addRoom(5, "B", "101", "Kelmendor", 40);
        addRoom(6, "A", "2", "Vár", 12);
        addTeacher(1, "Kovács Anna", "KA");
        addTeacher(2, "Nagy Béla");
        addCourse({10, "MAT-1", "", 3, 30}, {1});
        addCourse({11, "FIZ-1", "Fizika gyakorlat", -1, 0}, {1});
        addCourse({12, "KEM-1", "", 3, Variant(), 10}, {1});
        addCourse({13, "BIO-1", "", 4, -5}, {1});
        addCourse({14, "ANG-1", "Angol", -1, 20}, {2});
        addOccasion(100, 10, at(Monday1, 8, 0), at(Monday1, 10, 0), Always, 5);
        addOccasion(101, 10, at(Monday1 + 2, 10, 0), at(Monday1 + 2, 12, 0), "111100000000000");
        addOccasion(110, 11, at(Monday1 + 1, 8, 0), at(Monday1 + 1, 10, 0), Always, 5);
        addOccasion(140, 14, at(Monday1 + 3, 14, 0), at(Monday1 + 3, 16, 0), Always, 6);
        linkTeacher(10, 1);
        linkTeacher(14, 2);
        linkSubject(10, 3);
        linkSubject(12, 3);
        linkSubject(13, 4);
    }

    // The course ids of the list, in its display order or sorted.
    Ids listedCourses(bool sorted = false) const
    {
        Ids ids;
        for (int i = 0; i < form->LV->topLevelItemCount(); ++i)
            ids.push_back(form->LV->topLevelItem(i)->text(4).toInt());
        if (sorted)
            std::sort(ids.begin(), ids.end());
        return ids;
    }
    Ids sortedCourses() const { return listedCourses(true); }
    QTreeWidgetItem *rowOf(int kurzusId) const { return form->LV->findItems(QString::number(kurzusId), Qt::MatchExactly, 4).value(0); }
    // Course and occasion of every calendar item.
    Items items() const
    {
        Items result;
        for (TCustomCalendarItem *item : form->VL->Items())
            result.insert({static_cast<TSajat *>(item)->KurzusID, static_cast<TSajat *>(item)->AlkalomID});
        return result;
    }
    TSajat *itemOf(int alkalomId) const { return form->FindCalendarItem(alkalomId); }
    QString editRow() const { return textsOf({form->Edit1, form->Edit2, form->Edit3, form->Edit4}); }
    void selectRow(int kurzusId) { form->LV->setCurrentItem(rowOf(kurzusId)); }
    // A field of the link (course, key) in a data module table; -999 when there is no such link.
    static int linkField(TztrMemTable &links, const char *keyField, int kurzusId, int id, const char *field)
    {
        links.SetFiltered(false);
        if (!links.Locate(std::string("kurzus_id;") + keyField, VarArrayOf({kurzusId, id}), {}))
            return -999;
        return links.FieldByName(field)->AsInteger();
    }
    static bool linked(TztrMemTable &links, const char *keyField, int kurzusId, int id)
    {
        return linkField(links, keyField, kurzusId, id, keyField) == id;
    }
    void showTimetable(int id)
    {
        form->TimetableId = form->SelectionId = id;
        form->RefreshView();
    }
    void showSelection(int mode, int id)
    {
        form->WorkMode = mode;
        form->TimetableId = -1;
        form->SelectionId = id;
        form->RefreshView();
    }

    QTemporaryDir printFolder;
    std::unique_ptr<TProgramForms> forms;
    TForm1 *form = nullptr;
};

// The small faculty on the shown window with timetable 1 in view.
class Faculty : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        form->show();
        showTimetable(1);
    }
};

} // namespace mainwindowtest
