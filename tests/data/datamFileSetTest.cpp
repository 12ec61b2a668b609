#include "DataFolder.h"
#include "data/datamFileSet.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <gmock/gmock.h>

using testing::HasSubstr;

namespace {

// The name whose next replacement fails as a broken disk makes it fail; none when empty.
std::string failingRenameTo;

} // namespace

// Stands in for the C library's rename in this test program, so that a save can meet a rename
// that fails half-way through its set.
extern "C" int rename(const char *from, const char *to) noexcept
{
    if (!failingRenameTo.empty() && fs::path(to).filename() == failingRenameTo) {
        // Once only: putting the old files back may rename onto the same name.
        failingRenameTo.clear();
        errno = EIO;
        return -1;
    }
    using Rename = int (*)(const char *, const char *);
    static const auto real = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

namespace {

// The program folder and a folder beside it that a data file links into.
class SavedFiles : public DataFolder
{
protected:
    SavedFiles()
    {
        copySample();
        TDM(environment()).Mentes();
        fs::rename(folder / "KK_alkalom.csv", elsewhere / "alkalmak.csv");
        fs::create_symlink(elsewhere / "alkalmak.csv", folder / "KK_alkalom.csv");
    }
    ~SavedFiles() override { failingRenameTo.clear(); }

    std::vector<std::string> namesElsewhere() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(elsewhere.path()))
            names.push_back(entry.path().filename());
        return names;
    }
    // A save that the program was killed in after it put down its record, every new file and
    // second name still waiting.
    void leaveSaveCutShortInItsCommit(const std::string &occasions)
    {
        const fs::path target = elsewhere / "alkalmak.csv";
        std::ofstream(target.string() + ".77.new", std::ios::binary) << occasions;
        fs::create_hard_link(target, target.string() + ".77.old");
        write("oktato.csv.77.new", read("oktato.csv"));
        fs::create_hard_link(folder / "oktato.csv", folder / "oktato.csv.77.old");
        write(DataFileSet::CommitRecord, "oktato.csv\toktato.csv.77.new\toktato.csv.77.old\n"
                                         "KK_alkalom.csv\t" + target.string() + "\t" + target.string() +
                                             ".77.new\t" + target.string() + ".77.old\nend\n");
    }

    TempFolder elsewhere;
};

} // namespace

