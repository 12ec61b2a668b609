#pragma once

#include <string>
#include <string_view>

namespace sampledata {

// The data files are cp1250; the tool keeps its texts in UTF-8. Throws std::runtime_error for a
// character that cp1250 cannot hold, so that no file is written with a replaced character.
std::string toCp1250(std::string_view utf8);

} // namespace sampledata
