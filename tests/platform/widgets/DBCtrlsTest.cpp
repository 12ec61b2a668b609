#include "platform/widgets/DBCtrls.h"

#include "DataControlsTestSupport.h"

#include <QMenu>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// An edit and a plain edit to move the focus to, in one window.
class EditOnRooms : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        edit = new TDBEdit(&window);
        other = new QLineEdit(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        edit->SetDataSource(&rooms.source);
        edit->SetDataField("terem_kapacitas");
        showActive(window);
        other->setFocus();
    }

    TField *capacity() { return rooms.table.FieldByName("terem_kapacitas"); }

    RoomTable rooms;
    QWidget window;
    TDBEdit *edit = nullptr;
    QLineEdit *other = nullptr;
};

} // namespace

TEST_F(EditOnRooms, ShowsTheFieldOfTheCurrentRecordAndFollowsIt)
{
    EXPECT_EQ(edit->Field(), capacity());
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    rooms.table.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    rooms.table.Close();
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(edit->Field(), nullptr);
    rooms.table.Open();
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
}

TEST_F(EditOnRooms, ShowsTheDisplayTextAndTheEditTextWhileEditing)
{
    capacity()->OnGetText = [](TField &sender, std::string &text, bool displayText) {
        text = displayText ? sender.AsString() + utf8ToCp1250(" fő") : sender.AsString();
    };
    rooms.table.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("20 fő"));
    edit->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    other->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("20 fő"));
}

TEST_F(EditOnRooms, TypingEditsTheRecordAndLeavingWritesTheField)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "42");
    EXPECT_EQ(rooms.table.State(), dsEdit);
    EXPECT_EQ(capacity()->AsInteger(), 10);
    other->setFocus();
    EXPECT_EQ(capacity()->AsInteger(), 42);
    rooms.table.Post();
    rooms.table.First();
    EXPECT_EQ(capacity()->AsInteger(), 42);
    EXPECT_EQ(edit->text(), QStringLiteral("42"));
}

TEST_F(EditOnRooms, MovingToAnotherRecordPostsTheTypedValue)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "7");
    rooms.table.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    rooms.table.First();
    EXPECT_EQ(capacity()->AsInteger(), 7);
}

TEST_F(EditOnRooms, EnterWithARefusedValueRaisesAndKeepsTheText)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "4x");
    EXPECT_THROW(pressKeyOn(edit, Qt::Key_Return), EConvertError);
    EXPECT_EQ(edit->text(), QStringLiteral("4x"));
    EXPECT_EQ(capacity()->AsInteger(), 10);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    rooms.table.Cancel();
    EXPECT_EQ(capacity()->AsInteger(), 10);
}

// The files hold cp1250 and the field its size: what does not fit is refused as it arrives,
// never cut or turned into "?" on the way into the field.
TEST_F(EditOnRooms, TypingAndPastingStopAtWhatTheFieldAndTheFilesCanHold)
{
    edit->SetDataField("terem_kod");
    edit->setFocus();
    edit->selectAll();
    typeText(edit, QStringLiteral("Kő"));
    for (const QString &foreign : {QStringLiteral("😀"), QStringLiteral("中")}) {
        typeCharacter(edit, foreign);
        edit->selectAll();
        EXPECT_EQ(pasteInto(edit, QStringLiteral("Terem ") + foreign),
                  QStringList{QStringLiteral("A(z) „%1” karakter nem menthető: az adatfájlok nem tudják tárolni").arg(foreign)});
        EXPECT_EQ(edit->text(), QStringLiteral("Kő")) << foreign.toStdString();
    }
    edit->selectAll();
    EXPECT_TRUE(pasteInto(edit, QString(45, u'x')).isEmpty());
    EXPECT_EQ(edit->text().toStdString(), QString(40, u'x').toStdString());
    other->setFocus();
    EXPECT_EQ(rooms.currentRoom(), std::string(40, 'x'));
}

