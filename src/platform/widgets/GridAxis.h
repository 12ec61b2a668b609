#pragma once

// One direction of a grid (columns or rows): cell sizes, the fixed cells at the start, the first
// scrolled cell shown after them and the width of the grid line that follows each cell. Columns
// and rows obey the same arithmetic, so the grid keeps one of these per direction.

#include <vector>

class GridAxis {
public:
    std::vector<int> sizes;
    int defaultSize = 0;
    int fixed = 0;
    int first = 0;
    int fixedLine = 0;
    int line = 0;

    int count() const { return int(sizes.size()); }
    int lineAfter(int index) const { return index < fixed ? fixedLine : line; }
    int fixedExtent() const;

    // Screen position of a cell, or -1 when it is scrolled out or starts beyond the client area.
    int start(int index, int client) const;
    // The cell under a screen position (its trailing grid line included), or -1.
    int indexAt(int position, int client) const;
    // Screen span [begin, end) of the cells from..to that are on screen; false when none is.
    bool span(int from, int to, int client, int &begin, int &end) const;
    // Scrolled cells that start inside the client area.
    int visibleCount(int client) const;
    // The largest first scrolled cell that still leaves the last cell on screen.
    int maxFirst(int client) const;
    int clampFirst(int value, int client) const;
};
