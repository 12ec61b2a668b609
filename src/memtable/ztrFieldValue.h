#pragma once

// The binary form of field values inside record memory, and the value blocks that hold values
// kept outside the record.

#include "platform/FieldTypes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Bytes a field's data takes in a record (its null byte not included); 0 for blobs, containers
// and types a record cannot hold.
int FieldDataWidth(TFieldType type, int size);

// Types a record layout accepts (containers and blobs included).
bool IsStorableFieldType(TFieldType type);

// Types whose long values a balanced or small record keeps out of the record.
bool IsIndirectCandidateType(TFieldType type);

// Values are stored unaligned; these read and write them without assuming alignment.
template <typename T> inline T readValue(const void *at)
{
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

template <typename T> inline void writeValue(void *at, T value)
{
    std::memcpy(at, &value, sizeof(T));
}

// A value block: a 32-bit little-endian length followed by that many bytes, in one heap block.
namespace ValueBlock {
std::uint8_t *make(std::uint32_t length);
std::uint8_t *makeFrom(const void *bytes, std::uint32_t length);
std::uint8_t *duplicate(const std::uint8_t *block);
void free(std::uint8_t *block);

inline std::uint32_t length(const std::uint8_t *block) { return readValue<std::uint32_t>(block); }
inline std::uint8_t *bytes(std::uint8_t *block) { return block + sizeof(std::uint32_t); }
inline const std::uint8_t *bytes(const std::uint8_t *block) { return block + sizeof(std::uint32_t); }
inline std::string_view view(const std::uint8_t *block)
{
    return {reinterpret_cast<const char *>(bytes(block)), length(block)};
}
} // namespace ValueBlock