// A person who left the caret inside the value finds it there after the data changed to the
// same text, and the right text after any other change.
TEST_F(EditOnRooms, ADataChangeThatLeavesTheTextLeavesTheCaret)
{
    const auto setCapacity = [&](int value) {
        rooms.table.Edit();
        capacity()->SetAsInteger(value);
        rooms.table.Post();
    };
    rooms.table.Next();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    ASSERT_EQ(edit->cursorPosition(), 1);

    rooms.table.DisableControls();
    setCapacity(99);
    setCapacity(20);
    rooms.table.EnableControls();
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    EXPECT_EQ(edit->cursorPosition(), 1);

    setCapacity(99);
    EXPECT_EQ(edit->text(), QStringLiteral("99"));
    setCapacity(20);
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->text(), QStringLiteral("250"));
    other->setFocus();
    EXPECT_EQ(capacity()->AsInteger(), 250);
}

// The edit text is held to the field's size while typing; the display text, longer, is shown whole.
TEST_F(EditOnRooms, ALongDisplayTextIsShownWholeBeforeAndAfterEditing)
{
    edit->SetDataField("terem_kod");
    rooms.table.FieldByName("terem_kod")->OnGetText = [](TField &sender, std::string &text, bool displayText) {
        text = displayText ? sender.AsString() + std::string(40, '.') : sender.AsString();
    };
    rooms.table.Next();
    const QString shown = QStringLiteral("Főépület 2") + QString(40, u'.');
    EXPECT_EQ(edit->text(), shown);
    edit->setFocus();
    EXPECT_EQ(edit->text(), QStringLiteral("Főépület 2"));
    EXPECT_EQ(edit->maxLength(), 40);
    other->setFocus();
    EXPECT_EQ(edit->text(), shown);
    rooms.table.First();
    rooms.table.Next();
    EXPECT_EQ(edit->text(), shown);
}

TEST_F(EditOnRooms, ReadOnlyEditsAndUnchangeableFieldsTakeNoTyping)
{
    edit->SetReadOnly(true);
    edit->setFocus();
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    EXPECT_EQ(rooms.table.State(), dsBrowse);
    edit->SetReadOnly(false);
    capacity()->SetReadOnly(true);
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    EXPECT_EQ(rooms.table.State(), dsBrowse);
}

TEST_F(EditOnRooms, WithoutAutomaticEditingTypingIsUndone)
{
    rooms.source.SetAutoEdit(false);
    edit->setFocus();
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    EXPECT_EQ(rooms.table.State(), dsBrowse);
}

TEST_F(EditOnRooms, ClicksDoubleClicksAndThePopupMenuAreTheCallersOwn)
{
    int clicks = 0, doubleClicks = 0;
    edit->OnClick = [&](TDBEdit &sender) {
        EXPECT_EQ(&sender, edit);
        ++clicks;
    };
    edit->OnDblClick = [&](TDBEdit &) { ++doubleClicks; };
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::mouseDClick(edit, Qt::LeftButton);
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
    QMenu menu;
    edit->SetPopupMenu(&menu);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &request);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST(DBText, ShowsTheDisplayTextOfTheCurrentRecord)
{
    RoomTable rooms(3);
    TDBText label;
    label.SetDataSource(&rooms.source);
    label.SetDataField("terem_kod");
    EXPECT_EQ(label.text(), QStringLiteral("Főépület 1"));
    rooms.table.Last();
    EXPECT_EQ(label.text(), QStringLiteral("Főépület 3"));
    label.SetDataField("nincs_ilyen");
    EXPECT_EQ(label.text(), QString());
}

TEST(FieldTexts, Cp1250TextsRoundTripThroughQt)
{
    const std::string stored = utf8ToCp1250("Árvíztűrő tükörfúrógép");
    EXPECT_EQ(fieldTextToQString(stored), QStringLiteral("Árvíztűrő tükörfúrógép"));
    EXPECT_EQ(qStringToFieldText(QStringLiteral("Árvíztűrő tükörfúrógép")), stored);
}
