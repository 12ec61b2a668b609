// Sets arbitrary texts as the filter of a small memory table and walks it, counts it and
// searches it. A refusal or a failed evaluation must come as one of the framework's exceptions,
// never as a crash, a hang or a sanitizer report, and must leave a table that still walks. The
// records the filter lets through must be those the general evaluator accepts, reading the same
// records through the fields, in row order and in the order of an index, whether the filter
// reaches them through an index or by testing each.

#include "memtable/ztrMemTable.h"
#include "platform/DateTime.h"
#include "platform/ExprParser.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

void defineFields(TztrMemTable &table)
{
    table.FieldDefs().Add("kurzus_id", ftAutoInc);
    table.FieldDefs().Add("teszt", ftInteger);
    table.FieldDefs().Add("szabad", ftSmallint);
    table.FieldDefs().Add("targy_kod", ftString, 12);
    table.FieldDefs().Add("kurzusminta_kod", ftString, 20);
    table.FieldDefs().Add("megnevez\xE9s", ftWideString, 30);
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.FieldDefs().Add("nap", ftDate);
    table.FieldDefs().Add("kezdes", ftTime);
    table.FieldDefs().Add("atlag", ftFloat);
    table.FieldDefs().Add("aktiv", ftBoolean);
    table.FieldDefs().Add("terem k\xF3"
                          "d",
                          ftFixedChar, 6);
}

// Every second record leaves most fields null.
void fill(TztrMemTable &table)
{
    const char *codes[] = {"MSB293-EA", "msb293", "O'Brien", "", "A_C", "abc"};
    for (int i = 0; i < 6; ++i) {
        table.Append();
        if (i % 2 == 0) {
            table.FieldByName("teszt")->SetAsInteger(i - 2);
            table.FieldByName("szabad")->SetAsInteger(i % 3);
            table.FieldByName("megnevez\xE9s")->SetAsWideString(u"\u00C1rv\u00EDz");
            table.FieldByName("kezd_ido")->SetAsDateTime(TDateTime(45908.4375 + i));
            table.FieldByName("nap")->SetAsDateTime(TDateTime(45908.0 + i));
            table.FieldByName("kezdes")->SetAsDateTime(TDateTime(0.3125));
            table.FieldByName("atlag")->SetAsFloat(2.5 * i);
            table.FieldByName("aktiv")->SetAsBoolean(i % 4 == 0);
            table.FieldByName("terem k\xF3"
                              "d")
                ->SetAsString("A-1");
        }
        table.FieldByName("targy_kod")->SetAsString(codes[i]);
        table.FieldByName("kurzusminta_kod")->SetAsString(codes[5 - i]);
        table.Post();
    }
}

void walk(TztrMemTable &table)
{
    for (table.First(); !table.Eof(); table.Next())
        table.FieldByName("targy_kod")->AsString();
    table.RecordCount();
    table.Locate("targy_kod", "abc", {loCaseInsensitive, loPartialKey});
}

// The general evaluator's view of the table's current record.
class CurrentRecord : public FilterFieldValues
{
public:
    explicit CurrentRecord(TztrMemTable &table) : table_(table) {}
    Variant FieldValue(const std::string &fieldName) const override
    {
        return table_.FieldByName(fieldName)->AsVariant();
    }

private:
    TztrMemTable &table_;
};

// The ids of the records accepted, or none when the filter was refused or raised.
using Verdict = std::optional<std::vector<int>>;

Verdict shownByFilter(TztrMemTable &table)
{
    std::vector<int> ids;
    try {
        // Switched off and on, so that a text refused before is compiled, and refused, again.
        table.SetFiltered(false);
        table.SetFiltered(true);
        for (table.First(); !table.Eof(); table.Next())
            ids.push_back(table.FieldByName("kurzus_id")->AsInteger());
    } catch (const Exception &) {
        return std::nullopt;
    }
    return ids;
}

Verdict acceptedByEvaluator(TztrMemTable &table, const std::string &text, TFilterOptions options)
{
    const FieldTypeOf fieldType = [&](const std::string &name) -> std::optional<TFieldType> {
        const TField *field = table.FindField(name);
        return field ? std::optional(field->DataType()) : std::nullopt;
    };
    std::vector<int> ids;
    try {
        const TExprParser parser(text, fieldType, options);
        table.SetFiltered(false);
        for (table.First(); !table.Eof(); table.Next()) {
            if (FilterExpressionAccepts(parser.Root(), CurrentRecord(table)))
                ids.push_back(table.FieldByName("kurzus_id")->AsInteger());
        }
    } catch (const Exception &) {
        return std::nullopt;
    }
    return ids;
}

// Whether the two ways can be held to the same answer: a blank text is no expression at all, and
// the clock moves between two walks.
bool comparable(std::string text)
{
    if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return c <= ' '; }))
        return false;
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text.find("GETDATE") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    TztrMemTable table;
    defineFields(table);
    table.Open();
    fill(table);
    table.AddIndex("teszt", "teszt", {});
    table.AddIndex("szabad", "szabad;teszt", {ixDescending});
    for (const char *order : {"", "szabad"}) {
        // The last text may raise on any record; the new order is taken without it.
        table.SetFiltered(false);
        table.SetIndexName(order);
        for (const TFilterOptions options :
             {TFilterOptions{}, TFilterOptions{foCaseInsensitive, foNoPartialCompare}}) {
            try {
                table.SetFilterOptions(options);
                table.SetFilter(text);
                table.SetFiltered(true);
                walk(table);
            } catch (const Exception &) {
            }
            if (comparable(text) && shownByFilter(table) != acceptedByEvaluator(table, text, options))
                __builtin_trap();
        }
    }
    // Whatever the text did, the table without it shows every record again.
    table.SetFilter("");
    walk(table);
    if (table.RecordCount() != 6)
        __builtin_trap();
    return 0;
}
