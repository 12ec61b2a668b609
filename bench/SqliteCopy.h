#pragma once

// The data module's tables copied into SQLite, for the benchmarks that compare against it.

#include "memtable/ztrMemTable.h"

#include <algorithm>
#include <initializer_list>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace bench {

inline void check(int status, sqlite3 *db)
{
    if (status != SQLITE_OK && status != SQLITE_DONE && status != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// The statements making on the SQLite table `name` the indexes `table` keeps.
inline std::string indexSql(const char *name, TztrMemTable &table)
{
    std::string sql;
    for (const auto &index : table.IndexDefs()) {
        std::string columns = index->Fields();
        std::replace(columns.begin(), columns.end(), ';', ',');
        sql += std::string("CREATE INDEX IF NOT EXISTS \"") + name + "_" + index->Name() + "\" ON " + name + " (" +
               columns + ");";
    }
    return sql;
}

// The tables the views read, copied row by row into SQLite with the module's indexes.
inline void copyIntoSqlite(sqlite3 *db, const char *name, TztrMemTable &table)
{
    std::string create = std::string("CREATE TABLE ") + name + " (";
    std::string insert = std::string("INSERT INTO ") + name + " VALUES (";
    std::vector<TField *> fields;
    for (const auto &field : table.Fields()) {
        if (field->FieldKind() != fkData)
            continue;
        const TFieldType type = field->DataType();
        create += (fields.empty() ? "" : ", ") + field->FieldName() +
                  (type == ftString     ? " TEXT"
                   : type == ftDateTime ? " REAL"
                                        : " INTEGER");
        insert += fields.empty() ? "?" : ", ?";
        fields.push_back(field.get());
    }
    check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db);
    sqlite3_stmt *statement = nullptr;
    check(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr), db);
    table.SetFiltered(false);
    // The windows' grids and detail views need not follow the copy row by row.
    table.DisableControls();
    for (table.First(); !table.Eof(); table.Next()) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            TField &field = *fields[i];
            if (field.IsNull())
                continue;
            const int column = int(i) + 1;
            if (field.DataType() == ftString) {
                const std::string text = field.AsString();
                sqlite3_bind_text(statement, column, text.data(), int(text.size()), SQLITE_TRANSIENT);
            } else if (field.DataType() == ftDateTime) {
                sqlite3_bind_double(statement, column, double(field.AsDateTime()));
            } else {
                sqlite3_bind_int64(statement, column, field.AsInteger());
            }
        }
        check(sqlite3_step(statement), db);
    }
    table.EnableControls();
    sqlite3_finalize(statement);
    check(sqlite3_exec(db, indexSql(name, table).c_str(), nullptr, nullptr, nullptr), db);
}

// A database in memory holding copies of the tables under the given names; `extraSql` runs in
// the same transaction (further indexes and tables).
inline sqlite3 *sqliteCopyOf(std::initializer_list<std::pair<const char *, TztrMemTable *>> tables,
                             const std::string &extraSql = "")
{
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    for (auto [name, table] : tables)
        copyIntoSqlite(db, name, *table);
    check(sqlite3_exec(db, (extraSql + ";COMMIT").c_str(), nullptr, nullptr, nullptr), db);
    return db;
}

} // namespace bench
