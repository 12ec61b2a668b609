#include "dialogs/teremfel.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;

class NewRoom : public DialogOn<Tteremfelvetel> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        addRoom(1, "A", "101", "Kelmendor", 30);
    }
    // Fills the edits and presses "Felvétel"; "Mégsem" closes a dialog left open. Returns what it said.
    QStringList add(const QString &building, const QString &room, const QString &capacity = QStringLiteral("0"))
    {
        QStringList said;
        execWith(*dialog, [&] {
            dialog->Edit1->setText(building);
            dialog->Edit2->setText(room);
            dialog->Edit3->setText(capacity);
            said = textsOf(messagesOf([&] { click(dialog->Button1); }));
            if (dialog->isVisible())
                click(dialog->Button2);
        });
        return said;
    }
};

TEST_F(NewRoom, AnEmptyCodeOrPlaceIsRefusedAndAddsNothing)
{
    for (const auto &[building, room] : {std::pair{"", "12"}, std::pair{"B", ""}}) {
        EXPECT_EQ(add(QString::fromUtf8(building), QString::fromUtf8(room)),
                  QStringList{"Kérem töltse ki a terem kódot és a helyet!"});
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
    EXPECT_FALSE(fs::exists(folder / "KK_alkalom.csv"));
}

// Occasions saved with the new room must find it at the next start: the rooms file is written too.
TEST_F(NewRoom, AddsTheRoomSavesItWithTheTimetableDataAndKeepsTheTextsForTheNext)
{
    EXPECT_EQ(dialog->Edit3->text() + dialog->Edit4->text(), "0Kelmendor");
    dialog->Edit4->setText(QStringLiteral("Dűlő"));
    EXPECT_TRUE(add(QStringLiteral("É"), QStringLiteral("12"), QStringLiteral("45")).isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    TztrMemTable &rooms = DM->MT_terem;
    ASSERT_EQ(rooms.RecordCount(), 2);
    ASSERT_TRUE(rooms.Locate("terem_kod", "12", {}));
    EXPECT_EQ(utf8Of(rooms, "terem_hely") + utf8Of(rooms, "terem_telephely"), "ÉDűlő");
    EXPECT_EQ(rooms.FieldByName("terem_kapacitas")->AsInteger(), 45);
    EXPECT_GT(rooms.FieldByName("terem_id")->AsInteger(), 1);
    EXPECT_TRUE(fs::exists(folder / "KK_alkalom.csv"));
    EXPECT_NE(readFile(folder, "terem.csv").find(utf8ToCp1250("Dűlő")), std::string::npos);
    EXPECT_EQ(dialog->Edit1->text() + dialog->Edit2->text() + dialog->Edit3->text(), "É1245");
}

// A capacity is a head count in decimal digits; anything else is refused in Hungarian.
TEST_F(NewRoom, ACapacityThatIsNoHeadCountIsRefusedInHungarianAndAddsNothing)
{
    for (const char *typed : {"harminc", "-5", "$1F", "0x1F", "+5", "3.5", "", "99999999999"}) {
        const QString capacity = QString::fromUtf8(typed);
        EXPECT_EQ(add(QStringLiteral("B"), QStringLiteral("201"), capacity),
                  QStringList{"'" + capacity + "' nem érvényes szám: csak számjegyekkel írt, nem negatív egész szám adható meg!"})
            << typed;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << typed;
    }
    EXPECT_EQ(DM->MT_terem.State(), dsBrowse);
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
    EXPECT_TRUE(add(QStringLiteral("B"), QStringLiteral("201"), QStringLiteral(" 030 ")).isEmpty());
    ASSERT_TRUE(DM->MT_terem.Locate("terem_kod", "201", {}));
    EXPECT_EQ(DM->MT_terem.FieldByName("terem_kapacitas")->AsInteger(), 30);
}

// Codes stop at what the room table holds and refuse what the files cannot hold, as typed.
TEST_F(NewRoom, EditsTakeNoMoreThanTheRoomHoldsAndNoCharacterTheFilesCannotHold)
{
    QStringList shown;
    execWith(*dialog, [&] {
        for (QLineEdit *edit : {dialog->Edit1, dialog->Edit2, dialog->Edit4}) {
            edit->clear();
            edit->setFocus();
            for (const QString &c : {QStringLiteral("😀"), QStringLiteral("中"), QStringLiteral("É")})
                typeCharacter(edit, c);
            for (int i = 0; i < 62; ++i)
                typeCharacter(edit, QStringLiteral("k"));
            shown << QString::number(edit->text().size()) + edit->text().left(2);
        }
        click(dialog->Button1);
    });
    EXPECT_EQ(shown, (QStringList{"20Ék", "20Ék", "50Ék"}));
    ASSERT_TRUE(DM->MT_terem.Locate("terem_kod", utf8ToCp1250("É" + std::string(19, 'k')), {}));
    EXPECT_EQ(utf8Of(DM->MT_terem, "terem_telephely"), "É" + std::string(49, 'k'));
}

// A text that reaches an edit other than by typing is checked again before the room is begun.
TEST_F(NewRoom, ASiteTheFilesCannotHoldIsRefusedAndAddsNothing)
{
    dialog->Edit4->setText(QStringLiteral("Dűlő 中"));
    const QStringList said = add(QStringLiteral("B"), QStringLiteral("201"), QStringLiteral("30"));
    EXPECT_EQ(said.size(), 1);
    EXPECT_TRUE(said.value(0).contains(QStringLiteral("„中” karakter nem menthető a(z) 'terem_telephely' mezőbe")))
        << said.value(0).toStdString();
    EXPECT_EQ(dialog->Edit4->text(), QStringLiteral("Dűlő 中")) << "what was typed stays for mending";
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(DM->MT_terem.State(), dsBrowse);
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
}

} // namespace
