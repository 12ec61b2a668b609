#include "memtable/ztrMemCSVStreamFormat.h"

#include "memtable/ztrCSVCoding.h"
#include "memtable/ztrCSVDefinition.h"
#include "memtable/ztrCSVReader.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrDirectLoad.h"
#include "memtable/ztrErrors.h"
#include "platform/Classes.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "platform/LocaleCompare.h"
#include "platform/SysUtils.h"

#include <charconv>
#include <iterator>

TFormatSettings CSVFixedFormatSettings()
{
    TFormatSettings fixed = TFormatSettings::Invariant();
    fixed.DateSeparator = '/';
    fixed.TimeSeparator = ':';
    fixed.ThousandSeparator = ',';
    fixed.DecimalSeparator = '.';
    fixed.ShortDateFormat = "dd/mm/yyyy";
    fixed.LongTimeFormat = "hh:nn:ss";
    fixed.CurrencyString.clear();
    fixed.CurrencyFormat = 0;
    fixed.NegCurrFormat = 1;
    return fixed;
}

TztrCustomCSVStreamFormat::TztrCustomCSVStreamFormat() = default;
TztrCustomCSVStreamFormat::~TztrCustomCSVStreamFormat() = default;

void TztrCustomCSVStreamFormat::Assign(const TztrCustomStreamFormat &source)
{
    if (const auto *csv = dynamic_cast<const TztrCustomCSVStreamFormat *>(&source)) {
        quote_ = csv->quote_;
        SetCSVFieldDelimiter(csv->fieldDelimiter_);
        recordDelimiter_ = csv->recordDelimiter_;
        trueString_ = csv->trueString_;
        falseString_ = csv->falseString_;
        localFormat_ = csv->localFormat_;
        placeholders_ = csv->placeholders_;
    }
    TztrCustomStreamFormat::Assign(source);
}

std::string TztrCustomCSVStreamFormat::GetVersion() const
{
    return "3.10";
}

void TztrCustomCSVStreamFormat::SetCSVFieldDelimiter(char value)
{
    if (value != '\0')
        fieldDelimiter_ = value;
}

// ---- text and binary types ----

namespace {

constexpr std::size_t OutputChunk = 64 * 1024;

// An integer as AsString writes it.
void appendDecimal(std::string &out, std::int32_t value)
{
    char digits[16];
    const std::to_chars_result written = std::to_chars(std::begin(digits), std::end(digits), value);
    out.append(digits, written.ptr);
}

bool isTextType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
    case ftOraClob:
    case ftGuid:
        return true;
    default:
        return false;
    }
}

bool isBinaryType(TFieldType type)
{
    return type == ftBytes || type == ftVarBytes || isBlobType(type);
}

TztrCSVFieldDefinition definitionOf(const TField &field, bool withKind)
{
    TztrCSVFieldDefinition definition;
    definition.FieldName = field.FieldName();
    definition.DataType = field.DataType();
    definition.Size = field.Size();
    definition.DisplayName = field.DisplayName();
    definition.EditMask = field.EditMask();
    definition.DisplayWidth = field.DisplayWidth();
    definition.Required = field.Required();
    definition.ReadOnly = field.ReadOnly();
    definition.Visible = field.Visible();
    definition.FieldKind = withKind ? field.FieldKind() : fkData;
    definition.DefaultExpression = field.DefaultExpression();
    return definition;
}

// The time form has whole seconds; a moment with milliseconds (read from a hand-edited file)
// carries them too, so that it saves back as it was read.
std::string momentText(const TField &field)
{
    const TDateTime value = field.AsDateTime();
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(value, hour, minute, second, msec);
    if (msec == 0)
        return field.AsString();
    const std::string time = FormatDateTime("hh:nn:ss.zzz", value);
    return field.DataType() == ftTime ? time : DateToStr(value) + " " + time;
}

