#include "tests/tools/termsim/Termsim.Printers.h"
#include "tools/termsim/Termsim.Cli.h"
#include "tools/termsim/Termsim.Options.h"

#include <gtest/gtest.h>

namespace termsim {
namespace {

using TArgs = std::vector<std::u16string>;

TEST(TermsimOptions, DefaultsToAnEmptyPromptInAConsoleWindowWithTheMarkerTitle) {
    const TOptionsResult result = ParseOptions({u"--record", u"C:\\rec.txt"});

    ASSERT_TRUE(result.Options) << std::string(result.Error.begin(), result.Error.end());
    const TOptions& options = *result.Options;
    EXPECT_EQ(options.RecordPath, u"C:\\rec.txt");
    EXPECT_EQ(options.WindowClass, u"ConsoleWindowClass");
    EXPECT_EQ(options.TimesPath, u"");
    EXPECT_FALSE(options.Console);
    EXPECT_EQ(options.Columns, 100);
    EXPECT_EQ(options.Rows, 30);
    const TSetup& setup = options.Setup;
    EXPECT_EQ(setup.Title, u"\u2733 Claude Code");
    EXPECT_EQ(setup.Prompt, u"");
    EXPECT_EQ(setup.Cursor, std::nullopt);
    EXPECT_TRUE(setup.Kills.empty());
    EXPECT_FALSE(setup.Question);
    EXPECT_EQ(setup.QuestionDelayMs, 200u);
    EXPECT_EQ(setup.Open, TView::Prompt);
    EXPECT_EQ(setup.Effort, u"medium");
    EXPECT_FALSE(setup.Shell);
}

TEST(TermsimOptions, KeepsTheOlderOptionsWithEscapedTexts) {
    const TOptionsResult result = ParseOptions(
        {u"--confirm", u"--class", u"CASCADIA_HOSTING_WINDOW_CLASS", u"--title", u"PowerShell", u"--prompt",
         u"one\\ntwo \\\\", u"--cursor", u"1,3", u"--kill", u"old\\n", u"--record", u"r", u"--times", u"t"});

    ASSERT_TRUE(result.Options);
    const TOptions& options = *result.Options;
    EXPECT_TRUE(options.Setup.Question);
    EXPECT_EQ(options.WindowClass, u"CASCADIA_HOSTING_WINDOW_CLASS");
    EXPECT_EQ(options.Setup.Title, u"PowerShell");
    EXPECT_EQ(options.Setup.Prompt, u"one\ntwo \\");
    EXPECT_EQ(options.Setup.Cursor, (TCursor{1, 3}));
    EXPECT_EQ(options.Setup.Kills, std::vector<std::u16string>{u"old\n"});
    EXPECT_EQ(options.RecordPath, u"r");
    EXPECT_EQ(options.TimesPath, u"t");
}

TEST(TermsimOptions, TakesEveryStateOfTheCli) {
    const TOptionsResult result = ParseOptions(
        {u"--record", u"r", u"--console", u"--size", u"120x40", u"--kill", u"first", u"--kill", u"second",
         u"--stash", u"put\\naside", u"--stash-bash", u"--paste", u"a\\nb\\nc\\nd", u"--bash", u"--vim", u"normal",
         u"--history", u"earlier", u"--history-enter", u"use", u"--question", u"--question-delay", u"150", u"--busy", u"--turn-ms", u"4000",
         u"--indicator-ms", u"0", u"--manual", u"--effort", u"low", u"--folder", u"D:\\src", u"--permission-command",
         u"rm -rf build", u"--permission-description", u"Remove the build", u"--open", u"permission"});

    ASSERT_TRUE(result.Options) << std::string(result.Error.begin(), result.Error.end());
    const TOptions& options = *result.Options;
    const TSetup& setup = options.Setup;
    EXPECT_TRUE(options.Console);
    EXPECT_EQ(options.Columns, 120);
    EXPECT_EQ(options.Rows, 40);
    EXPECT_EQ(setup.Kills, (std::vector<std::u16string>{u"first", u"second"}));
    EXPECT_EQ(setup.Stash, std::optional<std::u16string>(u"put\naside"));
    EXPECT_TRUE(setup.StashBash);
    EXPECT_EQ(setup.Pastes, std::vector<std::u16string>{u"a\nb\nc\nd"});
    EXPECT_TRUE(setup.Bash);
    EXPECT_EQ(setup.Vim, TVimMode::Normal);
    EXPECT_EQ(setup.History, std::vector<std::u16string>{u"earlier"});
    EXPECT_FALSE(setup.HistoryEnterSends);
    EXPECT_EQ(setup.Columns, 120) << "the model wraps lines as the screen does";
    EXPECT_TRUE(setup.Question);
    EXPECT_EQ(setup.QuestionDelayMs, 150u);
    EXPECT_TRUE(setup.Busy);
    EXPECT_EQ(setup.TurnMs, 4000u);
    EXPECT_EQ(setup.IndicatorMs, 0u);
    EXPECT_TRUE(setup.ManualMode);
    EXPECT_EQ(setup.Effort, u"low");
    EXPECT_EQ(setup.Folder, u"D:\\src");
    EXPECT_EQ(setup.PermissionCommand, u"rm -rf build");
    EXPECT_EQ(setup.PermissionDescription, u"Remove the build");
    EXPECT_EQ(setup.Open, TView::Permission);
}

struct TOpenCase {
    const char* Name;
    TArgs Args;
    TView Open;
    bool Help;
    std::u16string Prompt;
    std::u16string QuestionLevel;
};

void PrintTo(const TOpenCase& c, std::ostream* os) {
    *os << c.Name;
}

class TermsimOpen : public testing::TestWithParam<TOpenCase> {};

TEST_P(TermsimOpen, PutsTheCliInThatState) {
    TArgs args{u"--record", u"r"};
    args.insert(args.end(), GetParam().Args.begin(), GetParam().Args.end());
    const TOptionsResult result = ParseOptions(args);

    ASSERT_TRUE(result.Options) << std::string(result.Error.begin(), result.Error.end());
    const TSetup& setup = result.Options->Setup;
    EXPECT_EQ(setup.Open, GetParam().Open);
    EXPECT_EQ(setup.Help, GetParam().Help);
    EXPECT_EQ(setup.Prompt, GetParam().Prompt);
    if (!GetParam().QuestionLevel.empty()) {
        EXPECT_EQ(setup.QuestionLevel, GetParam().QuestionLevel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Args, TermsimOpen,
    testing::Values(TOpenCase{"Permission", {u"--open", u"permission"}, TView::Permission, false, u"", u""},
                    TOpenCase{"ModelPicker", {u"--open", u"model"}, TView::ModelPicker, false, u"", u""},
                    TOpenCase{"EffortSlider", {u"--open", u"effort"}, TView::EffortPicker, false, u"", u""},
                    TOpenCase{"Config", {u"--open", u"config"}, TView::Config, false, u"", u""},
                    TOpenCase{"HistorySearch", {u"--open", u"history"}, TView::HistorySearch, false, u"", u""},
                    TOpenCase{"Rewind", {u"--open", u"rewind"}, TView::Rewind, false, u"", u""},
                    TOpenCase{"Question", {u"--open", u"question=xhigh"}, TView::Question, false, u"", u"xhigh"},
                    TOpenCase{"Help", {u"--open", u"help"}, TView::Prompt, true, u"", u""},
                    TOpenCase{"SlashMenuAtTheCaret", {u"--open", u"slash", u"--prompt", u"ab", u"--cursor", u"0,1"},
                              TView::Prompt, false, u"a/b", u""},
                    TOpenCase{"MentionMenuAfterThePrompt", {u"--prompt", u"see ", u"--open", u"at"}, TView::Prompt,
                              false, u"see @", u""}),
    [](const testing::TestParamInfo<TOpenCase>& test) { return std::string(test.param.Name); });

TEST(TermsimOptions, AShellIsTitledAsOneUnlessToldOtherwise) {
    const TOptionsResult plain = ParseOptions({u"--record", u"r", u"--shell"});
    const TOptionsResult titled = ParseOptions({u"--record", u"r", u"--title", u"Mine", u"--shell"});

    ASSERT_TRUE(plain.Options);
    ASSERT_TRUE(titled.Options);
    EXPECT_TRUE(plain.Options->Setup.Shell);
    EXPECT_EQ(plain.Options->Setup.Title, u"Windows PowerShell");
    EXPECT_EQ(titled.Options->Setup.Title, u"Mine");
}

class TermsimOptionsError : public testing::TestWithParam<TArgs> {};

TEST_P(TermsimOptionsError, IsReportedInsteadOfOptions) {
    const TOptionsResult result = ParseOptions(GetParam());
    EXPECT_FALSE(result.Options);
    EXPECT_FALSE(result.Error.empty());
}

INSTANTIATE_TEST_SUITE_P(Args, TermsimOptionsError,
                         testing::Values(TArgs{}, TArgs{u"--confirm"}, TArgs{u"--record"},
                                         TArgs{u"--record", u"r", u"--title"},
                                         TArgs{u"--record", u"r", u"--times"},
                                         TArgs{u"--record", u"r", u"--size", u"9"},
                                         TArgs{u"--record", u"r", u"--size", u"10x30"},
                                         TArgs{u"--record", u"r", u"--size", u"100x"},
                                         TArgs{u"--record", u"r", u"stray"},
                                         TArgs{u"--record", u"r", u"--cursor", u"1"},
                                         TArgs{u"--record", u"r", u"--cursor", u"a,b"},
                                         TArgs{u"--record", u"r", u"--cursor", u"-1,0"},
                                         TArgs{u"--record", u"r", u"--prompt", u"bad\\q"},
                                         TArgs{u"--record", u"r", u"--kill", u"\\"},
                                         TArgs{u"--record", u"r", u"--vim", u"visual"},
                                         TArgs{u"--record", u"r", u"--history-enter", u"maybe"},
                                         TArgs{u"--record", u"r", u"--effort", u"turbo"},
                                         TArgs{u"--record", u"r", u"--open", u"everything"},
                                         TArgs{u"--record", u"r", u"--open", u"question=fast"},
                                         TArgs{u"--record", u"r", u"--turn-ms", u"soon"},
                                         TArgs{u"--record", u"r", u"--question-delay", u"-5"}));

TEST(TermsimOptionsSetup, StartsTheModelWithThePromptCaretAndKills) {
    const TOptionsResult result =
        ParseOptions({u"--record", u"r", u"--prompt", u"ab\\ncde", u"--kill", u"old", u"--stash", u"aside"});
    ASSERT_TRUE(result.Options);

    TCli cli(result.Options->Setup);

    const TPromptState state = cli.PromptState();
    EXPECT_EQ(state.Text, u"ab\ncde");
    EXPECT_EQ(state.Cursor, (TCursor{1, 3}));
    EXPECT_EQ(state.Kill, u"old");
    EXPECT_EQ(state.Stash, std::optional<std::u16string>(u"aside"));
}

} // namespace
} // namespace termsim
