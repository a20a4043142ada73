// The screen parser over screens of the real Claude Code CLI (2.1.341, 100 x 30), each captured in
// one state: tests/app/screens/<name>.txt holds "caret=<row>,<col>" (the reverse-video cell) or
// "caret=none", then the rows.
#include "app/Tarvin.Screen.h"
#include "base/Base.Unicode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvin {
namespace {

using platform::TConsoleScreen;
using platform::TScreenCell;

TConsoleScreen Capture(const std::string& Name) {
    std::ifstream file(TARVIN_SOURCE_DIR "/tests/app/screens/" + Name + ".txt", std::ios::binary);
    EXPECT_TRUE(file.good()) << Name;
    TConsoleScreen screen;
    std::string line;
    std::getline(file, line);
    if (line != "caret=none") {
        std::istringstream caret(line.substr(6));
        char comma = 0;
        TScreenCell cell;
        caret >> cell.Row >> comma >> cell.Column;
        screen.Highlight = cell;
    }
    while (std::getline(file, line)) {
        screen.Rows.push_back(base::Utf8ToUtf16(line));
    }
    return screen;
}

struct TScreenCase {
    const char* Name;
    TScreenKind Kind;
    TPromptMode Mode = pmNormal;
    std::vector<std::u16string> Rows = {};
    std::optional<TScreenCell> Caret = std::nullopt;
    bool Stashed = false;
    std::u16string Effort = u"";
    bool Scrolled = false;
    bool Pasted = false;
    bool FocusOnYes = false;
};

void PrintTo(const TScreenCase& Case, std::ostream* os) {
    *os << Case.Name;
}

class RealScreens : public ::testing::TestWithParam<TScreenCase> {};

TEST_P(RealScreens, ReadAsWhatTakesTheKeysAndWhatTheBoxHolds) {
    const TScreenCase& c = GetParam();
    const TPromptView view = ReadPromptView(Capture(c.Name));

    EXPECT_EQ(view.Kind, c.Kind);
    EXPECT_EQ(view.FocusOnYes, c.FocusOnYes);
    if (c.Kind != skPrompt) {
        EXPECT_TRUE(view.Rows.empty());
        return;
    }
    EXPECT_EQ(view.Mode, c.Mode);
    EXPECT_EQ(view.Rows, c.Rows);
    EXPECT_EQ(view.Caret, c.Caret);
    EXPECT_EQ(view.Stashed, c.Stashed);
    EXPECT_EQ(view.Effort, c.Effort);
    EXPECT_EQ(view.Scrolled, c.Scrolled);
    EXPECT_EQ(view.HasPastedBlock, c.Pasted);
}

std::vector<std::u16string> Lines(int From, int To) {
    std::vector<std::u16string> rows;
    for (int i = From; i <= To; ++i) {
        rows.push_back(u"line " + base::AsciiToUtf16(std::to_string(i)));
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    ClaudeCode, RealScreens,
    ::testing::Values(
        TScreenCase{.Name = "a_idle_fresh", .Kind = skPrompt, .Rows = {u""}, .Caret = TScreenCell{0, 0}},
        TScreenCase{.Name = "b_draft_left4",
                    .Kind = skPrompt,
                    .Rows = {u"fix the parser"},
                    .Caret = TScreenCell{0, 10},
                    .Effort = u"medium"},
        TScreenCase{.Name = "c_multiline_up1",
                    .Kind = skPrompt,
                    .Rows = {u"first line", u"second line", u"third line"},
                    .Caret = TScreenCell{1, 10}},
        // Twelve lines in a box of ten: the lower rule says how many more there are.
        TScreenCase{.Name = "d_12lines_top",
                    .Kind = skPrompt,
                    .Rows = Lines(1, 10),
                    .Caret = TScreenCell{0, 6},
                    .Effort = u"medium",
                    .Scrolled = true},
        // Scrolled down: the prompt row is out of sight, the box starts with a continuation row.
        TScreenCase{.Name = "d_12lines_down10",
                    .Kind = skPrompt,
                    .Rows = Lines(3, 12),
                    .Caret = TScreenCell{8, 7},
                    .Scrolled = true},
        TScreenCase{.Name = "e_wrap_long_line",
                    .Kind = skPrompt,
                    .Rows = {u"word01 word02 word03 word04 word05 word06 word07 word08 word09 word10 word11 word12 "
                             u"word13",
                             u"word14 word15 word16 word17 word18 word19 word20 word21 word22 word23 word24 word25 "
                             u"word26",
                             u"word27 word28 word29 word30 word31 word32 word33 word34 word35"},
                    .Caret = TScreenCell{2, 62},
                    .Effort = u"medium"},
        TScreenCase{.Name = "f1_after_ctrls",
                    .Kind = skPrompt,
                    .Rows = {u""},
                    .Caret = TScreenCell{0, 0},
                    .Stashed = true},
        TScreenCase{.Name = "f3_stash_plus_draft",
                    .Kind = skPrompt,
                    .Rows = {u"second draft"},
                    .Caret = TScreenCell{0, 12},
                    .Stashed = true},
        // The stash came back by itself after the command; the level shows above the box.
        TScreenCase{.Name = "f4_after_cmd",
                    .Kind = skPrompt,
                    .Rows = {u"fix the parser"},
                    .Caret = TScreenCell{0, 14},
                    .Effort = u"high"},
        TScreenCase{.Name = "f7_stash_restore_while_busy",
                    .Kind = skPrompt,
                    .Rows = {u"fix the parser"},
                    .Caret = TScreenCell{0, 14},
                    .Effort = u"high"},
        TScreenCase{.Name = "g1_pasted30",
                    .Kind = skPrompt,
                    .Rows = {u"[Pasted text #1 +30 lines]"},
                    .Caret = TScreenCell{0, 26},
                    .Pasted = true},
        TScreenCase{.Name = "h1_bang", .Kind = skPrompt, .Mode = pmBash, .Rows = {u""}, .Caret = TScreenCell{0, 0}},
        TScreenCase{
            .Name = "h2_bang_ls", .Kind = skPrompt, .Mode = pmBash, .Rows = {u"ls"}, .Caret = TScreenCell{0, 2}},
        TScreenCase{.Name = "i2_vim_insert_empty",
                    .Kind = skPrompt,
                    .Mode = pmVimInsert,
                    .Rows = {u""},
                    .Caret = TScreenCell{0, 0}},
        // The command menu stands above the box and leaves it the keys.
        TScreenCase{.Name = "j1_slash_eff", .Kind = skPrompt, .Rows = {u"/eff"}, .Caret = TScreenCell{0, 4}},
        // Tab completed the command: its argument hint stands in the box row after the caret.
        TScreenCase{.Name = "j1b_slash_eff_tab",
                    .Kind = skPrompt,
                    .Rows = {u"/effort  [low|medium|high|xhigh|max|auto|ultracode [on|off]]"},
                    .Caret = TScreenCell{0, 8}},
        TScreenCase{.Name = "j2_at_menu", .Kind = skPrompt, .Rows = {u"@"}, .Caret = TScreenCell{0, 1}},
        TScreenCase{.Name = "j3_question_help", .Kind = skPrompt, .Rows = {u""}, .Caret = TScreenCell{0, 0}},
        // Busy: the spinner stands above the box, which still takes the keys.
        TScreenCase{.Name = "m1_busy_t2s", .Kind = skPrompt, .Rows = {u""}, .Caret = TScreenCell{0, 0}},
        // No indicator above the box (a warning stands there); the transcript says what was set.
        TScreenCase{
            .Name = "n2_after_enter", .Kind = skPrompt, .Rows = {u""}, .Caret = TScreenCell{0, 0}, .Effort = u"low"},
        TScreenCase{.Name = "n1_change_effort_question", .Kind = skEffortQuestion, .FocusOnYes = true},
        TScreenCase{.Name = "o1_permission_dialog", .Kind = skPermission},
        TScreenCase{.Name = "k1_ctrlr_open", .Kind = skHistorySearch},
        TScreenCase{.Name = "l1_model_picker_clean", .Kind = skPicker},
        TScreenCase{.Name = "l2_config_open", .Kind = skPicker},
        TScreenCase{.Name = "a_effort_noarg", .Kind = skPicker}),
    [](const ::testing::TestParamInfo<TScreenCase>& test) { return std::string(test.param.Name); });

// The question's focus may rest on "No"; only Yes may be answered with Enter.
TEST(ScreenQuestion, FocusOnNoIsNotYes) {
    TConsoleScreen screen = Capture("n1_change_effort_question");
    for (std::u16string& row : screen.Rows) {
        if (row.find(u"1. Yes") != std::u16string::npos) {
            row.replace(row.find(u"\u276F"), 1, u" ");
        } else if (row.find(u"2. No") != std::u16string::npos) {
            row.replace(row.find(u"  2."), 1, u"\u276F");
        }
    }
    const TPromptView view = ReadPromptView(screen);
    EXPECT_EQ(view.Kind, skEffortQuestion);
    EXPECT_FALSE(view.FocusOnYes);
}

// A shell prints no rules and no prompt glyph of Claude Code's; a transcript row starting with the
// glyph is no box either.
TEST(ScreenOthers, AShellOrAnEmptyScreenIsUnknown) {
    TConsoleScreen shell;
    shell.Rows = {u"PowerShell 7.5.0", u"", u"PS C:\\work> claude --version", u"2.1.341 (Claude Code)",
                  u"PS C:\\work> "};
    EXPECT_EQ(ReadPromptView(shell).Kind, skUnknown);
    EXPECT_EQ(ReadPromptView(TConsoleScreen{}).Kind, skUnknown);

    TConsoleScreen transcript;
    transcript.Rows = {std::u16string(100, u'\u2500'), u"\u276F old prompt", std::u16string(100, u'\u2500'),
                       u" Do you want to proceed?", u" \u276F 1. Yes"};
    EXPECT_EQ(ReadPromptView(transcript).Kind, skPermission);
}

TEST(ScreenView, EmptyMeansOneBlankRowWithNothingScrolledOrPasted) {
    TPromptView view;
    view.Rows = {u""};
    EXPECT_TRUE(view.Empty());
    view.Scrolled = true;
    EXPECT_FALSE(view.Empty());
    view.Scrolled = false;
    view.Rows = {u"", u""};
    EXPECT_FALSE(view.Empty());
    view.Rows = {u"a", u"b"};
    EXPECT_EQ(view.Text(), u"a\nb");
}

// The hint is drawn only after a slash command and its blank, in brackets to the row's end;
// everything else a row may hold is text the user or the burst typed.
TEST(ScreenArgumentHint, OnlyTheHintAfterACommandIsLeftOut) {
    const struct {
        std::u16string_view Row;
        std::u16string_view Typed;
    } cases[] = {
        {u"/effort  [low|medium|high|xhigh|max|auto|ultracode [on|off]]", u"/effort "},
        {u"/model  [model]", u"/model "},
        {u"/effort high", u"/effort high"},
        {u"/effort ", u"/effort "},
        {u"/effort  [low|medium", u"/effort  [low|medium"}, // cut off: not the whole hint
        {u"/effort h [x]", u"/effort h [x]"},               // an argument is typed
        {u"fix  [this]", u"fix  [this]"},                   // no command
        {u"/  [x]", u"/  [x]"},                             // no command name
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutArgumentHint(c.Row), c.Typed) << base::Utf16ToUtf8(c.Row);
    }
}

} // namespace
} // namespace tarvin
