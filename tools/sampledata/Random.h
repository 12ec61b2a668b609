#pragma once

// Random choices that come out the same on every machine: std::mt19937's sequence is fixed by the
// standard, the standard distributions and std::shuffle are not, so the mapping to ranges is ours.

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace sampledata {

class Random
{
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    // 0 .. count-1; count must be positive.
    int below(int count)
    {
        return static_cast<int>((static_cast<std::uint64_t>(engine_()) * static_cast<std::uint64_t>(count)) >>
                                32);
    }
    // low .. high, both included.
    int between(int low, int high) { return low + below(high - low + 1); }
    // True in `percent` cases out of a hundred.
    bool chance(int percent) { return below(100) < percent; }

    template <class T> const T &pick(const std::vector<T> &items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

    // Index into weights, each chosen in proportion to its weight.
    int weighted(const std::vector<int> &weights)
    {
        int total = 0;
        for (int weight : weights)
            total += weight;
        int roll = below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (roll < weights[i])
                return static_cast<int>(i);
            roll -= weights[i];
        }
        return static_cast<int>(weights.size()) - 1;
    }

    // Up to count items without repetition, each draw in proportion to the weights left.
    template <class T>
    std::vector<T> sample(std::vector<T> items, std::vector<int> weights, std::size_t count)
    {
        std::vector<T> chosen;
        while (chosen.size() < count && !items.empty()) {
            const std::size_t pick = static_cast<std::size_t>(weighted(weights));
            chosen.push_back(std::move(items[pick]));
            items[pick] = std::move(items.back());
            items.pop_back();
            weights[pick] = weights.back();
            weights.pop_back();
        }
        return chosen;
    }

    template <class T> void shuffle(std::vector<T> &items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[static_cast<std::size_t>(below(static_cast<int>(i)))]);
    }

private:
    std::mt19937 engine_;
};

} // namespace sampledata
