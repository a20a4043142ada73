// Tarvin's blind schedule (for terminals whose screen cannot be read) against the model, with the
// schedule's own timing: clearing keys 60 ms apart, the command, Enters 250 ms apart, then Ctrl+Y
// and Backspace. The level is set, nothing is sent, the draft comes back; and where the schedule's
// reach ends, the harm it does.
#include "tests/tools/termsim/Termsim.Driver.h"
#include "tests/tools/termsim/Termsim.Printers.h"

#include <gtest/gtest.h>

namespace termsim::test {
namespace {

constexpr std::uint64_t ClearDelayMs = 60;
constexpr std::uint64_t EnterDelayMs = 250;

void PlayBurst(TDriver& driver, std::u16string_view level, int enterCount = 3, bool restore = true) {
    driver.Press(ClearingSchedule(restore), ClearDelayMs);
    driver.Press(Seq({Typed(u"/effort "), Typed(level)}), 1);
    driver.Press(Repeat(TKey::Enter, 1 + enterCount), EnterDelayMs);
    if (restore) {
        driver.Press(Keys({TKey::CtrlY, TKey::Backspace}), ClearDelayMs);
    }
}

struct TBurstCase {
    const char* Name;
    std::u16string Text;
    TCursor Cursor;
    std::u16string StaleKill;
};

void PrintTo(const TBurstCase& c, std::ostream* os) {
    *os << c.Name;
}

class BlindBurst : public testing::TestWithParam<std::tuple<TBurstCase, bool>> {};

TEST_P(BlindBurst, SetsTheLevelAndGivesTheTextBack) {
    const auto& [c, question] = GetParam();
    TSetup setup;
    setup.Prompt = c.Text;
    setup.Cursor = c.Cursor;
    if (!c.StaleKill.empty()) {
        setup.Kills = {c.StaleKill};
    }
    setup.Question = question;
    TDriver driver(setup);

    PlayBurst(driver, u"high");

    EXPECT_EQ(driver.Harms(), "");
    EXPECT_EQ(driver.All<TEffortEvent>(), std::vector<TEffortEvent>{{u"high"}});
    EXPECT_EQ(driver.All<TQuestionEvent>().size(), question ? 1u : 0u);
    EXPECT_EQ(driver.Prompt().Text, c.Text);
    EXPECT_EQ(driver.Prompt().Cursor, TDraft::EndOf(c.Text));
    EXPECT_EQ(driver.Prompt().View, TView::Prompt);
}

const std::u16string Smile = u"\U0001F600";

INSTANTIATE_TEST_SUITE_P(
    Prompts, BlindBurst,
    testing::Combine(testing::Values(TBurstCase{"Empty", u"", {0, 0}, u""},
                                     // The marker starts the kill, so an old kill never comes back.
                                     TBurstCase{"EmptyWithAStaleKill", u"", {0, 0}, u"old text"},
                                     TBurstCase{"OneLineCaretAtEnd", u"fix the bug", {0, 11}, u""},
                                     TBurstCase{"OneLineCaretInMiddle", u"fix the bug", {0, 4}, u"old text"},
                                     TBurstCase{"OneLineCaretAtStart", u"fix the bug", {0, 0}, u""},
                                     TBurstCase{"TextEndingInTheMarkerLetter", u"fix", {0, 3}, u""},
                                     TBurstCase{"HalfTypedCommand", u"/effort hi", {0, 10}, u""},
                                     TBurstCase{"BlanksOnly", u"   ", {0, 1}, u""},
                                     TBurstCase{"EndingInABackslash", u"C:\\temp\\", {0, 8}, u""},
                                     TBurstCase{"TwoLinesCaretOnFirst", u"first\nsecond", {0, 2}, u""},
                                     TBurstCase{"TrailingEmptyLine", u"first\n", {1, 0}, u""},
                                     TBurstCase{"SixLinesCaretOnFirst", u"l0\nl1\nl2\nl3\nl4\nl5", {0, 1}, u""},
                                     TBurstCase{"SevenLinesCaretAtEnd", u"l0\nl1\nl2\nl3\nl4\nl5\nl6", {6, 2}, u""},
                                     TBurstCase{"EightLinesCaretAtEnd", u"l0\nl1\nl2\nl3\nl4\nl5\nl6\nl7", {7, 2}, u""},
                                     TBurstCase{"NonAsciiText", u"gr\u00FC\u00DFe " + Smile, {0, 3}, u""}),
                     testing::Bool()),
    [](const testing::TestParamInfo<std::tuple<TBurstCase, bool>>& test) {
        return std::string(std::get<0>(test.param).Name) + (std::get<1>(test.param) ? "Asked" : "Direct");
    });

// Where six Ctrl+E/Right pairs and sixteen Ctrl+U cannot reach, the command lands in front of the
// rest of the draft, and Enter runs or sends the mix.
TEST(BlindBurstReach, MoreThanFiveLinesBelowTheCaretAreNotCleared) {
    TSetup setup;
    setup.Prompt = u"l0\nl1\nl2\nl3\nl4\nl5\nl6";
    setup.Cursor = TCursor{0, 0};
    TDriver driver(setup);

    PlayBurst(driver, u"high");

    ASSERT_FALSE(driver.All<TFailedEvent>().empty());
    EXPECT_EQ(driver.All<TFailedEvent>().front().Error.substr(0, 28), u"Unknown option: highl6. Opti");
    EXPECT_EQ(driver.State().Effort, u"medium");
}

TEST(BlindBurstReach, MoreThanEightFullLinesAreSentWithTheCommand) {
    TSetup setup;
    setup.Prompt = u"l0\nl1\nl2\nl3\nl4\nl5\nl6\nl7\nl8";
    TDriver driver(setup);

    PlayBurst(driver, u"high");

    EXPECT_EQ(driver.Harms().substr(0, 30), "submitted \"l0/effort high\"\n");
}

TEST(BlindBurstWithoutRestore, LeavesTheCutTextInTheKillRing) {
    TSetup setup;
    setup.Prompt = u"first\nsecond";
    setup.Cursor = TCursor{0, 5};
    TDriver driver(setup);

    PlayBurst(driver, u"low", 3, false);

    EXPECT_EQ(driver.Outcomes(), "effort low\n");
    EXPECT_EQ(driver.Prompt().Text, u"");
    EXPECT_EQ(driver.Prompt().Kill, u"first\nsecond");
}

TEST(BlindBurstQuestion, OneExtraEnterAnswersItWhenItComesInTime) {
    TSetup setup;
    setup.Prompt = u"draft";
    setup.Question = true;
    TDriver driver(setup);

    PlayBurst(driver, u"max", 1);

    EXPECT_EQ(driver.State().Effort, u"max");
    EXPECT_EQ(driver.Prompt().Text, u"draft");
}

TEST(BlindBurstQuestion, EntersFasterThanTheQuestionMissItAndLeaveItOpen) {
    TSetup setup;
    setup.Prompt = u"draft";
    setup.Question = true;
    TDriver driver(setup);

    driver.Press(ClearingSchedule(true), ClearDelayMs);
    driver.Press(Seq({Typed(u"/effort max"), Repeat(TKey::Enter, 4), Keys({TKey::CtrlY, TKey::Backspace})}), 20);
    driver.Wait(500);

    EXPECT_EQ(driver.Prompt().View, TView::Question) << "every Enter came before the question";
    EXPECT_EQ(driver.State().Effort, u"medium");
    EXPECT_EQ(driver.Prompt().Text, u"draft") << "the draft waits under the question";
}

} // namespace
} // namespace termsim::test