bool fitsIn(const TField &field, const std::string &text)
{
    const int capacity = TextCapacity(field);
    return capacity < 0 || text.size() <= static_cast<std::size_t>(capacity);
}

// The field would cut a longer text, and the next save would write the cut value back.
void storeText(TField &field, const std::string &text)
{
    CheckTextFits(field, text.size());
    field.SetAsString(text);
}

// Earlier versions wrote times in the user's own form; where that put dots between hours, minutes
// and seconds ("9.30.00"), the moment still reads plainly, as its date is joined by "/".
void storeMoment(TField &field, const std::string &text)
{
    try {
        field.SetAsString(text);
    } catch (const EConvertError &) {
        TFormatSettings dotted = FormatSettings();
        dotted.TimeSeparator = '.';
        TDateTime value;
        if (!(field.DataType() == ftTime ? TryStrToTime(text, value, dotted) : TryStrToDateTime(text, value, dotted)))
            throw;
        field.SetAsDateTime(value);
    }
}

constexpr const char *SNulInLine = "A sor NUL (0) bájtot tartalmaz, az adatfájl sérült.";
constexpr const char *SLineCut = "A fájl utolsó sora nem ér véget (nincs sorvége), a fájl csonka.";

// A value quoted into a message is cut short; a damaged file may hold a very long line.
std::string quotedForMessage(const std::string &text)
{
    constexpr std::size_t longest = 80;
    if (text.size() <= longest)
        return "\"" + cp1250ToUtf8(text) + "\"";
    return "\"" + cp1250ToUtf8(text.substr(0, longest)) + "...\"";
}

} // namespace

// ---- settings in force ----

void TztrCustomCSVStreamFormat::switchFormatSettings(bool keepUserSettings)
{
    if (keepUserSettings)
        return;
    savedSettings_ = FormatSettings();
    FormatSettings() = CSVFixedFormatSettings();
}

void TztrCustomCSVStreamFormat::restoreFormatSettings()
{
    if (!savedSettings_)
        return;
    FormatSettings() = *savedSettings_;
    savedSettings_.reset();
}

// ---- saving ----

void TztrCustomCSVStreamFormat::BeforeSave(TztrCustomMemTable &table)
{
    if (sfDeltas().Contains(sfSaveDeltas))
        throw EMemTableError(SDeltasOnlyBinary);
    TztrCustomStreamFormat::BeforeSave(table);
    switchFormatSettings(localFormat_.Contains(sfSaveLocalFormat));
    output_.clear();
    output_.reserve(OutputChunk + OutputChunk / 4);
}

void TztrCustomCSVStreamFormat::AfterSave(TztrCustomMemTable &table)
{
    restoreFormatSettings();
    output_.clear();
    output_.shrink_to_fit();
    item_.clear();
    item_.shrink_to_fit();
    TztrCustomStreamFormat::AfterSave(table);
}

void TztrCustomCSVStreamFormat::writeLine(const std::string &line)
{
    output_ += line;
    endLine();
}

// Every line of a data file ends with CR LF, whatever the system's own line end is.
void TztrCustomCSVStreamFormat::endLine()
{
    output_ += "\r\n";
    if (output_.size() >= OutputChunk)
        flushOutput();
}

void TztrCustomCSVStreamFormat::flushOutput()
{
    WorkStream()->WriteBuffer(output_.data(), static_cast<std::int64_t>(output_.size()));
    output_.clear();
}

