#include "memtable/ztrIndexEntries.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// A full block is split in two halves of this size; small enough that a move within a block is
// cheap, large enough that the block table stays short.
constexpr std::size_t HalfBlock = 256;
constexpr std::size_t FullBlock = 2 * HalfBlock;

} // namespace

namespace {

std::uint64_t bigEndianWord(const unsigned char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::little)
        word = __builtin_bswap64(word);
    return word;
}

} // namespace

TztrIndexKey::TztrIndexKey(std::string_view bytes) : Bytes(bytes)
{
    std::array<unsigned char, sizeof(TztrKeyPrefix)> raw{};
    std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), TztrIndexEntry::KeyPrefixBytes));
    raw.back() = static_cast<unsigned char>(std::min<std::size_t>(bytes.size(), 0xFF));
    for (std::size_t i = 0; i < Prefix.size(); ++i)
        Prefix[i] = bigEndianWord(raw.data() + 8 * i);
}

int TztrIndexKey::compareLongKeys(const TztrIndexEntry &entry) const
{
    std::uint32_t length;
    std::memcpy(&length, entry.LongKey, sizeof length);
    const int order = Bytes.compare(std::string_view(entry.LongKey + sizeof length, length));
    return (order > 0) - (order < 0);
}

namespace {

bool isLong(std::string_view key)
{
    return key.size() > TztrIndexEntry::KeyPrefixBytes;
}

std::size_t longKeySize(std::string_view key)
{
    return sizeof(std::uint32_t) + key.size();
}

// A long key as an entry holds it: its length, then its bytes.
void writeLongKey(char *destination, std::string_view key)
{
    const auto length = static_cast<std::uint32_t>(key.size());
    std::memcpy(destination, &length, sizeof length);
    std::memcpy(destination + sizeof length, key.data(), length);
}

} // namespace

// Long keys live in chunks owned by the list rather than in an allocation each: the keys of an
// assignment in one chunk, keys inserted later in chunks they share. A removed key's bytes stay
// until the waste outgrows the keys still in use; then the keys move into one chunk together.
constexpr std::size_t KeyChunkSize = 64 * 1024;

char *TztrIndexEntries::storeLongKey(std::string_view key)
{
    const std::size_t size = longKeySize(key);
    if (keyChunks_.empty() || lastChunkUsed_ + size > lastChunkSize_) {
        const std::size_t chunkSize = std::max(KeyChunkSize, size);
        keyChunks_.reserve(keyChunks_.size() + 1);
        keyChunks_.push_back(std::make_unique_for_overwrite<char[]>(chunkSize));
        lastChunkSize_ = chunkSize;
        lastChunkUsed_ = 0;
    }
    char *stored = keyChunks_.back().get() + lastChunkUsed_;
    writeLongKey(stored, key);
    lastChunkUsed_ += size;
    liveKeyBytes_ += size;
    return stored;
}

void TztrIndexEntries::forgetLongKey(const char *longKey)
{
    std::uint32_t length;
    std::memcpy(&length, longKey, sizeof length);
    liveKeyBytes_ -= sizeof length + length;
    wastedKeyBytes_ += sizeof length + length;
    if (wastedKeyBytes_ > KeyChunkSize && wastedKeyBytes_ > liveKeyBytes_)
        compactKeys();
}

void TztrIndexEntries::compactKeys()
{
    // Best effort: without memory for the move the waste simply stays a while longer.
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[std::max<std::size_t>(liveKeyBytes_, 1)]);
    if (!chunk)
        return;
    char *next = chunk.get();
    for (Block &block : blocks_) {
        for (TztrIndexEntry &entry : block) {
            if (!entry.LongKey)
                continue;
            std::uint32_t length;
            std::memcpy(&length, entry.LongKey, sizeof length);
            std::memcpy(next, entry.LongKey, sizeof length + length);
            entry.LongKey = next;
            next += sizeof length + length;
        }
    }
    for (std::size_t b = 0; b < blocks_.size(); ++b)
        lasts_[b] = blocks_[b].back();
    // The list held chunks, so it has room for one without allocating.
    keyChunks_.clear();
    keyChunks_.push_back(std::move(chunk));
    lastChunkSize_ = lastChunkUsed_ = liveKeyBytes_;
    wastedKeyBytes_ = 0;
}

