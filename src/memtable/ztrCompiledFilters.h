#pragma once

// The filter texts a table compiled while open, kept with their bindings to its fields. A walk
// narrows a table to one key after another ("kurzus_id=" and an id per course), and every view
// rebuilt walks the same keys again; compiling a text is most of what setting it costs.

#include "memtable/ztrBoundFilter.h"
#include "memtable/ztrExprParser.h"
#include "memtable/ztrIndexedFilter.h"
#include "platform/FilterOptions.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

struct TztrCompiledFilter
{
    std::unique_ptr<TztrExprParser> Expression;
    // Bound to the expression above, so declared after it and freed first.
    std::unique_ptr<TztrBoundFilter> Bound;
    // Where the records the expression's key lets through stood when it was last set.
    mutable std::optional<TztrFilterCandidates> Candidates;
};

class TztrCompiledFilters
{
public:
    using Compile = std::function<std::shared_ptr<const TztrCompiledFilter>()>;

    // The text compiled before with the same options, else what compile gives (kept unless it
    // is none). A text compile refuses is not kept, so it is refused again next time.
    std::shared_ptr<const TztrCompiledFilter> Get(const std::string &text, TFilterOptions options,
                                                  const Compile &compile);
    // The bindings hold the table's fields and record layout, which change only while it is closed.
    void Clear() { filters_.clear(); }

private:
    // More than the largest walk sets, so that a walk repeated finds all of its texts.
    static constexpr std::size_t Capacity = 1024;

    struct Kept
    {
        TFilterOptions Options;
        std::shared_ptr<const TztrCompiledFilter> Filter;
    };
    // By text alone, so that a lookup builds no key; the options seldom change.
    std::unordered_map<std::string, Kept> filters_;
};
