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
    // Fills the edits and presses "Felvétel", answering what it says; "Mégsem" closes a dialog left open.
    int add(const QString &building, const QString &room, const QString &capacity = QStringLiteral("0"))
    {
        return execWith(*dialog, [&] {
            dialog->Edit1->setText(building);
            dialog->Edit2->setText(room);
            dialog->Edit3->setText(capacity);
            messages = messagesOf([&] { click(dialog->Button1); });
            stayedOpen = dialog->isVisible();
            if (stayedOpen)
                click(dialog->Button2);
        });
    }

    std::vector<MessageSeen> messages;
    bool stayedOpen = false;
};

TEST_F(NewRoom, AnEmptyCodeOrPlaceIsRefusedAndCancelAddsNothing)
{
    for (const auto &[building, room] : {std::pair{"", "12"}, std::pair{"B", ""}}) {
        EXPECT_EQ(add(QString::fromUtf8(building), QString::fromUtf8(room)), QDialog::Rejected);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Kérem töltse ki a terem kódot és a helyet!");
        EXPECT_EQ(messages[0].buttons, QMessageBox::Ok);
        EXPECT_TRUE(stayedOpen);
    }
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
    EXPECT_FALSE(fs::exists(folder / "KK_alkalom.csv"));
}

TEST_F(NewRoom, AddsTheRoomSavesItWithTheTimetableDataAndKeepsTheTextsForTheNext)
{
    EXPECT_EQ(dialog->Edit3->text(), "0");
    EXPECT_EQ(dialog->Edit4->text(), "Kelmendor");
    dialog->Edit4->setText(QStringLiteral("Dűlő"));
    EXPECT_EQ(add(QStringLiteral("É"), QStringLiteral("12"), QStringLiteral("45")), QDialog::Accepted);
    EXPECT_TRUE(messages.empty());
    TztrMemTable &rooms = DM->MT_terem;
    ASSERT_EQ(rooms.RecordCount(), 2);
    ASSERT_TRUE(rooms.Locate("terem_kod", "12", {}));
    EXPECT_EQ(utf8Of(rooms, "terem_hely"), "É");
    EXPECT_EQ(rooms.FieldByName("terem_kapacitas")->AsInteger(), 45);
    EXPECT_EQ(utf8Of(rooms, "terem_telephely"), "Dűlő");
    EXPECT_GT(rooms.FieldByName("terem_id")->AsInteger(), 1);
    EXPECT_TRUE(fs::exists(folder / "KK_alkalom.csv"));
    // Occasions saved with the new room must find it at the next start.
    EXPECT_NE(readFile(folder, "terem.csv").find(utf8ToCp1250("Dűlő")), std::string::npos);
    EXPECT_EQ(dialog->Edit1->text() + dialog->Edit2->text() + dialog->Edit3->text(), "É1245");
}

TEST_F(NewRoom, ACapacityThatIsNoNumberRaisesAndAddsNothing)
{
    dialog->Edit1->setText(QStringLiteral("B"));
    dialog->Edit2->setText(QStringLiteral("201"));
    dialog->Edit3->setText(QStringLiteral("sok"));
    try {
        dialog->Button1Click();
        FAIL() << "no conversion error";
    } catch (const EConvertError &error) {
        EXPECT_EQ(std::string(error.what()), "'sok' is not a valid integer value");
    }
    EXPECT_EQ(DM->MT_terem.State(), dsBrowse);
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
}

} // namespace
