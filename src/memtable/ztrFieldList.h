#pragma once

// The field list that names the fields of an index, a search or a master/detail key, each with
// its own compare options, and its text form: names joined by ";", each optionally followed by
// ":" and option letters (C case-insensitive, D descending, N ignore null, P partial, L ignore
// locale).

#include "memtable/ztrTypes.h"
#include "platform/DBTypes.h"

#include <string>
#include <vector>

class TField;
class TztrCustomMemTable;

struct TztrFieldListEntry {
    TField *Field = nullptr;
    TztrifoOptions Options;
    // Where the field's null byte lies in a record's data area.
    int Offset = 0;
    int FieldNo = 0;
};

class TztrFieldList {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    const TztrFieldListEntry &operator[](int index) const { return entries_[index]; }
    TztrFieldListEntry &operator[](int index) { return entries_[index]; }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }
    auto begin() { return entries_.begin(); }
    auto end() { return entries_.end(); }

    void Clear() { entries_.clear(); }
    // Refuses a field past the list's room of MaxFields entries.
    int Add(TField *field, TztrifoOptions options);
    int IndexOf(const TField *field) const;
    void AssignTo(TztrFieldList &dest) const;
    // Dest's options of each shared position take this list's options in addition.
    void MergeOptionsInto(TztrFieldList &dest) const;

private:
    std::vector<TztrFieldListEntry> entries_;
};

// Fills List from a field-list text on the table's fields; offsets come from the table's store.
// A field that cannot be indexed raises "Nem lehet indexelni a(z) %s mezőt".
void BuildFieldList(TztrCustomMemTable &table, TztrFieldList &list, const std::string &fieldNames);

// Adds option to the entries whose field is named in fieldNames and removes it from the others.
void ApplyFieldListOption(TztrFieldList &list, TztrifoOption option, const std::string &fieldNames);

TztrMemTableCompareOptions IndexOptionsToCompareOptions(TIndexOptions indexOptions);

// Whole begins with the fields of Part, in order (and with the same case sensitivity when asked).
bool IsFieldListPrefix(const TztrFieldList &whole, const TztrFieldList &part, bool checkCase);
