#pragma once

// The entry list of an index: record references in index order, kept in blocks of a few hundred
// so that an insert or removal in the middle moves one block instead of the whole list, while
// reading by position stays a short lookup.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

struct TztrRecord;

// The part of a sort key an entry holds: enough to tell most keys apart, small enough that moving
// entries within a block stays cheap.
using TztrKeyPrefix = std::array<std::uint64_t, 2>;

// One entry: the record and, where the index keeps them, its sort key. The key's first bytes
// sit in the entry itself, so that most comparisons read neither the record nor the rest of the
// key; a key longer than those bytes is held whole apart, owned by the entry list.
struct TztrIndexEntry {
    TztrRecord *Record = nullptr;
    // The first KeyPrefixBytes bytes of the key, then its length (capped at 255), read as
    // big-endian words so that they compare as numbers.
    TztrKeyPrefix KeyPrefix{};
    // The whole key when it is longer than the prefix holds: its length, then its bytes.
    // Owned by the entry list.
    const char *LongKey = nullptr;

    static constexpr std::size_t KeyPrefixBytes = sizeof(TztrKeyPrefix) - 1;
};

// A sort key with its prefix worked out, for comparing with entries.
struct TztrIndexKey {
    std::string_view Bytes;
    TztrKeyPrefix Prefix{};

    explicit TztrIndexKey(std::string_view bytes);
    // With the prefix already worked out from the bytes.
    TztrIndexKey(std::string_view bytes, const TztrKeyPrefix &prefix) : Bytes(bytes), Prefix(prefix) {}
    // The order of two keys as far as their prefixes tell: 0 when they agree there.
    static int ComparePrefixes(const TztrKeyPrefix &a, const TztrKeyPrefix &b)
    {
        for (std::size_t i = 0; i + 1 < a.size(); ++i) {
            if (a[i] != b[i])
                return a[i] < b[i] ? -1 : 1;
        }
        // The last byte is the length, no part of the order.
        if ((a.back() >> 8) != (b.back() >> 8))
            return (a.back() >> 8) < (b.back() >> 8) ? -1 : 1;
        return 0;
    }

    // -1, 0 or 1: this key against the entry's key. Keys of one field list never begin one
    // another, so keys that both fit their prefixes and agree there are equal.
    int CompareTo(const TztrIndexEntry &entry) const
    {
        const int byPrefix = ComparePrefixes(Prefix, entry.KeyPrefix);
        return byPrefix != 0 || !entry.LongKey ? byPrefix : compareLongKeys(entry);
    }

    // -1, 0 or 1: this key against as many first bytes of the entry's key, for a key short
    // enough for the prefix to hold (one of a few leading fields of fixed width).
    int CompareToBeginningOf(const TztrIndexEntry &entry) const
    {
        std::size_t left = Bytes.size();
        for (std::size_t i = 0; i < Prefix.size() && left > 0; ++i) {
            const std::size_t bytes = std::min<std::size_t>(left, 8);
            constexpr std::uint64_t all = ~std::uint64_t{0};
            const std::uint64_t mask = bytes == 8 ? all : ~(all >> (8 * bytes));
            const std::uint64_t own = Prefix[i] & mask;
            const std::uint64_t theirs = entry.KeyPrefix[i] & mask;
            if (own != theirs)
                return own < theirs ? -1 : 1;
            left -= bytes;
        }
        return 0;
    }

private:
    int compareLongKeys(const TztrIndexEntry &entry) const;
};

class TztrIndexEntries {
public:
    TztrIndexEntries() = default;
    TztrIndexEntries(const TztrIndexEntries &) = delete;
    TztrIndexEntries &operator=(const TztrIndexEntries &) = delete;

    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // Changes with every change of the entries, and no two lists ever share one.
    std::uint64_t Version() const { return version_; }
    TztrRecord *At(int position) const { return EntryAt(position).Record; }
    const TztrIndexEntry &EntryAt(int position) const;

