#include "memtable/ztrIndexEntries.h"

#include "memtable/ztrRecord.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Entries are only references; distinct addresses in one array stand for distinct records.
std::vector<TztrRecord> records(4000);

TztrRecord *record(int i)
{
    return &records[static_cast<std::size_t>(i)];
}

void expectSameEntries(const TztrIndexEntries &entries, const std::vector<TztrRecord *> &model)
{
    ASSERT_EQ(entries.Count(), static_cast<int>(model.size()));
    EXPECT_EQ(entries.ToVector(), model);
    for (int i = 0; i < entries.Count(); ++i)
        ASSERT_EQ(entries.At(i), model[static_cast<std::size_t>(i)]) << "position " << i;
}

} // namespace

TEST(IndexEntries, RandomInsertsAndRemovalsKeepEveryPosition)
{
    TztrIndexEntries entries;
    std::vector<TztrRecord *> model;
    std::mt19937 random(5);
    int next = 0;
    for (int step = 0; step < 6000; ++step) {
        const bool grow = model.empty() || random() % 3 != 0;
        if (grow && next < 4000) {
            const int position = static_cast<int>(random() % (model.size() + 1));
            entries.Insert(position, record(next));
            model.insert(model.begin() + position, record(next));
            ++next;
        } else if (!model.empty()) {
            const int position = static_cast<int>(random() % model.size());
            entries.Erase(position);
            model.erase(model.begin() + position);
        }
        // Reading back at a random place, then the whole list now and then, catches stale block
        // starts right after the change that caused them.
        if (!model.empty()) {
            const std::size_t probe = random() % model.size();
            ASSERT_EQ(entries.At(static_cast<int>(probe)), model[probe]) << "step " << step;
        }
        if (step % 500 == 0)
            expectSameEntries(entries, model);
    }
    expectSameEntries(entries, model);
    while (!entries.Empty())
        entries.Erase(0);
    entries.Insert(0, record(7));
    entries.Insert(0, record(8));
    expectSameEntries(entries, {record(8), record(7)});
}

// Appends (as loads and bulk appends make them) fill blocks to the brim; changes anywhere
// afterwards, and appends after those, still find every position.
TEST(IndexEntries, AppendsAtTheEndThenChangesAnywhereKeepEveryPosition)
{
    TztrIndexEntries entries;
    std::vector<TztrRecord *> model;
    const auto insert = [&](int position, int id) {
        entries.Insert(position, record(id));
        model.insert(model.begin() + position, record(id));
    };
    int next = 0;
    for (; next < 2500; ++next)
        insert(static_cast<int>(model.size()), next);
    expectSameEntries(entries, model);
    for (const int position : {0, 511, 512, 1022, 1250, 2499, 2501})
        insert(position, next++);
    for (int i = 0; i < 520; ++i) {
        entries.Erase(500);
        model.erase(model.begin() + 500);
    }
    expectSameEntries(entries, model);
    for (; next < 4000; ++next)
        insert(static_cast<int>(model.size()), next);
    expectSameEntries(entries, model);
}

TEST(IndexKeys, OrderAsTheirBytesWhetherShortOrLong)
{
    // Keys of one field list: none begins another. Their lengths run across the part an entry
    // holds of them.
    const std::string base = "\x01" + std::string(TztrIndexEntry::KeyPrefixBytes - 3, 'a');
    std::vector<std::string> ordered = {std::string(1, '\0'), "\x01\x05", "\x01\x06"};
    for (const char *tail : {"", "b", "bb", "bbb", "bbbb", "bbc", "bc", "c"})
        ordered.push_back(base + tail + '\0');
    ordered.push_back("\x01\xff");
    TztrIndexEntries entries;
    for (std::size_t i = 0; i < ordered.size(); ++i)
        entries.InsertKeyed(static_cast<int>(i), record(static_cast<int>(i)), TztrIndexKey(ordered[i]));
    for (std::size_t a = 0; a < ordered.size(); ++a) {
        for (std::size_t b = 0; b < ordered.size(); ++b) {
            const int expected = (a > b) - (a < b);
            EXPECT_EQ(TztrIndexKey(ordered[a]).CompareTo(entries.EntryAt(static_cast<int>(b))), expected)
                << a << " against " << b;
        }
    }
}

