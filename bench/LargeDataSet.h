#pragma once

// The whole-university data set the large-data benchmarks run on, and scratch folders for them.
// A target including this defines BRELVIX_MAKE_SAMPLEDATA, the generator's path.

#include "data/datam.h"

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>
#include <unistd.h>

namespace bench {

// A fresh folder under the temporary directory, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brelvix-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder under " + pattern);
        path_ = pattern;
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

// BRELVIX_LARGE_DATA names a folder made earlier; otherwise the generator writes one for the run.
inline const std::filesystem::path &largeDataFolder()
{
    static TempFolder generated;
    static const std::filesystem::path folder = [] {
        if (const char *given = std::getenv("BRELVIX_LARGE_DATA"))
            return std::filesystem::path(given);
        const std::string command =
            std::string(BRELVIX_MAKE_SAMPLEDATA) + " --large --out " + generated.path().string() + " > /dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("make_sampledata failed");
        return generated.path();
    }();
    return folder;
}

// The data module's surroundings on a folder, with a login name that is no administrator's.
inline TDMEnvironment environmentOn(const std::filesystem::path &folder)
{
    const std::string path = (folder / "").string();
    return {[path] { return path; },
            [](std::string &name) {
                name = "bench";
                return true;
            }};
}

// The tab-separated cells of a data file's line, empty ones included.
inline std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> items;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
        items.push_back(line.substr(start, tab - start));
    items.push_back(line.substr(start));
    return items;
}

// The tab-separated cells of a data row, empty ones included, without the line end.
inline std::vector<std::string> cellsOf(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::vector<std::string> cells;
    for (const std::string_view cell : splitTabs(line))
        cells.emplace_back(cell);
    return cells;
}

// Writes a data row's cells back as one line.
inline void writeRow(std::ostream &out, const std::vector<std::string> &cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i)
        out << (i ? "\t" : "") << cells[i];
    out << '\n';
}

// Copies a data file: the definitions and the column names as they are, each data row as `write`
// puts it out (not at all, once or more), given the column names.
using RowWriter = std::function<void(const std::vector<std::string> &names, const std::string &line, std::ostream &out)>;

inline void copyRewriting(const std::filesystem::path &from, const std::filesystem::path &to, const RowWriter &write)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    std::string line;
    bool definitions = false;
    bool header = false;
    std::vector<std::string> names;
    while (std::getline(in, line)) {
        if (line.rfind("@@TABLEDEF START@@", 0) == 0)
            definitions = true;
        if (definitions || !header) {
            out << line << '\n';
            if (line.rfind("@@TABLEDEF END@@", 0) == 0) {
                definitions = false;
                header = false;
            } else if (!definitions && line.rfind("@@", 0) != 0) {
                names = cellsOf(line);
                header = true;
            }
            continue;
        }
        write(names, line, out);
    }
}

// Copies a data file, leaving out the rows of courses not kept when it has a kurzus_id column.
inline void copyKeepingCourses(const std::filesystem::path &from, const std::filesystem::path &to, const std::set<int> &kept)
{
    copyRewriting(from, to, [&kept](const std::vector<std::string> &names, const std::string &line, std::ostream &out) {
        const auto found = std::find(names.begin(), names.end(), "kurzus_id");
        const std::vector<std::string> row = cellsOf(line);
        const std::size_t column = std::size_t(found - names.begin());
        if (found == names.end() || (column < row.size() && kept.count(std::atoi(row[column].c_str()))))
            out << line << '\n';
    });
}

// Copies a data file with each row `times` over; every copy after the first has its own ids, so
// that the copies are new timetables, rooms, teachers, subjects, courses and occasions that refer
// to one another as the originals do.
inline void copyGrowing(const std::filesystem::path &from, const std::filesystem::path &to, int times)
{
    // Above every id of the large set.
    constexpr long IdsApart = 1000000;
    copyRewriting(from, to, [times](const std::vector<std::string> &names, const std::string &line, std::ostream &out) {
        const std::vector<std::string> row = cellsOf(line);
        for (int copy = 0; copy < times; ++copy) {
            std::vector<std::string> cells = row;
            for (std::size_t i = 0; i < cells.size() && i < names.size(); ++i) {
                const bool id = names[i].ends_with("_id") || names[i] == "kurzus_id_csatolt";
                const long value = id ? std::atol(cells[i].c_str()) : 0;
                if (value > 0)
                    cells[i] = std::to_string(value + copy * IdsApart);
            }
            writeRow(out, cells);
        }
    });
}

// The timetable with most courses in the data module's links, the one the window cases show.
inline int largestTimetable()
{
    std::map<int, int> counts;
    TztrMemTable &links = DM->MT_kurzusorarend;
    links.SetFiltered(false);
    for (links.First(); !links.Eof(); links.Next())
        ++counts[links.FieldByName("orarend_id")->AsInteger()];
    int best = -1;
    for (const auto &[id, count] : counts)
        if (best < 0 || count > counts[best])
            best = id;
    return best;
}

// Lets the windows finish what an action posted (deferred deletions, layouts, paints).
inline void settle()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

} // namespace bench
