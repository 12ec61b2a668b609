// Starting the program: one copy per folder, the forms it creates, and what it shows on the way.

#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "app/brelvix_pas.h"
#include "app/vonalzo.h"
#include "data/adoform.h"
#include "data/kozepreteg.h"
#include "dialogs/orarendek.h"
#include "dialogs/orarentitle.h"
#include "platform/InstanceLock.h"
#include "platform/SysUtils.h"
#include "support/ModalAnswerer.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString refusal = QStringLiteral("Haggyá má! Elég belőlem egy is.");

// Lock names are system-wide; the process id keeps parallel test runs apart.
std::string uniqueName(const std::string &tag)
{
    return "brelvix-test/" + std::to_string(QCoreApplication::applicationPid()) + "/" + tag;
}

// Starts the probe on `name` and returns it once it has said whether it got the lock.
std::unique_ptr<QProcess> startProbe(const std::string &name, QByteArray &answer)
{
    auto probe = std::make_unique<QProcess>();
    probe->start(QStringLiteral(INSTANCE_LOCK_PROBE_FILE), {QString::fromStdString(name)});
    while (!probe->canReadLine() && probe->waitForReadyRead(-1)) {
    }
    answer = probe->readLine().trimmed();
    return probe;
}

// A copy of the built program with the data files beside it, in a folder of its own.
class ProgramCopy {
public:
    explicit ProgramCopy(const QString &folderName)
        : folder_(root_.path() + QLatin1Char('/') + folderName + QLatin1Char('/'))
    {
        QDir().mkpath(folder_);
        const QFileInfo built(QStringLiteral(BRELVIX_PROGRAM_FILE));
        QFile::copy(built.filePath(), folder_ + QStringLiteral("brelvix"));
        for (const QFileInfo &data : built.dir().entryInfoList({QStringLiteral("*.csv")}, QDir::Files))
            QFile::copy(data.filePath(), folder_ + data.fileName());
    }
    QString root() const { return root_.path(); }
    QString folder() const { return folder_; }
    QString screenshot() const { return folder_ + QStringLiteral("shot.png"); }

    // Told to save a screenshot, a copy that gets going ends by itself; one that stops at a
    // message box is killed once the text has been written. Returns what it wrote.
    QString run(const QString &until = {}) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("BRELVIX_SCREENSHOT"), screenshot());
        process.setProcessEnvironment(environment);
        process.setReadChannel(QProcess::StandardError);
        process.start(folder_ + QStringLiteral("brelvix"), {});
        QString written;
        if (until.isEmpty()) {
            EXPECT_TRUE(process.waitForFinished(-1));
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 0);
            return QString::fromUtf8(process.readAllStandardError());
        }
        while (!written.contains(until) && process.waitForReadyRead(-1))
            written += QString::fromUtf8(process.readAll());
        process.kill();
        process.waitForFinished(-1);
        return written;
    }

private:
    QTemporaryDir root_;
    QString folder_;
};

// A data folder of the test's own: the sample data, or nothing at all.
class DataFolder {
public:
    explicit DataFolder(bool withSampleData)
    {
        const QDir samples(QStringLiteral(BRELVIX_SAMPLEDATA_DIR));
        for (const QString &name : samples.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
            if (withSampleData)
                QFile::copy(samples.filePath(name), folder_.filePath(name));
        }
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

// Top-level windows other than popups (menus, the lists of combo boxes).
int windowCount()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += window->windowType() == Qt::Popup ? 0 : 1;
    return count;
}

QList<QWidget *> shownWindows()
{
    QList<QWidget *> shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            shown << window;
    }
    return shown;
}

} // namespace

