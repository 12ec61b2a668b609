#include "app/SingleInstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// What the refusal box showed before the test pressed OK on it.
struct SeenBox {
    bool shown = false;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton *> buttons;
    QAbstractButton *okButton = nullptr;
};

SeenBox refuseAndAnswer(const QString &name)
{
    SeenBox seen;
    // Runs inside the box's own event loop, once the box is up.
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.shown = true;
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->buttons();
        seen.okButton = box->button(QMessageBox::Ok);
        if (seen.okButton)
            QTest::mouseClick(seen.okButton, Qt::LeftButton);
        else
            box->reject();
    });
    refuseSecondStart(name);
    return seen;
}

} // namespace

TEST(InstanceName, FolderLosesBlanksKeepsAccentsAndGetsSlashesAndUnderscores)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("C:\\Program Files\\Plan\\"), QStringLiteral("C_/ProgramFiles/Plan/BrelvixKastorel")},
        {QStringLiteral("/srv/Órarend  tervező 2025/"),
         QStringLiteral("/srv/Órarendtervező2025/BrelvixKastorel")},
        {QStringLiteral("D:\\a:b\\\\c\\"), QStringLiteral("D_/a_b//c/BrelvixKastorel")},
    };
    for (const auto &[folder, name] : cases)
        EXPECT_EQ(instanceName(folder), name) << folder.toStdString();
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithItsSeparator)
{
    const QString folder = programFolder();
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("app_tests")).isExecutable()) << folder.toStdString();
}

TEST(SecondStartRefusal, IsAConfirmationWithOnlyOkNamingTheInstanceAlsoOnStandardError)
{
    testing::internal::CaptureStderr();
    const SeenBox seen = refuseAndAnswer(QStringLiteral("C_/ProgramFiles/Plan/BrelvixKastorel"));
    const std::string written = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text,
              QStringLiteral("Haggyá má! Elég belőlem egy is.\r\nC_/ProgramFiles/Plan/BrelvixKastorel"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    ASSERT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.buttons.front(), seen.okButton);
    EXPECT_NE(written.find("Haggyá má! Elég belőlem egy is."), std::string::npos) << written;
    EXPECT_NE(written.find("C_/ProgramFiles/Plan/BrelvixKastorel"), std::string::npos) << written;
}
