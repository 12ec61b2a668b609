#pragma once

// The saving and loading side of a memory table: its stream-format references, the limits of one
// save or load, the persistent file, and the operations that run a stream format over a file or a
// stream. A memory table is one of these; the stream formats read and set the state kept here.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

class TComponent;
class TField;
class TStream;
class TztrCustomMemTable;
class TztrCustomStreamFormat;

enum TztrMemTableStorageType : std::uint8_t { mtstFile, mtstStream, mtstDataSet };

// Which bulk operation runs on a table; the table refuses nothing during one, but some of its
// notifications wait until it ends.
enum class TztrBulkOperation : std::uint8_t { None, Load, Save, Empty, Update };

using TztrOnSave =
    std::function<void(TztrCustomMemTable &table, TztrMemTableStorageType storageType, TStream &stream)>;
using TztrOnLoad = TztrOnSave;
using TztrOnSaveRecord = std::function<void(TztrCustomMemTable &table, bool &accept)>;
using TztrOnLoadRecord = TztrOnSaveRecord;
// fieldNo is the field's position in the table's field list.
using TztrOnSaveField = std::function<void(TztrCustomMemTable &table, int fieldNo, TField &field)>;
using TztrOnLoadField = TztrOnSaveField;

class TztrMemTablePersistence
{
public:
    // A format that goes away is dropped from every slot that holds it.
    TztrCustomStreamFormat *DefaultFormat() const { return defaultFormat_; }
    void SetDefaultFormat(TztrCustomStreamFormat *format) { setFormat(defaultFormat_, format); }
    // The format of the text forms (CommaText).
    TztrCustomStreamFormat *CommaTextFormat() const { return commaTextFormat_; }
    void SetCommaTextFormat(TztrCustomStreamFormat *format) { setFormat(commaTextFormat_, format); }
    TztrCustomStreamFormat *PersistentFormat() const { return persistentFormat_; }
    void SetPersistentFormat(TztrCustomStreamFormat *format) { setFormat(persistentFormat_, format); }
    // The format of the whole-table byte forms (AllData).
    TztrCustomStreamFormat *AllDataFormat() const { return allDataFormat_; }
    void SetAllDataFormat(TztrCustomStreamFormat *format) { setFormat(allDataFormat_, format); }
    // The format the records are stored with the table's form in (StoreDataOnForm).
    TztrCustomStreamFormat *FormFormat() const { return formFormat_; }
    void SetFormFormat(TztrCustomStreamFormat *format) { setFormat(formFormat_, format); }

    // The table as text through CommaTextFormat, and as bytes through AllDataFormat. Setting
    // either loads it as a stream load does: a format that brings the definitions replaces the
    // table, any other adds the records.
    std::string CommaText();
    void SetCommaText(const std::string &text);
    std::string AllData();
    void SetAllData(const std::string &data);

    // A persistent table loads PersistentFile when it opens and writes it back when it closes.
    bool Persistent() const { return persistent_; }
    void SetPersistent(bool value) { persistent_ = value; }
    const std::string &PersistentFile() const { return persistentFile_; }
    void SetPersistentFile(const std::string &fileName) { persistentFile_ = fileName; }
    bool PersistentBackup() const { return persistentBackup_; }
    void SetPersistentBackup(bool value) { persistentBackup_ = value; }
    const std::string &PersistentBackupExt() const { return persistentBackupExt_; }
    void SetPersistentBackupExt(const std::string &extension) { persistentBackupExt_ = extension; }

    // Above 0: a load or save stops after this many records and says so through the
    // Completely flags.
    int LoadLimit() const { return loadLimit_; }
    void SetLoadLimit(int value) { loadLimit_ = value; }
    int SaveLimit() const { return saveLimit_; }
    void SetSaveLimit(int value) { saveLimit_ = value; }
    bool LoadedCompletely() const { return loadedCompletely_; }
    bool SavedCompletely() const { return savedCompletely_; }
    int LoadedCount() const { return loadedCount_; }
    int SavedCount() const { return savedCount_; }

    void SaveToFile(const std::filesystem::path &fileName);
    // A replacing save writes a new file beside the old one and moves it over the old one only
    // when everything was written and flushed; appending (sfSaveAppend) writes into the file.
    void SaveToFileViaFormat(const std::filesystem::path &fileName, TztrCustomStreamFormat *format);
    virtual void SaveToStreamViaFormat(TStream &stream, TztrCustomStreamFormat *format);
    void LoadFromFile(const std::filesystem::path &fileName);
    void LoadFromFileViaFormat(const std::filesystem::path &fileName, TztrCustomStreamFormat *format);
    virtual void LoadFromStreamViaFormat(TStream &stream, TztrCustomStreamFormat *format);
    void LoadFromStream(TStream &stream, TztrCustomStreamFormat *format);

    // State the table and the formats read while a bulk operation runs.
    TztrBulkOperation BulkOperation() const { return bulkOperation_; }
    // Set while a format fills the table: read-only fields and a read-only table take values.
    bool Loading() const { return loading_; }
    // Set while a format fills the table: auto-increment values come from the data.
    bool KeepLoadedAutoIncValues() const { return keepLoadedAutoIncValues_; }

    TztrOnSave OnSave;
    TztrOnLoad OnLoad;
    TztrOnSaveRecord OnSaveRecord;
    TztrOnLoadRecord OnLoadRecord;
    TztrOnSaveField OnSaveField;
    TztrOnLoadField OnLoadField;

protected:
    TztrMemTablePersistence() = default;
    virtual ~TztrMemTablePersistence() = default;
    TztrMemTablePersistence(const TztrMemTablePersistence &) = delete;
    TztrMemTablePersistence &operator=(const TztrMemTablePersistence &) = delete;

    // Called by the table once it has opened, and before it closes.
    void PersistentLoadOnOpen();
    void PersistentSaveOnClose();

private:
    friend class TztrCustomStreamFormat;
    friend class TztrCustomCSVStreamFormat;
    // Copying from and to other datasets runs the same bulk operations as the formats.
    friend class TztrCustomMemTable;

    TztrCustomMemTable &table();
    void setFormat(TztrCustomStreamFormat *&slot, TztrCustomStreamFormat *format);
    // Told by the table when a component goes away.
    void forgetFormat(const TComponent *format);
    std::string saveToText(TztrCustomStreamFormat *format);
    void loadFromText(const std::string &text, TztrCustomStreamFormat *format);

    TztrCustomStreamFormat *defaultFormat_ = nullptr;
    TztrCustomStreamFormat *commaTextFormat_ = nullptr;
    TztrCustomStreamFormat *persistentFormat_ = nullptr;
    TztrCustomStreamFormat *allDataFormat_ = nullptr;
    TztrCustomStreamFormat *formFormat_ = nullptr;
    bool persistent_ = false;
    std::string persistentFile_;
    bool persistentBackup_ = false;
    std::string persistentBackupExt_;
    bool savedSinceOpen_ = false;

    int loadLimit_ = -1;
    int saveLimit_ = -1;
    int loadedCount_ = -1;
    int savedCount_ = -1;
    bool loadedCompletely_ = false;
    bool savedCompletely_ = false;

    TztrBulkOperation bulkOperation_ = TztrBulkOperation::None;
    bool loading_ = false;
    bool keepLoadedAutoIncValues_ = false;
};
