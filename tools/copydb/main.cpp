// Makes an empty copy database for SQLite's ODBC driver and names it in a program folder's
// "provider.csv", so the administrator's database copy has somewhere to write.
//
//   make_copydb PROGRAM_FOLDER [DATABASE_FILE]
//
// The tables and their columns are those of the data module started on the folder's data files.
// An existing database file is never touched: the command refuses it, as it refuses a folder the
// planner is running in.

#include "data/datam.h"
#include "data/kozepreteg.h"
#include "platform/Cp1250.h"
#include "platform/InstanceLock.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

int refuse(const std::string &message)
{
    std::fprintf(stderr, "make_copydb: %s\n", message.c_str());
    return 1;
}

// The driver's connection text for the file, in the connection file's cp1250; empty when the path
// cannot be written there (";" ends a value and braces quote one; cp1250 lacks the character).
std::string connectionTextFor(const fs::path &database)
{
    const std::string path = database.string();
    const std::string text = utf8ToCp1250(path);
    if (path.find_first_of(";{}") != std::string::npos || cp1250ToUtf8(text) != path)
        return {};
    // The database is a copy "Generálás" can make again, so commits need not wait for the disk.
    return "Provider=MSDASQL.1;Driver=SQLite3;Database=" + text + ";SyncPragma=OFF;";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_copydb PROGRAM_FOLDER [DATABASE_FILE]\n"
                             "  DATABASE_FILE defaults to PROGRAM_FOLDER/brelvix.db\n");
        return 2;
    }
    std::error_code folderError;
    // The program knows its folder by its real path, and so takes its lock under that.
    const fs::path folder = fs::canonical(argv[1], folderError);
    if (folderError || !fs::is_directory(folder))
        return refuse(fs::absolute(argv[1]).lexically_normal().string() + " is not a folder.");
    const fs::path database = argc == 3 ? fs::absolute(argv[2]).lexically_normal() : folder / "brelvix.db";
    if (fs::exists(database))
        return refuse(database.string() + " exists already; nothing was changed (remove it first to make a new "
                                          "one, or name another file).");
    const std::string connection = connectionTextFor(database);
    if (connection.empty())
        return refuse("the path " + database.string() + " cannot stand in provider.csv (\";\", braces or a "
                                                        "character outside cp1250); choose another.");

    const std::string programFolder = (folder / "").string();
    // The data module's start would complete or undo the save of a planner working there.
    const InstanceLock planner(programInstanceName(programFolder));
    if (!planner.isHeld())
        return refuse("the planner (or another tool) is running in " + folder.string() +
                      "; nothing was changed (close it first).");
    try {
        TDM dm(TDMEnvironment{[programFolder] { return programFolder; }, [](std::string &) { return false; }});
        TDMK dmk(dm);
        dmk.createCopyDatabase(connection);
    } catch (const std::exception &error) {
        // The driver made the file when it connected; it did not exist before.
        std::error_code ignored;
        fs::remove(database, ignored);
        return refuse(error.what());
    }
    std::printf("Created %s with the 15 tables of the copy;\n%s names it.\n", database.c_str(),
                (folder / "provider.csv").c_str());
    return 0;
}