void TztrCustomCSVStreamFormat::SaveDef(TztrCustomMemTable &table)
{
    if (!sfDef().Contains(sfSaveDef))
        return;
    std::string line = CSVQuoteText(CSVFileVersionMarker, quote_) + fieldDelimiter_ +
                       CSVQuoteText(std::to_string(CSVFileVersion), quote_);
    writeLine(line);
    line = CSVQuoteText(CSVTableDefStart, quote_);
    writeLine(line);
    const bool withKind = sfFieldKind().Contains(sfSaveFieldKind);
    const bool placeholders = placeholders_.Contains(sfSavePlaceholders);
    const TFields &fields = table.Fields();
    for (int i = 0; i < fields.Count(); ++i) {
        if (SaveMap()[static_cast<std::size_t>(i)] < 0 && !placeholders)
            continue;
        line = CSVQuoteText(definitionOf(*fields[i], withKind).Format(), quote_);
        writeLine(line);
    }
    if (sfIndexDef().Contains(sfSaveIndexDef)) {
        line = CSVQuoteText(CSVIndexDefStart, quote_);
        writeLine(line);
        for (const auto &index : table.IndexDefs()) {
            const TztrCSVIndexDefinition definition{index->Name(), index->Fields(), index->DisplayName(),
                                                    index->Options()};
            line = CSVQuoteText(definition.Format(quote_), quote_);
            writeLine(line);
        }
        line = CSVQuoteText(CSVIndexDefEnd, quote_);
        writeLine(line);
    }
    line = CSVQuoteText(CSVTableDefEnd, quote_);
    writeLine(line);
    flushOutput();
}

void TztrCustomCSVStreamFormat::writeHeader(TztrCustomMemTable &table)
{
    const bool placeholders = placeholders_.Contains(sfSavePlaceholders);
    const TFields &fields = table.Fields();
    std::string line;
    bool first = true;
    for (int i = 0; i < fields.Count(); ++i) {
        if (SaveMap()[static_cast<std::size_t>(i)] < 0 && !placeholders)
            continue;
        if (!first)
            line += fieldDelimiter_;
        first = false;
        line += CSVQuoteText(fields[i]->DisplayName(), quote_);
    }
    if (recordDelimiter_ != '\0')
        line += recordDelimiter_;
    writeLine(line);
}

void TztrCustomCSVStreamFormat::itemText(TField &field, bool &isNull, std::string &text)
{
    text.clear();
    isNull = field.IsNull();
    if (!isNull) {
        const TFieldType type = field.DataType();
        if (isTextType(type))
            CSVAppendEscaped(text, field.AsString(), escapeChar_);
        else if (isBinaryType(type))
            text = CSVSixBitEncode(field.AsString());
        else if (type == ftBoolean)
            text = field.AsBoolean() ? trueString_ : falseString_;
        else if (type == ftDateTime || type == ftTime)
            text = momentText(field);
        else
            text = field.AsString();
    }
    if (OnFormatSaveField)
        OnFormatSaveField(*this, field, isNull, text);
}

// The items go straight into the output buffer; only a value's own text is formed apart.
void TztrCustomCSVStreamFormat::writeRecord(TztrCustomMemTable &table, const TztrRecord *record)
{
    const bool placeholders = placeholders_.Contains(sfSavePlaceholders);
    const bool quoteOnlyStrings = quoteOnlyStrings_.Contains(sfSaveQuoteOnlyStrings);
    const TFields &fields = table.Fields();
    const std::size_t lineStart = output_.size();
    bool first = true;
    for (int i = 0; i < fields.Count(); ++i) {
        const bool saved = SaveMap()[static_cast<std::size_t>(i)] >= 0;
        if (!saved && !placeholders)
            continue;
        if (!first)
            output_ += fieldDelimiter_;
        first = false;
        if (!saved)
            continue;
        TField &field = *fields[i];
        if (table.OnSaveField)
            table.OnSaveField(table, i, field);
        switch (inPlace_[static_cast<std::size_t>(i)]) {
        case InPlace::Text:
            if (const std::optional<std::string_view> value = SavedString(table, record, field))
                CSVAppendEscaped(output_, *value, escapeChar_);
            continue;
        case InPlace::Integer:
            if (const std::optional<std::int32_t> value = SavedInteger(table, record, field))
                appendDecimal(output_, *value);
            continue;
        case InPlace::No:
            break;
        }
        bool isNull = false;
        itemText(field, isNull, item_);
        if (isNull)
            continue;
        const TFieldType type = field.DataType();
        if (quoteOnlyStrings && !isTextType(type) && !isBinaryType(type))
            output_ += item_;
        else
            CSVAppendQuoted(output_, item_, quote_);
    }
    if (recordDelimiter_ != '\0')
        output_ += recordDelimiter_;
    // The reader skips empty lines, so a record of one empty value (a one-column table) is
    // written as one empty item followed by the delimiter, which reads back the same.
    if (output_.size() == lineStart && !first)
        output_ += fieldDelimiter_;
    endLine();
}

