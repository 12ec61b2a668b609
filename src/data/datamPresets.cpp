// The five row layouts every calendar of the program is set up with, numbered 0 to 4 in the
// order of the declarations.

#include "calendar/CalendarGrid.h"
#include "data/datam.h"

namespace {

struct PresetRow {
    int start;
    const char *label;
};

void addRows(TveltoCalendar &calendar, std::initializer_list<PresetRow> rows, int length)
{
    for (const PresetRow &row : rows)
        calendar.AddRow(row.start, length, QString::fromUtf8(row.label));
}

void finishRows(TveltoCalendar &calendar)
{
    calendar.AddRow(-1, 0, QString());
}

// Rows of equal length labelled with their start time.
void applyEvenRows(TveltoCalendar &calendar, int firstStart, int count, int length)
{
    calendar.SetScale(-1);
    for (int i = 0; i < count; ++i) {
        const int start = firstStart + length * i;
        calendar.AddRow(start, length, QString::asprintf("%02d:%02d", start / 60, start % 60));
    }
    finishRows(calendar);
}

} // namespace

void TDM::BeosztasDupla(TveltoCalendar &calendar)
{
    calendar.SetScale(-1);
    addRows(calendar,
            {{465, " 1- 2 07:45-09:15"},
             {570, " 3- 4 09:30-11:00"},
             {675, " 5- 6 11:15-12:45"},
             {780, " 7- 8 13:00-14:30"},
             {885, " 9-10 14:45-16:15"},
             {990, "11-12 16:30-18:00"},
             {1095, "13-14 18:15-19:45"}},
            90);
    finishRows(calendar);
}

void TDM::BeosztasOras(TveltoCalendar &calendar)
{
    applyEvenRows(calendar, 420, 13, 60);
}

void TDM::BeosztasFeloras(TveltoCalendar &calendar)
{
    applyEvenRows(calendar, 450, 25, 30);
}

void TDM::BeosztasFeloras15(TveltoCalendar &calendar)
{
    applyEvenRows(calendar, 465, 25, 30);
}

void TDM::BeosztasSajat(TveltoCalendar &calendar)
{
    calendar.SetScale(-1);
    addRows(calendar,
            {{465, " 1 07:45-08:30"},
             {510, " 2 08:30-09:15"},
             {570, " 3 09:30-10:15"},
             {615, " 4 10:15-11:00"},
             {675, " 5 11:15-12:00"},
             {720, " 6 12:00-12:45"}},
            45);
    if (SzunetSor)
        calendar.AddRow(765, 30, QStringLiteral("SZÜNET"));
    addRows(calendar,
            {{795, " 7 13:15-14:00"},
             {840, " 8 14:00-14:45"},
             {900, " 9 15:00-15:45"},
             {945, "10 15:45-16:30"},
             {1005, "11 16:45-17:30"},
             {1050, "12 17:30-18:15"},
             {1110, "13 18:30-19:15"},
             {1155, "14 19:15-20:00"}},
            45);
    finishRows(calendar);
}

void TDM::applyTimeRowPreset(int scaleMode, TveltoCalendar &calendar)
{
    switch (scaleMode) {
    case 0:
        BeosztasDupla(calendar);
        break;
    case 1:
        BeosztasOras(calendar);
        break;
    case 2:
        BeosztasFeloras(calendar);
        break;
    case 3:
        BeosztasFeloras15(calendar);
        break;
    default:
        BeosztasSajat(calendar);
        break;
    }
}
