#include "Cp1250.h"

#include <memory>
#include <stdexcept>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace sampledata {

std::string toCp1250(std::string_view utf8)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open("windows-1250", &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status))
        throw std::runtime_error("the cp1250 converter is not available");
    // Stop instead of substituting: a silently replaced letter would end up in the data.
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);

    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    // One byte per UTF-16 unit at most; surrogates have no cp1250 byte and stop the conversion.
    std::string result(static_cast<std::size_t>(text.length()) + 1, '\0');
    const int32_t length =
        ucnv_fromUChars(converter.get(), result.data(), static_cast<int32_t>(result.size()), text.getBuffer(),
                        text.length(), &status);
    if (U_FAILURE(status))
        throw std::runtime_error("text that cp1250 cannot hold: " + std::string(utf8.substr(0, 80)));
    result.resize(static_cast<std::size_t>(length));
    return result;
}

} // namespace sampledata
