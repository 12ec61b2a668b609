#include "memtable/ztrFieldValue.h"

#include <cstdlib>
#include <new>

int FieldDataWidth(TFieldType type, int size)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
        return size + 1;
    case ftSmallint:
    case ftWord:
    case ftBoolean:
        return 2;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
        return 4;
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
    case ftLargeint:
        return 8;
    case ftBCD:
    case ftFMTBcd:
        return 34;
    case ftBytes:
        return size;
    case ftVarBytes:
        return size + 2;
    case ftWideString:
        return size * 2 + 4;
    case ftGuid:
        return 39;
    case ftTimeStamp:
        return 16;
    default:
        return 0;
    }
}

bool IsStorableFieldType(TFieldType type)
{
    switch (type) {
    case ftUnknown:
    case ftCursor:
    case ftReference:
    case ftDataSet:
    case ftVariant:
    case ftInterface:
    case ftIDispatch:
        return false;
    default:
        return type < FieldTypeCount;
    }
}

bool IsIndirectCandidateType(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString || type == ftBytes ||
           type == ftVarBytes;
}

namespace ValueBlock {

std::uint8_t *make(std::uint32_t length)
{
    auto *block = static_cast<std::uint8_t *>(std::calloc(std::size_t{length} + sizeof(std::uint32_t), 1));
    if (!block)
        throw std::bad_alloc();
    writeValue(block, length);
    return block;
}

std::uint8_t *makeFrom(const void *source, std::uint32_t length)
{
    std::uint8_t *block = make(length);
    if (length > 0)
        std::memcpy(bytes(block), source, length);
    return block;
}

std::uint8_t *duplicate(const std::uint8_t *block)
{
    return makeFrom(bytes(block), length(block));
}

void free(std::uint8_t *block)
{
    std::free(block);
}

} // namespace ValueBlock
