// Starts the data module on a program folder whose data files are the sample data except one,
// which is the fuzzer's input. The start either refuses the folder with a message naming a file,
// or it loads, and then a save and a second start give back every value the first start held.
// Anything else (another exception, a crash, a hang, a value lost on the way) is a finding.
//   Input: the first byte picks the data file (modulo their count), the rest is its content.

#include "SampleDataFolder.h"

#include <cstdint>

using namespace fuzzfolder;

namespace {

// A value as it is held, so that a digit lost in the file's text form shows; numbers travel with
// fifteen significant digits, as the file's number form has them.
std::string exactText(const TField &field)
{
    if (field.IsNull())
        return "<null>";
    const auto printed = [&field](const char *format) {
        char text[40];
        std::snprintf(text, sizeof text, format, field.AsFloat());
        return std::string(text);
    };
    switch (field.DataType()) {
    case ftFloat:
        return printed("%.15g");
    case ftDate:
    case ftTime:
    case ftDateTime:
        return printed("%.17g");
    default:
        return field.AsString();
    }
}

// Every data value of the tables the start loads and the saves write, row order aside.
std::vector<std::string> contentsOf(TDM &dm)
{
    return fuzzfolder::contentsOf({&dm.MT_targy, &dm.MT_oktato, &dm.MT_terem, &dm.MT_mintatanterv,
                                   &dm.MT_mintatantervtargy, &dm.MT_kurzusminta, &dm.MT_kurzusmintatargy,
                                   &dm.MT_kurzusmintaoktato, &dm.MT_orarend, &dm.MT_kurzus, &dm.MT_alkalom,
                                   &dm.MT_kurzusoktato, &dm.MT_kurzustargy, &dm.MT_kurzusorarend},
                                  exactText);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chosen = data[0] % std::size(DataFiles);
    writeSampleFolder(chosen, std::string_view(reinterpret_cast<const char *>(data) + 1, size - 1));

    std::vector<std::string> loaded;
    try {
        TDM dm(environment());
        loaded = contentsOf(dm);
        dm.Mentes();
        dm.TorzsadatMentes();
    } catch (const EDataFileError &error) {
        if (error.FileName().empty() || std::string(error.what()).find(error.FileName()) == std::string::npos)
            finding(std::string("a refusal names no file: ") + error.what());
        return 0;
    }
    try {
        TDM again(environment());
        if (contentsOf(again) != loaded)
            finding(std::string("a save lost or changed values of ") + DataFiles[chosen]);
    } catch (const std::exception &error) {
        finding(std::string("a folder the program saved does not load: ") + error.what());
    }
    return 0;
}
