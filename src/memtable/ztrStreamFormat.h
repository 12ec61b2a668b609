#pragma once

// The stream-format base: what a save or a load of a memory table does around the text or
// binary layout that a descendant writes and reads. It decides which fields take part, keeps the
// table's filter, range and index state out of the way for the length of one operation and puts
// it back afterwards, and offers compression hooks and events.

#include "platform/EnumSet.h"

#include <cstdint>
#include <functional>
#include <string>

class TStream;
class TztrCustomMemTable;

// One flag set per property; member 0 is the save side, member 1 the load side.
enum TztrStreamFlagData : std::uint8_t { sfSaveData, sfLoadData };
enum TztrStreamFlagCalculated : std::uint8_t { sfSaveCalculated, sfLoadCalculated };
enum TztrStreamFlagLookup : std::uint8_t { sfSaveLookup, sfLoadLookup };
enum TztrStreamFlagNonVisible : std::uint8_t { sfSaveNonVisible, sfLoadNonVisible };
enum TztrStreamFlagBlobs : std::uint8_t { sfSaveBlobs, sfLoadBlobs };
enum TztrStreamFlagDef : std::uint8_t { sfSaveDef, sfLoadDef, sfAutoLayoutDef };
enum TztrStreamFlagIndexDef : std::uint8_t { sfSaveIndexDef, sfLoadIndexDef };
enum TztrStreamFlagFiltered : std::uint8_t { sfSaveFiltered };
enum TztrStreamFlagIgnoreRange : std::uint8_t { sfSaveIgnoreRange };
enum TztrStreamFlagIgnoreMasterDetail : std::uint8_t { sfSaveIgnoreMasterDetail };
enum TztrStreamFlagDeltas : std::uint8_t { sfSaveDeltas, sfLoadDeltas };
enum TztrStreamFlagDontFilterDeltas : std::uint8_t { sfSaveDontFilterDeltas };
enum TztrStreamFlagAppend : std::uint8_t { sfSaveAppend, sfSaveInsert };
enum TztrStreamFlagFieldKind : std::uint8_t { sfSaveFieldKind, sfLoadFieldKind };
enum TztrStreamFlagFromStart : std::uint8_t { sfLoadFromStart };

using TztrStreamFlagsData = EnumSet<TztrStreamFlagData>;
using TztrStreamFlagsCalculated = EnumSet<TztrStreamFlagCalculated>;
using TztrStreamFlagsLookup = EnumSet<TztrStreamFlagLookup>;
using TztrStreamFlagsNonVisible = EnumSet<TztrStreamFlagNonVisible>;
using TztrStreamFlagsBlobs = EnumSet<TztrStreamFlagBlobs>;
using TztrStreamFlagsDef = EnumSet<TztrStreamFlagDef>;
using TztrStreamFlagsIndexDef = EnumSet<TztrStreamFlagIndexDef>;
using TztrStreamFlagsFiltered = EnumSet<TztrStreamFlagFiltered>;
using TztrStreamFlagsIgnoreRange = EnumSet<TztrStreamFlagIgnoreRange>;
using TztrStreamFlagsIgnoreMasterDetail = EnumSet<TztrStreamFlagIgnoreMasterDetail>;
using TztrStreamFlagsDeltas = EnumSet<TztrStreamFlagDeltas>;
using TztrStreamFlagsDontFilterDeltas = EnumSet<TztrStreamFlagDontFilterDeltas>;
using TztrStreamFlagsAppend = EnumSet<TztrStreamFlagAppend>;
using TztrStreamFlagsFieldKind = EnumSet<TztrStreamFlagFieldKind>;
using TztrStreamFlagsFromStart = EnumSet<TztrStreamFlagFromStart>;

class TztrCustomStreamFormat;

using TztrStreamFormatNotifyEvent = std::function<void(TztrCustomStreamFormat &sender)>;
using TztrOnCompress =
    std::function<void(TztrCustomMemTable &table, TStream &uncompressed, TStream &compressed)>;
using TztrOnDeCompress =
    std::function<void(TztrCustomMemTable &table, TStream &compressed, TStream &decompressed)>;

class TztrCustomStreamFormat
{
public:
    TztrCustomStreamFormat() = default;
    virtual ~TztrCustomStreamFormat() = default;
    TztrCustomStreamFormat(const TztrCustomStreamFormat &) = delete;
    TztrCustomStreamFormat &operator=(const TztrCustomStreamFormat &) = delete;

    // Copies the flag sets; events stay with their owner.
    virtual void Assign(const TztrCustomStreamFormat &source);
    virtual std::string GetVersion() const;

