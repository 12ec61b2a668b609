#pragma once

// Pieces the dialogs with working tables share: defining an own table's fields, reading the
// current row, filter texts and holding a table's controls still while it is refilled.

#include "memtable/ztrMemTable.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <initializer_list>
#include <span>
#include <string>

namespace dlg {

struct FieldSpec {
    const char *name;
    TFieldType type;
    int size = 0;
};

inline void defineFields(TztrMemTable &table, std::initializer_list<FieldSpec> fields)
{
    for (const FieldSpec &field : fields)
        table.FieldDefs().Add(field.name, field.type, field.size);
}

inline bool hasRow(const TDataSet &table)
{
    return table.Active() && !table.IsEmpty();
}

inline int intOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsInteger();
}

inline std::string textOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsString();
}

// Copies the fields both tables have, by name, into the destination's record being edited.
inline void copyFields(const TDataSet &source, TDataSet &destination, std::span<const char *const> fields)
{
    for (const char *field : fields)
        destination.FieldByName(field)->SetAsVariant(source.FieldByName(field)->AsVariant());
}

// A text value for a filter: in single quotes, inner quotes doubled.
inline std::string quotedText(const std::string &text)
{
    std::string result = "'";
    for (char c : text) {
        result += c;
        if (c == '\'')
            result += '\'';
    }
    return result + "'";
}

// A search pattern for " like ": the text with "**" appended, quoted.
inline std::string likePattern(const std::string &text)
{
    return quotedText(text + "**");
}

// Replaces a table's filter; an empty text leaves it unfiltered.
inline void applyFilter(TDataSet &table, const std::string &text)
{
    table.SetFiltered(false);
    table.SetFilter(text);
    table.SetFiltered(!text.empty());
}

// The characters a grid's typed search collects: digits, ASCII and Hungarian letters, blank, "_", "?".
inline bool isSearchCharacter(QChar c)
{
    static const QString Others = QStringLiteral("áÁéÉíÍúÚüÜűŰóÓöÖőŐ _?");
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || Others.contains(c);
}

// A question with OK and Cancel; true only on OK.
inline bool Confirm(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

// Runs with a shared table unfiltered and gives its filter back as it was.
class Unfiltered {
public:
    explicit Unfiltered(TDataSet &table) : table_(table), was_(table.Filtered()) { table_.SetFiltered(false); }
    ~Unfiltered() { table_.SetFiltered(was_); }
    Unfiltered(const Unfiltered &) = delete;
    Unfiltered &operator=(const Unfiltered &) = delete;

private:
    TDataSet &table_;
    bool was_;
};

} // namespace dlg
