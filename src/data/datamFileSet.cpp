#include "data/datamFileSet.h"

#include "data/datam.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <string_view>
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

// A save's new files and the old files' second names: "<name>.<process id>.new" or ".old".
constexpr std::string_view NewSuffix = ".new";
constexpr std::string_view OldSuffix = ".old";

fs::path withSuffix(const fs::path &file, std::string_view suffix)
{
    fs::path named = file;
    named += "." + std::to_string(::getpid()) + std::string(suffix);
    return named;
}

// The name withSuffix formed `name` from; empty for a name it did not form with that suffix.
std::string_view passingOwner(std::string_view name, std::string_view suffix)
{
    if (!name.ends_with(suffix))
        return {};
    name.remove_suffix(suffix.size());
    const std::size_t dot = name.find_last_not_of("0123456789");
    if (dot == std::string_view::npos || dot + 1 == name.size() || name[dot] != '.')
        return {};
    return name.substr(0, dot);
}

// Where a data file's bytes are: the file at the end of its links, so that a save replaces that
// file in its own folder instead of putting a file in the link's place.
fs::path throughLinks(fs::path path)
{
    for (int hops = 0; fs::is_symlink(fs::symlink_status(path)); ++hops) {
        if (hops == 40)
            throw fs::filesystem_error("too many levels of links", path,
                                       std::make_error_code(std::errc::too_many_symbolic_link_levels));
        path = path.parent_path() / fs::read_symlink(path);
    }
    return path;
}