void TztrCustomCSVStreamFormat::SaveData(TztrCustomMemTable &table)
{
    table.savedCount_ = 0;
    if (!noHeader_.Contains(sfSaveNoHeader))
        writeHeader(table);
    if (sfData().Contains(sfSaveData)) {
        table.savedCompletely_ = true;
        // A handler may change what a field reads or how its text is written, and a quote is
        // doubled inside the text: then the value goes through its field and item_.
        const bool plainItems = !table.OnSaveField && !OnFormatSaveField && quote_ == '\0';
        inPlace_.clear();
        for (const auto &field : table.Fields())
            inPlace_.push_back(!plainItems                          ? InPlace::No
                               : table.StringReadInPlace(*field)  ? InPlace::Text
                               : table.IntegerReadInPlace(*field) ? InPlace::Integer
                                                                  : InPlace::No);
        const TztrIndex &index = *table.CurrentIndex();
        const int count = index.Count();
        for (int i = 0; i < count; ++i) {
            if (table.SaveLimit() > 0 && table.savedCount_ >= table.SaveLimit()) {
                table.savedCompletely_ = false;
                break;
            }
            if (i % 100 == 0)
                table.Progress(static_cast<int>(static_cast<std::int64_t>(i) * 100 / count), mtpcSave);
            TztrRecord *record = index.Entry(i);
            if (!table.FilterRecord(record, false))
                continue;
            const StoredRecordReads reads(table, record);
            bool accept = true;
            if (table.OnSaveRecord)
                table.OnSaveRecord(table, accept);
            if (!accept)
                continue;
            writeRecord(table, record);
            ++table.savedCount_;
        }
    }
    flushOutput();
}

// ---- loading ----

void TztrCustomCSVStreamFormat::BeforeLoad(TztrCustomMemTable &table)
{
    TztrCustomStreamFormat::BeforeLoad(table);
    reader_ = std::make_unique<TztrCSVReader>(*WorkStream(), quote_, fieldDelimiter_, recordDelimiter_,
                                              commentChar_);
    reader_->OnProgress = [&table](int percentage) { table.Progress(percentage, mtpcLoad); };
    if (OnGetLine)
        reader_->OnGetLine = [this](std::string &line, bool &eof) { OnGetLine(*this, line, eof); };
    streamSize_ = WorkStream()->Size();
    endOfStream_ = false;
    fileVersion_.clear();
    switchFormatSettings(localFormat_.Contains(sfLoadLocalFormat));
}

void TztrCustomCSVStreamFormat::AfterLoad(TztrCustomMemTable &table)
{
    restoreFormatSettings();
    reader_.reset();
    uniqueKeys_.clear();
    TztrCustomStreamFormat::AfterLoad(table);
}

bool TztrCustomCSVStreamFormat::FillBuffer()
{
    return reader_ && reader_->FillBuffer();
}