    TztrStreamFlagsData sfData() const { return flags_.data; }
    void SetsfData(TztrStreamFlagsData value) { flags_.data = value; }
    TztrStreamFlagsCalculated sfCalculated() const { return flags_.calculated; }
    void SetsfCalculated(TztrStreamFlagsCalculated value) { flags_.calculated = value; }
    TztrStreamFlagsLookup sfLookup() const { return flags_.lookup; }
    void SetsfLookup(TztrStreamFlagsLookup value) { flags_.lookup = value; }
    TztrStreamFlagsNonVisible sfNonVisible() const { return flags_.nonVisible; }
    void SetsfNonVisible(TztrStreamFlagsNonVisible value) { flags_.nonVisible = value; }
    TztrStreamFlagsBlobs sfBlobs() const { return flags_.blobs; }
    void SetsfBlobs(TztrStreamFlagsBlobs value) { flags_.blobs = value; }
    TztrStreamFlagsDef sfDef() const { return flags_.def; }
    void SetsfDef(TztrStreamFlagsDef value) { flags_.def = value; }
    TztrStreamFlagsIndexDef sfIndexDef() const { return flags_.indexDef; }
    void SetsfIndexDef(TztrStreamFlagsIndexDef value) { flags_.indexDef = value; }
    TztrStreamFlagsFiltered sfFiltered() const { return flags_.filtered; }
    void SetsfFiltered(TztrStreamFlagsFiltered value) { flags_.filtered = value; }
    TztrStreamFlagsIgnoreRange sfIgnoreRange() const { return flags_.ignoreRange; }
    void SetsfIgnoreRange(TztrStreamFlagsIgnoreRange value) { flags_.ignoreRange = value; }
    TztrStreamFlagsIgnoreMasterDetail sfIgnoreMasterDetail() const { return flags_.ignoreMasterDetail; }
    void SetsfIgnoreMasterDetail(TztrStreamFlagsIgnoreMasterDetail value)
    {
        flags_.ignoreMasterDetail = value;
    }
    TztrStreamFlagsDeltas sfDeltas() const { return flags_.deltas; }
    void SetsfDeltas(TztrStreamFlagsDeltas value) { flags_.deltas = value; }
    TztrStreamFlagsDontFilterDeltas sfDontFilterDeltas() const { return flags_.dontFilterDeltas; }
    void SetsfDontFilterDeltas(TztrStreamFlagsDontFilterDeltas value) { flags_.dontFilterDeltas = value; }
    TztrStreamFlagsAppend sfAppend() const { return flags_.append; }
    void SetsfAppend(TztrStreamFlagsAppend value) { flags_.append = value; }
    TztrStreamFlagsFieldKind sfFieldKind() const { return flags_.fieldKind; }
    void SetsfFieldKind(TztrStreamFlagsFieldKind value) { flags_.fieldKind = value; }
    TztrStreamFlagsFromStart sfFromStart() const { return flags_.fromStart; }
    void SetsfFromStart(TztrStreamFlagsFromStart value) { flags_.fromStart = value; }

    TztrStreamFormatNotifyEvent OnBeforeSave;
    TztrStreamFormatNotifyEvent OnAfterSave;
    TztrStreamFormatNotifyEvent OnBeforeLoad;
    TztrStreamFormatNotifyEvent OnAfterLoad;
    TztrOnCompress OnCompress;
    TztrOnDeCompress OnDeCompress;

private:
    struct Flags
    {
        TztrStreamFlagsData data{sfSaveData, sfLoadData};
        TztrStreamFlagsCalculated calculated;
        TztrStreamFlagsLookup lookup;
        TztrStreamFlagsNonVisible nonVisible{sfSaveNonVisible, sfLoadNonVisible};
        TztrStreamFlagsBlobs blobs{sfSaveBlobs, sfLoadBlobs};
        TztrStreamFlagsDef def{sfSaveDef, sfLoadDef};
        TztrStreamFlagsIndexDef indexDef{sfSaveIndexDef, sfLoadIndexDef};
        TztrStreamFlagsFiltered filtered{sfSaveFiltered};
        TztrStreamFlagsIgnoreRange ignoreRange{sfSaveIgnoreRange};
        TztrStreamFlagsIgnoreMasterDetail ignoreMasterDetail{sfSaveIgnoreMasterDetail};
        TztrStreamFlagsDeltas deltas;
        TztrStreamFlagsDontFilterDeltas dontFilterDeltas;
        TztrStreamFlagsAppend append;
        TztrStreamFlagsFieldKind fieldKind{sfSaveFieldKind};
        TztrStreamFlagsFromStart fromStart{sfLoadFromStart};
    };

    Flags flags_;
};
