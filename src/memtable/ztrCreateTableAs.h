#pragma once

// What CreateTableAs takes over from its source besides the data field definitions.

#include "platform/EnumSet.h"

#include <cstdint>

enum TztrCreateTableOption : std::uint8_t {
    // Drop the definitions the source has no field for.
    mtctoOnlySourceFields,
    // Make 8-bit text fields wide-text fields.
    mtctoStringsAsWide,
    // Make the source's lookup fields again.
    mtctoLookupFields,
    // Make the source's calculated fields again.
    mtctoCalculatedFields,
    // Put the made fields at the source's positions.
    mtctoKeepFieldOrder,
    // Open the table and copy the source's records into it.
    mtctoCopyData,
};
using TztrCreateTableOptions = EnumSet<TztrCreateTableOption>;
