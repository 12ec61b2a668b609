#pragma once

// The CSV data-file format: a line-oriented text file with an optional definition block (the
// table's field and index definitions), an optional header line of column names and one line per
// record. Every data file of the program is written and read through it.

#include "memtable/ztrStreamFormat.h"
#include "platform/FormatSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <optional>
#include <unordered_set>
#include <string>
#include <vector>

class TField;
class TztrCSVReader;
struct TztrCSVFieldDefinition;

enum TztrStreamFlagLocalFormat : std::uint8_t { sfSaveLocalFormat, sfLoadLocalFormat };
enum TztrStreamFlagQuoteOnlyStrings : std::uint8_t { sfSaveQuoteOnlyStrings };
enum TztrStreamFlagNoHeader : std::uint8_t { sfSaveNoHeader, sfLoadNoHeader };
enum TztrStreamFlagPlaceholders : std::uint8_t { sfSavePlaceholders };

using TztrStreamFlagsLocalFormat = EnumSet<TztrStreamFlagLocalFormat>;
using TztrStreamFlagsQuoteOnlyStrings = EnumSet<TztrStreamFlagQuoteOnlyStrings>;
using TztrStreamFlagsNoHeader = EnumSet<TztrStreamFlagNoHeader>;
using TztrStreamFlagsPlaceholders = EnumSet<TztrStreamFlagPlaceholders>;

class TztrCustomCSVStreamFormat;

inline constexpr const char *SDeltasOnlyBinary = "A különbségeket csak bináris formában lehet kimenteni.";

using TztrOnFormatSaveField =
    std::function<void(TztrCustomCSVStreamFormat &sender, TField &field, bool &isNull, std::string &data)>;
using TztrOnFormatLoadField = TztrOnFormatSaveField;
using TztrOnGetLine = std::function<void(TztrCustomCSVStreamFormat &sender, std::string &line, bool &eof)>;

// The number and date settings files are written and read with unless the user's are asked for.
// Nothing of the user's is kept, so that a file saved under any locale reads under every other:
// "dd/mm/yyyy" dates, 24-hour "hh:nn:ss" times, "." decimals.
TFormatSettings CSVFixedFormatSettings();

class TztrCustomCSVStreamFormat : public TztrCustomStreamFormat
{
public:
    TztrCustomCSVStreamFormat();
    ~TztrCustomCSVStreamFormat() override;

    // From another CSV format: quote, delimiters, Boolean texts, local-format and placeholder
    // flags, then the base's flag sets.
    void Assign(const TztrCustomStreamFormat &source) override;
    std::string GetVersion() const override;
    std::string Version() const { return GetVersion(); }

    void BeforeSave(TztrCustomMemTable &table) override;
    // The definition block: the table's field definitions and index definitions.
    void SaveDef(TztrCustomMemTable &table) override;
    // The header line and one line per record of the current index that the record filter passes.
    void SaveData(TztrCustomMemTable &table) override;
    void AfterSave(TztrCustomMemTable &table) override;
    // After the definition block the columns are named by the header line and matched to fields
    // by display name, ignoring ASCII case; without a header they go by position.
    void DetermineLoadFieldIDs(TztrCustomMemTable &table, std::vector<std::string> &list,
                               int situation) override;
    void DetermineLoadFieldIndex(TztrCustomMemTable &table, const std::string &id, int &index,
                                 int situation) override;
    void BeforeLoad(TztrCustomMemTable &table) override;
    // Reads the definition block (or makes text fields from the first line with sfAutoLayoutDef)
    // and leaves the line after it current.
    void LoadDef(TztrCustomMemTable &table) override;
    void LoadData(TztrCustomMemTable &table) override;
    void AfterLoad(TztrCustomMemTable &table) override;

    // The reader of the load in progress; outside a load there is nothing to read.
    virtual bool FillBuffer();
    virtual bool GetLine();
    virtual void GetWord(bool &isNull, std::string &text);

    char CommentChar() const { return commentChar_; }
    void SetCommentChar(char value) { commentChar_ = value; }
    char EscapeChar() const { return escapeChar_; }
    void SetEscapeChar(char value) { escapeChar_ = value; }
    int DefaultStringFieldSize() const { return defaultStringFieldSize_; }
    void SetDefaultStringFieldSize(int value) { defaultStringFieldSize_ = value; }
    char CSVQuote() const { return quote_; }
    void SetCSVQuote(char value) { quote_ = value; }
    char CSVFieldDelimiter() const { return fieldDelimiter_; }
    // #0 would make every line one item; it is ignored.
    void SetCSVFieldDelimiter(char value);
    char CSVRecordDelimiter() const { return recordDelimiter_; }
    void SetCSVRecordDelimiter(char value) { recordDelimiter_ = value; }
    const std::string &CSVTrueString() const { return trueString_; }
    void SetCSVTrueString(const std::string &value) { trueString_ = value; }
    const std::string &CSVFalseString() const { return falseString_; }
    void SetCSVFalseString(const std::string &value) { falseString_ = value; }

