#pragma once

// The checks the generated data must pass before any file is written: every reference leads to a
// row that exists, keys and codes are unique, occasions sit on the calendar's time rows with
// consistent week masks, and no room holds two occasions at once.

#include "Faculty.h"

#include <string>
#include <vector>

namespace sampledata {

// One line per problem found; empty when the data is sound.
std::vector<std::string> integrityProblems(const Faculty &faculty);

} // namespace sampledata
