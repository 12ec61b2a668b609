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
    entries.AssignKeyed(keyed);
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
    entries.AssignKeyed(keyed);
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
