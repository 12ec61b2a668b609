#pragma once

// Loading records straight into the store: a record filled from a data file (or by a bulk
// appender such as the export) is appended without the dataset's Append and Post, which cost more
// than filling the record whenever nothing watches the table record by record.

#include "memtable/ztrCustomMemTable.h"

#include <optional>

class TztrDirectLoadRecord
{
public:
    // True while a load runs into a table that nothing watches between Append and Post: no
    // dataset or field event, validation, default value, calculated field, master link, filter
    // handler or other open table on the store could tell a directly stored record apart.
    static bool Applies(const TztrCustomMemTable &table);
    // The same outside a load, for a record appended while the table's controls are disabled and
    // no autoincrement number or required value is due. Unlike Post it leaves the cursor where it
    // was: the appender moves it once it has added its records.
    static bool AppliesToAppend(const TztrCustomMemTable &table);

    // A new empty record; field writes through the table reach it until it is stored.
    explicit TztrDirectLoadRecord(TztrCustomMemTable &table);
    ~TztrDirectLoadRecord();
    TztrDirectLoadRecord(const TztrDirectLoadRecord &) = delete;
    TztrDirectLoadRecord &operator=(const TztrDirectLoadRecord &) = delete;

    // Writes the native form of a value text straight into the record, as SetAsString would;
    // false, with nothing written, when SetAsString must do it.
    bool WriteString(const TField &field, const std::string &value);
    // False when posting would refuse the record for a required field left empty.
    bool RequiredFieldsFilled() const;
    // Appends the record to the store as posting it would while a load runs.
    void Store();
    // Stores the record and goes on with a new one holding the same values: a run of records
    // that differ in few fields writes only those.
    void StoreAndRepeat();

private:
    static bool unwatched(const TztrCustomMemTable &table);

    TztrCustomMemTable &table_;
    TztrRecord *record_;
    std::optional<TztrCustomMemTable::RecordRedirect> redirect_;
};
