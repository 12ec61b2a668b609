#include "dialogs/letszaminp.h"

#include "dialogs/DialogTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using dialogtest::answeringModals;

// The dialog as the main window uses it: caption, label and starting text set, then run.
class NumberInput : public testing::Test {
protected:
    int open(const QString &start, const std::function<void(Tletszam &)> &answer)
    {
        input.setWindowTitle(QStringLiteral("Részvétel 0-100"));
        input.Label1->setText(QStringLiteral("Részvétel %:"));
        input.Edit1->setText(start);
        int result = -1;
        answeringModals([&] { result = input.exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, &input);
                            // Focus moves only within the active window.
                            QApplication::setActiveWindow(&input);
                            ASSERT_TRUE(QTest::qWaitForWindowActive(&input));
                            answer(input);
                        });
        return result;
    }
    static void retype(Tletszam &dialog, const char *keys)
    {
        dialog.Edit1->selectAll();
        QTest::keyClick(dialog.Edit1, Qt::Key_Delete);
        QTest::keyClicks(dialog.Edit1, keys);
    }
    // Leaving the edit for the next control.
    static void leave(Tletszam &dialog) { dialog.Button1->setFocus(); }

    Tletszam input;
};

TEST_F(NumberInput, DesignedTextsUntilTheCallerSetsItsOwn)
{
    EXPECT_EQ(input.windowTitle(), "Maximális létszám");
    EXPECT_EQ(input.Label1->text(), "Maximális létszám:");
    EXPECT_EQ(input.Button1->text(), "Mentés");
    EXPECT_EQ(input.Button2->text(), "Mégse");
    EXPECT_TRUE(input.Button1->isDefault());
}

TEST_F(NumberInput, OpensWithTheFocusInTheNumberAndTheCallersTexts)
{
    open(QStringLiteral("100"), [](Tletszam &dialog) {
        EXPECT_EQ(QApplication::activeWindow(), &dialog);
        EXPECT_EQ(dialog.focusWidget(), dialog.Edit1);
        EXPECT_EQ(QApplication::focusWidget(), dialog.Edit1);
        EXPECT_EQ(dialog.windowTitle(), "Részvétel 0-100");
        EXPECT_EQ(dialog.Label1->text(), "Részvétel %:");
        EXPECT_EQ(dialog.Edit1->text(), "100");
        dialog.reject();
    });
}

TEST_F(NumberInput, SaveAcceptsWithTheTypedNumber)
{
    const int result = open(QStringLiteral("30"), [](Tletszam &dialog) {
        retype(dialog, "45");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(input.Edit1->text().trimmed(), "45");
}

TEST_F(NumberInput, EnterSavesAsTheDefaultButton)
{
    const int result = open(QStringLiteral("30"), [](Tletszam &dialog) {
        retype(dialog, "7");
        QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(input.Edit1->text().trimmed(), "7");
}

TEST_F(NumberInput, CancelRejects)
{
    const int result = open(QStringLiteral("30"), [](Tletszam &dialog) {
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(NumberInput, TakesAtMostThreeDigitsAndNoLetters)
{
    open(QStringLiteral(""), [](Tletszam &dialog) {
        retype(dialog, "1a2-34");
        EXPECT_EQ(dialog.Edit1->text(), "123");
        dialog.reject();
    });
}

TEST_F(NumberInput, AnEmptyEditBecomesZeroOnLeaving)
{
    QString afterLeaving;
    open(QStringLiteral("55"), [&](Tletszam &dialog) {
        retype(dialog, "");
        leave(dialog);
        afterLeaving = dialog.Edit1->text();
        dialog.reject();
    });
    EXPECT_EQ(afterLeaving, "0");
}

TEST_F(NumberInput, BlanksSetByTheCallerBecomeZeroEvenWhenNothingWasTyped)
{
    QString afterLeaving;
    open(QStringLiteral("   "), [&](Tletszam &dialog) {
        leave(dialog);
        afterLeaving = dialog.Edit1->text();
        dialog.reject();
    });
    EXPECT_EQ(afterLeaving, "0");
}

TEST_F(NumberInput, LeadingZerosStayAsTyped)
{
    QString afterLeaving;
    open(QStringLiteral(""), [&](Tletszam &dialog) {
        retype(dialog, "007");
        leave(dialog);
        afterLeaving = dialog.Edit1->text();
        dialog.reject();
    });
    EXPECT_EQ(afterLeaving, "007");
}

TEST_F(NumberInput, SavingByMouseChecksTheEditFirst)
{
    const int result = open(QStringLiteral("12"), [](Tletszam &dialog) {
        retype(dialog, "");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(input.Edit1->text(), "0");
}

} // namespace
