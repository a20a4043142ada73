#include "framework/core/OrvelCore.ExeVersion.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

const std::u16string ExePath = u"C:\\Program Files\\Tarvin\\Tarvin.exe";

class ExeVersion : public ::testing::Test {
protected:
    void SetUp() override { Sim.Files.SetExecutablePath(ExePath); }

    platform::sim::TSimPlatform Sim;
};

TEST(ExeVersionWords, EachNumberComesFromItsOwnHalfOfTheTwoWords) {
    struct TCase {
        platform::TFileVersionWords Words;
        TExeVersion Expected;
    };
    const TCase cases[] = {
        {{0x00010004, 0x00000011}, {1, 4, 0, 17}},
        {{0x00020003, 0x00040005}, {2, 3, 4, 5}},
        {{0xFFFF0000, 0x0000FFFF}, {0xFFFF, 0, 0, 0xFFFF}},
        {{0x0000FFFF, 0xFFFF0000}, {0, 0xFFFF, 0xFFFF, 0}},
        {{0, 0}, {0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.Words.Ms << " " << c.Words.Ls);
        EXPECT_EQ(VersionFromWords(c.Words), c.Expected);
    }
}

TEST_F(ExeVersion, FileWithAVersionGivesItsFourNumbers) {
    Sim.Versions.SetFileVersion(u"C:\\Tools\\Other.exe", {0x00070008, 0x0009000A});
    TExeVersion version{9, 9, 9, 9};

    EXPECT_TRUE(GetVersionInfoFile(Sim.Versions, u"c:\\tools\\OTHER.exe", version));
    EXPECT_EQ(version, (TExeVersion{7, 8, 9, 10}));
}

TEST_F(ExeVersion, FileWithoutAVersionAnswersFalseAndZeroesWhatTheCallerPassed) {
    TExeVersion version{1, 2, 3, 4};

    EXPECT_FALSE(GetVersionInfoFile(Sim.Versions, u"C:\\Tools\\Plain.exe", version));
    EXPECT_EQ(version, TExeVersion{});
}

TEST_F(ExeVersion, EmptyFileNameIsAProgrammingError) {
    TExeVersion version{1, 2, 3, 4};
    EXPECT_THROW_MSG(GetVersionInfoFile(Sim.Versions, u"", version), EOrvelException,
                     u"GetVersionInfoFile: FileName parameter cannot be empty");
}

TEST(ExeVersionText, ThreeNumbersOrFourWithTheBuildOrNotAvailable) {
    struct TCase {
        TExeVersion Version;
        bool Found;
        bool ShowBuildNo;
        std::u16string Expected;
    };
    const TCase cases[] = {
        {{1, 4, 0, 17}, true, false, u"1.4.0"},
        {{1, 4, 0, 17}, true, true, u"1.4.0.17"},
        {{0, 0, 0, 0}, true, true, u"0.0.0.0"},
        {{65535, 10, 200, 65535}, true, true, u"65535.10.200.65535"},
        {{0, 0, 0, 0}, false, false, u"N/A"},
        {{0, 0, 0, 0}, false, true, u"N/A"},
        // Not found means not available, whatever numbers happen to be passed along.
        {{1, 4, 0, 17}, false, true, u"N/A"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Found << c.ShowBuildNo);
        EXPECT_EQ(VersionText(c.Version, c.Found, c.ShowBuildNo), c.Expected);
    }
}

TEST_F(ExeVersion, RunningExecutableTextsComeFromItsOwnVersion) {
    Sim.Versions.SetFileVersion(ExePath, {0x00010004, 0x00000011});
    Sim.Versions.SetFileVersion(u"C:\\Tools\\Other.exe", {0x00090009, 0x00090009});

    EXPECT_EQ(GetVersionInfo(Sim.Files, Sim.Versions, false), u"1.4.0");
    EXPECT_EQ(GetVersionInfo(Sim.Files, Sim.Versions, true), u"1.4.0.17");
    EXPECT_EQ(GetVersionInfoV(Sim.Files, Sim.Versions), u" v1.4.0");
}

TEST_F(ExeVersion, RunningExecutableWithoutAVersionIsNotAvailable) {
    EXPECT_EQ(GetVersionInfo(Sim.Files, Sim.Versions, true), u"N/A");
    EXPECT_EQ(GetVersionInfo(Sim.Files, Sim.Versions, false), u"N/A");
    EXPECT_EQ(GetVersionInfoV(Sim.Files, Sim.Versions), u" vN/A");
}

TEST_F(ExeVersion, ExecutablePathTheSystemCannotTellIsNotAvailableRatherThanAnError) {
    Sim.Files.SetExecutablePath(u"");

    EXPECT_EQ(GetVersionInfo(Sim.Files, Sim.Versions, true), u"N/A");
}

} // namespace
} // namespace orvel
