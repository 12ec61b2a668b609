#include "memtable/ztrCopy.h"

#include "memtable/ztrCSVDefinition.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/Classes.h"
#include "platform/DB.h"

#include <exception>
#include <typeinfo>
#include <unicode/unistr.h>
#include <vector>

namespace {

// Two memory tables on one store are one set of records: copying between them would empty the
// source before reading it, or read the records it is appending without end.
bool sameRecords(const TDataSet &first, const TDataSet &second)
{
    if (&first == &second)
        return true;
    const auto *firstTable = dynamic_cast<const TztrCustomMemTable *>(&first);
    const auto *secondTable = dynamic_cast<const TztrCustomMemTable *>(&second);
    return firstTable && secondTable && &firstTable->Common() == &secondTable->Common();
}

// Field map entries besides a source field's index.
constexpr int NotCopied = -1;
constexpr int LookupField = -2;

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

std::u16string utf8ToUtf16(const std::string &text)
{
    const icu::UnicodeString decoded = icu::UnicodeString::fromUTF8(text);
    return {decoded.getBuffer(), static_cast<std::size_t>(decoded.length())};
}

std::string utf16ToUtf8(const std::u16string &text)
{
    std::string encoded;
    icu::UnicodeString(text.data(), static_cast<int32_t>(text.size())).toUTF8String(encoded);
    return encoded;
}

// One entry per destination field: the index of the source field of the same name.
std::vector<int> buildFieldMap(const TDataSet &source, const TDataSet &destination, bool copyAutoInc)
{
    std::vector<int> map;
    for (const auto &field : destination.Fields()) {
        int entry = NotCopied;
        switch (field->FieldKind()) {
        case fkLookup:
            entry = LookupField;
            break;
        case fkData:
        case fkCalculated:
        case fkInternalCalc:
            if (!IsCSVSupportedFieldType(field->DataType()) ||
                (field->DataType() == ftAutoInc && !copyAutoInc))
                break;
            if (const TField *match = source.FindField(field->FieldName()))
                entry = source.Fields().IndexOf(match);
            break;
        case fkAggregate:
            break;
        }
        map.push_back(entry);
    }
    return map;
}

void copyValue(const TField &source, TField &destination, bool convertWide)
{
    if (source.IsNull()) {
        destination.Clear();
        return;
    }
    const TFieldType from = source.DataType();
    const TFieldType to = destination.DataType();
    // A 64-bit value does not survive every variant conversion.
    if (from == ftLargeint) {
        destination.SetAsString(source.AsString());
        return;
    }
    if (convertWide && (from == ftWideString || to == ftWideString)) {
        if (from != to && to == ftWideString && isTextType(from))
            destination.SetAsWideString(utf8ToUtf16(source.AsString()));
        else if (from != to && (to == ftString || to == ftFixedChar))
            destination.SetAsString(utf16ToUtf8(source.AsWideString()));
        else
            destination.SetAsVariant(source.AsVariant());
        return;
    }
    if (source.IsBlob() && (from == ftOraBlob || from == ftOraClob)) {
        destination.SetAsString(source.AsString());
        return;
    }
    if (typeid(source) == typeid(destination))
        destination.SetAsVariant(source.AsVariant());
    else
        destination.SetAsString(source.AsString());
}

// Steps that put things back after a copy: each runs even when the copy or an earlier step
// failed, and the first failure is raised once all have run.
class RestoreSteps
{
public:
    explicit RestoreSteps(std::exception_ptr failure) : failure_(std::move(failure)) {}

    template <class Step> void run(Step step)
    {
        try {
            step();
        } catch (...) {
            if (!failure_)
                failure_ = std::current_exception();
        }
    }

