#include "framework/core/OrvelCore.WinVersion.h"

#include "platform/sim/Sim.VersionInfo.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(WinVersion, Windows8AndLaterAreVersion6Point2AndUp) {
    struct TCase {
        platform::TOsVersion Version;
        bool Expected;
    };
    const TCase cases[] = {
        {{0, 0}, false}, // unknown
        {{5, 1}, false}, // XP
        {{5, 9}, false}, // a high minor does not lift an old major
        {{6, 0}, false}, // Vista
        {{6, 1}, false}, // 7
        {{6, 2}, true},  // 8
        {{6, 3}, true},  // 8.1
        {{7, 0}, true},  // any major above 6
        {{10, 0}, true}, // 10 and 11
        {{11, 5}, true},
    };
    platform::sim::TSimVersionInfo versions;
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Version.Major << "." << c.Version.Minor);
        EXPECT_EQ(IsWindows8Up(c.Version), c.Expected);
        versions.SetOsVersion(c.Version);
        EXPECT_EQ(IsWindows8Up(versions), c.Expected);
    }
}

} // namespace
} // namespace orvel
