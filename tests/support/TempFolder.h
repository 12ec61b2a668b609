#pragma once

// A folder of the test's own under the system's temporary folder, removed afterwards. The name is
// drawn by mkdtemp, so tests running side by side (ctest -j, or two build folders) never meet.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brelvix-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
        path_ = pattern;
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }
    // The folder as the data module takes it: with its trailing separator.
    std::string withSeparator() const { return (path_ / "").string(); }

private:
    std::filesystem::path path_;
};
