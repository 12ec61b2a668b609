#include "memtable/ztrStreamFormat.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace

TEST(StreamFormatFlags, NewFormatSavesAndLoadsDataWithDefinitionsWholeTable)
{
    const TztrCustomStreamFormat format;
    const FlagSets expected{{sfSaveData, sfLoadData},
                            {},
                            {},
                            {sfSaveNonVisible, sfLoadNonVisible},
                            {sfSaveBlobs, sfLoadBlobs},
                            {sfSaveDef, sfLoadDef},
                            {sfSaveIndexDef, sfLoadIndexDef},
                            {sfSaveFiltered},
                            {sfSaveIgnoreRange},
                            {sfSaveIgnoreMasterDetail},
                            {},
                            {},
                            {},
                            {sfSaveFieldKind},
                            {sfLoadFromStart}};
    EXPECT_TRUE(flagsOf(format) == expected);
    EXPECT_EQ(format.GetVersion(), "1.00");
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
