#include "dialogs/hetek_edit.h"

#include "dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using dialogtest::answeringModals;

// The editor is opened modally and answered by `answer`, which sees it showing.
class WeekEditor : public testing::Test {
protected:
    int open(const std::string &hetek, int gyakorisag, const std::function<void(Tedithetek &)> &answer)
    {
        editor.Hetek = hetek;
        editor.Gyakorisag = gyakorisag;
        int result = -1;
        answeringModals([&] { result = editor.exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, &editor);
                            answer(editor);
                        });
        return result;
    }
    std::string boxes() const
    {
        std::string mask;
        for (const QCheckBox *box : editor.CB)
            mask += box->isChecked() ? '1' : '0';
        return mask;
    }
    static void save(Tedithetek &e) { QTest::mouseClick(e.Button1, Qt::LeftButton); }
    static void cancel(Tedithetek &e) { QTest::mouseClick(e.Button2, Qt::LeftButton); }

    Tedithetek editor;
};

TEST_F(WeekEditor, AFixedMaskSelectsItsFrequencyAnyOtherIsCustomAndAnEmptyOneTakesTheCode)
{
    EXPECT_EQ(editor.Gyakorisag, 0);
    EXPECT_EQ(editor.Hetek, "111111111111111");
    const struct { const char *hetek; int code, shownIndex; const char *shownEdit, *saved; int savedCode; } cases[] = {
        {"101010101010101", 3, 1, nullptr, "101010101010101", 1},
        {"110000000000011", 0, 5, "110000000000011", "110000000000011", Tedithetek::CustomFrequency},
        {"", 2, 2, "010101010101010", "010101010101010", 2},
        {"", 0, 0, "111111111111111", "111111111111111", 0},
    };
    for (const auto &c : cases) {
        const int result = open(c.hetek, c.code, [&](Tedithetek &e) {
            EXPECT_EQ(e.GyakIndex(), c.shownIndex) << c.hetek;
            EXPECT_EQ(boxes(), c.saved) << c.hetek;
            if (c.shownEdit) {
                EXPECT_EQ(e.HetekEdit->text(), c.shownEdit);
            }
            save(e);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(editor.Gyakorisag, c.savedCode) << c.hetek;
        EXPECT_EQ(editor.Hetek, c.saved) << c.hetek;
    }
}

TEST_F(WeekEditor, AnEmptyMaskWithACustomCodeKeepsWhatWasShown)
{
    open("100000000000001", 999, save);
    open("", 999, [&](Tedithetek &e) {
        EXPECT_EQ(e.GyakIndex(), 5);
        EXPECT_EQ(boxes(), "100000000000001");
        EXPECT_EQ(e.HetekEdit->text(), "100000000000001");
        save(e);
    });
    EXPECT_EQ(editor.Gyakorisag, 999);
    EXPECT_EQ(editor.Hetek, "100000000000001");
}

TEST_F(WeekEditor, TickingAWeekTurnsAFixedFrequencyIntoACustomMask)
{
    open("", 0, [&](Tedithetek &e) {
        QTest::mouseClick(e.Gyak->findChildren<QRadioButton *>().at(3), Qt::LeftButton);
        EXPECT_EQ(e.GyakIndex(), 3);
        EXPECT_EQ(e.HetekEdit->text(), "001001001001001");
        e.CB[0]->click();
        EXPECT_EQ(e.GyakIndex(), 5);
        save(e);
    });
    EXPECT_EQ(editor.Gyakorisag, 999);
    EXPECT_EQ(editor.Hetek, "101001001001001");
}

TEST_F(WeekEditor, ChoosingAFrequencyByHandKeepsIt)
{
    open("110000000000011", 999, [&](Tedithetek &e) {
        QTest::mouseClick(e.Gyak->findChildren<QRadioButton *>().at(4), Qt::LeftButton);
        save(e);
    });
    EXPECT_EQ(editor.Gyakorisag, 4);
    EXPECT_EQ(editor.Hetek, "000100010001000");
}

TEST_F(WeekEditor, TypedTextChangesNoBoxAndIsReturnedUnchecked)
{
    open("110000000000011", 999, [&](Tedithetek &e) {
        e.HetekEdit->clear();
        QTest::keyClicks(e.HetekEdit, "12ab");
        EXPECT_EQ(boxes(), "110000000000011");
        save(e);
    });
    EXPECT_EQ(editor.Hetek, "12ab");
    EXPECT_EQ(editor.Gyakorisag, 999);
}

TEST_F(WeekEditor, CancelLeavesBothFieldsAndForgetsTheTypedText)
{
    const int result = open("110000000000011", 999, [&](Tedithetek &e) {
        e.CB[5]->click();
        QTest::keyClicks(e.HetekEdit, "x");
        cancel(e);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(editor.Hetek, "110000000000011");
    EXPECT_EQ(editor.Gyakorisag, 999);
    open("110000000000011", 999, save);
    EXPECT_EQ(editor.Hetek, "110000000000011");
}

} // namespace
