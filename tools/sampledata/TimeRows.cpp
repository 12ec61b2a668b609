#include "TimeRows.h"

#include <algorithm>

namespace sampledata {

const std::vector<TimeRow> &presetRows(Preset preset)
{
    static const std::array<std::vector<TimeRow>, 5> presets = [] {
        std::array<std::vector<TimeRow>, 5> rows;
        for (int start : {465, 570, 675, 780, 885, 990, 1095})
            rows[DoublePeriods].push_back({start, 90});
        for (int i = 0; i <= 12; ++i)
            rows[Hours].push_back({420 + 60 * i, 60});
        for (int i = 1; i <= 25; ++i) {
            rows[HalfHours].push_back({420 + 30 * i, 30});
            rows[HalfHoursFrom0745].push_back({435 + 30 * i, 30});
        }
        for (int start : {465, 510, 570, 615, 675, 720, 795, 840, 900, 945, 1005, 1050, 1110, 1155})
            rows[SinglePeriods].push_back({start, 45});
        return rows;
    }();
    return presets[std::size_t(preset)];
}

std::vector<int> rowStarts(Preset preset)
{
    std::vector<int> starts;
    for (const TimeRow &row : presetRows(preset))
        starts.push_back(row.start);
    return starts;
}

bool onPresetRows(int start, int end)
{
    for (Preset preset : {DoublePeriods, Hours, HalfHours, HalfHoursFrom0745, SinglePeriods}) {
        const std::vector<TimeRow> &rows = presetRows(preset);
        const bool starts =
            std::any_of(rows.begin(), rows.end(), [&](const TimeRow &r) { return r.start == start; });
        const bool ends = std::any_of(rows.begin(), rows.end(),
                                      [&](const TimeRow &r) { return r.start + r.length == end; });
        if (start < end && starts && ends)
            return true;
    }
    return false;
}

} // namespace sampledata
