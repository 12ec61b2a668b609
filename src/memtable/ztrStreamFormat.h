#pragma once

// The stream-format base: what a save or a load of a memory table does around the text or
// binary layout that a descendant writes and reads. It decides which fields take part, keeps the
// table's filter, range and index state out of the way for the length of one operation and puts
// it back afterwards, and offers compression hooks and events.

#include "platform/Classes.h"
#include "platform/Component.h"
#include "platform/DBTypes.h"
#include "platform/EnumSet.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TField;
class TztrCustomMemTable;
struct TztrRecord;

inline constexpr const char *SNoFormatSpecified = "No format specified.";
inline constexpr const char *SNoLoadFieldCount = "Couldnt determine field count for load.";

// Raises the exception being handled again, of the same family, with context added to its text
// (where in which file a load or save failed).
[[noreturn]] void rethrowWithContext(const std::string &context);

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

// Tables that refer to a format forget it when it goes away.
class TztrCustomStreamFormat : public TComponent
{
public:
    TztrCustomStreamFormat() = default;
    ~TztrCustomStreamFormat() override = default;
    TztrCustomStreamFormat(const TztrCustomStreamFormat &) = delete;
    TztrCustomStreamFormat &operator=(const TztrCustomStreamFormat &) = delete;

    // Copies the flag sets; events stay with their owner.
    virtual void Assign(const TztrCustomStreamFormat &source);
    virtual std::string GetVersion() const;

    // One save: BeforeSave, Save (OnBeforeSave, SaveDef, SaveData, OnAfterSave), then AfterSave,
    // which runs even when an earlier step raised and puts the table back as it found it.
    virtual void DetermineSaveFields(TztrCustomMemTable &table);
    virtual void BeforeSave(TztrCustomMemTable &table);
    virtual void SaveDef(TztrCustomMemTable &) {}
    virtual void SaveData(TztrCustomMemTable &) {}
    virtual void Save(TztrCustomMemTable &table);
    virtual void AfterSave(TztrCustomMemTable &table);

    // One load, likewise. Situation is 0 when the load map is made in BeforeLoad and 1 in Load.
    // The base names the columns after the table's fields in field order (columns by position).
    virtual void DetermineLoadFieldIDs(TztrCustomMemTable &table, std::vector<std::string> &list,
                                       int situation);
    virtual void DetermineLoadFields(TztrCustomMemTable &table, int situation);
    virtual void DetermineLoadFieldIndex(TztrCustomMemTable &table, const std::string &id, int &index,
                                         int situation);
    virtual void BeforeLoad(TztrCustomMemTable &table);
    virtual void LoadDef(TztrCustomMemTable &) {}
    virtual void LoadData(TztrCustomMemTable &) {}
    virtual void Load(TztrCustomMemTable &table);
    virtual void AfterLoad(TztrCustomMemTable &table);

    // The stream the table gave for the operation in progress, and the one actually written or
    // read (a buffer of the format's own while a compression hook is assigned); none outside one.
    TStream *Stream() const { return stream_; }
    TStream *WorkStream() const { return workStream_; }

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

protected:
    // While one lives, field reads of the table return the values of a stored record (its
    // calculated and lookup fields computed), and the cursor stays where it is.
    class StoredRecordReads
    {
    public:
        StoredRecordReads(TztrCustomMemTable &table, TztrRecord *record);
        ~StoredRecordReads();
        StoredRecordReads(const StoredRecordReads &) = delete;
        StoredRecordReads &operator=(const StoredRecordReads &) = delete;

    private:
        TztrCustomMemTable &table_;
        TDataSetState state_;
    };

    // A text read where the store keeps it (StringReadInPlace), while the save holds the table's lock.
    static std::optional<std::string_view> SavedString(const TztrCustomMemTable &table, const TztrRecord *record,
                                                       const TField &field);
    // The same for an integer (IntegerReadInPlace).
    static std::optional<std::int32_t> SavedInteger(const TztrCustomMemTable &table, const TztrRecord *record,
                                                    const TField &field);

    // Per field of the table: -1 when the field is not saved, else its index.
    const std::vector<int> &SaveMap() const { return saveMap_; }
    // Per column of the data: -1 when the column is read and ignored, else the field it fills.
    const std::vector<int> &LoadMap() const { return loadMap_; }

    // Runs one step of an after-step: a failure is kept to be raised once every step has run, so
    // that the table is always given back.
    template <class Step> static void afterStep(std::exception_ptr &failure, Step step)
    {
        try {
            step();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }

private:
    friend class TztrMemTablePersistence;

    // The frame the table's stream operations run.
    void runSave(TztrCustomMemTable &table, TStream &stream);
    void runLoad(TztrCustomMemTable &table, TStream &stream);
    void releaseStreams();

    // What the before-step changed, so that the after-step undoes exactly that.
    struct TableState
    {
        bool controlsDisabled = false;
        bool locked = false;
        bool filtersRemembered = false;
        bool filtered = false;
        bool masterDetail = false;
        bool rangeActive = false;
        bool flagsRemembered = false;
        bool persistent = false;
        bool enableIndexes = false;
        TBookmark bookmark;
    };

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
    TStream *stream_ = nullptr;
    TStream *workStream_ = nullptr;
    std::unique_ptr<TMemoryStream> ownWorkStream_;
    std::vector<int> saveMap_;
    std::vector<int> loadMap_;
    TableState saved_;
};
