#pragma once

// Fitting a calendar to its window, shared by the main window and the occupancy views.

#include <vector>

class TveltoCalendar;

// Shares `total` pixels among `count` cells in order, each getting what is left divided by the
// number still to size, so the integer remainder goes to the later cells.
std::vector<int> ShareOut(int total, int count);

// Fits a calendar to its window: time column 100 pixels (wider where a row label needs it),
// header row 20, the rest shared out.
void FitCalendarCells(TveltoCalendar &calendar);
