#pragma once

// The index path of a table's record filter. When the filter lets through only records that hold
// given values in fields an ordered index begins with (a master/detail key, a range over one key,
// `field = whole number` in the filter text), those records are found by bisecting that index
// instead of testing every record. The record filter still decides on each of them, so the table
// sees the same records in the same order as a scan gives.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TztrCustomMemTable;
class TztrIndex;

// Ascending positions in the table's current index of every record a filter key may let
// through, found in a lookup index; good while neither index's entries change.
struct TztrFilterCandidates
{
    const TztrIndex *Current = nullptr;
    std::uint64_t CurrentVersion = 0;
    const TztrIndex *Lookup = nullptr;
    std::uint64_t LookupVersion = 0;
    std::shared_ptr<const std::vector<int>> Positions;
};

class TztrIndexedFilter
{
public:
    explicit TztrIndexedFilter(TztrCustomMemTable &table) : table_(table) {}
    TztrIndexedFilter(const TztrIndexedFilter &) = delete;
    TztrIndexedFilter &operator=(const TztrIndexedFilter &) = delete;

    // The filter's keys or the table's filter settings changed.
    void Forget() { known_.reset(); }

    // Steps position to the next (prior) record the record filter accepts, as the table's scan
    // would; none when the filter has no index path. Called under the store's lock.
    std::optional<bool> StepForward(int &position);
    std::optional<bool> StepBack(int &position);

private:
    struct Key;
    using Positions = std::shared_ptr<const std::vector<int>>;

    // Ascending positions in the current index of every record the filter may accept.
    Positions candidates();
    bool mayUseIndexes() const;
    bool stillValid(const std::optional<TztrFilterCandidates> &found) const;
    std::optional<Key> masterDetailKey() const;
    std::optional<Key> rangeKey() const;
    bool expressionDecides() const;
    // The records of the expression's first whole-number key that an index can look up.
    std::optional<TztrFilterCandidates> expressionCandidates() const;
    TztrIndex *indexFor(const Key &key) const;
    TztrFilterCandidates collect(const Key &key, const TztrIndex &lookup) const;
    Positions collectPositions(const Key &key, const TztrIndex &lookup) const;

    TztrCustomMemTable &table_;
    std::optional<TztrFilterCandidates> known_;
};
