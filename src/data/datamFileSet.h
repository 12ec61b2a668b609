#pragma once

// Replaces a set of data files in one folder all together or not at all, a crash included. A data
// file that is a link stays one: the file it leads to is replaced. Every new file is written
// beside its old one first; then the old files get a second name, a commit
// record listing the set is put down, the new files are moved over the old ones, and the record
// and the second names are removed. A start-up that finds a record completes that set (or, when
// a failure was being undone, restores the old one) before anything is read.

#include "memtable/ztrReplacingFileStream.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class DataFileSet {
public:
    explicit DataFileSet(std::filesystem::path folder);
    ~DataFileSet();
    DataFileSet(const DataFileSet &) = delete;
    DataFileSet &operator=(const DataFileSet &) = delete;

    // The stream the new contents of fileName (a name within the folder) are written to.
    TStream &Add(const std::string &fileName);
    // Replaces every added file at once. A failure raises EDataFileError naming the file and
    // leaves every old file as it was.
    void Commit();

    // What a start found of a save that a crash cut short, in rising order of what the planner
    // lost.
    enum class Recovery {
        None,
        // Its files are all in place now.
        Completed,
        // The files from before it stand.
        Undone,
    };
    // Completes or undoes a set a crash interrupted, and removes the new files and second names
    // that earlier saves of this program left behind, beside files that data files link to as
    // well. Raises EDataFileError naming a file that cannot be put right.
    static Recovery Recover(const std::filesystem::path &folder);
    // Raises the EDataFileError of a set left unsaved because of fileName: the old files stand.
    [[noreturn]] static void FailSaving(const std::string &fileName, const std::string &reason);

    // The record a set is committed under; exists only while a set is being replaced.
    static constexpr const char *CommitRecord = "brelvix-mentes.commit";
    static constexpr const char *RollbackRecord = "brelvix-mentes.rollback";

private:
    struct Member {
        std::string name;
        // A link: the file it leads to is replaced, in that file's folder.
        bool linked;
        std::unique_ptr<TztrReplacingFileStream> stream;
    };

    std::filesystem::path folder_;
    std::vector<Member> members_;
};
