#pragma once

// A selector list of the main window: one row per row of a table, each a caption with hidden
// data texts beside it, sorted by caption in the user's language.

#include <QStringList>
#include <QTreeWidget>

#include <vector>

class SelectorList : public QTreeWidget {
public:
    SelectorList(const char *name, int dataColumns, QWidget *parent);

    // Shows `rows` (each the caption, then the data texts) sorted by caption, with no row picked
    // and the first row in sight.
    void showRows(std::vector<QStringList> rows);

private:
    // The rows last shown, in the order given.
    std::vector<QStringList> rows_;
};
