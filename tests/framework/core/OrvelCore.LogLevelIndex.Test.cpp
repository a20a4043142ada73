// The level index: its answers against a plain walk over the levels, across its marks.
#include "framework/core/OrvelCore.LogLevelIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orvel {
namespace {

// What a plain walk says: the index of passing line Row, or -1.
int WalkFind(const std::vector<TLogVerbLvl>& Levels, int Row, TLogVerbLvl Filter) {
    int passing = 0;
    for (std::size_t i = 0; i < Levels.size(); ++i) {
        if (Levels[i] >= Filter && passing++ == Row) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Every question at every level against the walk.
void ExpectAgreesWithAWalk(const TLogLevelIndex& Index, const std::vector<TLogVerbLvl>& Levels) {
    ASSERT_EQ(Index.Count(), static_cast<int>(Levels.size()));
    for (int f = LogVerbLvlFirst; f <= LogVerbLvlLast; ++f) {
        const auto filter = static_cast<TLogVerbLvl>(f);
        int passing = 0;
        for (const TLogVerbLvl level : Levels) {
            passing += level >= filter ? 1 : 0;
        }
        ASSERT_EQ(Index.CountAtLeast(filter), passing) << "filter " << f;
        for (int row = -1; row <= passing; ++row) {
            ASSERT_EQ(Index.FindPassing(row, filter), WalkFind(Levels, row, filter))
                << "filter " << f << ", row " << row;
        }
        for (int row = 0; row + 1 < passing; ++row) {
            const int at = WalkFind(Levels, row, filter);
            const int next = WalkFind(Levels, row + 1, filter);
            const int near = Index.NextPassingNear(at, filter);
            ASSERT_TRUE(near == next || (near == -1 && next - at > TLogLevelIndex::MarkSpacing))
                << "filter " << f << ", after " << at;
        }
    }
}

TEST(LogLevelIndex, AnswersLikeAWalkForLengthsAroundItsMarks) {
    std::mt19937 random(7);
    // Mostly routine levels, a few warnings and errors, as a log has them.
    std::discrete_distribution<int> pick({30, 10, 10, 45, 3, 1.5, 0.5});
    const int spacing = TLogLevelIndex::MarkSpacing;
    for (const int length : {0, 1, spacing - 1, spacing, spacing + 1, 3 * spacing, 3 * spacing + 7}) {
        SCOPED_TRACE("length " + std::to_string(length));
        TLogLevelIndex index;
        std::vector<TLogVerbLvl> levels;
        for (int i = 0; i < length; ++i) {
            levels.push_back(static_cast<TLogVerbLvl>(pick(random)));
            index.Append(levels.back());
        }
        ExpectAgreesWithAWalk(index, levels);
    }
}

TEST(LogLevelIndex, ALonePassingLineFarFromTheOthersIsFound) {
    // Errors only at both ends of a long stretch of debug lines: the next one lies beyond what
    // NextPassingNear looks at, and FindPassing must reach it through the marks.
    TLogLevelIndex index;
    std::vector<TLogVerbLvl> levels(5 * TLogLevelIndex::MarkSpacing + 3, lvDebug);
    levels.front() = lvErrors;
    levels.back() = lvErrors;
    for (const TLogVerbLvl level : levels) {
        index.Append(level);
    }
    EXPECT_EQ(index.NextPassingNear(0, lvErrors), -1);
    EXPECT_EQ(index.FindPassing(1, lvErrors), static_cast<int>(levels.size()) - 1);
    ExpectAgreesWithAWalk(index, levels);
}

TEST(LogLevelIndex, ClearStartsOverAndSwapHandsEverythingOver) {
    TLogLevelIndex index;
    std::vector<TLogVerbLvl> levels;
    for (int i = 0; i < 1000; ++i) {
        levels.push_back(static_cast<TLogVerbLvl>(i % 7));
        index.Append(levels.back());
    }
    TLogLevelIndex other;
    other.Swap(index);
    ExpectAgreesWithAWalk(other, levels);
    ExpectAgreesWithAWalk(index, {});

    other.Clear();
    ExpectAgreesWithAWalk(other, {});
    // Past the first marks again: a mark left from before the clear would send the search astray.
    std::vector<TLogVerbLvl> again;
    for (int i = 0; i < 2 * TLogLevelIndex::MarkSpacing + 5; ++i) {
        again.push_back(i % 3 == 0 ? lvErrors : lvDebug);
        other.Append(again.back());
    }
    ExpectAgreesWithAWalk(other, again);
}

} // namespace
} // namespace orvel
