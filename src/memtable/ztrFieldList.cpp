#include "memtable/ztrFieldList.h"

#include "memtable/ztrCommon.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"
#include "platform/LocaleCompare.h"

#include <algorithm>

namespace {

TztrifoOptions parseOptionLetters(const std::string &letters)
{
    TztrifoOptions options;
    for (char letter : UpperCase(letters)) {
        switch (letter) {
        case 'C':
            options.Include(mtifoCaseInsensitive);
            break;
        case 'D':
            options.Include(mtifoDescending);
            break;
        case 'N':
            options.Include(mtifoIgnoreNull);
            break;
        case 'P':
            options.Include(mtifoPartial);
            break;
        case 'L':
            options.Include(mtifoIgnoreLocale);
            break;
        default:
            break;
        }
    }
    return options;
}

bool isIndexableKind(TFieldKind kind)
{
    return kind == fkData || kind == fkCalculated || kind == fkLookup || kind == fkInternalCalc;
}

bool isIndexableType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftBoolean:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftAutoInc:
    case ftFixedChar:
    case ftWideString:
    case ftLargeint:
    case ftADT:
    case ftArray:
    case ftGuid:
    case ftTimeStamp:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

} // namespace

int TztrFieldList::Add(TField *field, TztrifoOptions options)
{
    if (Count() >= MaxFields)
        throw EMemTableError(STooManyListFields);
    entries_.push_back({field, options, 0, 0});
    return Count() - 1;
}

int TztrFieldList::IndexOf(const TField *field) const
{
    for (int i = 0; i < Count(); ++i) {
        if (entries_[i].Field == field)
            return i;
    }
    return -1;
}

void TztrFieldList::AssignTo(TztrFieldList &dest) const
{
    dest.entries_ = entries_;
}

void TztrFieldList::MergeOptionsInto(TztrFieldList &dest) const
{
    const int shared = std::min(Count(), dest.Count());
    for (int i = 0; i < shared; ++i)
        dest.entries_[i].Options = dest.entries_[i].Options + entries_[i].Options;
}

void BuildFieldList(TztrCustomMemTable &table, TztrFieldList &list, const std::string &fieldNames)
{
    list.Clear();
    for (const std::string &item : SplitFieldNames(fieldNames)) {
        const std::size_t colon = item.find(':');
        const std::string name = colon == std::string::npos ? item : item.substr(0, colon);
        const TztrifoOptions options =
            colon == std::string::npos ? TztrifoOptions{} : parseOptionLetters(item.substr(colon + 1));
        TField *field = table.FieldByName(name);
        if (!isIndexableKind(field->FieldKind()) || !isIndexableType(field->DataType()))
            DatabaseError(cannotIndexFieldMessage(cp1250ToUtf8(field->DisplayName())));
        list.Add(field, options);
        if (field->FieldKind() == fkCalculated)
            table.SetRecalcOnIndex(true);
    }
    for (TztrFieldListEntry &entry : list) {
        entry.FieldNo = entry.Field->FieldNo();
        entry.Offset = table.Common().FieldAreaOffset(*entry.Field);
    }
}

void ApplyFieldListOption(TztrFieldList &list, TztrifoOption option, const std::string &fieldNames)
{
    const std::vector<std::string> names = SplitFieldNames(fieldNames);
    for (TztrFieldListEntry &entry : list) {
        const bool named = std::any_of(names.begin(), names.end(), [&entry](const std::string &name) {
            return CompareText(name, entry.Field->FieldName()) == 0;
        });
        if (named)
            entry.Options.Include(option);
        else
            entry.Options.Exclude(option);
    }
}

TztrMemTableCompareOptions IndexOptionsToCompareOptions(TIndexOptions indexOptions)
{
    TztrMemTableCompareOptions options;
    if (indexOptions.Contains(ixUnique))
        options.Include(mtcoUnique);
    if (indexOptions.Contains(ixDescending))
        options.Include(mtcoDescending);
    if (indexOptions.Contains(ixCaseInsensitive))
        options.Include(mtcoCaseInsensitive);
    if (indexOptions.Contains(ixNonMaintained))
        options.Include(mtcoNonMaintained);
    return options;
}

bool IsFieldListPrefix(const TztrFieldList &whole, const TztrFieldList &part, bool checkCase)
{
    if (whole.Count() < part.Count())
        return false;
    for (int i = 0; i < part.Count(); ++i) {
        if (whole[i].Field != part[i].Field)
            return false;
        if (checkCase &&
            whole[i].Options.Contains(mtifoCaseInsensitive) != part[i].Options.Contains(mtifoCaseInsensitive))
            return false;
    }
    return true;
}
