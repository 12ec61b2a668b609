#include "data/datamFileSet.h"

#include "data/datam.h"

#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Puts a file on the disk, or a folder's renames and removals; false when that failed.
bool putOnDisk(const fs::path &path)
{
    const int handle = ::open(path.c_str(), O_RDONLY);
    if (handle < 0)
        return false;
    const bool synced = ::fsync(handle) == 0;
    ::close(handle);
    return synced;
}

std::string reasonOf(const std::error_code &error) { return std::system_category().message(error.value()); }

std::string secondName(const std::string &fileName) { return fileName + "." + std::to_string(::getpid()) + ".old"; }

// Written under a passing name and moved into place, so a record is either whole or absent.
void writeRecord(const fs::path &folder, const char *recordName, const std::string &text)
{
    const fs::path passing = folder / (std::string(recordName) + "." + std::to_string(::getpid()) + ".new");
    {
        std::ofstream out(passing, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out)
            throw std::system_error(errno, std::system_category());
    }
    if (!putOnDisk(passing))
        throw std::system_error(errno, std::system_category());
    fs::rename(passing, folder / recordName);
    putOnDisk(folder);
}

// One file of a set: its name, the new file's and the old file's second name (empty when the
// file did not exist before).
struct RecordEntry {
    std::string target, newName, oldName;
};

// A second name for the old file: a hard link, or a copy on the disk where the file system has
// no links.
bool keepOldFile(const fs::path &file, const fs::path &secondName, std::error_code &error)
{
    fs::create_hard_link(file, secondName, error);
    if (!error)
        return true;
    std::error_code copyError;
    if (!fs::is_regular_file(file, copyError) || !fs::copy_file(file, secondName, copyError))
        return false;
    error.clear();
    return putOnDisk(secondName);
}

std::string recordText(const std::vector<RecordEntry> &entries)
{
    std::string text;
    for (const RecordEntry &entry : entries)
        text += entry.target + "\t" + entry.newName + "\t" + entry.oldName + "\n";
    return text + "end\n";
}

std::vector<RecordEntry> readRecord(const fs::path &path)
{
    const auto damaged = [&path] {
        const std::string name = path.filename().string();
        throw EDataFileError(name, "A(z) " + name + " mentési napló sérült.");
    };
    std::ifstream in(path, std::ios::binary);
    std::vector<RecordEntry> entries;
    std::string line;
    bool ended = false;
    while (std::getline(in, line)) {
        if (line == "end") {
            ended = true;
            break;
        }
        RecordEntry entry;
        std::istringstream fields(line);
        std::getline(fields, entry.target, '\t');
        std::getline(fields, entry.newName, '\t');
        std::getline(fields, entry.oldName, '\t');
        // Only plain names of this folder are acted on.
        for (const std::string *name : {&entry.target, &entry.newName, &entry.oldName})
            if (name->find('/') != std::string::npos || *name == "." || *name == "..")
                damaged();
        entries.push_back(std::move(entry));
    }
    if (!ended)
        damaged();
    return entries;
}

// Puts the old files back; running it again after a crash ends the same way.
void rollBack(const fs::path &folder, const std::vector<RecordEntry> &entries)
{
    for (const RecordEntry &entry : entries) {
        std::error_code error;
        if (entry.oldName.empty()) {
            if (fs::exists(folder / entry.newName, error))
                fs::remove(folder / entry.newName, error);
            else
                fs::remove(folder / entry.target, error);
        } else {
            if (fs::exists(folder / entry.oldName, error))
                fs::rename(folder / entry.oldName, folder / entry.target, error);
            if (error)
                throw EDataFileError(entry.target, "A(z) " + entry.target +
                                                       " adatfájl korábbi állapota nem állítható vissza.\n" +
                                                       reasonOf(error));
            fs::remove(folder / entry.newName, error);
        }
    }
    putOnDisk(folder);
    std::error_code ignored;
    fs::remove(folder / DataFileSet::RollbackRecord, ignored);
    putOnDisk(folder);
}