TEST(IndexEntries, PartitionPointAndFindFromSearchAcrossBlocks)
{
    // Records 0..1999 in address order; the split is where the address reaches the key.
    TztrIndexEntries entries;
    std::vector<TztrRecord *> all;
    for (int i = 0; i < 2000; ++i)
        all.push_back(record(i));
    entries.Assign(all);
    for (int key : {0, 1, 255, 256, 257, 511, 512, 1000, 1999, 2000}) {
        TztrRecord *limit = key < 2000 ? record(key) : record(0) + 2000;
        EXPECT_EQ(entries.PartitionPoint([limit](const TztrIndexEntry &entry) { return entry.Record < limit; }), key);
    }
    EXPECT_EQ(TztrIndexEntries().PartitionPoint([](const TztrIndexEntry &) { return true; }), 0);
    for (int i = 0; i < 2000; ++i)
        all[static_cast<std::size_t>(i)] = record(i % 1000);
    entries.Assign(all);
    auto isRecord = [](int i) { return [i](const TztrIndexEntry &entry) { return entry.Record == record(i); }; };
    EXPECT_EQ(entries.FindFrom(0, isRecord(300)), 300);
    EXPECT_EQ(entries.FindFrom(301, isRecord(300)), 1300);
    EXPECT_EQ(entries.FindFrom(1301, isRecord(300)), 2000);
    EXPECT_EQ(entries.FindFrom(5000, isRecord(300)), 2000);
}

TEST(IndexEntries, AssignedKeysAndKeysInsertedLaterLiveSideBySide)
{
    auto keyOf = [](int i) {
        return "\x01" + std::string(TztrIndexEntry::KeyPrefixBytes, 'k') + std::to_string(1000 + i) + '\0';
    };
    std::vector<std::string> keys;
    for (int i = 0; i < 900; ++i)
        keys.push_back(keyOf(i));
    std::vector<std::pair<TztrRecord *, std::string_view>> keyed;
    for (int i = 0; i < 900; i += 2)
        keyed.emplace_back(record(i), keys[static_cast<std::size_t>(i)]);
    TztrIndexEntries entries;
    entries.AssignKeyed(keyed.size(), [&](std::size_t i) { return std::pair{keyed[i].first, TztrIndexKey(keyed[i].second)}; });
    // Odd records go in between, the first hundred assigned ones go out again.
    for (int i = 1; i < 900; i += 2)
        entries.InsertKeyed(i, record(i), TztrIndexKey(keys[static_cast<std::size_t>(i)]));
    for (int i = 0; i < 100; ++i)
        entries.Erase(0);
    ASSERT_EQ(entries.Count(), 800);
    for (int i = 0; i < entries.Count(); ++i) {
        const TztrIndexEntry &entry = entries.EntryAt(i);
        ASSERT_EQ(entry.Record, record(i + 100));
        ASSERT_EQ(TztrIndexKey(keys[static_cast<std::size_t>(i + 100)]).CompareTo(entry), 0) << "position " << i;
    }
    entries.AssignKeyed(keyed.size(), [&](std::size_t i) { return std::pair{keyed[i].first, TztrIndexKey(keyed[i].second)}; });
    EXPECT_EQ(entries.Count(), 450);
}

TEST(IndexEntries, KeysSurviveLongChurnOfInsertsAndRemovals)
{
    // Many more keys come and go than are ever held at once, so their room is reused on the way.
    auto keyOf = [](int i) {
        return "\x01" + std::string(TztrIndexEntry::KeyPrefixBytes, 'k') + std::to_string(100000 + i) + '\0';
    };
    TztrIndexEntries entries;
    std::vector<int> model;
    std::mt19937 random(11);
    for (int step = 0; step < 20000; ++step) {
        const int i = step % 4000;
        if (model.size() < 300 || random() % 2 == 0) {
            const int position = static_cast<int>(random() % (model.size() + 1));
            entries.InsertKeyed(position, record(i), TztrIndexKey(keyOf(step)));
            model.insert(model.begin() + position, step);
        } else {
            const int position = static_cast<int>(random() % model.size());
            entries.Erase(position);
            model.erase(model.begin() + position);
        }
    }
    ASSERT_EQ(entries.Count(), static_cast<int>(model.size()));
    for (int i = 0; i < entries.Count(); ++i)
        ASSERT_EQ(TztrIndexKey(keyOf(model[static_cast<std::size_t>(i)])).CompareTo(entries.EntryAt(i)), 0) << i;
}
