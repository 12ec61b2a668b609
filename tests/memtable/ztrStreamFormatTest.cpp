#include "memtable/ztrStreamFormat.h"

#include "memtable/ztrErrors.h"
#include "ztrStreamTestTables.h"

#include <gtest/gtest.h>

namespace {

using namespace streamtest;

// Every flag set of a format, so that two formats can be compared whole.
struct FlagSets
{
    TztrStreamFlagsData data;
    TztrStreamFlagsCalculated calculated;
    TztrStreamFlagsLookup lookup;
    TztrStreamFlagsNonVisible nonVisible;
    TztrStreamFlagsBlobs blobs;
    TztrStreamFlagsDef def;
    TztrStreamFlagsIndexDef indexDef;
    TztrStreamFlagsFiltered filtered;
    TztrStreamFlagsIgnoreRange ignoreRange;
    TztrStreamFlagsIgnoreMasterDetail ignoreMasterDetail;
    TztrStreamFlagsDeltas deltas;
    TztrStreamFlagsDontFilterDeltas dontFilterDeltas;
    TztrStreamFlagsAppend append;
    TztrStreamFlagsFieldKind fieldKind;
    TztrStreamFlagsFromStart fromStart;
    bool operator==(const FlagSets &) const = default;
};

FlagSets flagsOf(const TztrCustomStreamFormat &format)
{
    return {format.sfData(),        format.sfCalculated(),
            format.sfLookup(),      format.sfNonVisible(),
            format.sfBlobs(),       format.sfDef(),
            format.sfIndexDef(),    format.sfFiltered(),
            format.sfIgnoreRange(), format.sfIgnoreMasterDetail(),
            format.sfDeltas(),      format.sfDontFilterDeltas(),
            format.sfAppend(),      format.sfFieldKind(),
            format.sfFromStart()};
}

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

TEST(StreamFormatFlags, AssignCopiesEveryFlagSetButNoEvent)
{
    TztrCustomStreamFormat source;
    source.SetsfData({sfLoadData});
    source.SetsfCalculated({sfSaveCalculated, sfLoadCalculated});
    source.SetsfLookup({sfLoadLookup});
    source.SetsfNonVisible({});
    source.SetsfBlobs({sfSaveBlobs});
    source.SetsfDef({sfAutoLayoutDef});
    source.SetsfIndexDef({sfLoadIndexDef});
    source.SetsfFiltered({});
    source.SetsfIgnoreRange({});
    source.SetsfIgnoreMasterDetail({});
    source.SetsfDeltas({sfSaveDeltas, sfLoadDeltas});
    source.SetsfDontFilterDeltas({sfSaveDontFilterDeltas});
    source.SetsfAppend({sfSaveAppend, sfSaveInsert});
    source.SetsfFieldKind({sfLoadFieldKind});
    source.SetsfFromStart({});
    source.OnBeforeSave = [](TztrCustomStreamFormat &) {};

    TztrCustomStreamFormat target;
    target.Assign(source);
    EXPECT_TRUE(flagsOf(target) == flagsOf(source));
    EXPECT_FALSE(target.OnBeforeSave);
}

TEST_F(MappedTable, LoadWithNoColumnToFillIsRefused)
{
    format.SetsfNoHeader({sfLoadNoHeader});
    TztrMemTable empty;
    try {
        TStringStream in("");
        empty.LoadFromStreamViaFormat(in, &format);
        FAIL();
    } catch (const EMemTableError &error) {
        EXPECT_EQ(error.Message(), "Couldnt determine field count for load.");
    }
}

TEST_F(MappedTable, SaveReplacesTheStreamUnlessToldToAppendOrInsert)
{
    TStringStream out("old content, longer than the new one will be............................");
    table.SaveToStreamViaFormat(out, &format);
    EXPECT_EQ(out.DataString(), "id\trejtett\r\n1\t2\r\n3\t4\r\n");

    format.SetsfAppend({sfSaveAppend});
    TStringStream appended("head\r\n");
    table.SaveToStreamViaFormat(appended, &format);
    EXPECT_EQ(appended.DataString(), "head\r\nid\trejtett\r\n1\t2\r\n3\t4\r\n");

    format.SetsfAppend({sfSaveInsert});
    TStringStream inserted("0123456789012345678901234567890123456789");
    inserted.SetPosition(2);
    table.SaveToStreamViaFormat(inserted, &format);
    EXPECT_EQ(inserted.DataString(), "01id\trejtett\r\n1\t2\r\n3\t4\r\n4567890123456789");
}

TEST_F(MappedTable, LoadReadsFromTheCurrentPositionWhenNotFromTheStart)
{
    TStringStream in("skipped\r\nid\r\n7\r\n");
    in.SetPosition(9);
    format.SetsfFromStart({});
    table.LoadFromStreamViaFormat(in, &format);
    table.Last();
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 7);
}

TEST_F(MappedTable, CompressionHooksSeeTheWholeData)
{
    std::string compressed;
    format.OnCompress = [&](TztrCustomMemTable &, TStream &plain, TStream &target) {
        plain.SetPosition(0);
        std::string bytes(static_cast<std::size_t>(plain.Size()), '\0');
        plain.ReadBuffer(bytes.data(), plain.Size());
        compressed = std::string(bytes.rbegin(), bytes.rend());
        target.WriteBuffer(compressed.data(), static_cast<std::int64_t>(compressed.size()));
    };
    format.OnDeCompress = [](TztrCustomMemTable &, TStream &source, TStream &plain) {
        std::string bytes(static_cast<std::size_t>(source.Size()), '\0');
        source.ReadBuffer(bytes.data(), source.Size());
        const std::string reversed(bytes.rbegin(), bytes.rend());
        plain.WriteBuffer(reversed.data(), static_cast<std::int64_t>(reversed.size()));
    };
    TStringStream out;
    table.SaveToStreamViaFormat(out, &format);
    EXPECT_EQ(out.DataString(), std::string("\n\r4\t3\n\r2\t1\n\rttetjer\tdi"));

    TztrMemTable loaded;
    loaded.FieldDefs().Add("id", ftInteger);
    loaded.FieldDefs().Add("rejtett", ftInteger);
    loaded.Open();
    loaded.LoadFromStreamViaFormat(out, &format);
    EXPECT_EQ(loaded.RecordCount(), 2);
}

TEST_F(MappedTable, SaveEventsRunAroundTheWrittenData)
{
    std::vector<std::string> seen;
    format.OnBeforeSave = [&](TztrCustomStreamFormat &sender) {
        seen.push_back("before " + std::to_string(sender.WorkStream()->Size()));
    };
    format.OnAfterSave = [&](TztrCustomStreamFormat &sender) {
        seen.push_back("after " + std::to_string(sender.WorkStream()->Size()));
    };
    TStringStream out;
    table.SaveToStreamViaFormat(out, &format);
    EXPECT_EQ(seen, (std::vector<std::string>{"before 0", "after 22"}));
    EXPECT_EQ(format.WorkStream(), nullptr);
}