TEST(InstanceName, FolderLosesBlanksAndGetsSlashesAndUnderscores)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("C:\\Program Files\\Plan\\"), QStringLiteral("C_/ProgramFiles/Plan/BrelvixKastorel")},
        {QStringLiteral("/srv/Órarend  tervező 2025/"), QStringLiteral("/srv/Órarendtervező2025/BrelvixKastorel")},
        {QStringLiteral("D:\\a:b\\\\c\\"), QStringLiteral("D_/a_b//c/BrelvixKastorel")},
    };
    for (const auto &[folder, name] : cases)
        EXPECT_EQ(instanceName(folder), name) << folder.toStdString();
    EXPECT_TRUE(programFolder().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(programFolder() + QStringLiteral("app_tests")).isExecutable());
}

TEST(InstanceName, RefusalIsAConfirmationWithOnlyOkNamingTheInstanceAlsoOnStandardError)
{
    const QString name = QStringLiteral("C_/ProgramFiles/Plan/BrelvixKastorel");
    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    testing::internal::CaptureStderr();
    answeringModals([&] { refuseSecondStart(name); },
                    [&](QWidget &modal) {
                        auto &box = static_cast<QMessageBox &>(modal);
                        shown = box.text();
                        icon = box.icon();
                        buttons = box.buttons().size();
                        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
                    });
    const QString written = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(shown, refusal + QStringLiteral("\r\n") + name);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(written.contains(refusal) && written.contains(name)) << written.toStdString();
}

TEST(InstanceLock, OneHolderPerNameInThisProcessUntilItIsGone)
{
    // Deep installation folders give names far longer than a socket address holds.
    const std::string deep = uniqueName(std::string(300, 'x'));
    {
        const InstanceLock first(uniqueName("same"));
        const InstanceLock other(uniqueName("other"));
        const InstanceLock deepA(deep + "/a/BrelvixKastorel");
        const InstanceLock deepB(deep + "/b/BrelvixKastorel");
        {
            const InstanceLock refused(uniqueName("same"));
            EXPECT_FALSE(refused.isHeld());
        }
        const InstanceLock later(uniqueName("same"));
        const InstanceLock deepAgain(deep + "/a/BrelvixKastorel");
        EXPECT_TRUE(first.isHeld() && other.isHeld() && deepA.isHeld() && deepB.isHeld());
        EXPECT_FALSE(later.isHeld()) << "a refused attempt leaves the holder in place";
        EXPECT_FALSE(deepAgain.isHeld()) << "long names differing at the end are different locks";
    }
    EXPECT_TRUE(InstanceLock(uniqueName("same")).isHeld());
}

TEST(InstanceLock, NameIsHeldAcrossProcessesUntilTheHolderEndsOrIsKilled)
{
    QByteArray answer;
    auto theirs = startProbe(uniqueName("theirs"), answer);
    ASSERT_EQ(answer, "held");
    EXPECT_FALSE(InstanceLock(uniqueName("theirs")).isHeld());
    std::unique_ptr<QProcess> bystander;
    {
        const InstanceLock mine(uniqueName("mine"));
        auto refused = startProbe(uniqueName("mine"), answer);
        EXPECT_EQ(answer, "refused");
        refused->waitForFinished(-1);
        // A program started by the holder must not inherit the lock.
        bystander = startProbe(uniqueName("bystander"), answer);
        ASSERT_EQ(answer, "held");
    }
    EXPECT_TRUE(InstanceLock(uniqueName("mine")).isHeld()) << "the bystander still running keeps it";
    theirs->kill();
    bystander->closeWriteChannel();
    ASSERT_TRUE(theirs->waitForFinished(-1) && bystander->waitForFinished(-1));
    EXPECT_TRUE(InstanceLock(uniqueName("theirs")).isHeld()) << "killed";
    EXPECT_TRUE(InstanceLock(uniqueName("bystander")).isHeld()) << "ended";
}

