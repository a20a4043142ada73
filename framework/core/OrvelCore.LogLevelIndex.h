#pragma once
// TLogLevelIndex: the level of every line of a container, in order, kept so that the viewer's
// questions never walk the lines: per-level counts move as lines are added and cleared (so the
// number of lines at or above a level is a sum of seven counts), and every MarkSpacing lines a mark
// notes how many lines at or above each level came before it, so the line that is number N among
// those passing a filter is found by a binary search over the marks and a look at no more than
// MarkSpacing levels, one byte each.
//
// No lock of its own: it changes together with the container's list and is read under the same
// lock.
#include "framework/core/OrvelCore.LogTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvel {

class TLogLevelIndex {
public:
    static constexpr int MarkSpacing = 256;

    TLogLevelIndex();

    // Inline: every added line passes here. Either everything grows or nothing does.
    void Append(TLogVerbLvl Level) {
        FLevels.push_back(static_cast<std::uint8_t>(Level));
        if (FLevels.size() % MarkSpacing == 0) {
            AddMark(Level);
        }
        ++FCounts[Level];
    }
    // Room for Lines lines in all.
    void Reserve(std::size_t Lines);
    void Clear() noexcept;
    void Swap(TLogLevelIndex& Other) noexcept;

    int Count() const { return static_cast<int>(FLevels.size()); }
    // Lines whose level passes Filter.
    int CountAtLeast(TLogVerbLvl Filter) const;
    // The index of the line that is number Row (from 0) among those passing Filter; -1 when Row is
    // negative or fewer lines pass.
    int FindPassing(int Row, TLogVerbLvl Filter) const;
    // The index of the first line after Index that passes Filter, looking at no more than
    // MarkSpacing lines; -1 when none of them passes.
    int NextPassingNear(int Index, TLogVerbLvl Filter) const;

private:
    using TMark = std::array<std::int32_t, LogVerbLvlCount>; // [v]: lines at or above level v

    TMark AtOrAbove() const;
    // The mark after the line of Level just appended (counted before FCounts moves); takes the line
    // back out when the mark cannot be stored.
    void AddMark(TLogVerbLvl Level);

    std::vector<std::uint8_t> FLevels;
    std::array<std::int32_t, LogVerbLvlCount> FCounts{}; // lines of each level
    std::vector<TMark> FMarks;                             // FMarks[b]: before line b * MarkSpacing
};

} // namespace orvel