// Moves the remaining new files into place; false names the first that would not move.
bool rollForward(const fs::path &folder, const std::vector<RecordEntry> &entries, std::string &failed,
                 std::error_code &error)
{
    for (const RecordEntry &entry : entries) {
        if (!fs::exists(folder / entry.newName, error))
            continue;
        fs::rename(folder / entry.newName, folder / entry.target, error);
        if (error) {
            failed = entry.target;
            return false;
        }
    }
    putOnDisk(folder);
    fs::remove(folder / DataFileSet::CommitRecord, error);
    putOnDisk(folder);
    for (const RecordEntry &entry : entries)
        if (!entry.oldName.empty())
            fs::remove(folder / entry.oldName, error);
    return true;
}

// The record says the old files are to come back: from here a crash ends in the old set too.
void undo(const fs::path &folder, const std::vector<RecordEntry> &entries)
{
    fs::rename(folder / DataFileSet::CommitRecord, folder / DataFileSet::RollbackRecord);
    putOnDisk(folder);
    rollBack(folder, entries);
}

} // namespace

void DataFileSet::FailSaving(const std::string &fileName, const std::string &reason)
{
    throw EDataFileError(fileName, "A(z) " + fileName +
                                       " adatfájl mentése nem sikerült, a korábbi adatfájlok változatlanok "
                                       "maradtak.\n" + reason);
}

DataFileSet::DataFileSet(fs::path folder) : folder_(std::move(folder)) {}

DataFileSet::~DataFileSet() = default;

TStream &DataFileSet::Add(const std::string &fileName)
{
    streams_.push_back(std::make_unique<TztrReplacingFileStream>(folder_ / fileName));
    return *streams_.back();
}

void DataFileSet::Commit()
{
    std::vector<RecordEntry> entries;
    for (const auto &stream : streams_) {
        const std::string target = stream->FileName().filename().string();
        try {
            stream->Finish();
            TztrReplacingFileStream::CheckReplaceable(stream->FileName());
        } catch (const std::exception &error) {
            FailSaving(target, error.what());
        }
        std::error_code error;
        const bool present = fs::exists(stream->FileName(), error);
        entries.push_back({target, stream->NewFileName().filename().string(), present ? secondName(target) : ""});
    }
    const auto dropSecondNames = [&] {
        std::error_code ignored;
        for (const RecordEntry &entry : entries)
            if (!entry.oldName.empty())
                fs::remove(folder_ / entry.oldName, ignored);
    };
    // The old files keep a second name until the set is in place, so that it can be undone.
    for (const RecordEntry &entry : entries) {
        if (entry.oldName.empty())
            continue;
        std::error_code error;
        fs::remove(folder_ / entry.oldName, error);
        if (!keepOldFile(folder_ / entry.target, folder_ / entry.oldName, error)) {
            dropSecondNames();
            FailSaving(entry.target, reasonOf(error));
        }
    }
    try {
        writeRecord(folder_, CommitRecord, recordText(entries));
    } catch (const std::exception &error) {
        dropSecondNames();
        FailSaving(CommitRecord, error.what());
    }
    std::string failed;
    std::error_code error;
    if (!rollForward(folder_, entries, failed, error)) {
        const std::string reason = reasonOf(error);
        undo(folder_, entries);
        FailSaving(failed, reason);
    }
}

void DataFileSet::Recover(const fs::path &folder)
{
    std::error_code error;
    if (fs::exists(folder / RollbackRecord, error)) {
        rollBack(folder, readRecord(folder / RollbackRecord));
    } else if (fs::exists(folder / CommitRecord, error)) {
        const std::vector<RecordEntry> entries = readRecord(folder / CommitRecord);
        std::string failed;
        if (!rollForward(folder, entries, failed, error))
            undo(folder, entries);
    }
    // What saves leave behind when they end before their commit: new files and second names.
    static const std::regex leftover(R"(.+\.(csv|txt|commit)\.[0-9]+\.(new|old))");
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        std::error_code ignored;
        if (std::regex_match(name, leftover) && entry.is_regular_file(ignored))
            fs::remove(entry.path(), ignored);
    }
}
