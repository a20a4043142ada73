#include "platform/sim/Sim.Desktop.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

TKeyInput Key(std::uint16_t vk, bool up) { return TKeyInput{InputKeyboard, vk, 0, up ? KeyEventKeyUp : 0u, 0, 0}; }

TEST(SimDesktop, WindowFactsFollowTheWindowAndVanishWithIt) {
    TSimDesktop desktop;
    const auto console = desktop.AddWindow(u"ConsoleWindowClass", u"✳ Claude Code", 4242);
    desktop.SetForeground(console);
    EXPECT_EQ(desktop.ForegroundWindow(), console);
    EXPECT_EQ(desktop.ClassName(console), u"ConsoleWindowClass");
    EXPECT_EQ(desktop.Title(console), u"✳ Claude Code");
    EXPECT_EQ(desktop.OwningProcessId(console), 4242u);

    desktop.CloseWindow(console);
    EXPECT_EQ(desktop.ForegroundWindow(), 0u);
    EXPECT_EQ(desktop.ClassName(console), u"");
    EXPECT_EQ(desktop.Title(console), u"");
    EXPECT_EQ(desktop.OwningProcessId(console), 0u);
    EXPECT_NE(desktop.AddWindow(u"X", u"", 1), console) << "a closed window's handle must not come back";
}

TEST(SimDesktop, IntegrityOfUnknownUnreachableAndKnownProcesses) {
    TSimDesktop desktop;
    desktop.AddProcess(10, 0x3000);
    desktop.AddUnreachableProcess(11);
    EXPECT_EQ(desktop.ProcessIntegrityLevel(10), 0x3000u);
    EXPECT_EQ(desktop.ProcessIntegrityLevel(11), UnknownIntegrityLevel);
    EXPECT_EQ(desktop.ProcessIntegrityLevel(12), UnknownIntegrityLevel);
    EXPECT_EQ(desktop.ProcessIntegrityLevel(0), UnknownIntegrityLevel);
    desktop.SetOwnIntegrityLevel(UnknownIntegrityLevel);
    EXPECT_EQ(desktop.OwnIntegrityLevel(), UnknownIntegrityLevel);
}

TEST(SimDesktop, AcceptedKeyRecordsMoveTheKeyStateLikeWindows) {
    TSimDesktop desktop;
    const TKeyInput ctrlDown[] = {Key(0x11, false)};
    desktop.SendInputBatch(ctrlDown);
    EXPECT_EQ(desktop.AsyncKeyState(0x11), 0x8000) << "generic Ctrl";
    EXPECT_EQ(desktop.AsyncKeyState(0xA2), 0x8000) << "filed under the left Ctrl";
    EXPECT_EQ(desktop.AsyncKeyState(0xA3), 0) << "the right Ctrl stays up";

    desktop.SetKeyDown(0xA5, true); // the user holds AltGr
    EXPECT_EQ(desktop.AsyncKeyState(0x12), 0x8000) << "generic Alt reads either side";

    const TKeyInput releases[] = {Key(0x11, true), Key(0xA5, true)};
    desktop.SendInputBatch(releases);
    EXPECT_EQ(desktop.AsyncKeyState(0x11), 0);
    EXPECT_EQ(desktop.AsyncKeyState(0x12), 0);
}

TEST(SimDesktop, UnicodeRecordsDoNotTouchTheKeyState) {
    TSimDesktop desktop;
    const TKeyInput typed[] = {TKeyInput{InputKeyboard, 0, u'x', KeyEventUnicode, 0, 0}};
    desktop.SendInputBatch(typed);
    for (int vk = 1; vk < 256; ++vk) {
        ASSERT_EQ(desktop.AsyncKeyState(static_cast<std::uint16_t>(vk)), 0) << vk;
    }
}

TEST(SimDesktop, LimitedInputInsertsOnlyTheFirstRecordsAndReportsTheError) {
    TSimDesktop desktop;
    desktop.LimitInput(1, 5);
    const TKeyInput chord[] = {Key(0x11, false), Key(0x55, false), Key(0x55, true), Key(0x11, true)};
    const auto answer = desktop.SendInputBatch(chord);
    EXPECT_EQ(answer.Inserted, 1u);
    EXPECT_EQ(answer.LastError, 5u);
    EXPECT_EQ(desktop.AsyncKeyState(0x11), 0x8000) << "the Ctrl down got through, its key-up did not";
    ASSERT_EQ(desktop.InputJournal().size(), 1u);
    EXPECT_EQ(desktop.InputJournal()[0].Records.size(), 4u);
    EXPECT_EQ(desktop.InputJournal()[0].Inserted, 1u);

    desktop.AcceptAllInput();
    const auto full = desktop.SendInputBatch(chord);
    EXPECT_EQ(full.Inserted, 4u);
    EXPECT_EQ(full.LastError, 0u);
}

TEST(SimDesktop, JournalNotesWhenEachBatchCameAndWhichWindowWasInFront) {
    TSimDesktop desktop;
    const auto console = desktop.AddWindow(u"ConsoleWindowClass", u"", 1);
    const auto other = desktop.AddWindow(u"Notepad", u"", 2);
    const TKeyInput tap[] = {Key(0x41, false), Key(0x41, true)};
    desktop.SetForeground(console);
    const auto start = desktop.MonotonicMs();
    (void)desktop.SendInputBatch(tap);
    desktop.AdvanceMs(60);
    desktop.SetForeground(other);
    (void)desktop.SendInputBatch(tap);

    ASSERT_EQ(desktop.InputJournal().size(), 2u);
    EXPECT_EQ(desktop.InputJournal()[0].AtMs, start);
    EXPECT_EQ(desktop.InputJournal()[0].Foreground, console);
    EXPECT_EQ(desktop.InputJournal()[1].AtMs, start + 60);
    EXPECT_EQ(desktop.InputJournal()[1].Foreground, other);
}

TEST(SimDesktop, ClockMovesOnlyWhenTold) {
    TSimDesktop desktop;
    const TDateTime start = desktop.Now();
    const auto ticks = desktop.MonotonicMs();
    EXPECT_EQ(desktop.Now(), start);
    desktop.AdvanceMs(43'200'000); // half a day
    EXPECT_DOUBLE_EQ(desktop.Now(), start + 0.5);
    EXPECT_EQ(desktop.MonotonicMs(), ticks + 43'200'000);
}

} // namespace
} // namespace platform::sim
