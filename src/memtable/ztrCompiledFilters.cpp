#include "memtable/ztrCompiledFilters.h"

std::shared_ptr<const TztrCompiledFilter>
TztrCompiledFilters::Get(const std::string &text, TFilterOptions options, const Compile &compile)
{
    if (const auto kept = filters_.find(text); kept != filters_.end() && kept->second.Options == options)
        return kept->second.Filter;
    std::shared_ptr<const TztrCompiledFilter> compiled = compile();
    if (!compiled)
        return nullptr;
    // Beyond any walk's texts: starting afresh is as good as choosing what to drop.
    if (filters_.size() >= Capacity)
        filters_.clear();
    filters_.insert_or_assign(text, Kept{options, compiled});
    return compiled;
}
