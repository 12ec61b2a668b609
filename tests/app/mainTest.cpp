// The program itself, started as a user would start it, from folders the test makes.

#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString refusal = QStringLiteral("Haggyá má! Elég belőlem egy is.");

// A copy of the built program, with the data files beside it, in a folder of its own.
class ProgramCopy {
public:
    explicit ProgramCopy(const QString &folderName)
        : folder_(root_.path() + QLatin1Char('/') + folderName + QLatin1Char('/'))
    {
        QDir().mkpath(folder_);
        const QFileInfo built(QStringLiteral(BRELVIX_PROGRAM_FILE));
        QFile::copy(built.filePath(), programFile());
        for (const QFileInfo &data : built.dir().entryInfoList({QStringLiteral("*.csv")}, QDir::Files))
            QFile::copy(data.filePath(), folder_ + data.fileName());
    }

    QString root() const { return root_.path(); }
    QString folder() const { return folder_; }
    QString programFile() const { return folder_ + QStringLiteral("brelvix"); }

    // Starts the copy; told to save a screenshot, a copy that gets going ends by itself.
    void start(QProcess &process, const QString &screenshot) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("BRELVIX_SCREENSHOT"), screenshot);
        process.setProcessEnvironment(environment);
        process.setReadChannel(QProcess::StandardError);
        process.start(programFile(), {});
    }

private:
    QTemporaryDir root_;
    QString folder_;
};

} // namespace

TEST(ProgramStart, SecondStartFromTheSameFolderIsRefusedWithTheInstanceName)
{
    const ProgramCopy copy(QStringLiteral("Órarend: tervező"));
    const QString name = copy.root() + QStringLiteral("/Órarend_tervező/BrelvixKastorel");
    // This process stands for the copy already running from that folder.
    const InstanceLock running(name.toStdString());
    ASSERT_TRUE(running.isHeld());

    QProcess second;
    const QString screenshot = copy.folder() + QStringLiteral("shot.png");
    copy.start(second, screenshot);
    QString written;
    while (!written.contains(name) && second.waitForReadyRead(-1))
        written += QString::fromUtf8(second.readAll());
    // The refused copy waits for its message box to be answered; nobody will.
    second.kill();
    second.waitForFinished(-1);

    const QStringList lines = written.mid(written.indexOf(refusal)).split(QStringLiteral("\r\n"));
    ASSERT_TRUE(written.contains(refusal)) << written.toStdString();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], refusal);
    EXPECT_EQ(lines[1].trimmed(), name);
    EXPECT_FALSE(QFile::exists(screenshot)) << "the refused copy went on to show its window";
}

TEST(ProgramStart, StartFromAnotherFolderRunsAndShowsItsWindow)
{
    const ProgramCopy first(QStringLiteral("first"));
    const ProgramCopy second(QStringLiteral("second"));
    const InstanceLock running((first.folder() + QStringLiteral("BrelvixKastorel")).toStdString());
    ASSERT_TRUE(running.isHeld());

    QProcess program;
    const QString screenshot = second.folder() + QStringLiteral("shot.png");
    second.start(program, screenshot);
    ASSERT_TRUE(program.waitForFinished(-1)) << "the program did not end after its screenshot";
    const QString written = QString::fromUtf8(program.readAllStandardError());

    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << written.toStdString();
    EXPECT_FALSE(written.contains(refusal)) << written.toStdString();
    const QImage shot(screenshot);
    EXPECT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 0);
}

TEST(ProgramStart, FolderIsFreeForTheNextStartOnceTheProgramHasEnded)
{
    const ProgramCopy copy(QStringLiteral("egyedül"));
    QProcess program;
    copy.start(program, copy.folder() + QStringLiteral("shot.png"));
    ASSERT_TRUE(program.waitForFinished(-1));
    ASSERT_EQ(program.exitCode(), 0);

    const InstanceLock next((copy.folder() + QStringLiteral("BrelvixKastorel")).toStdString());
    EXPECT_TRUE(next.isHeld());
}

TEST(ProgramStart, DataFileThatCannotBeLoadedEndsTheProgramWithItsMessage)
{
    const ProgramCopy copy(QStringLiteral("hiányos"));
    ASSERT_TRUE(QFile::remove(copy.folder() + QStringLiteral("targy.csv")));

    QProcess program;
    const QString screenshot = copy.folder() + QStringLiteral("shot.png");
    copy.start(program, screenshot);
    QString written;
    while (!written.contains(QStringLiteral("targy.csv")) && program.waitForReadyRead(-1))
        written += QString::fromUtf8(program.readAll());
    // The message box waits for the user; nobody will answer it here.
    program.kill();
    program.waitForFinished(-1);

    EXPECT_TRUE(written.contains(QStringLiteral("targy.csv"))) << written.toStdString();
    EXPECT_FALSE(QFile::exists(screenshot)) << "the main window was shown without its data";
}