    void finish()
    {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    std::exception_ptr failure_;
};

template <class Body> std::exception_ptr failureOf(Body body)
{
    try {
        body();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// The percentage of a walk, reported every 100 records.
void reportEvery100(TztrCustomMemTable &table, int position, int total, TztrProgressCode code)
{
    if (total > 0 && position % 100 == 0)
        table.Progress(static_cast<int>(static_cast<std::int64_t>(position) * 100 / total), code);
}

// Fills the destination record being edited or appended from the source's current record and
// posts it unless the table refuses it; returns whether it was posted. The table's field and
// record events run when the table is one of the two sides.
template <class CopyValue>
bool fillRecord(TztrCustomMemTable &table, TDataSet &source, TDataSet &destination,
                const std::vector<int> &map, CopyValue copy)
{
    const bool saving = &source == &table;
    const bool loading = &destination == &table;
    try {
        for (std::size_t i = 0; i < map.size(); ++i) {
            if (map[i] < 0)
                continue;
            TField &from = *source.Fields()[map[i]];
            TField &to = *destination.Fields()[static_cast<int>(i)];
            if (saving && table.OnSaveField)
                table.OnSaveField(table, map[i], from);
            copy(from, to);
            if (loading && table.OnLoadField)
                table.OnLoadField(table, static_cast<int>(i), to);
        }
        bool accept = true;
        if (loading && table.OnLoadRecord)
            table.OnLoadRecord(table, accept);
        if (!accept) {
            destination.Cancel();
            return false;
        }
        destination.Post();
        return true;
    } catch (...) {
        // The record being filled does not stay half-copied in the destination.
        if (IsEditState(destination.State()))
            destination.Cancel();
        throw;
    }
}

// Whether the table lets its current record go out when it is the source.
bool acceptedForSaving(TztrCustomMemTable &table, const TDataSet &source)
{
    bool accept = true;
    if (&source == &table && table.OnSaveRecord)
        table.OnSaveRecord(table, accept);
    return accept;
}

} // namespace

// ---- Copying records -------------------------------------------------------------------------

int TztrCustomMemTable::CopyRecords(TDataSet &source, TDataSet &destination, bool convertWide,
                                    [[maybe_unused]] bool spareFlag, int limit)
{
    if (sameRecords(source, destination))
        return 0;
    Progress(0, mtpcCopy);
    // Into an empty destination the source's keys are kept; a non-empty one numbers new records.
    const std::vector<int> map = buildFieldMap(source, destination, destination.IsEmpty());
    const int total = OnProgress ? source.RecordCount() : 0;
    if (total < 1)
        Progress(50, mtpcCopy);
    // A save that stops at its limit says so through the save flag, a load through the load flag.
    bool &completely = &source == this ? savedCompletely_ : loadedCompletely_;
    completely = true;
    const auto copy = [convertWide](const TField &from, TField &to) { copyValue(from, to, convertWide); };
    int count = 0;
    for (int position = 0; !source.Eof(); ++position) {
        reportEvery100(*this, position, total, mtpcCopy);
        if (acceptedForSaving(*this, source)) {
            destination.Append();
            if (fillRecord(*this, source, destination, map, copy))
                ++count;
        }
        source.Next();
        if (limit > 0 && count >= limit) {
            // Stopping exactly at the source's last record still copied everything.
            completely = source.Eof();
            break;
        }
    }
    Progress(100, mtpcCopy);
    return count;
}

int TztrCustomMemTable::UpdateRecords(TDataSet &source, TDataSet &destination, TztrUpdateFlags flags,
                                      int limit, const std::string &keyFields)
{
    if (sameRecords(source, destination))
        return 0;
    Progress(0, mtpcUpdate);
    bulkOperation_ = TztrBulkOperation::Update;
    int count = 0;
    const std::exception_ptr failure = failureOf([&] {
        // The key names may carry compare options (":C"); the destination is searched by name.
        std::vector<TField *> keys;
        std::string keyNames;
        for (const std::string &item : SplitFieldNames(keyFields)) {
            const std::string name = item.substr(0, item.find(':'));
            keys.push_back(source.FieldByName(name));
            keyNames += (keyNames.empty() ? "" : ";") + name;
        }
        const std::vector<int> map = buildFieldMap(source, destination, true);
        const auto copy = [](const TField &from, TField &to) {
            if (from.IsNull())
                to.Clear();
            else
                to.SetAsString(from.AsString());
        };
        const int total = OnProgress ? source.RecordCount() : 0;
        if (total < 1)
            Progress(50, mtpcUpdate);
        source.First();
        for (int position = 0; !source.Eof(); ++position, source.Next()) {
            reportEvery100(*this, position, total, mtpcUpdate);
            if (!acceptedForSaving(*this, source))
                continue;
            Variant key;
            if (keys.size() == 1) {
                key = keys[0]->AsVariant();
            } else {
                Variant::Array values;
                for (const TField *field : keys)
                    values.push_back(field->AsVariant());
                key = VarArrayOf(values);
            }
            if (destination.Locate(keyNames, key, {})) {
                if (!flags.Contains(mtufEdit))
                    continue;
                destination.Edit();
            } else {
                if (!flags.Contains(mtufAppend))
                    continue;
                destination.Append();
            }
            if (fillRecord(*this, source, destination, map, copy) && ++count == limit)
                break;
        }
    });
    RestoreSteps restore(failure);
    restore.run([&] { Progress(100, mtpcUpdate); });
    bulkOperation_ = TztrBulkOperation::None;
    restore.finish();
    return count;
}

// ---- Loading, saving and updating through another dataset ------------------------------------

void TztrCustomMemTable::LoadFromDataSet(TDataSet &source, TztrCopyOptions options)
{
    if (sameRecords(source, *this))
        return;
    const bool append = options.Contains(mtcpoAppend);
    if (append && (options.Contains(mtcpoStructure) || options.Contains(mtcpoProperties)))
        throw EMemTableError(SAppendAndCopyStructure);
    bulkOperation_ = TztrBulkOperation::Load;
    const bool sourceWasActive = source.Active();
    const bool filtered = Filtered();
    TDataSource *masterSource = MasterSource();
    const bool enableIndexes = EnableIndexes();
    bool sourceDisabled = false;
    bool tableDisabled = false;
    TBookmark bookmark;
    const std::exception_ptr failure = failureOf([&] {
        if (OnLoad) {
            TMemoryStream noStream;
            OnLoad(*this, mtstDataSet, noStream);
        }
        if (options.Contains(mtcpoStructure))
            Close();
        else if (!append)
            EmptyTable();
        if (!options.Contains(mtcpoKeepIndexes))
            SetEnableIndexes(false);
        loading_ = true;
        source.DisableControls();
        sourceDisabled = true;
        DisableControls();
        tableDisabled = true;
        if (!sourceWasActive)
            source.Open();
        bookmark = source.GetBookmark();
        SetFiltered(false);
        SetMasterSource(nullptr);
        source.CheckBrowseMode();
        if (options.Contains(mtcpoStructure))
            CreateTableAs(source, {});
        if (!Active())
            Open();
        if (options.Contains(mtcpoProperties))
            CopyFieldsProperties(source, *this);
        if (!source.Bof())
            source.First();
        loadedCount_ = CopyRecords(source, *this, options.Contains(mtcpoConvertWide),
                                   options.Contains(mtcpoSpareFlag), LoadLimit());
    });
    RestoreSteps restore(failure);
    SetEnableIndexes(enableIndexes);
    if (Active()) {
        restore.run([&] {
            common_->MarkAllIndexesUnordered();
            common_->RebuildAllIndexes();
            First();
        });
    }
    restore.run([&] {
        if (!bookmark.empty() && source.Active() && source.BookmarkValid(bookmark))
            source.GotoBookmark(bookmark);
    });
    loading_ = false;
    if (!sourceWasActive)
        restore.run([&] { source.Close(); });
    if (sourceDisabled)
        restore.run([&] { source.EnableControls(); });
    restore.run([&] { SetFiltered(filtered); });
    restore.run([&] { SetMasterSource(masterSource); });
    if (tableDisabled)
        restore.run([&] { EnableControls(); });
    bulkOperation_ = TztrBulkOperation::None;
    restore.finish();
}

void TztrCustomMemTable::SaveToDataSet(TDataSet &destination, TztrCopyOptions options)
{
    if (sameRecords(destination, *this))
        return;
    bulkOperation_ = TztrBulkOperation::Save;
    const bool destinationWasActive = destination.Active();
    bool controlsDisabled = false;
    const std::exception_ptr failure = failureOf([&] {
        if (OnSave) {
            TMemoryStream noStream;
            OnSave(*this, mtstDataSet, noStream);
        }
        destination.DisableControls();
        DisableControls();
        controlsDisabled = true;
        if (!destinationWasActive)
            destination.Open();
        destination.CheckBrowseMode();
        if (!Active())
            Open();
        CheckBrowseMode();
        First();
        savedCount_ = CopyRecords(*this, destination, options.Contains(mtcpoConvertWide),
                                  options.Contains(mtcpoSpareFlag), SaveLimit());
        destination.First();
    });
    RestoreSteps restore(failure);
    if (controlsDisabled)
        restore.run([&] { EnableControls(); });
    if (!destinationWasActive)
        restore.run([&] { destination.Close(); });
    if (controlsDisabled)
        restore.run([&] { destination.EnableControls(); });
    bulkOperation_ = TztrBulkOperation::None;
    restore.finish();
}

void TztrCustomMemTable::UpdateToDataSet(TDataSet &destination, const std::string &keyFields,
                                         TztrUpdateFlags flags)
{
    if (Active())
        CheckBrowseMode();
    if (sameRecords(destination, *this))
        return;
    if (OnSave) {
        TMemoryStream noStream;
        OnSave(*this, mtstDataSet, noStream);
    }
    const bool destinationWasActive = destination.Active();
    destination.DisableControls();
    DisableControls();
    const std::exception_ptr failure = failureOf([&] {
        if (!destinationWasActive)
            destination.Open();
        destination.CheckBrowseMode();
        if (!Active())
            Open();
        First();
        UpdateRecords(*this, destination, flags, 0, keyFields);
        destination.First();
    });
    RestoreSteps restore(failure);
    restore.run([&] { EnableControls(); });
    if (!destinationWasActive)
        restore.run([&] { destination.Close(); });
    restore.run([&] { destination.EnableControls(); });
    restore.finish();
}

void TztrCustomMemTable::UpdateToDataSet(TDataSet &destination, const std::string &keyFields)
{
    UpdateToDataSet(destination, keyFields, {mtufEdit, mtufAppend});
}

// ---- Field properties --------------------------------------------------------------------------

void TztrCustomMemTable::CopyFieldProperties(TField &source, TField &destination)
{
    if (&source == &destination)
        return;
    destination.SetEditMask(source.EditMask());
    destination.SetDisplayWidth(source.DisplayWidth());
    destination.SetDisplayLabel(source.DisplayLabel());
    destination.SetRequired(source.Required());
    destination.SetReadOnly(source.ReadOnly());
    destination.SetVisible(source.Visible());
    destination.SetDefaultExpression(source.DefaultExpression());
    destination.SetAlignment(source.Alignment());
    destination.SetProviderFlags(source.ProviderFlags());
    if (auto *from = dynamic_cast<const TNumericField *>(&source)) {
        if (auto *to = dynamic_cast<TNumericField *>(&destination)) {
            to->SetDisplayFormat(from->DisplayFormat());
            to->SetEditFormat(from->EditFormat());
        }
    }
    if (auto *from = dynamic_cast<const TIntegerField *>(&source)) {
        if (auto *to = dynamic_cast<TIntegerField *>(&destination)) {
            to->SetMaxValue(from->MaxValue());
            to->SetMinValue(from->MinValue());
        }
    }
    if (auto *from = dynamic_cast<const TLargeintField *>(&source)) {
        if (auto *to = dynamic_cast<TLargeintField *>(&destination)) {
            to->SetMaxValue(from->MaxValue());
            to->SetMinValue(from->MinValue());
        }
    }
    if (auto *from = dynamic_cast<const TDateTimeField *>(&source)) {
        if (auto *to = dynamic_cast<TDateTimeField *>(&destination))
            to->SetDisplayFormat(from->DisplayFormat());
    }
    if (auto *from = dynamic_cast<const TBooleanField *>(&source)) {
        if (auto *to = dynamic_cast<TBooleanField *>(&destination))
            to->SetDisplayValues(from->DisplayValues());
    }
    if (auto *from = dynamic_cast<const TStringField *>(&source)) {
        if (auto *to = dynamic_cast<TStringField *>(&destination))
            to->SetTransliterate(from->Transliterate());
    }
    if (auto *from = dynamic_cast<const TFloatField *>(&source)) {
        if (auto *to = dynamic_cast<TFloatField *>(&destination)) {
            to->SetMaxValue(from->MaxValue());
            to->SetMinValue(from->MinValue());
            to->SetPrecision(from->Precision());
            to->SetCurrency(from->IsCurrency());
        }
    }
    if (auto *from = dynamic_cast<const TBCDField *>(&source)) {
        if (auto *to = dynamic_cast<TBCDField *>(&destination)) {
            to->SetMaxValue(from->MaxValue());
            to->SetMinValue(from->MinValue());
            to->SetCurrency(from->IsCurrency());
        }
    }
    if (auto *from = dynamic_cast<const TBlobField *>(&source)) {
        if (auto *to = dynamic_cast<TBlobField *>(&destination)) {
            to->SetBlobType(from->BlobType());
            to->SetTransliterate(from->Transliterate());
        }
    }
    if (OnSetupFieldProperties)
        OnSetupFieldProperties(*this, destination);
}

void TztrCustomMemTable::CopyFieldsProperties(TDataSet &source, TDataSet &destination)
{
    if (&source == &destination)
        return;
    for (const auto &field : destination.Fields()) {
        if (TField *match = source.FindField(field->FieldName()))
            CopyFieldProperties(*match, *field);
    }
}
