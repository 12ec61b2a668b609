#include "memtable/ztrIndexEntries.h"

#include <algorithm>

namespace {

// A full block is split in two halves of this size; small enough that a move within a block is
// cheap, large enough that the block table stays short.
constexpr std::size_t HalfBlock = 256;
constexpr std::size_t FullBlock = 2 * HalfBlock;

} // namespace

std::size_t TztrIndexEntries::blockOf(int position) const
{
    const std::size_t hint = lastBlock_;
    if (hint < blocks_.size() && position >= starts_[hint] &&
        position < starts_[hint] + static_cast<int>(blocks_[hint].size()))
        return hint;
    if (position >= count_)
        return blocks_.size() - 1;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    lastBlock_ = static_cast<std::size_t>(after - starts_.begin()) - 1;
    return lastBlock_;
}

TztrRecord *TztrIndexEntries::At(int position) const
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

void TztrIndexEntries::Clear()
{
    blocks_.clear();
    starts_.clear();
    count_ = 0;
    lastBlock_ = 0;
}

void TztrIndexEntries::Insert(int position, TztrRecord *record)
{
    if (blocks_.empty()) {
        blocks_.emplace_back();
        blocks_.back().reserve(FullBlock);
        starts_.push_back(0);
    }
    const std::size_t b = blockOf(position);
    Block &block = blocks_[b];
    block.insert(block.begin() + (position - starts_[b]), record);
    ++count_;
    if (block.size() >= FullBlock) {
        Block upper(block.begin() + HalfBlock, block.end());
        upper.reserve(FullBlock);
        block.resize(HalfBlock);
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(upper));
        starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(b) + 1, 0);
        renumberFrom(b + 1);
    } else {
        for (std::size_t next = b + 1; next < starts_.size(); ++next)
            ++starts_[next];
    }
}

void TztrIndexEntries::Erase(int position)
{
    const std::size_t b = blockOf(position);
    Block &block = blocks_[b];
    block.erase(block.begin() + (position - starts_[b]));
    --count_;
    if (block.empty()) {
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
        starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(b));
        lastBlock_ = 0;
        renumberFrom(b);
    } else {
        for (std::size_t next = b + 1; next < starts_.size(); ++next)
            --starts_[next];
    }
}

void TztrIndexEntries::Assign(const std::vector<TztrRecord *> &records)
{
    Clear();
    for (std::size_t first = 0; first < records.size(); first += HalfBlock) {
        const std::size_t last = std::min(records.size(), first + HalfBlock);
        Block block(records.begin() + static_cast<std::ptrdiff_t>(first),
                    records.begin() + static_cast<std::ptrdiff_t>(last));
        block.reserve(FullBlock);
        blocks_.push_back(std::move(block));
        starts_.push_back(static_cast<int>(first));
    }
    count_ = static_cast<int>(records.size());
}

std::vector<TztrRecord *> TztrIndexEntries::ToVector() const
{
    std::vector<TztrRecord *> records;
    records.reserve(static_cast<std::size_t>(count_));
    for (const Block &block : blocks_)
        records.insert(records.end(), block.begin(), block.end());
    return records;
}
