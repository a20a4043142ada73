#pragma once
// The benchmark's workload: 1,000,000 typical log lines of 40 to 120 characters, mostly routine,
// a few warnings and errors, the same in every run.
#include "framework/core/OrvelCore.LogTypes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

inline constexpr int LineCount = 1000000;

struct TWorkload {
    std::vector<std::u16string> Msgs;
    std::vector<std::string> Utf8; // the same texts, for spdlog
    std::vector<orvel::TLogVerbLvl> Levels;
    std::size_t Utf16Bytes = 0; // of all messages together

    TWorkload();
};

// Built on first use; build it before forking so that every measurement shares it.
const TWorkload& Work();

} // namespace bench
