#pragma once

// The CSV data-file format: a line-oriented text file with an optional definition block (the
// table's field and index definitions), an optional header line of column names and one line per
// record. Every data file of the program is written and read through it.

#include "memtable/ztrStreamFormat.h"
#include "platform/FormatSettings.h"

#include <functional>
#include <string>

class TField;

enum TztrStreamFlagLocalFormat : std::uint8_t { sfSaveLocalFormat, sfLoadLocalFormat };
enum TztrStreamFlagQuoteOnlyStrings : std::uint8_t { sfSaveQuoteOnlyStrings };
enum TztrStreamFlagNoHeader : std::uint8_t { sfSaveNoHeader, sfLoadNoHeader };
enum TztrStreamFlagPlaceholders : std::uint8_t { sfSavePlaceholders };

using TztrStreamFlagsLocalFormat = EnumSet<TztrStreamFlagLocalFormat>;
using TztrStreamFlagsQuoteOnlyStrings = EnumSet<TztrStreamFlagQuoteOnlyStrings>;
using TztrStreamFlagsNoHeader = EnumSet<TztrStreamFlagNoHeader>;
using TztrStreamFlagsPlaceholders = EnumSet<TztrStreamFlagPlaceholders>;

class TztrCustomCSVStreamFormat;

using TztrOnFormatSaveField =
    std::function<void(TztrCustomCSVStreamFormat &sender, TField &field, bool &isNull, std::string &data)>;
using TztrOnFormatLoadField = TztrOnFormatSaveField;
using TztrOnGetLine = std::function<void(TztrCustomCSVStreamFormat &sender, std::string &line, bool &eof)>;

// The number and date settings files are written and read with unless the user's are asked for,
// so that a file reads the same on every machine: user is kept for everything not fixed here
// (the long time format above all).
TFormatSettings CSVFixedFormatSettings(const TFormatSettings &user);

class TztrCustomCSVStreamFormat : public TztrCustomStreamFormat
{
public:
    TztrCustomCSVStreamFormat() = default;

    // From another CSV format: quote, delimiters, Boolean texts, local-format and placeholder
    // flags, then the base's flag sets.
    void Assign(const TztrCustomStreamFormat &source) override;
    std::string GetVersion() const override;
    std::string Version() const { return GetVersion(); }

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

private:
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
};

// The format as the program's data modules place it.
class TztrCSVStreamFormat : public TztrCustomCSVStreamFormat
{
};
