// Every window of the program on a copy of the sample data, opened and used with clicks as a
// planner would, then checked for what the planner sees first: a grid on an open table with
// rows shows rows, and a panel of data controls on an open source is enabled. When
// BRELVIX_PICTURES_DIR names a folder, each window is also drawn there as a PNG file.

#include "app/ProgramForms.h"
#include "app/brelvix_pas.h"
#include "calendar/CalendarObj.h"
#include "calendar/veltoCalendar.h"
#include "data/datam.h"
#include "dialogs/Admin_table.h"
#include "dialogs/Beemeles_u.h"
#include "dialogs/MintaTargyEditor.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/csoportfog.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/letszaminp.h"
#include "dialogs/letszamok.h"
#include "dialogs/oktvalaszt.h"
#include "dialogs/orarendek.h"
#include "dialogs/orarentitle.h"
#include "dialogs/szakvalaszto.h"
#include "dialogs/tantargyszerv.h"
#include "dialogs/tantargyszerv2.h"
#include "dialogs/targybeemeles.h"
#include "dialogs/targyedit.h"
#include "dialogs/targykereso.h"
#include "dialogs/targykival.h"
#include "dialogs/teremfel.h"
#include "dialogs/teremval.h"
#include "platform/DataSet.h"
#include "platform/DataSource.h"
#include "platform/widgets/DBCGrids.h"
#include "platform/widgets/DBGrids.h"
#include "support/ModalAnswerer.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Closes whatever modal window a click opened: a message box with its default answer, the
// timetable list by choosing its current timetable, any other dialog by leaving it.
void closeModal(QWidget &modal)
{
    if (auto *box = qobject_cast<QMessageBox *>(&modal)) {
        QAbstractButton *answer = box->defaultButton();
        if (!answer)
            answer = box->escapeButton();
        if (answer)
            QTest::mouseClick(answer, Qt::LeftButton);
        else
            box->reject();
    } else if (&modal == orarend) {
        QTest::mouseClick(orarend->Button2, Qt::LeftButton);
    } else if (auto *dialog = qobject_cast<QDialog *>(&modal)) {
        dialog->reject();
    }
}

void withModalsClosed(const std::function<void()> &routine)
{
    answeringModals(routine, closeModal);
}

// The grids have no meta-object of their own, so Qt's search by class would take any scroll area.
template <class T>
std::vector<QPointer<T>> childrenOf(QWidget &window)
{
    std::vector<QPointer<T>> found;
    for (QWidget *child : window.findChildren<QWidget *>())
        if (auto *wanted = dynamic_cast<T *>(child))
            found.emplace_back(wanted);
    return found;
}

// A first use of a window: the first row of each list and of each grid holding rows is clicked,
// and the first item of each calendar, on every page of its tab pages.
void clickFirstRows(QWidget &window)
{
    // A click may rebuild the window's lists and grids; those gone since are passed over.
    const auto clickAll = [&] {
        for (QPointer<QTreeWidget> list : window.findChildren<QTreeWidget *>())
            if (list && list->isVisible() && list->topLevelItemCount() > 0)
                withModalsClosed([&] {
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                      list->visualItemRect(list->topLevelItem(0)).center());
                });
        for (const QPointer<TDBGrid> &grid : childrenOf<TDBGrid>(window))
            if (grid && grid->isVisible() && grid->ShownRowCount() > 0)
                withModalsClosed(
                    [&] { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 0).center()); });
        for (const QPointer<TveltoCalendar> &calendar : childrenOf<TveltoCalendar>(window))
            if (calendar && calendar->isVisible() && calendar->Items().Count() > 0)
                withModalsClosed([&] { QTest::mouseClick(calendar->Items()[0]->Obj(), Qt::LeftButton); });
    };
    clickAll();
    for (QTabWidget *pages : window.findChildren<QTabWidget *>()) {
        const int shown = pages->currentIndex();
        for (int page = 0; page < pages->count(); ++page) {
            if (page == shown || !pages->isTabVisible(page))
                continue;
            pages->setCurrentIndex(page);
            clickAll();
        }
        pages->setCurrentIndex(shown);
    }
}

bool openAndFilled(TDataSource *source)
{
    return source && source->DataSet() && source->DataSet()->Active() && !source->DataSet()->IsEmpty();
}

// What a planner would take for a dead window: a blank grid or a disabled panel on data.
void expectDataShown(QWidget &window, const std::string &name)
{
    for (TDBGrid *grid : childrenOf<TDBGrid>(window)) {
        if (!openAndFilled(grid->DataSource()))
            continue;
        EXPECT_GT(grid->ShownRowCount(), 0) << name << ": grid on " << grid->DataSet()->Name();
    }
    for (TDBCtrlGrid *panel : childrenOf<TDBCtrlGrid>(window)) {
        if (openAndFilled(panel->DataSource())) {
            EXPECT_TRUE(panel->Panel()->isEnabled()) << name << ": panel on " << panel->DataSource()->DataSet()->Name();
        }
    }
}

