#include "dialogs/teremfel.h"

#include "dialogs/DialogTestSupport.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using dialogtest::answeringModals;
using dialogtest::MessageSeen;
namespace fs = std::filesystem;

class NewRoom : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addRoom(1, "A", "101", "Kelmendor", 30);
        dialog = std::make_unique<Tteremfelvetel>();
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }

    // Opens the dialog, fills the edits and presses "Felvétel"; a message it shows is recorded
    // and answered, after which the dialog is left with "Mégsem".
    int add(const QString &building, const QString &room, const QString &capacity = QStringLiteral("0"))
    {
        int result = -1;
        answeringModals([&] { result = dialog->exec(); },
                        [&](QWidget &) {
                            dialog->Edit1->setText(building);
                            dialog->Edit2->setText(room);
                            dialog->Edit3->setText(capacity);
                            // A message opened from this answer needs an answerer of its own.
                            answeringModals([&] { QTest::mouseClick(dialog->Button1, Qt::LeftButton); },
                                            dialogtest::recordAndPress(messages));
                            stayedOpen = dialog->isVisible();
                            if (stayedOpen)
                                QTest::mouseClick(dialog->Button2, Qt::LeftButton);
                        });
        return result;
    }

    std::unique_ptr<Tteremfelvetel> dialog;
    std::vector<MessageSeen> messages;
    bool stayedOpen = false;
};

TEST_F(NewRoom, AddsTheRoomSavesItWithTheTimetableDataAndKeepsTheTextsForTheNext)
{
    EXPECT_EQ(dialog->Edit3->text(), "0");
    EXPECT_EQ(dialog->Edit4->text(), "Kelmendor");
    dialog->Edit4->setText(QStringLiteral("Dűlő"));
    const int result = add(QStringLiteral("É"), QStringLiteral("12"), QStringLiteral("45"));
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(messages.empty());
    TztrMemTable &rooms = DM->MT_terem;
    ASSERT_EQ(rooms.RecordCount(), 2);
    ASSERT_TRUE(rooms.Locate("terem_kod", "12", {}));
    EXPECT_EQ(dialogtest::utf8Of(rooms, "terem_hely"), "É");
    EXPECT_EQ(rooms.FieldByName("terem_kapacitas")->AsInteger(), 45);
    EXPECT_EQ(dialogtest::utf8Of(rooms, "terem_telephely"), "Dűlő");
    EXPECT_GT(rooms.FieldByName("terem_id")->AsInteger(), 1);
    EXPECT_TRUE(fs::exists(folder / "KK_alkalom.csv"));
    // Occasions saved with the new room must find it at the next start.
    EXPECT_NE(dialogtest::readFile(folder, "terem.csv").find(utf8ToCp1250("Dűlő")), std::string::npos);
    EXPECT_EQ(dialog->Edit1->text() + dialog->Edit2->text() + dialog->Edit3->text(), "É1245");
}

TEST_F(NewRoom, AnEmptyBuildingCodeOrRoomNumberIsRejected)
{
    for (const auto &[building, room] : {std::pair{"", "12"}, std::pair{"B", ""}}) {
        messages.clear();
        const int result = add(QString::fromUtf8(building), QString::fromUtf8(room));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Kérem töltse ki a terem kódot és a helyet!");
        EXPECT_EQ(messages[0].buttons, QMessageBox::Ok);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(result, QDialog::Rejected);
    }
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
    EXPECT_FALSE(fs::exists(folder / "KK_alkalom.csv"));
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

TEST_F(NewRoom, CancelAddsNothing)
{
    int result = -1;
    answeringModals([&] { result = dialog->exec(); },
                    [&](QWidget &) {
                        dialog->Edit1->setText(QStringLiteral("B"));
                        dialog->Edit2->setText(QStringLiteral("201"));
                        QTest::mouseClick(dialog->Button2, Qt::LeftButton);
                    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(DM->MT_terem.RecordCount(), 1);
}

} // namespace
