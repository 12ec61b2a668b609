#include "dialogs/hetek_edit.h"

#include "dialogs/DialogTestSupport.h"

#include <QGroupBox>
#include <QRadioButton>

namespace {

using namespace dialogtest;


class WeekEditor : public testing::Test {
protected:
    int open(const std::string &hetek, int gyakorisag, const std::function<void()> &whileShown)
    {
        editor.Hetek = hetek;
        editor.Gyakorisag = gyakorisag;
        return dialogtest::execWith(editor, whileShown);
    }
    std::string boxes() const
    {
        std::string mask;
        for (const QCheckBox *box : editor.CB)
            mask += box->isChecked() ? '1' : '0';
        return mask;
    }
    QRadioButton *frequency(int index) { return editor.Gyak->findChildren<QRadioButton *>().at(index); }
    void save() { click(editor.Button1); }

    Tedithetek editor;
};

// A fixed mask selects its frequency, any other is custom, and an empty one takes the code's.
TEST_F(WeekEditor, OpensOnTheMaskOrTheCodeAndSavingReturnsWhatIsShown)
{
    const struct { const char *hetek; int code, shownIndex; const char *shown; int savedCode; } cases[] = {
        {"101010101010101", 3, 1, "101010101010101", 1},
        {"110000000000011", 0, 5, "110000000000011", Tedithetek::CustomFrequency},
        // An empty mask with a custom code keeps the boxes of the last opening.
        {"", 999, 5, "110000000000011", Tedithetek::CustomFrequency},
        {"", 2, 2, "010101010101010", 2},
        {"", 0, 0, "111111111111111", 0},
    };
    for (const auto &c : cases) {
        const int result = open(c.hetek, c.code, [&] {
            EXPECT_EQ(editor.GyakIndex(), c.shownIndex) << c.hetek;
            EXPECT_EQ(boxes(), c.shown) << c.hetek;
            EXPECT_EQ(editor.HetekEdit->text(), c.shown) << c.hetek;
            save();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(editor.Gyakorisag, c.savedCode) << c.hetek;
        EXPECT_EQ(editor.Hetek, c.shown) << c.hetek;
    }
}

// A ticked week makes the mask custom; typed text changes no box and is returned as typed.
TEST_F(WeekEditor, ClicksOnFrequenciesAndWeeksTypedTextAndCancel)
{
    const struct { const char *hetek; std::function<void()> act; int code; const char *saved; } cases[] = {
        {"", [&] { click(frequency(3)); EXPECT_EQ(editor.HetekEdit->text(), "001001001001001"); click(editor.CB[0]); },
         999, "101001001001001"},
        {"110000000000011", [&] { click(frequency(4)); }, 4, "000100010001000"},
        {"110000000000011", [&] { editor.HetekEdit->setText("12ab"); EXPECT_EQ(boxes(), "110000000000011"); }, 999, "12ab"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(open(c.hetek, 999, [&] { c.act(); save(); }), QDialog::Accepted);
        EXPECT_EQ(editor.Gyakorisag, c.code) << c.saved;
        EXPECT_EQ(editor.Hetek, c.saved);
    }
    // Cancel keeps both fields and the next opening forgets the typed text.
    open("110000000000011", 999, [&] {
        QTest::keyClicks(editor.HetekEdit, "x");
        click(editor.Button2);
    });
    open("110000000000011", 999, [&] { save(); });
    EXPECT_EQ(editor.Hetek, "110000000000011");
}

} // namespace
