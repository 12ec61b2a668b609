#include "platform/widgets/DBGrids.h"

#include "DataControlsTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <functional>
#include <ostream>
#include <string>

namespace {

// A grid in a window, showing the room id in a column of its own.
struct IdColumnGrid {
    explicit IdColumnGrid(TDataSource &source) : grid(&window)
    {
        grid.SetDataSource(&source);
        grid.Columns().Add("terem_id");
    }
    TColumn &column() { return *grid.Columns()[0]; }

    QWidget window;
    TDBGrid grid;
};

struct WidthChange {
    const char *name;
    std::function<void(IdColumnGrid &, RoomTable &)> apply;
};

void PrintTo(const WidthChange &change, std::ostream *out)
{
    *out << change.name;
}

QFont larger(const QFont &font)
{
    QFont bigger = font;
    if (font.pointSizeF() > 0)
        bigger.setPointSizeF(font.pointSizeF() * 2);
    else
        bigger.setPixelSize(font.pixelSize() * 2);
    return bigger;
}

const QString LongTitle = QStringLiteral("A terem azonosítója a nyilvántartásban");

const WidthChange Changes[] = {
    {"title set on the column",
     [](IdColumnGrid &g, RoomTable &) { g.column().Title().SetCaption(LongTitle); }},
    {"field's display label",
     [](IdColumnGrid &, RoomTable &rooms) {
         rooms.table.FieldByName("terem_id")->SetDisplayLabel(utf8ToCp1250(LongTitle.toStdString()));
     }},
    {"longer value in a shown row",
     [](IdColumnGrid &, RoomTable &rooms) {
         rooms.table.Edit();
         rooms.table.FieldByName("terem_id")->SetAsInteger(1234567890);
         rooms.table.Post();
     }},
    {"grid's font", [](IdColumnGrid &g, RoomTable &) { g.grid.setFont(larger(g.grid.font())); }},
    {"font the window passes on",
     [](IdColumnGrid &g, RoomTable &) { g.window.setFont(larger(g.window.font())); }},
    {"width set on the column", [](IdColumnGrid &g, RoomTable &) { g.column().SetWidth(217); }},
    {"dataset closed", [](IdColumnGrid &, RoomTable &rooms) { rooms.table.Close(); }},
};

class ColumnWidthAfterAChange : public ::testing::TestWithParam<WidthChange> {};

} // namespace

// A column measured once and then changed must be as wide as a column that never saw the old state.
TEST_P(ColumnWidthAfterAChange, IsTheWidthOfAColumnMeasuredAfresh)
{
    RoomTable rooms;
    IdColumnGrid measuredBefore(rooms.source);
    const int before = measuredBefore.column().Width();

    GetParam().apply(measuredBefore, rooms);
    IdColumnGrid fresh(rooms.source);
    GetParam().apply(fresh, rooms);

    ASSERT_NE(fresh.column().Width(), before) << "the change must matter to the width";
    EXPECT_EQ(measuredBefore.grid.CellRect(0, 0).width(), fresh.grid.CellRect(0, 0).width());
}

