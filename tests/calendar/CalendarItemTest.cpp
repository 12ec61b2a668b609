#include "CalendarTestSupport.h"

using namespace calendartest;

TEST(CalendarItems, KeepTheirBoxInStepCopyMarkAndGoWithoutLeavingASelectedItem)
{
    TveltoCalendar calendar;
    TCustomCalendarItem *item = calendar.Items().Add();
    ASSERT_NE(item->Obj(), nullptr);
    EXPECT_EQ(item->Obj()->Item(), item);
    EXPECT_EQ(item->Obj()->Color(), 0xFF0000u);
    EXPECT_TRUE(item->Obj()->isHidden());
    EXPECT_EQ(TCalendarItems().Add()->Obj(), nullptr);
    // Five-minute steps, three and four minutes rounding up, within 5..1440.
    const std::pair<int, int> lengths[] = {{62, 60}, {63, 65}, {0, 5},  {5000, 1440}, {1, 5},
                                           {4, 5},   {7, 5},   {8, 10}, {1442, 1440}, {-20, 5}};
    for (const auto &[given, stored] : lengths) {
        item->SetLength(given);
        EXPECT_EQ(item->Length(), stored) << "length " << given;
    }
    item->SetBGColor(clMoneyGreen);
    item->SetSelBGColor(clSilver);
    item->SetSubject(QStringLiteral("Analízis"));
    item->SetComment(QStringLiteral("K1\r\nAlgebra"));
    item->SetSelect(true);
    EXPECT_EQ(item->Obj()->BGColor(), clMoneyGreen);
    EXPECT_EQ(item->Obj()->SelBGColor(), clSilver);
    EXPECT_EQ(item->Obj()->Caption(), QStringLiteral("Analízis"));
    EXPECT_EQ(item->Obj()->toolTip(), QStringLiteral("K1\r\nAlgebra"));
    EXPECT_TRUE(item->Obj()->Select());

    // A copy takes the texts and times, not the colours nor the mark.
    item->SetStart(at(4, 9, 30));
    item->SetLength(90);
    TCustomCalendarItem *copy = addItem(calendar, at(2, 8, 0), 45, QStringLiteral("régi"));
    item->AssignTo(*copy);
    EXPECT_EQ(copy->Subject(), QStringLiteral("Analízis"));
    EXPECT_EQ(double(copy->Start()), double(at(4, 9, 30)));
    EXPECT_EQ(copy->Length(), 90);
    EXPECT_EQ(copy->Comment(), QStringLiteral("K1\r\nAlgebra"));
    EXPECT_EQ(copy->BGColor(), clWhite);
    EXPECT_FALSE(copy->Select());

    TCustomCalendarItem *last = addItem(calendar, at(6, 8, 0), 60);
    for (bool marked : {true, false}) {
        calendar.SetSelect(marked);
        for (TCustomCalendarItem *each : calendar.Items())
            EXPECT_EQ(std::make_pair(each->Select(), each->Obj()->Select()), std::make_pair(marked, marked));
    }
    calendar.SetSelectedItem(item);
    calendar.Items().Delete(1);
    EXPECT_EQ(calendar.SelectedItem(), item);
    delete item;
    EXPECT_EQ(calendar.SelectedItem(), nullptr);
    EXPECT_EQ(calendar.Items().Count(), 1);
    EXPECT_EQ(last->Index(), 0);
    calendar.SetSelectedItem(last);
    calendar.Items().Clear();
    EXPECT_EQ(calendar.Items().Count(), 0);
    EXPECT_EQ(calendar.SelectedItem(), nullptr);
}
