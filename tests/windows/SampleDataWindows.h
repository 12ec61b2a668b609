#pragma once

// Every window of the program on a copy of the sample data, and the means to use them as a
// planner would without a test ever hanging on a modal window.

#include "app/ProgramForms.h"
#include "app/brelvix_pas.h"
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
#include "support/ModalAnswerer.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

namespace windowtest {

// Closes whatever modal window a click opened: a message box with its default answer, the
// timetable list by choosing its current timetable, any other dialog by leaving it.
inline void closeModal(QWidget &modal)
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

inline void withModalsClosed(const std::function<void()> &routine)
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

inline int firstId(TDataSet &table, const char *field)
{
    table.First();
    return table.FieldByName(field)->AsInteger();
}

// The program's forms on a copy of the sample data, made once for a suite of tests.
class SampleDataWindows : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        namespace fs = std::filesystem;
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

    // Every dialog with its name; those opened for one course, occasion, teacher, timetable or
    // subject are given the first of the sample data.
    static std::vector<std::pair<QWidget *, const char *>> everyDialog()
    {
        targy_kereso->KurzusId = orarend_valaszto->KurzusId = firstId(DM->MT_kurzus, "kurzus_id");
        teremvalasztas->AlkalomId = firstId(DM->MT_alkalom, "alkalom_id");
        teremvalasztas->Hetek = DM->MT_alkalom.FieldByName("hetek")->AsString();
        Oktatofog->OktatoId = firstId(DM->MT_oktato, "oktato_id");
        Targyfelvet->OrarendId = beemeles->OrarendId = firstId(DM->MT_orarend, "orarend_id");
        Targyeditor->TargyId = firstId(DM->MT_targy, "targy_id");
        return {
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
    }

    static inline TempFolder *folder = nullptr;
    static inline TProgramForms *forms = nullptr;
};

} // namespace windowtest