// A data file that is a link stays one: the file it leads to gets the saved rows, replaced in its
// own folder, and the next start reads them through the link. Two data files may not lead to one,
// nor one to a path the save's record cannot hold.
TEST_F(SavedFiles, LinkedDataFileIsSavedThroughItsLink)
{
    {
        TDM dm(environment());
        append(dm.MT_alkalom, {{"kurzus_id", 4242}, {"terem_id", 1}});
        dm.Mentes();
    }
    EXPECT_TRUE(fs::is_symlink(folder / "KK_alkalom.csv"));
    EXPECT_EQ(namesElsewhere(), std::vector<std::string>{"alkalmak.csv"});
    EXPECT_THAT(read("KK_alkalom.csv"), HasSubstr("\t4242\t1\t"));
    TDM again(environment());
    EXPECT_TRUE(again.MT_alkalom.Locate("kurzus_id", 4242, {}));
    EXPECT_EQ(again.RecoveryNotice(), "");

    // Two data files leading to one file would each overwrite the other's rows.
    fs::remove(folder / "KK_kurzusalkalom.csv");
    fs::create_symlink("KK_alkalom.csv", folder / "KK_kurzusalkalom.csv");
    const Files before = snapshot();
    try {
        again.Mentes();
        ADD_FAILURE() << "saved twice into one file";
    } catch (const EDataFileError &error) {
        EXPECT_EQ(error.FileName(), "KK_kurzusalkalom.csv");
        EXPECT_THAT(error.what(), HasSubstr("A(z) KK_kurzusalkalom.csv ugyanarra a fájlra mutat, mint a(z) "
                                            "KK_alkalom.csv."));
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(namesElsewhere(), std::vector<std::string>{"alkalmak.csv"});

    // The save's record could not name a file whose path holds a line break.
    fs::remove(folder / "KK_kurzusalkalom.csv");
    fs::create_symlink(elsewhere / "kurzus\nalkalom.csv", folder / "KK_kurzusalkalom.csv");
    EXPECT_THROW(again.Mentes(), EDataFileError);
    EXPECT_EQ(namesElsewhere(), std::vector<std::string>{"alkalmak.csv"});
}

// A kill in the commit of a set with a linked file is completed by the next start in both folders,
// which says so; a record naming a file the link does not lead to is refused untouched.
TEST_F(SavedFiles, SaveCutShortWithALinkedFileIsCompletedInItsOwnFolder)
{
    const std::string older = read("KK_alkalom.csv");
    {
        TDM dm(environment());
        append(dm.MT_alkalom, {{"kurzus_id", 4242}, {"terem_id", 1}});
        dm.Mentes();
    }
    const std::string newer = read("KK_alkalom.csv");
    write("KK_alkalom.csv", older);
    leaveSaveCutShortInItsCommit(newer);
    const std::string record = read(DataFileSet::CommitRecord);
    std::string elsewhereNamed = record;
    elsewhereNamed.replace(elsewhereNamed.find("alkalmak.csv\t"), 12, "masik.csv");
    write(DataFileSet::CommitRecord, elsewhereNamed);
    const Files before = snapshot();
    EXPECT_THROW(TDM dm(environment()), EDataFileError);
    EXPECT_EQ(snapshot(), before);

    write(DataFileSet::CommitRecord, record);
    TDM dm(environment());
    EXPECT_THAT(dm.RecoveryNotice(), HasSubstr("A program most befejezte"));
    EXPECT_EQ(read("KK_alkalom.csv"), newer);
    EXPECT_TRUE(fs::is_symlink(folder / "KK_alkalom.csv"));
    EXPECT_EQ(namesElsewhere(), std::vector<std::string>{"alkalmak.csv"});
    EXPECT_FALSE(fs::exists(folder / "oktato.csv.77.old") || fs::exists(folder / DataFileSet::CommitRecord));
}

// A replacement that fails half-way puts every old file back, through the link too, and leaves no
// new file nor second name behind in either folder; the start after says nothing.
TEST_F(SavedFiles, ReplacementFailingHalfWayLeavesTheOldFilesAndNothingElse)
{
    const Files before = snapshot();
    for (const char *failing : {"KK_orarend.csv", "alkalmak.csv", "KK_kurzusalkalom.csv"}) {
        TDM dm(environment());
        append(dm.MT_oktato, {});
        append(dm.MT_alkalom, {{"kurzus_id", 4242}});
        failingRenameTo = failing;
        try {
            dm.Mentes();
            ADD_FAILURE() << failing << ": the save succeeded";
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), failing == std::string("alkalmak.csv") ? "KK_alkalom.csv" : failing);
        }
        failingRenameTo.clear();
        EXPECT_EQ(snapshot(), before) << failing;
        EXPECT_EQ(namesElsewhere(), std::vector<std::string>{"alkalmak.csv"});
    }
    EXPECT_EQ(TDM(environment()).RecoveryNotice(), "");
}

// A folder standing where a data file belongs is named as a folder, whether it stands there
// itself or the data file links to it; nothing is replaced.
TEST_F(SavedFiles, FolderInPlaceOfADataFileIsNamedAsAFolder)
{
    for (const char *file : {"KK_kurzusalkalom.csv", "KK_alkalom.csv"}) {
        TDM dm(environment());
        if (file == std::string("KK_alkalom.csv")) {
            fs::remove(elsewhere / "alkalmak.csv");
            fs::create_directories(elsewhere / "alkalmak.csv" / "x");
        } else {
            fs::remove(folder / file);
            fs::create_directories(folder / file / "x");
        }
        const Files before = snapshot();
        try {
            dm.Mentes();
            ADD_FAILURE() << file << " was replaced";
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), file);
            EXPECT_THAT(error.what(), HasSubstr(std::string("sikerült, a korábbi adatfájlok változatlanok "
                                                            "maradtak.\nA(z) ") +
                                                file + " nem fájl, hanem mappa."));
        }
        EXPECT_EQ(snapshot(), before);
    }
}
