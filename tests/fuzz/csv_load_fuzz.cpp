// Loads arbitrary bytes as a data file into a memory table, with and without the definition
// block and under the other reading options: a file may be refused, but only with an exception
// of the engine or the framework, never with a crash.

#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrMemTable.h"
#include "platform/Classes.h"
#include "platform/DB.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The room table of the data files.
void makeRoomTable(TztrMemTable &table)
{
    table.FieldDefs().Add("terem_id", ftAutoInc);
    table.FieldDefs().Add("terem_kod", ftString, 40);
    table.FieldDefs().Add("terem_kapacitas", ftInteger);
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.FieldDefs().Add("aktiv", ftBoolean);
    table.FieldDefs().Add("suly", ftFloat);
    table.FieldDefs().Add("kep", ftVarBytes, 16);
    table.IndexDefs().Add("terem_id", "terem_id", {});
    table.Open();
}

// The first byte picks the reading options, so that one corpus explores all of them.
void configure(TztrCSVStreamFormat &format, std::uint8_t options)
{
    if ((options & 1) == 0) {
        format.SetCSVFieldDelimiter('\t');
        format.SetCSVQuote('\0');
        format.SetCSVRecordDelimiter('\0');
    }
    if (options & 2)
        format.SetsfDef({});
    if (options & 4)
        format.SetsfDef({sfAutoLayoutDef});
    if (options & 8)
        format.SetsfNoHeader({sfLoadNoHeader});
    if (options & 16)
        format.SetCommentChar('#');
    if (options & 32)
        format.SetsfLocalFormat({sfLoadLocalFormat});
    if (options & 64)
        format.SetsfIndexDef({});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    TztrCSVStreamFormat format;
    configure(format, data[0]);
    TStringStream stream(std::string(reinterpret_cast<const char *>(data) + 1, size - 1));
    TztrMemTable table;
    try {
        makeRoomTable(table);
        table.LoadFromStreamViaFormat(stream, &format);
        // Whatever was loaded must save again.
        TStringStream saved;
        table.SaveToStreamViaFormat(saved, &format);
    } catch (const Exception &) {
    }
    return 0;
}
