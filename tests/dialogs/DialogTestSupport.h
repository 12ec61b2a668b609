#pragma once

// Shared by the dialog tests: a data module on an empty folder of the test's own, row helpers,
// and answering the modal windows a routine opens.

#include "calendar/veltoCalendar.h"
#include "sajat/SajatVCI.h"
#include "data/datam.h"
#include "data/datamTestFolder.h"
#include "dialogs/RadioGroup.h"
#include "platform/Cp1250.h"
#include "platform/widgets/DBGrids.h"
#include "support/ModalAnswerer.h"
#include "support/PopupChooser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace dialogtest {

using ::answeringModals;

namespace fs = std::filesystem;

constexpr int Monday1 = 2;

inline TDateTime at(int day, int hour, int minute) { return day + (hour * 60 + minute) / 1440.0; }

struct Value { const char *field; Variant value; };

inline Value text(const char *field, const std::string &utf8) { return {field, Variant(utf8ToCp1250(utf8))}; }

inline void appendRow(TDataSet &table, std::initializer_list<Value> values)
{
    table.Append();
    for (const Value &v : values)
        table.FieldByName(v.field)->SetAsVariant(v.value);
    table.Post();
}

inline std::string utf8Of(TDataSet &table, const char *field) { return cp1250ToUtf8(table.FieldByName(field)->AsString()); }

// The texts a grid draws in the column of a field, one per record row on screen.
inline QStringList shownColumn(const TDBGrid &grid, const std::string &field)
{
    QStringList texts;
    for (int column = 0; column < grid.Columns().Count(); ++column)
        if (grid.Columns()[column]->FieldName() == field)
            for (int row = 0; row < grid.ShownRowCount(); ++row)
                texts << grid.ShownCellText(column, row);
    return texts;
}

// The calendar's cells fill its whole room, with no band below the last row or beside the last
// day, once the window showing it has settled.
inline void expectCalendarFillsItsRoom(const TveltoCalendar &calendar)
{
    QApplication::processEvents();
    int width = 0;
    for (int col = 0; col < calendar.ColCount(); ++col)
        width += calendar.ColWidths(col);
    int height = 0;
    for (int row = 0; row < calendar.RowCount(); ++row)
        height += calendar.RowHeights(row);
    EXPECT_EQ(width, calendar.viewport()->width());
    EXPECT_EQ(height, calendar.viewport()->height());
}

inline std::vector<int> occasionIds(const TveltoCalendar &calendar)
{
    std::vector<int> found;
    for (TCustomCalendarItem *item : calendar.Items())
        found.push_back(dynamic_cast<TSajat &>(*item).AlkalomID);
    return found;
}

inline TSajat *itemOf(const TveltoCalendar &calendar, int alkalomId)
{
    for (TCustomCalendarItem *item : calendar.Items())
        if (auto *occasion = dynamic_cast<TSajat *>(item); occasion && occasion->AlkalomID == alkalomId)
            return occasion;
    ADD_FAILURE() << "no item of occasion " << alkalomId;
    return nullptr;
}

// What an occasion item shows: code, title, room, teachers, weeks and length in minutes.
inline QString described(const TSajat *item)
{
    return item ? QStringList{item->Kod(), item->Nev(), item->Kiiras(), item->Oktatok(), item->Hetek(),
                              QString::number(item->Length())}.join('|')
                : QString();
}

struct MessageSeen { QString text; QMessageBox::StandardButtons buttons; };

// Runs `routine`, recording every message box it opens; a box whose text holds `refuse` is
// cancelled, any other is answered with OK.
inline std::vector<MessageSeen> messagesOf(const std::function<void()> &routine, const QString &refuse = {})
{
    std::vector<MessageSeen> seen;
    answeringModals(routine, [&seen, &refuse](QWidget &modal) {
        auto *box = qobject_cast<QMessageBox *>(&modal);
        ASSERT_NE(box, nullptr) << "expected a message box";
        seen.push_back({box->text(), box->standardButtons()});
        const bool no = !refuse.isEmpty() && box->text().contains(refuse);
        QTest::mouseClick(box->button(no ? QMessageBox::Cancel : QMessageBox::Ok), Qt::LeftButton);
    });
    return seen;
}