    TztrStreamFlagsLocalFormat sfLocalFormat() const { return localFormat_; }
    void SetsfLocalFormat(TztrStreamFlagsLocalFormat value) { localFormat_ = value; }
    TztrStreamFlagsQuoteOnlyStrings sfQuoteOnlyStrings() const { return quoteOnlyStrings_; }
    void SetsfQuoteOnlyStrings(TztrStreamFlagsQuoteOnlyStrings value) { quoteOnlyStrings_ = value; }
    TztrStreamFlagsNoHeader sfNoHeader() const { return noHeader_; }
    void SetsfNoHeader(TztrStreamFlagsNoHeader value) { noHeader_ = value; }
    TztrStreamFlagsPlaceholders sfPlaceHolders() const { return placeholders_; }
    void SetsfPlaceHolders(TztrStreamFlagsPlaceholders value) { placeholders_ = value; }

    TztrOnFormatSaveField OnFormatSaveField;
    TztrOnFormatLoadField OnFormatLoadField;
    TztrOnGetLine OnGetLine;

    // What the last load found in its file, for a caller that checks a file against the layout
    // it needs. Line numbers count from 1; 0 means none.
    struct LoadedLayout
    {
        int headerLine = 0;
        std::vector<std::string> headerColumns;
        // The indexes of the fields that a column of the file fills.
        std::vector<int> filledFields;
        // The line each field of the definition block was defined on, by field name.
        std::map<std::string, int> definitionLines;
    };
    const LoadedLayout &LastLoadedLayout() const { return loadedLayout_; }

private:
    void switchFormatSettings(bool keepUserSettings);
    void restoreFormatSettings();
    void writeLine(const std::string &line);
    void endLine();
    void flushOutput();
    void writeHeader(TztrCustomMemTable &table);
    void writeRecord(TztrCustomMemTable &table, const TztrRecord *record);
    void itemText(TField &field, bool &isNull, std::string &text);
    void loadRecord(TztrCustomMemTable &table);
    bool loadRecordDirectly(TztrCustomMemTable &table);
    // False when storeItem must decode the text before the field takes it, or refuse it.
    bool storedAsRead(const TField &field, const std::string &text) const;
    void storeItem(TField &field, const std::string &text);
    bool headerExpected() const { return !noHeader_.Contains(sfLoadNoHeader); }
    std::string placeOfLine() const;
    std::string placeOfItem(const std::string &fieldName, const std::string &text) const;
    void readAutoLayout(TztrCustomMemTable &table);
    void addField(TztrCustomMemTable &table, const TztrCSVFieldDefinition &definition);
    // Where the definition reader stands in the block.
    struct DefinitionBlock
    {
        bool loadDef = false;
        bool loadIndexDef = false;
        bool inTableDef = false;
        bool inIndexDef = false;
        bool versionSeen = false;
        bool tableDefSeen = false;
    };
    void readDefinitionBlock(TztrCustomMemTable &table);
    // False for the line that ends the block (the header line or the first record).
    bool readDefinitionLine(TztrCustomMemTable &table, DefinitionBlock &block);

    char commentChar_ = '\0';
    char escapeChar_ = '%';
    int defaultStringFieldSize_ = 255;
    char quote_ = '"';
    char fieldDelimiter_ = ',';
    char recordDelimiter_ = ',';
    std::string trueString_ = "True";
    std::string falseString_ = "False";
    TztrStreamFlagsLocalFormat localFormat_;
    TztrStreamFlagsQuoteOnlyStrings quoteOnlyStrings_;
    TztrStreamFlagsNoHeader noHeader_;
    TztrStreamFlagsPlaceholders placeholders_;

    std::optional<TFormatSettings> savedSettings_;
    std::string output_;
    // The text of the value being written or read, kept to reuse its memory.
    std::string item_;
    // By field index: a value read where the store keeps it and written straight into output_
    // while saving (see TztrCustomMemTable::StringReadInPlace and IntegerReadInPlace).
    enum class InPlace : std::uint8_t { No, Text, Integer };
    std::vector<InPlace> inPlace_;
    std::unique_ptr<TztrCSVReader> reader_;
    // Records of this load go straight into the store (see loadRecordDirectly).
    bool directLoad_ = false;
    std::int64_t streamSize_ = 0;
    bool endOfStream_ = false;
    std::string fileVersion_;
    LoadedLayout loadedLayout_;
    // The unique indexes a load checks record by record, so that a duplicate is named by its line.
    struct UniqueKeys
    {
        std::string indexName;
        std::string fieldNames;
        std::vector<TField *> fields;
        bool caseInsensitive = false;
        std::unordered_set<std::string> seen;
    };
    std::vector<UniqueKeys> uniqueKeys_;
    void collectUniqueKeys(TztrCustomMemTable &table);
    void checkUniqueKeys();
};

// The format as the program's data modules place it.
class TztrCSVStreamFormat : public TztrCustomCSVStreamFormat
{
};
