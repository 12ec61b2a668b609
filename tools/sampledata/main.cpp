// make_sampledata: writes the planner's starting data files, or a whole university's for
// benchmarks, always the same bytes for the same options.

#include "DataFiles.h"
#include "Generator.h"
#include "IntegrityCheck.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

using namespace sampledata;

namespace {

int usage()
{
    std::cerr << "usage: make_sampledata [--large] --out DIR\n"
                 "  writes the master files and the sample timetable files into DIR;\n"
                 "  --large writes a whole university for benchmarks, with the KK_ timetable files too\n";
    return 2;
}

void append(std::vector<DataTable> &files, std::vector<DataTable> more)
{
    for (DataTable &file : more)
        files.push_back(std::move(file));
}

} // namespace

int main(int argc, char *argv[])
{
    bool large = false;
    std::filesystem::path folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0)
            large = true;
        else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            folder = argv[++i];
        else
            return usage();
    }
    if (folder.empty())
        return usage();

    try {
        GenerationReport report;
        const Faculty faculty = generateFaculty(large ? universityScale : sampleScale, &report);
        const std::vector<std::string> problems = integrityProblems(faculty);
        if (!problems.empty()) {
            std::cerr << "make_sampledata: the generated data is unsound, nothing was written:\n";
            for (const std::string &problem : problems)
                std::cerr << "  " << problem << "\n";
            return 1;
        }

        std::vector<DataTable> files = masterFiles(faculty);
        append(files, sampleTimetableFiles(faculty));
        if (large)
            append(files, workingTimetableFiles(faculty));
        std::filesystem::create_directories(folder);
        saveDataFiles(folder, files);

        std::cout << "Written into " << folder.string() << ":\n";
        for (const DataTable &file : files)
            std::cout << "  " << file.fileName << ": " << file.rows.size() << " rows\n";
        std::cout << "Groups left out for want of a sequence number: " << report.unnumberedCourses
                  << "\nSessions placed over a teacher's other session: " << report.teacherClashes
                  << "\nSessions without a free room: " << report.roomlessOccasions << "\n";
    } catch (const std::exception &error) {
        std::cerr << "make_sampledata: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
