#include "dialogs/letszaminp.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;


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

TEST_F(NumberInput, OpensWithTheFocusInTheNumberAndTheCallersTexts)
{
    EXPECT_EQ(input.windowTitle(), "Maximális létszám") << "until the caller sets its own";
    open(QStringLiteral("100"), [](Tletszam &dialog) {
        EXPECT_EQ(QApplication::focusWidget(), dialog.Edit1);
        EXPECT_EQ(dialog.windowTitle(), "Részvétel 0-100");
        EXPECT_EQ(dialog.Label1->text(), "Részvétel %:");
        EXPECT_EQ(dialog.Edit1->text(), "100");
        dialog.reject();
    });
}

// Takes at most three digits; a blank edit becomes zero on leaving or saving.
TEST_F(NumberInput, TypedDigitsAreSavedOrCancelledAndABlankBecomesZero)
{
    enum How { Save, Enter, Cancel, Leave };
    const struct { const char *start, *keys; How how; int result; const char *shown; } cases[] = {
        {"30", "45", Save, QDialog::Accepted, "45"},       {"30", "7", Enter, QDialog::Accepted, "7"},
        {"30", "8", Cancel, QDialog::Rejected, "8"},       {"12", "", Save, QDialog::Accepted, "0"},
        {"", "1a2-34", Leave, QDialog::Rejected, "123"},   {"55", "", Leave, QDialog::Rejected, "0"},
        {"   ", nullptr, Leave, QDialog::Rejected, "0"},   {"", "007", Leave, QDialog::Rejected, "007"},
    };
    for (const auto &c : cases) {
        const int result = open(QString::fromLatin1(c.start), [&](Tletszam &dialog) {
            if (c.keys)
                retype(dialog, c.keys);
            if (c.how == Save)
                click(dialog.Button1);
            else if (c.how == Enter)
                QTest::keyClick(dialog.Edit1, Qt::Key_Return);
            else if (c.how == Cancel)
                click(dialog.Button2);
            else {
                leave(dialog);
                dialog.reject();
            }
        });
        EXPECT_EQ(result, c.result) << c.keys;
        EXPECT_EQ(input.Edit1->text(), QString::fromLatin1(c.shown)) << c.keys;
    }
}

} // namespace
