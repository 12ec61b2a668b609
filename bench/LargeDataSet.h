#pragma once

// The whole-university data set the large-data benchmarks run on, and scratch folders for them.
// A target including this defines BRELVIX_MAKE_SAMPLEDATA, the generator's path.

#include "data/datam.h"

#include <cstdlib>
#include <filesystem>
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

} // namespace bench