std::size_t TztrIndexEntries::blockOf(int position) const
{
    const std::size_t hint = lastBlock_;
    if (hint < blocks_.size() && position >= starts_[hint] &&
        position < starts_[hint] + static_cast<int>(blocks_[hint].size()))
        return hint;
    if (position >= count_)
        return blocks_.size() - 1;
    // Blocks are mostly of like size: the proportional guess spares a bisection with a
    // mispredicted branch at every step.
    const auto guess = static_cast<std::size_t>(static_cast<std::int64_t>(position) *
                                                static_cast<std::int64_t>(blocks_.size()) / count_);
    if (position >= starts_[guess] && position < starts_[guess] + static_cast<int>(blocks_[guess].size())) {
        lastBlock_ = guess;
        return guess;
    }
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    lastBlock_ = static_cast<std::size_t>(after - starts_.begin()) - 1;
    return lastBlock_;
}

const TztrIndexEntry &TztrIndexEntries::EntryAt(int position) const
{
    const std::size_t block = blockOf(position);
    return blocks_[block][static_cast<std::size_t>(position - starts_[block])];
}

void TztrIndexEntries::renumberFrom(std::size_t block)
{
    int start = block == 0 ? 0 : starts_[block - 1] + static_cast<int>(blocks_[block - 1].size());
    for (std::size_t b = block; b < blocks_.size(); ++b) {
        starts_[b] = start;
        start += static_cast<int>(blocks_[b].size());
    }
}

std::uint64_t TztrIndexEntries::nextVersion()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

void TztrIndexEntries::Clear()
{
    version_ = nextVersion();
    blocks_.clear();
    starts_.clear();
    lasts_.clear();
    count_ = 0;
    lastBlock_ = 0;
    keyChunks_.clear();
    lastChunkSize_ = lastChunkUsed_ = 0;
    liveKeyBytes_ = wastedKeyBytes_ = 0;
}

void TztrIndexEntries::Insert(int position, TztrRecord *record)
{
    insertEntry(position, TztrIndexEntry{record, {}, nullptr});
}

void TztrIndexEntries::InsertKeyed(int position, TztrRecord *record, const TztrIndexKey &key)
{
    TztrIndexEntry entry{record, key.Prefix, nullptr};
    if (isLong(key.Bytes))
        entry.LongKey = storeLongKey(key.Bytes);
    try {
        insertEntry(position, entry);
    } catch (...) {
        if (entry.LongKey)
            forgetLongKey(entry.LongKey);
        throw;
    }
}

void TztrIndexEntries::addLastBlock()
{
    Block last;
    last.reserve(FullBlock);
    blocks_.reserve(blocks_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    lasts_.reserve(lasts_.size() + 1);
    blocks_.push_back(std::move(last));
    starts_.push_back(count_);
    lasts_.emplace_back();
}

void TztrIndexEntries::splitBlock(std::size_t b)
{
    Block upper;
    upper.reserve(FullBlock);
    blocks_.reserve(blocks_.size() + 1);
    starts_.reserve(starts_.size() + 1);
    lasts_.reserve(lasts_.size() + 1);
    Block &block = blocks_[b];
    upper.assign(block.begin() + HalfBlock, block.end());
    block.resize(HalfBlock);
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(upper));
    starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(b) + 1, 0);
    lasts_.insert(lasts_.begin() + static_cast<std::ptrdiff_t>(b) + 1, blocks_[b + 1].back());
    lasts_[b] = blocks_[b].back();
    renumberFrom(b + 1);
}

