#pragma once
// Figures over repetitions: the median with the smallest and largest value, and the word printed
// beside a goal.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace tarvin::bench {

struct TSpread {
    std::size_t Count = 0;
    double Median = 0;
    double Min = 0;
    double Max = 0;
};

inline TSpread SpreadOf(std::vector<double> Values) {
    TSpread spread;
    spread.Count = Values.size();
    if (Values.empty()) {
        return spread;
    }
    std::sort(Values.begin(), Values.end());
    const std::size_t n = Values.size();
    spread.Median = n % 2 == 1 ? Values[n / 2] : (Values[n / 2 - 1] + Values[n / 2]) / 2;
    spread.Min = Values.front();
    spread.Max = Values.back();
    return spread;
}

inline const char* Verdict(bool Met) {
    return Met ? "met" : "NOT met";
}

} // namespace tarvin::bench
