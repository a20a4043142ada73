#include "tests/tools/termsim/Termsim.Printers.h"
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
    EXPECT_EQ(options.Title, u"\u2733 Claude Code");
    EXPECT_EQ(options.Prompt, u"");
    EXPECT_EQ(options.Cursor, std::nullopt);
    EXPECT_EQ(options.KillBuffer, u"");
    EXPECT_FALSE(options.Confirm);
    EXPECT_EQ(options.TimesPath, u"");
}

TEST(TermsimOptions, TakesEveryOptionWithEscapedTexts) {
    const TOptionsResult result = ParseOptions(
        {u"--confirm", u"--class", u"CASCADIA_HOSTING_WINDOW_CLASS", u"--title", u"PowerShell", u"--prompt",
         u"one\\ntwo \\\\", u"--cursor", u"1,3", u"--kill", u"old\\n", u"--record", u"r", u"--times", u"t"});

    ASSERT_TRUE(result.Options);
    const TOptions& options = *result.Options;
    EXPECT_TRUE(options.Confirm);
    EXPECT_EQ(options.WindowClass, u"CASCADIA_HOSTING_WINDOW_CLASS");
    EXPECT_EQ(options.Title, u"PowerShell");
    EXPECT_EQ(options.Prompt, u"one\ntwo \\");
    EXPECT_EQ(options.Cursor, (TCursor{1, 3}));
    EXPECT_EQ(options.KillBuffer, u"old\n");
    EXPECT_EQ(options.RecordPath, u"r");
    EXPECT_EQ(options.TimesPath, u"t");
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
                                         TArgs{u"--record", u"r", u"stray"},
                                         TArgs{u"--record", u"r", u"--cursor", u"1"},
                                         TArgs{u"--record", u"r", u"--cursor", u"a,b"},
                                         TArgs{u"--record", u"r", u"--cursor", u"-1,0"},
                                         TArgs{u"--record", u"r", u"--prompt", u"bad\\q"},
                                         TArgs{u"--record", u"r", u"--kill", u"\\"}));

TEST(TermsimOptionsPrompt, PutsTheCursorAtTheEndUnlessToldAndSeedsTheKillBuffer) {
    TOptions options;
    options.Prompt = u"ab\ncde";
    options.KillBuffer = u"old";
    options.Confirm = true;

    TPrompt atEnd = MakePrompt(options);
    options.Cursor = TCursor{0, 1};
    const TPrompt placed = MakePrompt(options);

    EXPECT_EQ(atEnd.Text(), u"ab\ncde");
    EXPECT_EQ(atEnd.Cursor(), (TCursor{1, 3}));
    EXPECT_EQ(atEnd.KillBuffer(), u"old");
    EXPECT_EQ(placed.Cursor(), (TCursor{0, 1}));
    atEnd.Apply({TKey::Char, u'x'});
    EXPECT_EQ(atEnd.Text(), u"ab\ncdex");
}

TEST(TermsimOptionsPrompt, ConfirmMakesTheEffortCommandAsk) {
    TOptions options;
    options.Prompt = u"/effort low";
    options.Confirm = true;
    TPrompt prompt = MakePrompt(options);
    prompt.Apply({TKey::Enter, 0});
    EXPECT_TRUE(prompt.Asking());
}

} // namespace
} // namespace termsim
