#pragma once

// The options a dataset's filter text is compiled with.

#include "platform/EnumSet.h"

#include <cstdint>

enum TFilterOption : std::uint8_t { foCaseInsensitive, foNoPartialCompare };

using TFilterOptions = EnumSet<TFilterOption>;