TEST(ProgramStart, OneCopyPerFolderRunsAndFreesTheFolderWhenItEnds)
{
    const ProgramCopy copy(QStringLiteral("Órarend: tervező"));
    const QString name = copy.root() + QStringLiteral("/Órarend_tervező/BrelvixKastorel");
    {
        // This process stands for the copy already running from that folder.
        const InstanceLock running(name.toStdString());
        const QString written = copy.run(name);
        const QStringList lines = written.mid(written.indexOf(refusal)).split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 2) << written.toStdString();
        EXPECT_EQ(lines[0], refusal);
        EXPECT_EQ(lines[1].trimmed(), name);
        EXPECT_FALSE(QFile::exists(copy.screenshot())) << "the refused copy went on to show its window";

        const ProgramCopy elsewhere(QStringLiteral("second"));
        EXPECT_FALSE(elsewhere.run().contains(refusal));
        EXPECT_GT(QImage(elsewhere.screenshot()).width(), 0);
    }
    copy.run();
    EXPECT_TRUE(QFile::exists(copy.screenshot()));
    EXPECT_TRUE(InstanceLock(name.toStdString()).isHeld()) << "the ended copy keeps its folder";
}

TEST(ProgramStart, DataFileThatCannotBeLoadedEndsTheProgramWithItsMessage)
{
    const ProgramCopy copy(QStringLiteral("hiányos"));
    ASSERT_TRUE(QFile::remove(copy.folder() + QStringLiteral("targy.csv")));
    const QString written = copy.run(QStringLiteral("targy.csv"));
    EXPECT_TRUE(written.contains(QStringLiteral("targy.csv"))) << written.toStdString();
    EXPECT_FALSE(QFile::exists(copy.screenshot())) << "the main window was shown without its data";

    const int windowsBefore = windowCount();
    const DataFolder empty(false);
    EXPECT_THROW(TProgramForms forms(empty.environment()), EDataFileError);
    EXPECT_EQ(DM, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(windowCount(), windowsBefore);
}

TEST(ProgramForms, AreCreatedInOrderAsHiddenCaptionedWindowsAndReleasedWithTheirGlobals)
{
    const int windowsBefore = windowCount();
    {
        const DataFolder data(true);
        const TProgramForms forms(data.environment());
        const std::vector<std::string> expected{
            "TDM",        "TForm1",      "TVonal",     "Torarend",           "TTargyfelvet",
            "Ttantargyszervezes", "Tteremvalasztas", "Tteremfelvetel", "Toktval", "Tbeemeles",
            "TTeremfog",  "TEmelo",      "TAdminka",   "Tedithetek",         "Tletszam",
            "TTargyeditor", "Tszakval",  "Tcsoportfoglalasok", "Ttargyszervezo2", "TOktatofog",
            "TSegitseg",  "TMintaTargy", "Ttargy_kereso", "Torarend_valaszto", "TDMK", "TForm2"};
        EXPECT_EQ(forms.CreationOrder(), expected);
        ASSERT_NE(DM, nullptr);
        EXPECT_FALSE(DM->MT_kurzus.IsEmpty()) << "the data files were loaded";
        EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Órarend  (2025-2026-1 ősz)"));
        EXPECT_EQ(Vonal->parentWidget(), Form1);
        const std::map<QString, QString> captions{
            {"orarend", "Órarend"}, {"Targyfelvet", "Tárgy kiválasztása"},
            {"tantargyszervezes", "Tantárgy hirdetés"}, {"teremvalasztas", "Terem választása"},
            {"teremfelvetel", "Terem felvétel"}, {"oktval", "Oktató választása"}, {"beemeles", "Beemelés"},
            {"Teremfog", "Teremfoglaltság"}, {"Emelo", "Emelo"}, {"Adminka", "Admin..."},
            {"edithetek", "edithetek"}, {"letszam", "Maximális létszám"},
            {"Targyeditor", "Tantárgy létrehozása"}, {"szakval", "Szakválasztó"},
            {"csoportfoglalasok", "Csoport foglalásai"}, {"targyszervezo2", "Órarendi elemek létrehozása"},
            {"Oktatofog", "Oktatói órarend"}, {"Segitseg", "Létszámadatok"},
            {"MintaTargy", "Minta(elem) tárgyai"}, {"targy_kereso", "Tárgy keresése"},
            {"orarend_valaszto", "Órarendi kapcsoló"}, {"Form2", "Form2"}};
        std::map<QString, QString> found;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (captions.count(window->objectName()))
                found[window->objectName()] = window->windowTitle();
        }
        EXPECT_EQ(found, captions);
        EXPECT_TRUE(shownWindows().isEmpty());
        // The main window, its progress window, the 21 dialogs and the database copy window.
        EXPECT_EQ(windowCount(), windowsBefore + 24);

        // The progress window shows the data module's saves.
        DM->Mentes();
        EXPECT_EQ(Vonal->ProgressBar1->maximum(), 8) << "one step per saved file";
        EXPECT_EQ(Vonal->ProgressBar1->value(), 8);
        EXPECT_FALSE(Vonal->isVisible());
        EXPECT_TRUE(QFile::exists(data.filePath(QStringLiteral("KK_kurzus.csv"))));
    }
    for (const void *global : {(void *)DM, (void *)Form1, (void *)Vonal, (void *)orarend,
                               (void *)orarend_valaszto, (void *)DMK, (void *)Form2})
        EXPECT_EQ(global, nullptr);
    EXPECT_EQ(windowCount(), windowsBefore);
}

