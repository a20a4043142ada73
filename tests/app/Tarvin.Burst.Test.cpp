#include "app/Tarvin.Burst.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvin {
namespace {

// The clearing schedule as one letter per step: E (Ctrl+E), R (Right), x (the marker), U (Ctrl+U).
std::string Schedule(bool Restore) {
    std::string keys;
    for (std::int32_t i = 0; i < ClearStepCount(Restore); ++i) {
        switch (ClearStepKey(i, Restore)) {
        case TClearKey::CtrlE:
            keys += 'E';
            break;
        case TClearKey::Right:
            keys += 'R';
            break;
        case TClearKey::Marker:
            keys += 'x';
            break;
        case TClearKey::CtrlU:
            keys += 'U';
            break;
        }
    }
    return keys;
}

TEST(BurstSchedule, SixMotionPairsThenTheMarkerOnlyWhenRestoringThenSixteenCtrlU) {
    EXPECT_EQ(Schedule(true), "ERERERERERER"
                              "x"
                              "UUUUUUUUUUUUUUUU");
    EXPECT_EQ(Schedule(false), "ERERERERERER"
                               "UUUUUUUUUUUUUUUU");
}

TEST(BurstTexts, ShortfallsNameTheCountsAndTheUnsignedError) {
    EXPECT_EQ(
        ClearShortfallText(TSendResult{4, 2, 5}),
        u"Windows accepted only 2 of 4 keystrokes while clearing the prompt (error 5). Nothing was typed.");
    EXPECT_EQ(
        TypeShortfallText(TSendResult{24, 0, 0xFFFFFFFFu}),
        u"Windows accepted only 0 of 24 keystrokes (error 4294967295). The command was not typed in full.");
    EXPECT_EQ(TypedCommandText(u"/effort low", u"CASCADIA_HOSTING_WINDOW_CLASS", u"\u25D0 Claude"),
              u"Typed \"/effort low\" into CASCADIA_HOSTING_WINDOW_CLASS (\"\u25D0 Claude\").");
}

TEST(BurstTexts, PhasesBeforeTypingShareTheNothingWasSentMessage) {
    EXPECT_EQ(FocusLossText(spIdle), FocusLossText(spWaitModifiers));
    EXPECT_EQ(FocusLossText(spWaitModifiers),
              u"The focus left the terminal before the command could be typed. Nothing was sent.");
    EXPECT_NE(FocusLossText(spClearPrompt), FocusLossText(spWaitModifiers));
}

} // namespace
} // namespace tarvin