bool TztrCustomCSVStreamFormat::GetLine()
{
    if (!reader_)
        return false;
    const bool more = reader_->GetLine();
    endOfStream_ = !more;
    // The writer escapes every #0 and ends every line, so a raw #0 (as a crash leaves in a file's
    // zero-filled end) is damage, and so is a last line without its break in a file of ours, the
    // one kind that carries its definitions: its record would load cut. Files of other programs
    // may leave the last break off.
    if (reader_->Line().find('\0') != std::string::npos)
        throw EMemTableError(SNulInLine + placeOfLine() + ")");
    if (!reader_->LineEnded() && sfDef().Contains(sfLoadDef))
        throw EMemTableError(SLineCut + placeOfLine() + ", szöveg: " + quotedForMessage(reader_->Line()) + ")");
    return more;
}

void TztrCustomCSVStreamFormat::GetWord(bool &isNull, std::string &text)
{
    if (reader_) {
        reader_->GetWord(isNull, text);
        return;
    }
    isNull = true;
    text.clear();
}

std::string TztrCustomCSVStreamFormat::placeOfLine() const
{
    std::string place = " (";
    if (const auto *file = dynamic_cast<const TFileStream *>(Stream()))
        place += "fájl: \"" + file->FileName().string() + "\", ";
    place += "sor: " + std::to_string(reader_ ? reader_->LineNumber() : 0);
    return place;
}

std::string TztrCustomCSVStreamFormat::placeOfItem(const std::string &fieldName,
                                                   const std::string &text) const
{
    return placeOfLine() + ", mező: " + cp1250ToUtf8(fieldName) + ", szöveg: " + quotedForMessage(text) + ")";
}

void TztrCustomCSVStreamFormat::LoadDef(TztrCustomMemTable &table)
{
    loadedLayout_ = {};
    if (streamSize_ == 0)
        return;
    if (sfDef().Contains(sfAutoLayoutDef))
        readAutoLayout(table);
    else
        readDefinitionBlock(table);
}

namespace {

constexpr const char *SUtf8ByteOrderMark =
    "A fájl UTF-8 bájtsorrend-jellel (BOM) kezdődik; az adatfájlok cp1250 kódolású szövegek.";
constexpr const char *SNoTableDefStart = "A definíciós blokkból hiányzik a @@TABLEDEF START@@ sor.";
constexpr const char *SNoTableDefEnd = "A definíciós blokk nem ér véget: hiányzik a @@TABLEDEF END@@ sor.";
constexpr const char *SNoDefinitionBlock = "A fájl nem definíciós blokkal kezdődik, nem a program adatfájlja.";
constexpr const char *SEmptyFile = "A fájl üres.";

bool isMarker(const std::string &item)
{
    return item == CSVFileVersionMarker || item == CSVTableDefStart || item == CSVTableDefEnd ||
           item == CSVIndexDefStart || item == CSVIndexDefEnd;
}

} // namespace

void TztrCustomCSVStreamFormat::readAutoLayout(TztrCustomMemTable &table)
{
    table.CloseAndDestroyFields();
    table.FieldDefs().Clear();
    GetLine();
    bool isNull = false;
    std::string item;
    while (!reader_->AtLineEnd()) {
        GetWord(isNull, item);
        const std::string name =
            headerExpected() && !item.empty() ? item : "Field_" + std::to_string(table.Fields().Count() + 1);
        table.FieldDefs().Add(name, ftString, defaultStringFieldSize_, false)->CreateField(table);
    }
    table.Open();
    if (!headerExpected())
        reader_->RestartLine();
}