TEST(ProgramForms, ClosingTheMainWindowEndsTheLoopEvenWithTheCopyWindowOpen)
{
    for (const bool copyWindowOpen : {false, true}) {
        const DataFolder data(true);
        // An administrator of this desk: "X" shows and "Kilépés" asks nothing.
        const TProgramForms forms(data.environment(copyWindowOpen ? "qadlepu" : ""));
        Form1->show();
        ASSERT_EQ(shownWindows(), QList<QWidget *>{Form1}) << "the dialogs stay hidden until opened";
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer::singleShot(0, Form1, [&] {
            if (!copyWindowOpen) {
                Form1->close();
                return;
            }
            // Without a database the copy window tells so when it opens.
            EXPECT_EQ(answeringModals([] { QTest::mouseClick(Form1->B_admin, Qt::LeftButton); },
                                      [](QWidget &box) { static_cast<QDialog &>(box).accept(); }),
                      1);
            EXPECT_TRUE(Form2->isVisible());
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);
            // Ends a loop that the copy window would otherwise keep running.
            QApplication::exit(lastClosed.count() == 1 ? 0 : 1);
        });
        EXPECT_EQ(QApplication::exec(), 0) << copyWindowOpen;
        EXPECT_EQ(lastClosed.count(), 1);
        EXPECT_FALSE(Form1->isVisible());
    }
}

TEST(EscapedExceptions, AreShownOnceWithTheirMessageAndTheEventCountsAsUnhandled)
{
    QStringList shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const auto deliver = [&](const std::function<bool()> &handler) {
        bool handled = true;
        answeringModals([&] { handled = deliverShowingExceptions(handler); },
                        [&](QWidget &modal) {
                            auto &box = static_cast<QMessageBox &>(modal);
                            shown << box.text();
                            icon = box.icon();
                            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
                        });
        return handled;
    };
    EXPECT_TRUE(deliver([] { return true; }));
    EXPECT_FALSE(deliver([] { return false; }));
    EXPECT_TRUE(shown.isEmpty()) << "a delivery without one shows nothing and keeps its result";
    EXPECT_FALSE(deliver([]() -> bool { throw EDatabaseError("Duplikált érték az indexben. Művelet leállítva."); }));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Duplikált érték az indexben. Művelet leállítva.")});
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtTranslations, StandardButtonsSpeakHungarian)
{
    ASSERT_TRUE(installQtTranslations(*qApp)) << "qtbase_hu is missing from Qt's translations folder";
    const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes
                                   | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Mégse"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Igen"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text(), QStringLiteral("&Nem"));
}