void TztrIndexEntries::insertEntry(int position, const TztrIndexEntry &entry)
{
    // Whatever allocates comes before the entry goes in, so a failure leaves the list as it was
    // and the entry with the caller.
    if (blocks_.empty())
        addLastBlock();
    std::size_t b = blockOf(position);
    if (blocks_[b].size() + 1 >= FullBlock) {
        // Entries added in order at the end, as appends add them, start a block of their own:
        // halving the last block would leave every block half empty.
        if (position == count_ && b + 1 == blocks_.size())
            addLastBlock();
        else
            splitBlock(b);
        b = blockOf(position);
    }
    Block &block = blocks_[b];
    block.insert(block.begin() + (position - starts_[b]), entry);
    lasts_[b] = block.back();
    ++count_;
    version_ = nextVersion();
    for (std::size_t next = b + 1; next < starts_.size(); ++next)
        ++starts_[next];
}

void TztrIndexEntries::Erase(int position)
{
    const std::size_t b = blockOf(position);
    Block &block = blocks_[b];
    const auto at = block.begin() + (position - starts_[b]);
    const char *longKey = at->LongKey;
    block.erase(at);
    --count_;
    version_ = nextVersion();
    if (block.empty()) {
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
        starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(b));
        lasts_.erase(lasts_.begin() + static_cast<std::ptrdiff_t>(b));
        lastBlock_ = 0;
        renumberFrom(b);
    } else {
        lasts_[b] = block.back();
        for (std::size_t next = b + 1; next < starts_.size(); ++next)
            --starts_[next];
    }
    // Last, as a compaction rewrites the entries' key references.
    if (longKey)
        forgetLongKey(longKey);
}

template <typename MakeEntry> void TztrIndexEntries::assignEntries(std::size_t count, MakeEntry makeEntry)
{
    // Built apart and swapped in, so that a failure leaves the list as it was.
    std::vector<Block> blocks;
    std::vector<int> starts;
    std::vector<TztrIndexEntry> lasts;
    const std::size_t blockCount = (count + HalfBlock - 1) / HalfBlock;
    blocks.reserve(blockCount);
    starts.reserve(blockCount);
    lasts.reserve(blockCount);
    for (std::size_t first = 0; first < count; first += HalfBlock) {
        const std::size_t last = std::min(count, first + HalfBlock);
        Block block;
        block.reserve(last - first);
        for (std::size_t i = first; i < last; ++i)
            block.push_back(makeEntry(i));
        lasts.push_back(block.back());
        blocks.push_back(std::move(block));
        starts.push_back(static_cast<int>(first));
    }
    Clear();
    blocks_.swap(blocks);
    starts_.swap(starts);
    lasts_.swap(lasts);
    count_ = static_cast<int>(count);
}

void TztrIndexEntries::Assign(const std::vector<TztrRecord *> &records)
{
    assignEntries(records.size(), [&records](std::size_t i) { return TztrIndexEntry{records[i], {}, nullptr}; });
}

void TztrIndexEntries::AssignKeyed(std::size_t count, const KeyedRecordAt &keyedAt)
{
    std::size_t sharedSize = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view key = keyedAt(i).second.Bytes;
        if (isLong(key))
            sharedSize += longKeySize(key);
    }
    std::unique_ptr<char[]> shared = std::make_unique_for_overwrite<char[]>(sharedSize);
    char *next = shared.get();
    // Room for the chunk before the entries referring to it go in.
    keyChunks_.reserve(keyChunks_.size() + 1);
    assignEntries(count, [&](std::size_t i) {
        const auto [record, key] = keyedAt(i);
        TztrIndexEntry entry{record, key.Prefix, nullptr};
        if (isLong(key.Bytes)) {
            entry.LongKey = next;
            writeLongKey(next, key.Bytes);
            next += longKeySize(key.Bytes);
        }
        return entry;
    });
    if (sharedSize > 0)
        keyChunks_.push_back(std::move(shared));
    lastChunkSize_ = lastChunkUsed_ = liveKeyBytes_ = sharedSize;
}

std::vector<TztrRecord *> TztrIndexEntries::ToVector() const
{
    std::vector<TztrRecord *> records;
    records.reserve(static_cast<std::size_t>(count_));
    for (const Block &block : blocks_) {
        for (const TztrIndexEntry &entry : block)
            records.push_back(entry.Record);
    }
    return records;
}
