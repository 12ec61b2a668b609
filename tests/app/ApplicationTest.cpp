// The program around its windows: one copy per folder, its forms, errors and progress.

#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "app/brelvix_pas.h"
#include "app/brelvix_pasFixture.h"
#include "app/vonalzo.h"
#include "data/adoform.h"
#include "data/kozepreteg.h"
#include "platform/SysUtils.h"
#include "support/ModalAnswerer.h"

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace {

// The sample data in a folder of the test's own.
class DataFolder {
public:
    explicit DataFolder(const QString &folderName) : folder(root.path() + '/' + folderName + '/')
    {
        QDir().mkpath(folder);
        for (const QFileInfo &data : QDir(QStringLiteral(BRELVIX_SAMPLEDATA_DIR)).entryInfoList({"*.csv"}, QDir::Files))
            QFile::copy(data.filePath(), folder + data.fileName());
    }
    // Run by `login`; none when it is empty.
    TDMEnvironment environment(const std::string &login) const
    {
        return {[path = folder.toStdString()] { return path; }, [login](std::string &name) { return !(name = login).empty(); }};
    }

    QTemporaryDir root;
    QString folder;
};

// Top-level windows other than popups (menus, the lists of combo boxes).
long windowCount()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(), [](QWidget *window) { return window->windowType() != Qt::Popup; });
}

} // namespace