// Written under a passing name and moved into place, so a record is either whole or absent.
void writeRecord(const fs::path &folder, const char *recordName, const std::string &text)
{
    const fs::path passing = withSuffix(folder / recordName, NewSuffix);
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

// One file of a set: the data file's name in the folder, the file replaced (the data file, or
// the file its link leads to), the new file and the old file's second name (empty when there was
// no old file), the last two beside the replaced file.
struct RecordEntry {
    std::string name;
    fs::path target, newFile, oldFile;
    bool linked = false;
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

// The folders whose entries a set changes: the data folder and those linked files live in.
void putFoldersOnDisk(const fs::path &folder, const std::vector<RecordEntry> &entries)
{
    putOnDisk(folder);
    for (const RecordEntry &entry : entries)
        if (entry.linked)
            putOnDisk(entry.target.parent_path());
}

// A line per file: three names within the folder, or for a linked file its name and the three
// full paths.
std::string recordText(const std::vector<RecordEntry> &entries)
{
    std::string text;
    for (const RecordEntry &entry : entries) {
        if (entry.linked)
            text += entry.name + "\t" + entry.target.string() + "\t" + entry.newFile.string() + "\t" +
                    entry.oldFile.string() + "\n";
        else
            text += entry.name + "\t" + entry.newFile.filename().string() + "\t" +
                    (entry.oldFile.empty() ? "" : entry.oldFile.filename().string()) + "\n";
    }
    return text + "end\n";
}

std::vector<std::string> tabFields(const std::string &line)
{
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

bool plainName(const std::string &name) { return name.find('/') == std::string::npos && name != "." && name != ".."; }

// The entry a line of a record stands for; none for a line no save of this program wrote.
std::optional<RecordEntry> entryOf(const fs::path &folder, const std::string &line)
{
    const std::vector<std::string> fields = tabFields(line);
    if (fields.size() == 3) {
        // Only plain names of this folder are acted on.
        if (!std::all_of(fields.begin(), fields.end(), plainName))
            return std::nullopt;
        return RecordEntry{fields[0], folder / fields[0], folder / fields[1],
                           fields[2].empty() ? fs::path() : folder / fields[2]};
    }
    if (fields.size() != 4)
        return std::nullopt;
    // Only the file a data file of this folder still leads to, and its second names.
    const std::string &name = fields[0], &target = fields[1], &newFile = fields[2], &oldFile = fields[3];
    std::error_code error;
    if (!plainName(name) || !fs::is_symlink(fs::symlink_status(folder / name, error)))
        return std::nullopt;
    try {
        if (throughLinks(folder / name).string() != target)
            return std::nullopt;
    } catch (const fs::filesystem_error &) {
        return std::nullopt;
    }
    if (passingOwner(newFile, NewSuffix) != target ||
        !(oldFile.empty() || passingOwner(oldFile, OldSuffix) == target))
        return std::nullopt;
    return RecordEntry{name, target, newFile, oldFile, true};
}

std::vector<RecordEntry> readRecord(const fs::path &folder, const char *recordName)
{
    std::ifstream in(folder / recordName, std::ios::binary);
    std::vector<RecordEntry> entries;
    for (std::string line; std::getline(in, line);) {
        if (line == "end")
            return entries;
        std::optional<RecordEntry> entry = entryOf(folder, line);
        if (!entry)
            break;
        entries.push_back(std::move(*entry));
    }
    throw EDataFileError(recordName, std::string("A(z) ") + recordName + " mentési napló sérült.");
}

// Puts the old files back; running it again after a crash ends the same way.
void rollBack(const fs::path &folder, const std::vector<RecordEntry> &entries)
{
    for (const RecordEntry &entry : entries) {
        std::error_code error;
        if (entry.oldFile.empty()) {
            if (fs::exists(entry.newFile, error))
                fs::remove(entry.newFile, error);
            else
                fs::remove(entry.target, error);
        } else {
            if (fs::exists(entry.oldFile, error))
                fs::rename(entry.oldFile, entry.target, error);
            if (error)
                throw EDataFileError(entry.name, "A(z) " + entry.name +
                                                     " adatfájl korábbi állapota nem állítható vissza.\n" +
                                                     reasonOf(error));
            // A rename between two names of one file leaves both, and the file was never replaced.
            fs::remove(entry.oldFile, error);
            fs::remove(entry.newFile, error);
        }
    }
    putFoldersOnDisk(folder, entries);
    std::error_code ignored;
    fs::remove(folder / DataFileSet::RollbackRecord, ignored);
    putOnDisk(folder);
}

// Moves the remaining new files into place; false names the first that would not move.
bool rollForward(const fs::path &folder, const std::vector<RecordEntry> &entries, std::string &failed,
                 std::error_code &error)
{
    for (const RecordEntry &entry : entries) {
        if (!fs::exists(entry.newFile, error))
            continue;
        fs::rename(entry.newFile, entry.target, error);
        if (error) {
            failed = entry.name;
            return false;
        }
    }
    putFoldersOnDisk(folder, entries);
    fs::remove(folder / DataFileSet::CommitRecord, error);
    putOnDisk(folder);
    for (const RecordEntry &entry : entries)
        if (!entry.oldFile.empty())
            fs::remove(entry.oldFile, error);
    return true;
}

// The record says the old files are to come back: from here a crash ends in the old set too.
void undo(const fs::path &folder, const std::vector<RecordEntry> &entries)
{
    fs::rename(folder / DataFileSet::CommitRecord, folder / DataFileSet::RollbackRecord);
    putOnDisk(folder);
    rollBack(folder, entries);
}

// Removes the new files and second names saves left in a folder: every one when `of` is empty,
// else those of that file only. What they say of the save that left them: new files belong to one
// cut short before its commit (the old set stands), second names alone to one cut short after it.
DataFileSet::Recovery removeLeftovers(const fs::path &folder, const std::string &of)
{
    // What saves leave behind when they end before their commit: new files and second names of
    // data files and of the commit record.
    const auto leftBy = [&of](std::string_view owner) {
        if (!of.empty())
            return owner == of;
        const fs::path extension = fs::path(owner).extension();
        return extension == ".csv" || extension == ".txt" || extension == ".commit";
    };
    DataFileSet::Recovery found = DataFileSet::Recovery::None;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::string_view newOwner = passingOwner(name, NewSuffix);
        const std::string_view oldOwner = passingOwner(name, OldSuffix);
        std::error_code ignored;
        if (!(leftBy(newOwner) || leftBy(oldOwner)) || !entry.is_regular_file(ignored))
            continue;
        if (!newOwner.empty())
            found = DataFileSet::Recovery::Undone;
        else if (found == DataFileSet::Recovery::None)
            found = DataFileSet::Recovery::Completed;
        fs::remove(entry.path(), ignored);
    }
    return found;
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
    const fs::path file = folder_ / fileName;
    const fs::path target = throughLinks(file);
    // The commit record holds the path on a line of tab-separated fields.
    if (target.string().find_first_of("\t\n") != std::string::npos)
        throw EDataFileError(fileName, "A(z) " + fileName + " olyan fájlra mutat, amelynek az útvonalában "
                                                            "tabulátor vagy sortörés áll.");
    // Two new files for one file would be written over each other.
    for (const Member &member : members_)
        if (fs::weakly_canonical(member.stream->FileName()) == fs::weakly_canonical(target))
            throw EDataFileError(fileName, "A(z) " + fileName + " ugyanarra a fájlra mutat, mint a(z) " +
                                               member.name + ".");
    members_.push_back({fileName, target != file, std::make_unique<TztrReplacingFileStream>(target)});
    return *members_.back().stream;
}

void DataFileSet::Commit()
{
    std::vector<RecordEntry> entries;
    for (const Member &member : members_) {
        TztrReplacingFileStream &stream = *member.stream;
        std::error_code statusError;
        if (fs::is_directory(stream.FileName(), statusError))
            FailSaving(member.name, "A(z) " + member.name + " nem fájl, hanem mappa.");
        try {
            stream.Finish();
            TztrReplacingFileStream::CheckReplaceable(stream.FileName());
        } catch (const std::exception &error) {
            FailSaving(member.name, error.what());
        }
        const bool present = fs::exists(stream.FileName(), statusError);
        entries.push_back({member.name, stream.FileName(), stream.NewFileName(),
                           present ? withSuffix(stream.FileName(), OldSuffix) : fs::path(), member.linked});
    }
    const auto dropSecondNames = [&] {
        std::error_code ignored;
        for (const RecordEntry &entry : entries)
            if (!entry.oldFile.empty())
                fs::remove(entry.oldFile, ignored);
    };
    // The old files keep a second name until the set is in place, so that it can be undone.
    for (const RecordEntry &entry : entries) {
        if (entry.oldFile.empty())
            continue;
        std::error_code error;
        fs::remove(entry.oldFile, error);
        if (!keepOldFile(entry.target, entry.oldFile, error)) {
            dropSecondNames();
            FailSaving(entry.name, reasonOf(error));
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

DataFileSet::Recovery DataFileSet::Recover(const fs::path &folder)
{
    Recovery recovery = Recovery::None;
    std::error_code error;
    if (fs::exists(folder / RollbackRecord, error)) {
        rollBack(folder, readRecord(folder, RollbackRecord));
        recovery = Recovery::Undone;
    } else if (fs::exists(folder / CommitRecord, error)) {
        const std::vector<RecordEntry> entries = readRecord(folder, CommitRecord);
        std::string failed;
        recovery = Recovery::Completed;
        if (!rollForward(folder, entries, failed, error)) {
            undo(folder, entries);
            recovery = Recovery::Undone;
        }
    }
    // Without a record only the files a save left tell whether one was cut short, and where.
    Recovery left = removeLeftovers(folder, {});
    // Files that data files of the folder link to have their new files and second names beside them.
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
        std::error_code ignored;
        const fs::path extension = entry.path().extension();
        if (!entry.is_symlink(ignored) || (extension != ".csv" && extension != ".txt"))
            continue;
        try {
            const fs::path target = throughLinks(entry.path());
            left = std::max(left, removeLeftovers(target.parent_path(), target.filename().string()));
        } catch (const fs::filesystem_error &) {
            // Links in a loop lead to no file that could have anything beside it.
        }
    }
    return recovery == Recovery::None ? left : recovery;
}
