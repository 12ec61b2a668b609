#pragma once

// Small tables the engine's tests build their cases on.

#include "memtable/ztrMemTable.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"

#include <optional>
#include <random>
#include <string>
#include <vector>

// Engine text is cp1250; the test sources are UTF-8.
inline std::string cp1250(const std::string &utf8)
{
    return utf8ToCp1250(utf8);
}

// People: id (integer), nev (text of nameSize characters), pont (integer).
inline void definePeople(TztrCustomMemTable &table, int nameSize = 20)
{
    table.FieldDefs().Add("id", ftInteger);
    table.FieldDefs().Add("nev", ftString, nameSize);
    table.FieldDefs().Add("pont", ftInteger);
}

inline void setPerson(TztrCustomMemTable &table, int id, const std::string &name, std::optional<int> points)
{
    table.FieldByName("id")->SetAsInteger(id);
    table.FieldByName("nev")->SetAsString(name);
    if (points)
        table.FieldByName("pont")->SetAsInteger(*points);
    else
        table.FieldByName("pont")->Clear();
}

inline void appendPerson(TztrCustomMemTable &table, int id, const std::string &name = "",
                         std::optional<int> points = std::nullopt)
{
    table.Append();
    setPerson(table, id, name, points);
    table.Post();
}

inline int currentId(TDataSet &table)
{
    return table.FieldByName("id")->AsInteger();
}

// Edits one text field of the current record and posts it.
inline void editText(TDataSet &table, const std::string &field, const std::string &text)
{
    table.Edit();
    table.FieldByName(field)->SetAsString(text);
    table.Post();
}

// The ids in the table's current order, read by walking it from the first record.
inline std::vector<int> idsInOrder(TDataSet &table)
{
    std::vector<int> ids;
    table.First();
    while (!table.Eof()) {
        ids.push_back(table.FieldByName("id")->AsInteger());
        table.Next();
    }
    return ids;
}

// The message of the error action raises; empty when it raises none.
template <class Action> std::string messageOf(Action action)
{
    try {
        action();
    } catch (const Exception &error) {
        return error.what();
    }
    return {};
}

// Goes to a record of the table picked by rng; false when it has none.
inline bool goToRandomRecord(TDataSet &table, std::minstd_rand &rng)
{
    if (table.RecordCount() == 0)
        return false;
    table.First();
    table.MoveBy(static_cast<int>(rng() % static_cast<unsigned>(table.RecordCount())));
    return true;
}