TEST(SingleInstance, NameComesFromTheFolderAndARefusalShowsItOnItsSecondLine)
{
    for (const auto &[folder, name] : {std::pair{"C:\\Program Files\\Plan\\", "C_/ProgramFiles/Plan/BrelvixKastorel"},
                                       std::pair{"/srv/Órarend  tervező 2025/", "/srv/Órarendtervező2025/BrelvixKastorel"},
                                       std::pair{"D:\\a:b\\\\c\\", "D_/a_b//c/BrelvixKastorel"}})
        EXPECT_EQ(instanceName(QString::fromUtf8(folder)), QString::fromUtf8(name)) << folder;
    EXPECT_TRUE(QFileInfo(programFolder() + QStringLiteral("app_tests")).isExecutable()) << "with its separator";

    // A confirmation with the single button OK, the name also on standard error.
    QString shown;
    testing::internal::CaptureStderr();
    answeringModals([] { refuseSecondStart(QStringLiteral("C_/Plan/BrelvixKastorel")); }, [&](QWidget &modal) {
        auto &box = static_cast<QMessageBox &>(modal);
        shown = QStringLiteral("%1 %2 %3").arg(box.text()).arg(box.icon() == QMessageBox::Question).arg(box.buttons().size());
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    const QString refusal = QStringLiteral("Haggyá má! Elég belőlem egy is.\r\nC_/Plan/BrelvixKastorel");
    EXPECT_EQ(shown, refusal + " 1 1");
    EXPECT_TRUE(QString::fromStdString(testing::internal::GetCapturedStderr()).contains(refusal));
}

TEST(ProgramForms, AreCreatedInOrderHiddenShowSavesAndEndTheLoopWhenTheMainWindowCloses)
{
    const long windowsBefore = windowCount();
    {
        const DataFolder copy(QStringLiteral("adat"));
        // An administrator of this desk: "X" shows and "Kilépés" asks nothing.
        const TProgramForms forms(copy.environment("qadlepu"));
        EXPECT_EQ(forms.CreationOrder(),
                  (std::vector<std::string>{"TDM", "TForm1", "TVonal", "Torarend", "TTargyfelvet", "Ttantargyszervezes",
                                            "Tteremvalasztas", "Tteremfelvetel", "Toktval", "Tbeemeles", "TTeremfog",
                                            "TEmelo", "TAdminka", "Tedithetek", "Tletszam", "TTargyeditor", "Tszakval",
                                            "Tcsoportfoglalasok", "Ttargyszervezo2", "TOktatofog", "TSegitseg",
                                            "TMintaTargy", "Ttargy_kereso", "Torarend_valaszto", "TDMK", "TForm2"}));
        EXPECT_FALSE(DM->MT_kurzus.IsEmpty()) << "the data files were loaded";
        // The main window, its progress window, the 21 dialogs and the database copy window, all hidden.
        EXPECT_EQ(windowCount(), windowsBefore + 24);
        for (QWidget *window : QApplication::topLevelWidgets())
            EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();

        // The progress window shows the data module's saves, one step per file.
        DM->Mentes();
        EXPECT_TRUE(Vonal->parentWidget() == Form1 && !Vonal->isVisible());
        EXPECT_EQ(std::pair(Vonal->ProgressBar1->value(), Vonal->ProgressBar1->maximum()), std::pair(8, 8));
        EXPECT_TRUE(QFile::exists(copy.folder + QStringLiteral("KK_kurzus.csv")));

        Form1->show();
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer::singleShot(0, Form1, [&] {
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);
            // Ends the loop, with 0 only when closing the main window closed the last one.
            QApplication::exit(lastClosed.count() == 1 ? 0 : 1);
        });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(Form1->isVisible());
    }
    EXPECT_TRUE(DM == nullptr && Form1 == nullptr && Vonal == nullptr && DMK == nullptr && Form2 == nullptr);
    EXPECT_EQ(windowCount(), windowsBefore);
    // A data file that cannot be loaded leaves no window behind.
    const DataFolder copy(QStringLiteral("hiányos"));
    ASSERT_TRUE(QFile::remove(copy.folder + QStringLiteral("targy.csv")));
    EXPECT_THROW(TProgramForms forms(copy.environment({})), EDataFileError);
    EXPECT_TRUE(DM == nullptr && Form1 == nullptr);
    EXPECT_EQ(windowCount(), windowsBefore);
}

// A save a kill cut short in its commit (the teachers' new file still beside the old one) is
// completed by the next start, which says so in one information box; the start after says nothing.
TEST(ProgramForms, AStartTellsOnceThatItCompletedASaveCutShort)
{
    const DataFolder copy(QStringLiteral("adat"));
    const QString teachers = copy.folder + QStringLiteral("oktato.csv");
    ASSERT_TRUE(QFile::copy(teachers, teachers + QStringLiteral(".77.new")) &&
                QFile::copy(teachers, teachers + QStringLiteral(".77.old")));
    QFile record(copy.folder + QStringLiteral("brelvix-mentes.commit"));
    ASSERT_TRUE(record.open(QIODevice::WriteOnly));
    record.write("oktato.csv\toktato.csv.77.new\toktato.csv.77.old\nend\n");
    record.close();
    QStringList shown;
    for (int start = 0; start < 2; ++start) {
        const TProgramForms forms(copy.environment({}));
        answeringModals([] { tellRecoveredSave(*DM); }, [&](QWidget &modal) {
            auto &box = static_cast<QMessageBox &>(modal);
            shown << box.windowTitle() + (box.icon() == QMessageBox::Information ? " i " : " ? ") + box.text();
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
    }
    EXPECT_EQ(shown, QStringList{QStringLiteral("Információ i Az előző mentést a program váratlan leállása "
                                                "félbeszakította. A program most befejezte: az adatfájlok a "
                                                "mentett adatokat tartalmazzák.")});
    EXPECT_FALSE(QFile::exists(record.fileName()) || QFile::exists(teachers + QStringLiteral(".77.new")));
}

TEST(Application, EscapedExceptionIsShownOnceAndTheEventCountsAsUnhandledAndButtonsSpeakHungarian)
{
    QStringList shown;
    const auto deliver = [&](const std::function<bool()> &handler) {
        bool handled = true;
        answeringModals([&] { handled = deliverShowingExceptions(handler); }, [&](QWidget &modal) {
            auto &box = static_cast<QMessageBox &>(modal);
            shown << box.text() + (box.icon() == QMessageBox::Critical ? "!" : "?");
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
        return handled;
    };
    EXPECT_TRUE(deliver([] { return true; }));
    EXPECT_FALSE(deliver([] { return false; }));
    EXPECT_FALSE(deliver([]() -> bool { throw EDatabaseError("Duplikált érték az indexben."); }));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Duplikált érték az indexben.!")});

    ASSERT_TRUE(installQtTranslations(*qApp)) << "qtbase_hu is missing from Qt's translations folder";
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text() + buttons.button(QDialogButtonBox::Yes)->text() +
                  buttons.button(QDialogButtonBox::No)->text(), QStringLiteral("Mégse&Igen&Nem"));
}

TEST(ProgressWindow, ShowsCaptionAndStepsAndHoldsTheInputWhileItRuns)
{
    TVonal window;
    Progress &progress = window;
    const auto shown = [&] {
        return QStringLiteral("%1 %2/%3 %4").arg(window.windowTitle()).arg(window.ProgressBar1->value()).arg(window.ProgressBar1->maximum())
            .arg(window.isVisible() && QApplication::activeModalWidget() == &window ? "modal" : "hidden");
    };
    progress.start(3, "Mentés");
    EXPECT_EQ(shown(), QStringLiteral("Mentés 0/3 modal")) << "other windows take no input meanwhile";
    progress.step();
    progress.setCaption("Mentés:Órarendek");
    progress.step();
    EXPECT_EQ(shown(), QStringLiteral("Mentés:Órarendek 2/3 modal"));
    progress.step();
    progress.step();
    EXPECT_EQ(shown(), QStringLiteral("Mentés:Órarendek 3/3 modal")) << "steps beyond the maximum keep the bar full";
    progress.finish();
    EXPECT_EQ(shown(), QStringLiteral("Mentés:Órarendek 3/3 hidden"));
    // Equal bounds would make the bar an endless busy animation.
    progress.start(0, "Másolás: terem");
    EXPECT_EQ(shown(), QStringLiteral("Másolás: terem 0/1 modal"));
}

// Each form carries its caption from the start; with the database copy window open as well,
// "Kilépés" on the main window still ends the program's loop.
TEST(ProgramForms, AreCaptionedAndExitWithTheCopyWindowOpenEndsTheLoop)
{
    const DataFolder copy(QStringLiteral("adat"));
    const TProgramForms forms(copy.environment("qadlepu"));
    const std::map<QString, QString> captions{
        {"orarend", "Órarend"}, {"Targyfelvet", "Tárgy kiválasztása"}, {"tantargyszervezes", "Tantárgy hirdetés"},
        {"teremvalasztas", "Terem választása"}, {"teremfelvetel", "Terem felvétel"}, {"oktval", "Oktató választása"},
        {"beemeles", "Beemelés"}, {"Teremfog", "Teremfoglaltság"}, {"Adminka", "Admin..."},
        {"letszam", "Maximális létszám"}, {"Targyeditor", "Tantárgy létrehozása"}, {"szakval", "Szakválasztó"},
        {"csoportfoglalasok", "Csoport foglalásai"}, {"targyszervezo2", "Órarendi elemek létrehozása"},
        {"Oktatofog", "Oktatói órarend"}, {"Segitseg", "Létszámadatok"}, {"MintaTargy", "Minta(elem) tárgyai"},
        {"targy_kereso", "Tárgy keresése"}, {"orarend_valaszto", "Órarendi kapcsoló"}, {"Form2", "Form2"}};
    std::map<QString, QString> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (captions.count(window->objectName()))
            found[window->objectName()] = window->windowTitle();
    EXPECT_EQ(found, captions);
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Órarend  (2025-2026-1 ősz)"));

    Form1->show();
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, Form1, [&lastClosed] {
        // Without a database the copy window tells so when it opens.
        const int told = answeringModals([] { QTest::mouseClick(Form1->B_admin, Qt::LeftButton); },
                                         [](QWidget &box) { static_cast<QDialog &>(box).accept(); });
        EXPECT_EQ(told, 1);
        EXPECT_TRUE(Form2->isVisible());
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        QApplication::exit(lastClosed.count() == 1 ? 0 : 1);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(Form1->isVisible());
}

// "Mentések" writes the planner's changes into the data files at once; the next start shows them.
TEST(ProgramForms, SaveButtonWritesThePlannersChangesForTheNextStart)
{
    const DataFolder copy(QStringLiteral("adat"));
    const auto showFirstTimetable = [] {
        Form1->show();
        Form1->UM_orarend->trigger();
        mainwindowtest::clickRow(*Form1->LV_orarend, Form1->LV_orarend->topLevelItem(0));
    };
    const auto savedCourses = [&] {
        QFile file(copy.folder + QStringLiteral("KK_kurzus.csv"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QString id;
    {
        const TProgramForms forms(copy.environment({}));
        showFirstTimetable();
        QTreeWidgetItem *course = Form1->LV->topLevelItem(0);
        ASSERT_NE(course, nullptr);
        id = course->text(4);
        mainwindowtest::clickRow(*Form1->LV, course);
        QTest::keyClick(Form1->Edit3, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Form1->Edit3, QStringLiteral("mentve 42"));
        QTest::mouseClick(Form1->B_kurzusmentes, Qt::LeftButton);
        EXPECT_FALSE(savedCourses().contains("mentve 42")) << "only the button saves";
        QTest::mouseClick(Form1->Mentes, Qt::LeftButton);
        EXPECT_TRUE(savedCourses().contains("mentve 42"));
        EXPECT_EQ(QStringLiteral("%1 %2/%3 %4").arg(Vonal->windowTitle()).arg(Vonal->ProgressBar1->value())
                      .arg(Vonal->ProgressBar1->maximum()).arg(Vonal->isVisible()),
                  QStringLiteral("Mentés:Kurzus-alkalom kapcsolatok 8/8 0")) << "the progress went through every file";
    }
    const TProgramForms again(copy.environment({}));
    showFirstTimetable();
    const QList<QTreeWidgetItem *> rows = Form1->LV->findItems(id, Qt::MatchExactly, 4);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]->text(3), QStringLiteral("mentve 42"));
}
