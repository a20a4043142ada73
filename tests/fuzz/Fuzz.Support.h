#pragma once
// Small helpers shared by the fuzz targets.
#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/Platform.Clock.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzz {

// A property the code documents did not hold: abort so that libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

// A clock that never moves, so every run of an input is the same.
class TFixedClock final : public platform::IClock {
public:
    platform::TDateTime Now() const override { return 46000.5; }
    std::uint64_t MonotonicMs() const override { return 1000; }
};

// Little-endian pairs of bytes as UTF-16 code units; an odd last byte is dropped.
inline std::u16string BytesToUtf16(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    return text;
}

// Same bits: NaNs with equal payloads compare equal, +0 and -0 do not.
inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace fuzz
