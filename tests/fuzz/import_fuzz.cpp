// Imports a file of the student information system into a program folder of sample data. A
// refused run leaves every file and every master table as it was. A run that succeeds has saved
// what it added: a restart holds the same master data, and importing the same file again after
// the restart adds nothing. Anything else (another exception, a crash, a hang) is a finding.
//   Input: the first byte picks the file (even: curricula and subjects, odd: course templates),
//   the rest is its content.

#include "SampleDataFolder.h"

#include <algorithm>
#include <cstdint>

using namespace fuzzfolder;

namespace {

// Every value of the tables the imports add to, row order aside. A null text and an empty one
// read alike: the files write both as nothing.
std::vector<std::string> masterData(TDM &dm)
{
    return contentsOf({&dm.MT_mintatanterv, &dm.MT_targy, &dm.MT_mintatantervtargy, &dm.MT_kurzusminta,
                       &dm.MT_kurzusmintatargy},
                      [](const TField &field) { return field.AsString(); });
}

std::vector<std::string> folderFiles()
{
    std::vector<std::string> files;
    for (const auto &entry : fs::directory_iterator(folder()))
        files.push_back(entry.path().filename().string() + "\n" + readFile(entry.path()));
    std::sort(files.begin(), files.end());
    return files;
}

TDM::ImportResult runImport(TDM &dm, bool templates)
{
    return templates ? dm.KurzusmintaBeolvasas() : dm.MintatantervBeolvasas();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool templates = (data[0] & 1) != 0;
    const fs::path importFile = folder() / (templates ? "kastorelbolkurzus.csv" : "kastorelboltargy.csv");
    const std::string content(reinterpret_cast<const char *>(data) + 1, size - 1);
    writeSampleFolder();
    std::ofstream(importFile, std::ios::binary) << content;

    std::vector<std::string> imported;
    {
        TDM dm(environment());
        const std::vector<std::string> filesBefore = folderFiles();
        const std::vector<std::string> before = masterData(dm);
        const TDM::ImportResult result = runImport(dm, templates);
        if (!result.succeeded) {
            if (folderFiles() != filesBefore)
                finding("a refused import changed a file: " + result.message);
            if (masterData(dm) != before)
                finding("a refused import changed the master data: " + result.message);
            return 0;
        }
        imported = masterData(dm);
    }
    try {
        TDM again(environment());
        if (masterData(again) != imported)
            finding("a restart lost or changed imported master data");
        std::ofstream(importFile, std::ios::binary | std::ios::trunc) << content;
        const TDM::ImportResult result = runImport(again, templates);
        if (!result.succeeded)
            finding("a file imported once is refused after a restart: " + result.message);
        if (masterData(again) != imported)
            finding("importing the same file again after a restart added or changed master data");
    } catch (const std::exception &error) {
        finding(std::string("a folder the import saved does not load: ") + error.what());
    }
    return 0;
}
