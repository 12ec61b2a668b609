#include "platform/widgets/DBGrids.h"

#include "DataControlsTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
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
    {"field's display width",
     [](IdColumnGrid &, RoomTable &rooms) { rooms.table.FieldByName("terem_id")->SetDisplayWidth(60); }},
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
