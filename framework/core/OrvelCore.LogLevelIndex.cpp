#include "framework/core/OrvelCore.LogLevelIndex.h"

#include <algorithm>
#include <utility>

namespace orvel {

TLogLevelIndex::TLogLevelIndex() {
    FMarks.push_back(TMark{});
}

TLogLevelIndex::TMark TLogLevelIndex::AtOrAbove() const {
    TMark mark{};
    std::int32_t sum = 0;
    for (int v = LogVerbLvlLast; v >= LogVerbLvlFirst; --v) {
        sum += FCounts[static_cast<std::size_t>(v)];
        mark[static_cast<std::size_t>(v)] = sum;
    }
    return mark;
}

void TLogLevelIndex::AddMark(TLogVerbLvl Level) {
    TMark mark = AtOrAbove();
    for (int v = LogVerbLvlFirst; v <= Level; ++v) {
        ++mark[static_cast<std::size_t>(v)];
    }
    try {
        FMarks.push_back(mark);
    } catch (...) {
        FLevels.pop_back();
        throw;
    }
}

void TLogLevelIndex::Reserve(std::size_t Lines) {
    FLevels.reserve(Lines);
    FMarks.reserve(Lines / MarkSpacing + 1);
}

void TLogLevelIndex::Clear() noexcept {
    FLevels.clear();
    FCounts = {};
    FMarks.resize(1);
}

void TLogLevelIndex::Swap(TLogLevelIndex& Other) noexcept {
    std::swap(FLevels, Other.FLevels);
    std::swap(FCounts, Other.FCounts);
    std::swap(FMarks, Other.FMarks);
}

int TLogLevelIndex::CountAtLeast(TLogVerbLvl Filter) const {
    std::int32_t sum = 0;
    for (int v = Filter; v <= LogVerbLvlLast; ++v) {
        sum += FCounts[static_cast<std::size_t>(v)];
    }
    return sum;
}

int TLogLevelIndex::FindPassing(int Row, TLogVerbLvl Filter) const {
    if (Row < 0 || Row >= CountAtLeast(Filter)) {
        return -1;
    }
    // The last mark with at most Row passing lines before it: the line is in its stretch.
    const auto after = std::upper_bound(FMarks.begin(), FMarks.end(), Row,
                                        [Filter](int Wanted, const TMark& Mark) { return Wanted < Mark[Filter]; });
    const auto block = static_cast<std::size_t>(after - FMarks.begin() - 1);
    int passing = FMarks[block][Filter];
    const std::size_t end = FLevels.size();
    for (std::size_t i = block * MarkSpacing; i < end; ++i) {
        if (FLevels[i] >= Filter) {
            if (passing == Row) {
                return static_cast<int>(i);
            }
            ++passing;
        }
    }
    return -1; // not reached: the counts say the line exists
}

int TLogLevelIndex::NextPassingNear(int Index, TLogVerbLvl Filter) const {
    const std::size_t end = std::min(FLevels.size(), static_cast<std::size_t>(Index) + 1 + MarkSpacing);
    for (std::size_t i = static_cast<std::size_t>(Index) + 1; i < end; ++i) {
        if (FLevels[i] >= Filter) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace orvel
