#pragma once

// The whole-university data set the large-data benchmarks run on, and scratch folders for them.
// A target including this defines BRELVIX_MAKE_SAMPLEDATA, the generator's path.

#include "data/datam.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
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

// Copies a data file, leaving out the rows of courses not kept when it has a kurzus_id column.
inline void copyKeepingCourses(const std::filesystem::path &from, const std::filesystem::path &to, const std::set<int> &kept)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    std::string line;
    bool definitions = false;
    bool header = false;
    int column = -1;
    const auto cells = [](std::string text) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::vector<std::string> items;
        std::stringstream split(text);
        for (std::string item; std::getline(split, item, '\t');)
            items.push_back(item);
        return items;
    };
    while (std::getline(in, line)) {
        if (line.rfind("@@TABLEDEF START@@", 0) == 0)
            definitions = true;
        if (definitions || !header) {
            out << line << '\n';
            if (line.rfind("@@TABLEDEF END@@", 0) == 0) {
                definitions = false;
                header = false;
            } else if (!definitions && line.rfind("@@", 0) != 0) {
                // The column names.
                const std::vector<std::string> names = cells(line);
                const auto found = std::find(names.begin(), names.end(), "kurzus_id");
                column = found == names.end() ? -1 : int(found - names.begin());
                header = true;
            }
            continue;
        }
        const std::vector<std::string> row = cells(line);
        if (column < 0 ||
            (std::size_t(column) < row.size() && kept.count(std::atoi(row[std::size_t(column)].c_str()))))
            out << line << '\n';
    }
}

} // namespace bench