int firstId(TDataSet &table, const char *field)
{
    table.First();
    return table.FieldByName(field)->AsInteger();
}

void savePicture(QWidget &window, const std::string &name)
{
    const char *folder = std::getenv("BRELVIX_PICTURES_DIR");
    if (!folder || !*folder)
        return;
    fs::create_directories(folder);
    const QString file = QString::fromStdString((fs::path(folder) / (name + ".png")).string());
    EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
}

class Windows : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempFolder;
        for (const auto &file : fs::directory_iterator(BRELVIX_SAMPLEDATA_DIR))
            fs::copy_file(file.path(), folder->path() / file.path().filename());
        const std::string dataFolder = folder->withSeparator();
        forms = new TProgramForms(TDMEnvironment{[dataFolder] { return dataFolder; },
                                                 [](std::string &name) {
                                                     name = "tervezo";
                                                     return true;
                                                 }});
    }
    static void TearDownTestSuite()
    {
        delete forms;
        forms = nullptr;
        delete folder;
        folder = nullptr;
    }

    // Shows the window as a planner opens it, uses it, checks it and draws it.
    static void look(QWidget &window, const std::string &name)
    {
        withModalsClosed([&] {
            window.show();
            QApplication::processEvents();
        });
        clickFirstRows(window);
        QApplication::processEvents();
        expectDataShown(window, name);
        savePicture(window, name);
        window.hide();
    }

    static TempFolder *folder;
    static TProgramForms *forms;
};

TempFolder *Windows::folder = nullptr;
TProgramForms *Windows::forms = nullptr;

TEST_F(Windows, MainWindowInEachWorkingMode)
{
    Form1->resize(1280, 900);
    withModalsClosed([] {
        Form1->show();
        QApplication::processEvents();
    });
    const std::pair<QAction *, const char *> modes[] = {{Form1->UM_orarendek, "main-0-timetables"},
                                                        {Form1->UM_orarend, "main-1-one-timetable"},
                                                        {Form1->UM_terem, "main-2-rooms"},
                                                        {Form1->UM_oktato, "main-3-teachers"},
                                                        {Form1->UM_tantargy, "main-4-subjects"}};
    for (const auto &[action, name] : modes) {
        QAction *mode = action;
        withModalsClosed([mode] { mode->trigger(); });
        clickFirstRows(*Form1);
        QApplication::processEvents();
        expectDataShown(*Form1, name);
        savePicture(*Form1, name);
    }
    Form1->hide();
}

TEST_F(Windows, EveryDialogShowsItsData)
{
    // The dialogs opened for one course, occasion, teacher, timetable or subject get the first
    // of the sample data.
    targy_kereso->KurzusId = orarend_valaszto->KurzusId = firstId(DM->MT_kurzus, "kurzus_id");
    teremvalasztas->AlkalomId = firstId(DM->MT_alkalom, "alkalom_id");
    teremvalasztas->Hetek = DM->MT_alkalom.FieldByName("hetek")->AsString();
    Oktatofog->OktatoId = firstId(DM->MT_oktato, "oktato_id");
    Targyfelvet->OrarendId = beemeles->OrarendId = firstId(DM->MT_orarend, "orarend_id");
    Targyeditor->TargyId = firstId(DM->MT_targy, "targy_id");
    const std::pair<QWidget *, const char *> dialogs[] = {
        {orarend, "orarend"},
        {Targyfelvet, "Targyfelvet"},
        {tantargyszervezes, "tantargyszervezes"},
        {teremvalasztas, "teremvalasztas"},
        {teremfelvetel, "teremfelvetel"},
        {oktval, "oktval"},
        {beemeles, "beemeles"},
        {Teremfog, "Teremfog"},
        {Emelo, "Emelo"},
        {Adminka, "Adminka"},
        {edithetek, "edithetek"},
        {letszam, "letszam"},
        {Targyeditor, "Targyeditor"},
        {szakval, "szakval"},
        {csoportfoglalasok, "csoportfoglalasok"},
        {targyszervezo2, "targyszervezo2"},
        {Oktatofog, "Oktatofog"},
        {Segitseg, "Segitseg"},
        {MintaTargy, "MintaTargy"},
        {targy_kereso, "targy_kereso"},
        {orarend_valaszto, "orarend_valaszto"},
    };
    for (const auto &[dialog, name] : dialogs) {
        ASSERT_NE(dialog, nullptr) << name;
        look(*dialog, name);
    }
}

} // namespace
