#include "framework/ui/OrvelVcl.Common.Window.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace orvel {
namespace {

using TCalls = std::vector<std::string>;

std::string Hex(platform::TWindowHandle window) {
    std::ostringstream text;
    text << "0x" << std::hex << window;
    return text.str();
}

// Two programs on the simulated desktop: the first copy's hidden main window on thread 7, and the
// window in front on thread 5.
class WindowHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        Target = Control.AddWindow(u"TarvinWndClass", u"Tarvin", 100, 7);
        Front = Control.AddWindow(u"Notepad", u"Untitled", 200, 5);
        Sim.Desktop.SetForeground(Front);
    }

    platform::sim::TSimPlatform Sim;
    platform::sim::TSimWindowControl& Control = Sim.WindowControl;
    platform::TWindowHandle Target = 0;
    platform::TWindowHandle Front = 0;
};

TEST_F(WindowHelpers, RestoreWindowSendsTheMessageRestoresThePlacementThenForcesTheForeground) {
    EXPECT_TRUE(RestoreWindow(Control, Target));

    const std::string t = Hex(Target);
    EXPECT_EQ(Control.Calls(),
              (TCalls{"SendMessage " + t + " 0x441 0 0", "GetWindowPlacement " + t + " length=44",
                      "SetWindowPlacement " + t + " showCmd=9", "GetForegroundWindow",
                      "GetWindowThreadProcessId " + t, "GetWindowThreadProcessId " + Hex(Front),
                      "AttachThreadInput 5 7 1", "SetForegroundWindow " + t, "AttachThreadInput 5 7 0",
                      "SetForegroundWindow " + t}));
    EXPECT_EQ(Sim.Desktop.ForegroundWindow(), Target);
}

TEST_F(WindowHelpers, RestoreKeepsThePlacementAndChoosesMaximisedOnlyWhenTheWindowWillRestoreToMaximised) {
    struct TCase {
        std::uint32_t Flags;
        std::uint32_t ShowCmd;
    };
    const TCase cases[] = {{0, 9}, {2, 3}, {1 | 2, 3}, {1, 9}, {4, 9}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Flags);
        platform::TWindowPlacement before;
        before.Length = platform::WindowPlacementLength;
        before.Flags = c.Flags;
        before.ShowCmd = 2; // SW_SHOWMINIMIZED
        before.MinPosition = {-32000, -32000};
        before.MaxPosition = {-1, -1};
        before.NormalPosition = {10, 20, 330, 260};
        Control.SetWindowPlacement(Target, before);

        RestoreWindow(Control, Target);

        platform::TWindowPlacement expected = before;
        expected.ShowCmd = c.ShowCmd;
        EXPECT_EQ(Control.Placement(Target), expected);
    }
}

TEST_F(WindowHelpers, FailedPlacementReadSkipsTheWriteButStillBringsTheWindowForward) {
    Control.FailPlacementRead(Target);

    EXPECT_TRUE(RestoreWindow(Control, Target));

    const std::string t = Hex(Target);
    const TCalls& calls = Control.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "SendMessage " + t + " 0x441 0 0");
    EXPECT_EQ(calls[1], "GetWindowPlacement " + t + " length=44");
    EXPECT_EQ(calls[2], "GetForegroundWindow");
    EXPECT_EQ(Sim.Desktop.ForegroundWindow(), Target);
}

TEST_F(WindowHelpers, RestoreWindowAnswersWhatForcingTheForegroundAnswered) {
    Control.QueueForegroundAnswers({false});

    EXPECT_FALSE(RestoreWindow(Control, Target));
    EXPECT_EQ(Sim.Desktop.ForegroundWindow(), Front);
}

TEST_F(WindowHelpers, WindowAlreadyInFrontIsForegroundWithoutAskingTheSystem) {
    Sim.Desktop.SetForeground(Target);

    EXPECT_TRUE(ForceForegroundWindow(Control, Target));
    EXPECT_EQ(Control.Calls(), TCalls{"GetForegroundWindow"});
}

