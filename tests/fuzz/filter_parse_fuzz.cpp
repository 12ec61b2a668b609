// Compiles arbitrary texts as filters: a text may be refused, but only with EDatabaseError.

#include "platform/ExprParser.h"
#include "platform/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

const std::map<std::string, TFieldType> Fields = {
    {"kurzus_id", ftInteger},
    {"teszt", ftInteger},
    {"szabad", ftSmallint},
    {"targy_kod", ftString},
    {"kurzusminta_kod", ftString},
    {"megnevez\xE9s", ftWideString},
    {"kezd_ido", ftDateTime},
    {"nap", ftDate},
    {"kezdes", ftTime},
    {"atlag", ftFloat},
    {"aktiv", ftBoolean},
    {"terem k\xF3"
     "d",
     ftFixedChar},
};

std::optional<TFieldType> fieldType(const std::string &name)
{
    const auto field = Fields.find(name);
    if (field == Fields.end())
        return std::nullopt;
    return field->second;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    for (const TFilterOptions options :
         {TFilterOptions{}, TFilterOptions{foCaseInsensitive}, TFilterOptions{foNoPartialCompare},
          TFilterOptions{foCaseInsensitive, foNoPartialCompare}}) {
        try {
            TExprParser parser(text, fieldType, options);
        } catch (const EDatabaseError &) {
        }
    }
    return 0;
}