void TztrCustomCSVStreamFormat::readDefinitionBlock(TztrCustomMemTable &table)
{
    DefinitionBlock block;
    block.loadDef = sfDef().Contains(sfLoadDef);
    block.loadIndexDef = block.loadDef && sfIndexDef().Contains(sfLoadIndexDef);
    const auto refuse = [this](const char *text) {
        throw EMemTableError(text + placeOfLine() + ", szöveg: " + quotedForMessage(reader_->Line()) + ")");
    };
    // The last line of the file is read as well: a file that ends with its definition block
    // (an empty table saved without a header) still gives the table back open.
    bool more = true;
    bool firstLine = true;
    bool blockEnded = false;
    while (more) {
        more = GetLine();
        if (firstLine && reader_->Line().rfind("\xEF\xBB\xBF", 0) == 0)
            refuse(SUtf8ByteOrderMark);
        firstLine = false;
        if (reader_->Line().empty())
            break;
        try {
            if (!readDefinitionLine(table, block)) {
                blockEnded = true;
                break;
            }
        } catch (...) {
            rethrowWithContext(placeOfLine() + ", szöveg: " + quotedForMessage(reader_->Line()) + ")");
        }
    }
    if (block.inTableDef)
        refuse(SNoTableDefEnd);
    // A file the table takes its fields from must have brought them; without that the records
    // would have nowhere to go.
    if (block.loadDef && !table.Active())
        refuse(reader_->Line().empty() && !block.versionSeen ? SEmptyFile : SNoDefinitionBlock);
    if (!blockEnded)
        // Past the end: no header and no record line is current.
        GetLine();
}

bool TztrCustomCSVStreamFormat::readDefinitionLine(TztrCustomMemTable &table, DefinitionBlock &block)
{
    bool isNull = false;
    std::string item;
    GetWord(isNull, item);
    // Every marker and definition line after the version stands inside the table definition.
    if (block.versionSeen && !block.tableDefSeen && item != CSVTableDefStart)
        throw EMemTableError(SNoTableDefStart);
    if (!block.inTableDef && isMarker(item) && item != CSVFileVersionMarker && item != CSVTableDefStart)
        throw EMemTableError(SNoTableDefStart);
    if (item == CSVFileVersionMarker) {
        block.versionSeen = true;
        GetWord(isNull, fileVersion_);
    } else if (item == CSVTableDefStart) {
        block.inTableDef = true;
        block.tableDefSeen = true;
        if (block.loadDef) {
            table.CloseAndDestroyFields();
            table.FieldDefs().Clear();
        }
    } else if (item == CSVTableDefEnd) {
        block.inTableDef = false;
        table.Open();
    } else if (item == CSVIndexDefStart) {
        block.inIndexDef = true;
        if (block.loadIndexDef) {
            table.Indexes().Clear();
            table.IndexDefs().Clear();
        }
    } else if (item == CSVIndexDefEnd) {
        block.inIndexDef = false;
        if (block.loadIndexDef)
            for (const auto &definition : table.IndexDefs())
                table.Indexes().AddIndex(*definition);
    } else if (!block.inTableDef) {
        // The header line or the first record.
        return false;
    } else if (block.inIndexDef) {
        if (block.loadIndexDef) {
            const TztrCSVIndexDefinition index =
                TztrCSVIndexDefinition::Parse(CSVUnquoteText(reader_->Line(), quote_));
            // The name stands before the "=" of its line, so a name holding one would not read back.
            if (index.DisplayName.find('=') != std::string::npos)
                throw EMemTableError("Az index neve (" + cp1250ToUtf8(index.DisplayName) +
                                     ") nem tartalmazhat egyenlőségjelet.");
            table.IndexDefs().Add(index.Name, index.Fields, index.Options)->SetName(index.DisplayName);
        }
    } else if (block.loadDef) {
        const TztrCSVFieldDefinition field = TztrCSVFieldDefinition::Parse(CSVUnquoteText(reader_->Line(), quote_), item);
        loadedLayout_.definitionLines[field.FieldName] = reader_->LineNumber();
        addField(table, field);
    }
    return true;
}

void TztrCustomCSVStreamFormat::addField(TztrCustomMemTable &table, const TztrCSVFieldDefinition &definition)
{
    TFieldDef *fieldDef = table.FieldDefs().Add(definition.FieldName, definition.DataType, definition.Size,
                                                definition.Required);
    TField *field = fieldDef->CreateField(table);
    field->SetFieldKind(definition.FieldKind);
    field->SetDisplayLabel(definition.DisplayName);
    field->SetEditMask(definition.EditMask);
    field->SetReadOnly(definition.ReadOnly);
    field->SetDisplayWidth(definition.DisplayWidth);
    field->SetDefaultExpression(definition.DefaultExpression);
    field->SetVisible(definition.Visible);
}

