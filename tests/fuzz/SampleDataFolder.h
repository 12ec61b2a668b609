#pragma once

// The program folder the data layer's fuzzers start the data module on: the start of each sample
// data file (its definitions, header and a few records), with the timetable samples under the
// names the program saves them as, in a scratch folder of the process. Short files keep every
// run quick.

#include "data/datam.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fuzzfolder {

namespace fs = std::filesystem;

inline constexpr const char *DataFiles[] = {
    "targy.csv",           "oktato.csv",          "terem.csv",             "mintatanterv.csv",
    "mintatantervtargy.csv", "kurzusminta.csv",   "kurzusmintatargy.csv",  "kurzusmintaoktato.csv",
    "KK_orarend.csv",      "KK_kurzus.csv",       "KK_alkalom.csv",        "KK_kurzusoktato.csv",
    "KK_kurzustargy.csv",  "KK_kurzusorarend.csv",
};

inline std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline const std::vector<std::string> &sampleFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> contents;
        for (const char *name : DataFiles) {
            std::string sample = name;
            if (sample.rfind("KK_", 0) == 0)
                sample = sample.substr(3, sample.size() - 7) + "-minta.csv";
            const std::string text = readFile(fs::path(BRELVIX_SAMPLEDATA_DIR) / sample);
            std::size_t end = text.find("@@TABLEDEF END@@");
            for (int line = 0; line < 7 && end != std::string::npos; ++line)
                end = text.find("\r\n", end + 1);
            contents.push_back(text.substr(0, end == std::string::npos ? end : end + 2));
        }
        return contents;
    }();
    return files;
}

inline const fs::path &folder()
{
    static const fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "brelvix-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return fs::path(pattern);
    }();
    return path;
}

// Empties the folder and writes every data file, the one numbered replaced (when there is one)
// with the given content instead of its sample.
inline void writeSampleFolder(std::size_t replaced = std::size(DataFiles), std::string_view content = {})
{
    fs::remove_all(folder());
    fs::create_directory(folder());
    for (std::size_t i = 0; i < std::size(DataFiles); ++i) {
        std::ofstream out(folder() / DataFiles[i], std::ios::binary);
        if (i == replaced)
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
        else
            out << sampleFiles()[i];
    }
}

inline TDMEnvironment environment()
{
    const std::string dataFolder = (folder() / "").string();
    return {[dataFolder] { return dataFolder; },
            [](std::string &name) {
                name = "fuzz";
                return true;
            }};
}

// Every data value of the tables, a row to a line, row order aside; text gives a value's text.
inline std::vector<std::string> contentsOf(std::initializer_list<TztrMemTable *> tables,
                                           std::string (*text)(const TField &))
{
    std::vector<std::string> contents;
    for (TztrMemTable *table : tables) {
        table->SetFiltered(false);
        std::vector<std::string> rows;
        for (table->First(); !table->Eof(); table->Next()) {
            std::string row = table->Name() + ":";
            for (const auto &field : table->Fields())
                if (field->FieldKind() == fkData)
                    row += field->FieldName() + "=" + text(*field) + "\t";
            rows.push_back(std::move(row));
        }
        std::sort(rows.begin(), rows.end());
        contents.insert(contents.end(), rows.begin(), rows.end());
    }
    return contents;
}

[[noreturn]] inline void finding(const std::string &what)
{
    std::fprintf(stderr, "finding: %s\n", what.c_str());
    std::abort();
}

} // namespace fuzzfolder