    void Clear();
    void Insert(int position, TztrRecord *record);
    // With its sort key, copied into the entry.
    void InsertKeyed(int position, TztrRecord *record, const TztrIndexKey &key);
    void Append(TztrRecord *record) { Insert(count_, record); }
    void Erase(int position);
    // Replace every entry with the records given, in their order (with their keys).
    void Assign(const std::vector<TztrRecord *> &records);
    // Gives, by position, each record with its key; the key bytes are copied.
    using KeyedRecordAt = std::function<std::pair<TztrRecord *, TztrIndexKey>(std::size_t)>;
    void AssignKeyed(std::size_t count, const KeyedRecordAt &keyedAt);
    std::vector<TztrRecord *> ToVector() const;

    // Predicates take a TztrIndexEntry.
    // The first position whose entry fails belowKey, for entries ordered so that every entry
    // passing it comes before every entry failing it.
    template <typename Predicate> int PartitionPoint(Predicate belowKey) const;
    // The first position at or after start whose entry passes the test, else Count().
    template <typename Predicate> int FindFrom(int start, Predicate test) const;

private:
    using Block = std::vector<TztrIndexEntry>;

    // The block holding position (the last block for Count()).
    std::size_t blockOf(int position) const;
    void renumberFrom(std::size_t block);
    // An empty block after the last, for the entry about to go in.
    void addLastBlock();
    void splitBlock(std::size_t block);
    void insertEntry(int position, const TztrIndexEntry &entry);
    // The first of count ordered entries that fails belowKey (count when none does).
    template <typename Predicate>
    static std::size_t firstFailing(const TztrIndexEntry *entries, std::size_t count, Predicate belowKey);
    // Fills the list with count entries that makeEntry gives by position.
    template <typename MakeEntry> void assignEntries(std::size_t count, MakeEntry makeEntry);
    char *storeLongKey(std::string_view key);
    // Its bytes count as waste from now on.
    void forgetLongKey(const char *longKey);
    void compactKeys();

    std::vector<Block> blocks_;
    std::vector<std::unique_ptr<char[]>> keyChunks_;
    std::size_t lastChunkSize_ = 0;
    std::size_t lastChunkUsed_ = 0;
    std::size_t liveKeyBytes_ = 0;
    std::size_t wastedKeyBytes_ = 0;
    // Position of each block's first entry.
    std::vector<int> starts_;
    // A copy of each block's last entry side by side, so that finding the block of a key reads
    // one short array instead of a block each step.
    std::vector<TztrIndexEntry> lasts_;
    int count_ = 0;
    // Reading runs mostly forward; the block last read is tried first.
    mutable std::size_t lastBlock_ = 0;
    static std::uint64_t nextVersion();
    std::uint64_t version_ = nextVersion();
};

template <typename Predicate>
std::size_t TztrIndexEntries::firstFailing(const TztrIndexEntry *entries, std::size_t count, Predicate belowKey)
{
    // Entries span many cache lines: both entries the next step may read are fetched while this
    // step compares, so the misses of a lookup overlap instead of following one another.
    std::size_t first = 0;
    while (count > 0) {
        const std::size_t half = count / 2;
        __builtin_prefetch(entries + first + half / 2);
        __builtin_prefetch(entries + first + half + 1 + (count - half - 1) / 2);
        if (belowKey(entries[first + half])) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return first;
}

template <typename Predicate> int TztrIndexEntries::PartitionPoint(Predicate belowKey) const
{
    if (blocks_.empty())
        return 0;
    // Blocks first by their last entry, then within the one block where the split lies; the last
    // block needs no test of its own, so a list of one block costs no extra comparison.
    const std::size_t block = firstFailing(lasts_.data(), blocks_.size() - 1, belowKey);
    return starts_[block] + static_cast<int>(firstFailing(blocks_[block].data(), blocks_[block].size(), belowKey));
}

template <typename Predicate> int TztrIndexEntries::FindFrom(int start, Predicate test) const
{
    if (start >= count_)
        return count_;
    for (std::size_t b = blockOf(start); b < blocks_.size(); ++b) {
        const Block &block = blocks_[b];
        for (std::size_t i = start > starts_[b] ? static_cast<std::size_t>(start - starts_[b]) : 0;
             i < block.size(); ++i) {
            if (test(block[i]))
                return starts_[b] + static_cast<int>(i);
        }
    }
    return count_;
}