void TztrCustomCSVStreamFormat::DetermineLoadFieldIDs(TztrCustomMemTable &table,
                                                      std::vector<std::string> &list, int situation)
{
    if (situation != 1 || sfDef().Contains(sfAutoLayoutDef) || !headerExpected() || !reader_ ||
        reader_->Line().empty()) {
        TztrCustomStreamFormat::DetermineLoadFieldIDs(table, list, situation);
        return;
    }
    reader_->RestartLine();
    bool isNull = false;
    std::string item;
    while (!reader_->AtLineEnd()) {
        GetWord(isNull, item);
        list.push_back(item);
    }
    loadedLayout_.headerLine = reader_->LineNumber();
    loadedLayout_.headerColumns = list;
}

void TztrCustomCSVStreamFormat::DetermineLoadFieldIndex(TztrCustomMemTable &table, const std::string &id,
                                                        int &index, int situation)
{
    if (situation != 1)
        return;
    const TFields &fields = table.Fields();
    for (int i = 0; i < fields.Count(); ++i) {
        // Only a-z fold: accented letters must match in their case.
        if (CompareText(fields[i]->DisplayName(), id) == 0) {
            index = i;
            return;
        }
    }
    index = -1;
}

void TztrCustomCSVStreamFormat::LoadData(TztrCustomMemTable &table)
{
    if (streamSize_ == 0 || !sfData().Contains(sfLoadData))
        return;
    reader_->RestartLine();
    // The autoincrement maximum is not reset here: it already covers the records the table
    // holds, and loaded records raise it as they are posted, so no later record reuses a key.
    table.loadedCount_ = 0;
    table.loadedCompletely_ = true;
    for (const int field : LoadMap())
        if (field >= 0)
            loadedLayout_.filledFields.push_back(field);
    collectUniqueKeys(table);
    directLoad_ = !OnFormatLoadField && !table.OnLoadField && !table.OnLoadRecord &&
                  TztrDirectLoadRecord::Applies(table);
    // Without a header the current line is the first record; with one it is the header.
    bool pending = !headerExpected();
    while (pending || !endOfStream_) {
        if (table.LoadLimit() > 0 && table.loadedCount_ >= table.LoadLimit()) {
            table.loadedCompletely_ = false;
            break;
        }
        if (!pending)
            GetLine();
        pending = false;
        if (reader_->Line().empty())
            continue;
        loadRecord(table);
    }
}

void TztrCustomCSVStreamFormat::loadRecord(TztrCustomMemTable &table)
{
    if (directLoad_) {
        if (loadRecordDirectly(table)) {
            ++table.loadedCount_;
            return;
        }
        reader_->RestartLine();
    }
    table.Append();
    try {
        const std::vector<int> &map = LoadMap();
        const bool allKinds = sfFieldKind().Contains(sfLoadFieldKind);
        bool isNull = false;
        std::string text;
        for (std::size_t column = 0; !reader_->AtLineEnd() && column < map.size(); ++column) {
            GetWord(isNull, text);
            const int fieldIndex = map[column];
            if (fieldIndex < 0)
                continue;
            TField &field = *table.Fields()[fieldIndex];
            if (!allKinds && field.FieldKind() != fkData)
                continue;
            if (OnFormatLoadField)
                OnFormatLoadField(*this, field, isNull, text);
            try {
                if (isNull)
                    field.Clear();
                else
                    storeItem(field, text);
            } catch (...) {
                rethrowWithContext(placeOfItem(field.FieldName(), text));
            }
            if (table.OnLoadField)
                table.OnLoadField(table, fieldIndex, field);
        }
        bool accept = true;
        if (table.OnLoadRecord)
            table.OnLoadRecord(table, accept);
        if (!accept) {
            table.Cancel();
            return;
        }
        checkUniqueKeys();
        try {
            table.Post();
        } catch (...) {
            rethrowWithContext(placeOfLine() + ")");
        }
    } catch (...) {
        // The record being filled does not stay half-read in the table.
        if (IsEditState(table.State()))
            table.Cancel();
        throw;
    }
    ++table.loadedCount_;
}

