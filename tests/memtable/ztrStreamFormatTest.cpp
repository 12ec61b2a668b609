#include "memtable/ztrStreamFormat.h"

#include "memtable/ztrErrors.h"
#include "ztrStreamTestTables.h"

#include <gtest/gtest.h>

namespace {

using namespace streamtest;

// Two records of a visible and a hidden field, saved without definitions.
class MappedTable : public ::testing::Test {
protected:
    MappedTable()
    {
        configureAsCSVNodef(format);
        table.FieldDefs().Add("id", ftInteger);
        table.FieldDefs().Add("rejtett", ftInteger);
        table.Open();
        table.FieldByName("rejtett")->SetVisible(false);
        table.AppendRecord({1, 2});
        table.AppendRecord({3, 4});
    }

    std::string saveInto(TStringStream &&out)
    {
        table.SaveToStreamViaFormat(out, &format);
        return out.DataString();
    }

    TztrCSVStreamFormat format;
    TztrMemTable table;
};

} // namespace

TEST_F(MappedTable, FlagsChooseTheFieldsSavedAndLoadedAndAFailedLoadGivesTheTableBack)
{
    EXPECT_EQ(saveInto(TStringStream("old content, longer than the new one will be.........")),
              "id\trejtett\r\n1\t2\r\n3\t4\r\n");
    format.SetsfAppend({sfSaveAppend});
    EXPECT_EQ(saveInto(TStringStream("head\r\n")), "head\r\nid\trejtett\r\n1\t2\r\n3\t4\r\n");
    format.SetsfAppend({});
    format.SetsfNonVisible({sfLoadNonVisible});
    EXPECT_EQ(saveInto(TStringStream()), "id\r\n1\r\n3\r\n");
    format.SetsfNonVisible({sfSaveNonVisible});
    TStringStream in("id\trejtett\r\n5\t6\r\n");
    table.LoadFromStreamViaFormat(in, &format);
    table.Last();
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 5);
    EXPECT_TRUE(table.FieldByName("rejtett")->IsNull());

    std::vector<int> loadEvents;
    format.OnBeforeLoad = [&](TztrCustomStreamFormat &) { loadEvents.push_back(1); };
    format.OnAfterLoad = [&](TztrCustomStreamFormat &) { loadEvents.push_back(2); };
    TStringStream bad("id\r\n7\r\nhat\r\n");
    EXPECT_THROW(table.LoadFromStreamViaFormat(bad, &format), EConvertError);
    EXPECT_EQ(loadEvents, std::vector<int>{1});
    EXPECT_FALSE(table.ControlsDisabled());
    EXPECT_TRUE(table.EnableIndexes());
    EXPECT_FALSE(table.Loading());
    EXPECT_EQ(table.BulkOperation(), TztrBulkOperation::None);
    EXPECT_EQ(format.Stream(), nullptr);
    EXPECT_EQ(table.RecordCount(), 4);
    EXPECT_EQ(table.State(), dsBrowse);
    // The read-only check is back in force.
    table.FieldByName("id")->SetReadOnly(true);
    table.Edit();
    EXPECT_THROW(table.FieldByName("id")->SetAsInteger(9), EDatabaseError);
    table.Cancel();

    // Without data the header line alone is written, and it names no field.
    format.SetsfData({sfLoadData});
    EXPECT_EQ(saveInto(TStringStream()), "\r\n");
    format.SetsfNoHeader({sfLoadNoHeader});
    TztrMemTable empty;
    TStringStream nothing("");
    EXPECT_EQ(messageOf([&] { empty.LoadFromStreamViaFormat(nothing, &format); }),
              "Couldnt determine field count for load.");
}
