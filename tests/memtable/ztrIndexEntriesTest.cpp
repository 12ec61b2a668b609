#include "memtable/ztrIndexEntries.h"

#include "memtable/ztrRecord.h"

#include <gtest/gtest.h>

#include <random>
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