INSTANTIATE_TEST_SUITE_P(DBGridColumns, ColumnWidthAfterAChange, ::testing::ValuesIn(Changes),
                         [](const auto &info) {
                             std::string name;
                             for (const char *c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

namespace {

int textWidth(const TDBGrid &grid, const QString &text)
{
    return int(std::ceil(QFontMetricsF(grid.font()).horizontalAdvance(text))) + 2 * GridCellPadding;
}

} // namespace

// A column is as wide as its title and the values it shows, not as its field's declared size,
// and a long value takes no more than a share of the grid.
TEST(DBGridColumns, DefaultWidthFollowsTitleAndShownValuesWithinACap)
{
    RoomTable rooms;
    rooms.table.FieldByName("terem_kod")->SetDisplayWidth(400);
    QWidget window;
    TDBGrid grid(&window);
    grid.SetDataSource(&rooms.source);
    grid.Columns().Add("terem_kod")->Title().SetCaption(QStringLiteral("Terem"));
    grid.Columns().Add("terem_kapacitas")->Title().SetCaption(QStringLiteral("Befogadóképesség"));
    window.resize(600, 300);
    window.show();

    EXPECT_EQ(grid.Columns()[0]->Width(), textWidth(grid, QStringLiteral("Főépület 5")));
    EXPECT_EQ(grid.Columns()[1]->Width(), textWidth(grid, QStringLiteral("Befogadóképesség")));
    EXPECT_EQ(grid.ShownCellText(0, 4), QStringLiteral("Főépület 5"));

    rooms.table.Last();
    rooms.table.Edit();
    rooms.table.FieldByName("terem_kod")->SetAsString(std::string(40, 'W'));
    rooms.table.Post();
    const int cap = grid.Columns()[0]->Width();
    EXPECT_GT(cap, textWidth(grid, QStringLiteral("Főépület 5")));
    EXPECT_LT(cap, textWidth(grid, QString(40, QLatin1Char('W'))));
    EXPECT_TRUE(grid.ShownCellText(0, 4).endsWith(QChar(0x2026)));

    // A value gone gives its room back.
    rooms.table.Delete();
    EXPECT_EQ(grid.Columns()[0]->Width(), textWidth(grid, QStringLiteral("Főépület 4")));
}

// The last column gives up what the grid lacks, down to its title, so that no column before it
// is pushed out of view; the width the grid asks for still holds it whole.
TEST(DBGridColumns, LastColumnTakesTheRoomTheOthersLeave)
{
    RoomTable rooms;
    rooms.table.Edit();
    rooms.table.FieldByName("terem_kod")->SetAsString(std::string(25, 'W'));
    rooms.table.Post();
    QWidget window;
    TDBGrid grid(&window);
    grid.SetDataSource(&rooms.source);
    grid.Columns().Add("terem_id")->Title().SetCaption(QStringLiteral("Azonosító"));
    grid.Columns().Add("terem_kod")->Title().SetCaption(QStringLiteral("Terem"));
    grid.resize(200, 150);
    window.show();
    QApplication::processEvents();

    const QRect last = grid.CellRect(1, 0);
    EXPECT_EQ(last.right(), grid.viewport()->width() - 1);
    EXPECT_TRUE(grid.ShownCellText(1, 0).endsWith(QChar(0x2026)));
    EXPECT_GT(grid.WidthForAllColumns(), grid.width());

    grid.resize(60, 150);
    QApplication::processEvents();
    EXPECT_EQ(grid.Columns()[1]->Width(), textWidth(grid, QStringLiteral("Terem")));
}

// Values measured in one font are measured again in the next, and again when the first returns.
TEST(DBGridColumns, ValuesAreMeasuredInTheFontTheyAreShownIn)
{
    RoomTable rooms;
    QWidget window;
    TDBGrid grid(&window);
    grid.SetDataSource(&rooms.source);
    grid.Columns().Add("terem_kod")->Title().SetCaption(QStringLiteral("T"));
    window.resize(600, 300);
    window.show();
    const QFont normal = grid.font();
    const int normalWidth = textWidth(grid, QStringLiteral("Főépület 5"));
    ASSERT_EQ(grid.Columns()[0]->Width(), normalWidth);

    grid.setFont(larger(normal));
    EXPECT_EQ(grid.Columns()[0]->Width(), textWidth(grid, QStringLiteral("Főépület 5")));
    EXPECT_GT(grid.Columns()[0]->Width(), normalWidth);

    grid.setFont(normal);
    rooms.table.Next();
    EXPECT_EQ(grid.Columns()[0]->Width(), normalWidth);
    EXPECT_EQ(grid.ShownCellText(0, 4), QStringLiteral("Főépület 5"));
}
