// The program's forms and data modules as the program creates them at start, on a copy of the
// sample data.

#include "app/ProgramForms.h"

#include "app/brelvix_pas.h"
#include "app/vonalzo.h"
#include "data/adoform.h"
#include "data/kozepreteg.h"
#include "dialogs/orarendek.h"
#include "dialogs/orarentitle.h"
#include "support/ModalAnswerer.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A data folder of the test's own: the sample data, or nothing at all.
class DataFolder {
public:
    explicit DataFolder(bool withSampleData)
    {
        if (!withSampleData)
            return;
        const QDir samples(QStringLiteral(BRELVIX_SAMPLEDATA_DIR));
        for (const QString &name : samples.entryList({QStringLiteral("*.csv")}, QDir::Files))
            QFile::copy(samples.filePath(name), folder_.filePath(name));
    }

    // Run by the given login name; none when it is empty.
    TDMEnvironment environment(const std::string &login = {}) const
    {
        const std::string path = (folder_.path() + QLatin1Char('/')).toStdString();
        return {[path] { return path; },
                [login](std::string &name) {
                    name = login;
                    return !login.empty();
                }};
    }
    QString filePath(const QString &name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
};

QList<QWidget *> shownWindows()
{
    QList<QWidget *> shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            shown << window;
    }
    return shown;
}

// Top-level windows other than popups (menus, the lists of combo boxes), which Qt also keeps as
// top-level widgets.
int windowCount()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += window->windowType() == Qt::Popup ? 0 : 1;
    return count;
}

} // namespace

TEST(ProgramForms, AreCreatedInOrderAsHiddenCaptionedWindowsAndReleasedWithTheirGlobals)
{
    const int windowsBefore = windowCount();
    {
        const DataFolder data(true);
        const TProgramForms forms(data.environment());
        const std::vector<std::string> expected{
            "TDM",
            "TForm1",
            "TVonal",
            "Torarend",
            "TTargyfelvet",
            "Ttantargyszervezes",
            "Tteremvalasztas",
            "Tteremfelvetel",
            "Toktval",
            "Tbeemeles",
            "TTeremfog",
            "TEmelo",
            "TAdminka",
            "Tedithetek",
            "Tletszam",
            "TTargyeditor",
            "Tszakval",
            "Tcsoportfoglalasok",
            "Ttargyszervezo2",
            "TOktatofog",
            "TSegitseg",
            "TMintaTargy",
            "Ttargy_kereso",
            "Torarend_valaszto",
            "TDMK",
            "TForm2",
        };
        EXPECT_EQ(forms.CreationOrder(), expected);
        ASSERT_NE(DM, nullptr);
        ASSERT_NE(Form1, nullptr);
        ASSERT_NE(DMK, nullptr);
        EXPECT_FALSE(DM->MT_kurzus.IsEmpty()) << "the data files were loaded";
        EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Órarend  (2025-2026-1 ősz)"));
        EXPECT_EQ(Vonal->parentWidget(), Form1);

        const std::map<QString, QString> captions{
            {"orarend", "Órarend"},
            {"Targyfelvet", "Tárgy kiválasztása"},
            {"tantargyszervezes", "Tantárgy hirdetés"},
            {"teremvalasztas", "Terem választása"},
            {"teremfelvetel", "Terem felvétel"},
            {"oktval", "Oktató választása"},
            {"beemeles", "Beemelés"},
            {"Teremfog", "Teremfoglaltság"},
            {"Emelo", "Emelo"},
            {"Adminka", "Admin..."},
            {"edithetek", "edithetek"},
            {"letszam", "Maximális létszám"},
            {"Targyeditor", "Tantárgy létrehozása"},
            {"szakval", "Szakválasztó"},
            {"csoportfoglalasok", "Csoport foglalásai"},
            {"targyszervezo2", "Órarendi elemek létrehozása"},
            {"Oktatofog", "Oktatói órarend"},
            {"Segitseg", "Létszámadatok"},
            {"MintaTargy", "Minta(elem) tárgyai"},
            {"targy_kereso", "Tárgy keresése"},
            {"orarend_valaszto", "Órarendi kapcsoló"},
            {"Form2", "Form2"},
        };
        std::map<QString, QString> found;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (captions.count(window->objectName()))
                found[window->objectName()] = window->windowTitle();
        }
        EXPECT_EQ(found, captions);
        EXPECT_TRUE(shownWindows().isEmpty());
        // The main window, its progress window, the 21 dialogs and the database copy window.
        EXPECT_EQ(windowCount(), windowsBefore + 24);
    }
    EXPECT_EQ(DM, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Vonal, nullptr);
    EXPECT_EQ(orarend, nullptr);
    EXPECT_EQ(orarend_valaszto, nullptr);
    EXPECT_EQ(DMK, nullptr);
    EXPECT_EQ(Form2, nullptr);
    EXPECT_EQ(windowCount(), windowsBefore);
}

TEST(ProgramForms, ClosingTheShownMainWindowEndsTheProgramsLoop)
{
    const DataFolder data(true);
    const TProgramForms forms(data.environment());
    Form1->show();
    ASSERT_EQ(shownWindows(), QList<QWidget *>{Form1}) << "the dialogs stay hidden until they are opened";

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    // The user's close, once the loop runs; the loop must then end by itself.
    QTimer::singleShot(0, Form1, &QWidget::close);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(lastClosed.count(), 1);
    EXPECT_FALSE(Form1->isVisible());
}

TEST(ProgramForms, ExitWithTheDatabaseCopyWindowOpenEndsTheProgramsLoop)
{
    const DataFolder data(true);
    // An administrator of this desk: "X" shows and "Kilépés" asks nothing.
    const TProgramForms forms(data.environment("qadlepu"));
    Form1->show();

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, Form1, [&lastClosed] {
        // Without a database the copy window tells so when it opens.
        const int told = answeringModals([] { QTest::mouseClick(Form1->B_admin, Qt::LeftButton); },
                                         [](QWidget &box) { static_cast<QDialog &>(box).accept(); });
        EXPECT_EQ(told, 1);
        EXPECT_TRUE(Form2->isVisible());
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        // Ends a loop that the copy window would otherwise keep running.
        QApplication::exit(lastClosed.count() == 1 ? 0 : 1);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(lastClosed.count(), 1);
    EXPECT_FALSE(Form1->isVisible());
}

TEST(ProgramForms, ProgressWindowShowsTheDataModulesSaves)
{
    const DataFolder data(true);
    const TProgramForms forms(data.environment());
    DM->Mentes();
    EXPECT_EQ(Vonal->ProgressBar1->maximum(), 8) << "one step per saved file";
    EXPECT_EQ(Vonal->ProgressBar1->value(), 8);
    EXPECT_FALSE(Vonal->isVisible());
    EXPECT_TRUE(QFile::exists(data.filePath(QStringLiteral("KK_kurzus.csv"))));
}

TEST(ProgramForms, DataThatCannotBeLoadedCreatesNoWindow)
{
    const int windowsBefore = windowCount();
    const DataFolder empty(false);
    EXPECT_THROW(TProgramForms forms(empty.environment()), EDataFileError);
    EXPECT_EQ(DM, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(windowCount(), windowsBefore);
}