inline QStringList textsOf(const std::vector<MessageSeen> &seen)
{
    QStringList found;
    for (const MessageSeen &message : seen)
        found << message.text;
    return found;
}

// Shows `dialog` modally; `whileShown` acts on it as a user would and must close it.
template <class Dialog>
int execWith(Dialog &dialog, const std::function<void()> &whileShown)
{
    int result = -1;
    answeringModals([&] { result = dialog.exec(); },
                    [&](QWidget &modal) {
                        ASSERT_EQ(&modal, &dialog);
                        whileShown();
                    });
    return result;
}

inline void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
// Types one character as an input method delivers it, whatever its script (QTest's own typing
// knows ASCII only; an emoji is two UTF-16 units in one key).
inline void typeCharacter(QWidget *widget, const QString &character)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
}
// A radio button takes a click on its circle or caption only, not on the blank width after it.
inline void pick(TRadioGroup *group, int item)
{
    QAbstractButton *button = group->Button(item);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

inline void clickCell(TDBGrid &grid, int column, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(column, row).center());
}

inline std::vector<int> ids(TDataSet &table, const char *field)
{
    std::vector<int> found;
    for (table.First(); !table.Eof(); table.Next())
        found.push_back(table.FieldByName(field)->AsInteger());
    return found;
}

inline std::vector<std::string> texts(TDataSet &table, const char *field)
{
    std::vector<std::string> found;
    for (table.First(); !table.Eof(); table.Next())
        found.push_back(utf8Of(table, field));
    return found;
}

// The integer `field` of the row whose `key` is `id`.
inline int fieldOf(TDataSet &table, const char *key, int id, const char *field)
{
    EXPECT_TRUE(table.Locate(key, id, {})) << key << " " << id;
    return table.FieldByName(field)->AsInteger();
}

// The integer `field` of the rows a filter passes; the filter is switched off afterwards.
inline std::vector<int> idsWhere(TztrMemTable &table, const std::string &filter, const char *field)
{
    table.SetFilter(filter);
    table.SetFiltered(true);
    std::vector<int> found = ids(table, field);
    table.SetFiltered(false);
    return found;
}

using datamtest::TempFolder;

