#include "dialogs/letszaminp.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;

// Run as the main window does: caption, label and starting text set. The edit takes at most three
// digits; a blank edit becomes zero on leaving it or saving.
TEST(NumberInput, OpensOnTheNumberAndTypedDigitsAreSavedOrCancelledWithABlankMadeZero)
{
    Tletszam input;
    EXPECT_EQ(input.windowTitle(), "Maximális létszám") << "until the caller sets its own";
    enum How { Save, Enter, Cancel, Leave };
    const struct { const char *start, *keys; How how; int result; const char *shown; } cases[] = {
        {"30", "45", Save, QDialog::Accepted, "45"},       {"30", "7", Enter, QDialog::Accepted, "7"},
        {"30", "8", Cancel, QDialog::Rejected, "8"},       {"12", "", Save, QDialog::Accepted, "0"},
        {"", "1a2-34", Leave, QDialog::Rejected, "123"},   {"55", "", Leave, QDialog::Rejected, "0"},
        {"   ", nullptr, Leave, QDialog::Rejected, "0"},   {"", "007", Leave, QDialog::Rejected, "007"},
        // "No limit" is shown and saved as it is; only the first place takes a sign.
        {"-1", nullptr, Save, QDialog::Accepted, "-1"},    {"", "-5-", Leave, QDialog::Rejected, "-5"},
    };
    input.setWindowTitle(QStringLiteral("Részvétel 0-100"));
    for (const auto &c : cases) {
        input.Edit1->setText(QString::fromLatin1(c.start));
        const int result = execWith(input, [&] {
            // Focus moves only within the active window.
            QApplication::setActiveWindow(&input);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&input));
            EXPECT_EQ(QApplication::focusWidget(), input.Edit1);
            if (c.keys) {
                input.Edit1->selectAll();
                QTest::keyClick(input.Edit1, Qt::Key_Delete);
                QTest::keyClicks(input.Edit1, c.keys);
            }
            if (c.how == Save || c.how == Cancel)
                click(c.how == Save ? input.Button1 : input.Button2);
            else if (c.how == Enter)
                QTest::keyClick(input.Edit1, Qt::Key_Return);
            else {
                input.Button1->setFocus();
                input.reject();
            }
        });
        EXPECT_EQ(result, c.result) << c.keys;
        EXPECT_EQ(input.Edit1->text(), QString::fromLatin1(c.shown)) << c.keys;
    }
    EXPECT_EQ(input.windowTitle(), "Részvétel 0-100");
}

} // namespace