// False, with nothing stored, for a line holding a value its field refuses or lacking a required
// value: the table's own path then reads the line again and refuses it with its usual message.
bool TztrCustomCSVStreamFormat::loadRecordDirectly(TztrCustomMemTable &table)
{
    TztrDirectLoadRecord record(table);
    const std::vector<int> &map = LoadMap();
    bool isNull = false;
    for (std::size_t column = 0; !reader_->AtLineEnd() && column < map.size(); ++column) {
        GetWord(isNull, item_);
        const int fieldIndex = map[column];
        if (fieldIndex < 0)
            continue;
        TField &field = *table.Fields()[fieldIndex];
        try {
            if (isNull)
                field.Clear();
            else if (!storedAsRead(field, item_) || !record.WriteString(field, item_))
                storeItem(field, item_);
        } catch (...) {
            return false;
        }
    }
    if (!record.RequiredFieldsFilled())
        return false;
    checkUniqueKeys();
    try {
        record.Store();
    } catch (...) {
        rethrowWithContext(placeOfLine() + ")");
    }
    return true;
}

bool TztrCustomCSVStreamFormat::storedAsRead(const TField &field, const std::string &text) const
{
    return !isTextType(field.DataType()) || (text.find(escapeChar_) == std::string::npos && fitsIn(field, text));
}

void TztrCustomCSVStreamFormat::storeItem(TField &field, const std::string &text)
{
    const TFieldType type = field.DataType();
    if (isTextType(type) && text.find(escapeChar_) == std::string::npos)
        storeText(field, text);
    else if (isTextType(type))
        storeText(field, CSVEscapeDecode(text, escapeChar_));
    else if (isBinaryType(type))
        field.SetAsString(CSVSixBitDecode(text));
    else if (type == ftBoolean)
        field.SetAsBoolean(text == trueString_);
    else if (type == ftDateTime || type == ftTime)
        storeMoment(field, text);
    else
        field.SetAsString(text);
}

void TztrCustomCSVStreamFormat::collectUniqueKeys(TztrCustomMemTable &table)
{
    uniqueKeys_.clear();
    for (const auto &definition : table.IndexDefs()) {
        if (!definition->Options().Contains(ixUnique))
            continue;
        UniqueKeys keys;
        keys.indexName = definition->Name();
        keys.fieldNames = definition->Fields();
        keys.caseInsensitive = definition->Options().Contains(ixCaseInsensitive);
        for (const std::string &name : SplitFieldNames(keys.fieldNames)) {
            if (TField *field = table.FindField(name))
                keys.fields.push_back(field);
        }
        if (!keys.fields.empty())
            uniqueKeys_.push_back(std::move(keys));
    }
}

void TztrCustomCSVStreamFormat::checkUniqueKeys()
{
    for (UniqueKeys &keys : uniqueKeys_) {
        std::string key;
        for (TField *field : keys.fields) {
            // A null and an empty text are different keys.
            key += field->IsNull() ? '\1' : '\2';
            key += keys.caseInsensitive ? AnsiUpperCase(field->AsString()) : field->AsString();
            key += '\0';
        }
        if (!keys.seen.insert(std::move(key)).second)
            throw EMemTableDupKey(std::string(SDupKey) + placeOfLine() + ", index: " + cp1250ToUtf8(keys.indexName) +
                                  ", mező: " + cp1250ToUtf8(keys.fieldNames) + ")");
    }
}