TEST_F(WindowHelpers, WindowOfTheForegroundThreadIsSetDirectlyWithoutAttaching) {
    const platform::TWindowHandle sibling = Control.AddWindow(u"NotepadTool", u"", 200, 5);

    for (const bool answer : {true, false}) {
        SCOPED_TRACE(answer);
        Sim.Desktop.SetForeground(Front);
        Control.ClearCalls();
        Control.QueueForegroundAnswers({answer});

        EXPECT_EQ(ForceForegroundWindow(Control, sibling), answer);
        const std::string s = Hex(sibling);
        EXPECT_EQ(Control.Calls(),
                  (TCalls{"GetForegroundWindow", "GetWindowThreadProcessId " + s,
                          "GetWindowThreadProcessId " + Hex(Front), "SetForegroundWindow " + s}));
    }
}

TEST_F(WindowHelpers, OtherThreadAnswersWithTheSecondDetachedSet) {
    Control.QueueForegroundAnswers({true, false});

    EXPECT_FALSE(ForceForegroundWindow(Control, Target));
    const TCalls& calls = Control.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "SetForegroundWindow " + Hex(Target));
    EXPECT_EQ(calls[calls.size() - 2], "AttachThreadInput 5 7 0");
}

TEST_F(WindowHelpers, FailedSetWhileAttachedDetachesAndGivesUp) {
    Control.QueueForegroundAnswers({false});

    EXPECT_FALSE(ForceForegroundWindow(Control, Target));
    const std::string t = Hex(Target);
    EXPECT_EQ(Control.Calls(), (TCalls{"GetForegroundWindow", "GetWindowThreadProcessId " + t,
                                       "GetWindowThreadProcessId " + Hex(Front), "AttachThreadInput 5 7 1",
                                       "SetForegroundWindow " + t, "AttachThreadInput 5 7 0"}));
    EXPECT_EQ(Sim.Desktop.ForegroundWindow(), Front);
}

TEST_F(WindowHelpers, NoWindowCannotBeBroughtForward) {
    EXPECT_FALSE(ForceForegroundWindow(Control, 0));
    EXPECT_TRUE(Control.Calls().empty());

    // Not even when nothing is in front, which would otherwise look like "already foreground".
    Sim.Desktop.SetForeground(0);
    EXPECT_FALSE(ForceForegroundWindow(Control, 0));
}

TEST_F(WindowHelpers, RestoreWindowByNameFindsEvenAHiddenWindowWhateverItsTitleAndCaseOfClass) {
    EXPECT_TRUE(RestoreWindowByName(Control, u"tarvinwndclass"));

    const TCalls& calls = Control.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "FindWindow");
    EXPECT_EQ(calls[1], "SendMessage " + Hex(Target) + " 0x441 0 0");
    EXPECT_EQ(Sim.Desktop.ForegroundWindow(), Target);
}

TEST_F(WindowHelpers, RestoreWindowByNameIsTrueWhenFoundEvenIfTheForegroundIsRefused) {
    Control.QueueForegroundAnswers({false});

    EXPECT_TRUE(RestoreWindowByName(Control, u"TarvinWndClass"));
    EXPECT_EQ(Sim.Desktop.ForegroundWindow(), Front);
}

TEST_F(WindowHelpers, RestoreWindowByNameForAClassNoWindowHasDoesNothingElse) {
    Sim.Desktop.CloseWindow(Target);

    EXPECT_FALSE(RestoreWindowByName(Control, u"TarvinWndClass"));
    EXPECT_FALSE(RestoreWindowByName(Control, u"NoSuchClass"));
    EXPECT_EQ(Control.Calls(), (TCalls{"FindWindow", "FindWindow"}));
}

TEST_F(WindowHelpers, MissingArgumentsAreProgrammingErrors) {
    EXPECT_THROW_MSG(RestoreWindowByName(Control, u""), EOrvelException, u"RestoreWindowByName: ClassName parameter cannot be empty");
    EXPECT_THROW_MSG(RestoreWindow(Control, 0), EOrvelException, u"RestoreWindow: WndHandle parameter cannot be 0");
    EXPECT_TRUE(Control.Calls().empty());
}

} // namespace
} // namespace orvel
