#include "platform/sim/Sim.TimeFormat.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

struct TTimeCase {
    TDateTime Value;
    const char16_t* Text;
};

TEST(SimTimeFormat, ShowsTheTimeOfDayOnTheTwentyFourHourClock) {
    const TTimeCase cases[] = {
        {46000.5, u"12:00:00"},
        {46000.0, u"00:00:00"},
        {46000.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0, u"13:05:09"},
        {46000.0 + 86399.4 / 86400.0, u"23:59:59"},
        {46000.0 + 86399.9996 / 86400.0, u"23:59:59"}, // rounds to the millisecond, never to the next day
        {-1.25, u"06:00:00"},                          // 29 December 1899: the fraction counts forward
    };
    const TSimTimeFormat format;
    for (const TTimeCase& c : cases) {
        EXPECT_EQ(format.LongTimeText(c.Value), c.Text) << c.Value;
    }
}

} // namespace
} // namespace platform::sim
