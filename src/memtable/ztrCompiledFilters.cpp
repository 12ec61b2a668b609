#include "memtable/ztrCompiledFilters.h"

std::shared_ptr<const TztrCompiledFilter> TztrCompiledFilters::Get(const std::string &text, TFilterOptions options,
                                                                   const Compile &compile)
{
    std::string key = text;
    key += static_cast<char>(options.Bits());
    if (const auto kept = filters_.find(key); kept != filters_.end())
        return kept->second;
    std::shared_ptr<const TztrCompiledFilter> compiled = compile();
    if (!compiled)
        return nullptr;
    // Beyond any walk's texts: starting afresh is as good as choosing what to drop.
    if (filters_.size() >= Capacity)
        filters_.clear();
    filters_.emplace(std::move(key), compiled);
    return compiled;
}