inline std::string readFile(const TempFolder &folder, const std::string &fileName)
{
    std::ifstream in(folder.path() / fileName, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A data module over an empty folder: every table starts empty with the module's own layout.
class DataModule : public testing::Test {
protected:
    void SetUp() override
    {
        // The master files the module cannot start without, and link files with columns of their own.
        for (const auto &[fileName, columns] :
             {std::pair{"targy.csv", "targy_id=AutoInc targy_nev=String,100 targy_kod=String,50 targy_ea=Integer "
                                     "targy_gy=Integer targy_la=Integer targy_kredit=Integer "
                                     "targy_teljesites=String,50 tanszek_id=Integer szabad=Integer evjarat=Integer"},
              {"oktato.csv", "oktato_id=AutoInc oktato_kkod=String,20 oktato_nev=String,60"},
              {"terem.csv", "terem_id=AutoInc terem_kod=String,40 terem_hely=String,20 terem_kapacitas=Integer "
                            "terem_telephely=String,50"},
              // The curriculum-subject links carry how the subject is taken.
              {"mintatantervtargy.csv", "mintatanterv_id=Integer targy_id=Integer targy_felveteltipus=String,100"},
              // The course-subject links carry their own head count in the program's files; a
              // sample, as the folder has no timetable files yet.
              {"kurzustargy-minta.csv", "kurzus_id=Integer targy_id=Integer maxletszam=Integer"}})
            std::ofstream(folder.path() / fileName, std::ios::binary) << datamtest::dataFile(columns, {});
        const std::string dataFolder = folder.withSeparator();
        const auto loginName = [](std::string &name) { return !(name = "tesztelo").empty(); };
        dm = std::make_unique<TDM>(TDMEnvironment{[dataFolder] { return dataFolder; }, loginName});
        DM = dm.get();
    }
    void TearDown() override
    {
        DM = nullptr;
        dm.reset();
    }

    void addTimetable(int id, const std::string &name, const std::string &hetek = "")
    {
        appendRow(DM->MT_orarend, {{"orarend_id", id}, text("megnevezes", name), text("hetek", hetek)});
    }
    struct Course {
        int id;
        std::string code, title = "";
        int targyId = -1;
        Variant maxLetszam = 30;
        int linked = 0;
        std::string note = "";
        int templateId = -1;
    };
    void addCourse(const Course &c, std::initializer_list<int> timetables = {})
    {
        appendRow(DM->MT_kurzus, {{"kurzus_id", c.id}, {"targy_id", c.targyId}, text("kurzus_kod_osszetett", c.code),
                                  text("megnevezes", c.title), {"max_letszam", c.maxLetszam},
                                  {"kurzus_id_csatolt", c.linked}, text("megjegyzes", c.note),
                                  {"kurzusminta_id", c.templateId}});
        for (int timetable : timetables)
            appendRow(DM->MT_kurzusorarend, {{"kurzus_id", c.id}, {"orarend_id", timetable}});
    }
    void addOccasion(int id, int kurzusId, TDateTime start, TDateTime end, int teremId = -1,
                     const std::string &hetek = "111111111111111", int gyakorisag = 0)
    {
        appendRow(DM->MT_alkalom, {{"alkalom_id", id}, {"kurzus_id", kurzusId}, {"terem_id", teremId},
                                   {"kezd_ido", start}, {"veg_ido", end}, {"gyakorisag", gyakorisag},
                                   text("hetek", hetek)});
    }
    void addSubject(int id, const std::string &code, const std::string &name = "")
    {
        appendRow(DM->MT_targy, {{"targy_id", id}, text("targy_kod", code), text("targy_nev", name)});
    }
    void linkSubject(int kurzusId, int targyId, Variant maxletszam = Variant())
    {
        appendRow(DM->MT_kurzustargy, {{"kurzus_id", kurzusId}, {"targy_id", targyId}, {"maxletszam", maxletszam}});
    }
    void addTeacher(int id, const std::string &name, const std::string &code = "")
    {
        appendRow(DM->MT_oktato, {{"oktato_id", id}, text("oktato_nev", name), text("oktato_kkod", code)});
    }
    void linkTeacher(int kurzusId, int oktatoId, int share = 100)
    {
        appendRow(DM->MT_kurzusoktato, {{"kurzus_id", kurzusId}, {"oktato_id", oktatoId}, {"szazalek", share}});
    }
    void addTemplate(int id, const std::string &code, const std::string &type = "", int subject = -1,
                     const std::string &atargykod = "")
    {
        appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", id}, text("kurzusminta_kod", code), text("kurzusminta_tipus", type),
                                       {"targy_id", subject}, text("atargykod", atargykod)});
    }
    void linkTemplate(int templateId, int subject)
    {
        appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", templateId}, {"targy_id", subject}});
    }
    // The `field` of the course's rows in a link table: its timetables, subjects, teachers.
    static std::vector<int> ofCourse(TztrMemTable &table, int kurzusId, const char *field)
    {
        return idsWhere(table, "kurzus_id=" + std::to_string(kurzusId), field);
    }
    void addRoom(int id, const std::string &hely, const std::string &kod, const std::string &site = "", int seats = 0)
    {
        appendRow(DM->MT_terem, {{"terem_id", id}, text("terem_hely", hely), text("terem_kod", kod),
                                 text("terem_telephely", site), {"terem_kapacitas", seats}});
    }

    TempFolder folder;
    std::unique_ptr<TDM> dm;
};

// A data module and one dialog of the given class made on it.
template <class Dialog>
class DialogOn : public DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        dialog = std::make_unique<Dialog>();
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }
    std::unique_ptr<Dialog> dialog;
};

} // namespace dialogtest
