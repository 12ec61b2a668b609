#include "memtable/ztrStreamFormat.h"

void TztrCustomStreamFormat::Assign(const TztrCustomStreamFormat &source)
{
    flags_ = source.flags_;
}

std::string TztrCustomStreamFormat::GetVersion() const
{
    return "1.00";
}
