// Compiles arbitrary texts as filters and evaluates the ones that compile against a record with
// values of every kind and some nulls. A refusal or a failed conversion must come as one of the
// framework's exceptions, never as a crash, a hang or a sanitizer report.

#include "memtable/ztrFilter.h"
#include "platform/DateTime.h"
#include "platform/ExprParser.h"
#include "platform/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

struct Field
{
    TFieldType type;
    Variant value;
};

const std::map<std::string, Field> &fields()
{
    static const std::map<std::string, Field> table = {
        {"kurzus_id", {ftInteger, 5}},
        {"teszt", {ftInteger, Variant::Null()}},
        {"szabad", {ftSmallint, std::int16_t{1}}},
        {"targy_kod", {ftString, "MSB293-EA"}},
        {"kurzusminta_kod", {ftString, ""}},
        {"megnevez\xE9s", {ftWideString, u"\u00C1rv\u00EDzt\u0171r\u0151"}},
        {"kezd_ido", {ftDateTime, TDateTime(45908.4375)}},
        {"nap", {ftDate, TDateTime(45908)}},
        {"kezdes", {ftTime, TDateTime(0.3125)}},
        {"atlag", {ftFloat, 2.5}},
        {"aktiv", {ftBoolean, true}},
        {"terem k\xF3"
         "d",
         {ftFixedChar, Variant::Null()}},
    };
    return table;
}

std::optional<TFieldType> fieldType(const std::string &name)
{
    const auto field = fields().find(name);
    if (field == fields().end())
        return std::nullopt;
    return field->second.type;
}

class FixedRecord : public FilterFieldValues
{
public:
    Variant FieldValue(const std::string &fieldName) const override
    {
        const auto field = fields().find(fieldName);
        if (field == fields().end())
            throw EDatabaseError("Field '" + fieldName + "' not found");
        return field->second.value;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const FixedRecord record;
    for (const TFilterOptions options : {TFilterOptions{}, TFilterOptions{foCaseInsensitive}}) {
        try {
            const TExprParser parser(text, fieldType, options);
            FilterExpressionAccepts(parser.Root(), record);
        } catch (const Exception &) {
        }
    }
    return 0;
}
