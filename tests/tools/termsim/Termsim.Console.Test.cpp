// termsim --console under wine, read as Tarvin reads a terminal: the real screen reader finds the
// hidden console the window owns, and its rows, caret and title are the model's screen; keys sent
// to the window change what the console shows.
#include "app/Tarvin.Screen.h"
#include "app/Tarvin.Sender.h"
#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Platform.h"
#include "platform/win32/Win32.ScreenReader.h"
#include "tests/tools/termsim/Termsim.Keys.h"
#include "tests/tools/termsim/Termsim.Printers.h"
#include "tests/tools/termsim/Termsim.Process.h"
#include "tools/termsim/Termsim.Model.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace termsim::test {
namespace {

std::string Utf8Rows(const std::vector<std::u16string>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        text += std::to_string(i) + "|" + base::Utf16ToUtf8(rows[i]) + "\n";
    }
    return text;
}

class TermsimConsole : public testing::Test {
protected:
    void SetUp() override {
        // The reader attaches to other consoles, which a process can only do without one of its own.
        FreeConsole();
    }

    // The first screen of the window's console that satisfies Condition, or the last one read.
    platform::TConsoleScreen WaitForScreen(const TTermsim& terminal,
                                           const std::function<bool(const platform::TConsoleScreen&)>& condition) {
        platform::TConsoleScreen last;
        WaitUntil([&] {
            const platform::TScreenRead read = Reader.ReadScreen(terminal.WindowValue());
            if (read.Status != platform::TScreenReadStatus::Read || read.Screens.size() != 1) {
                return false;
            }
            last = read.Screens.front();
            return condition(last);
        });
        return last;
    }

    platform::TConsoleScreen WaitForRow(const TTermsim& terminal, std::size_t row, std::u16string_view text) {
        return WaitForScreen(terminal, [&](const platform::TConsoleScreen& screen) {
            return screen.Rows.size() > row && screen.Rows[row] == text;
        });
    }

    platform::win32::TWin32ScreenReader Reader;
    platform::win32::TWin32Platform Platform;
};

TEST_F(TermsimConsole, ShowsTheModelsScreenWithTheCaretAndTheTitle) {
    TTermsim terminal({L"--console", L"--prompt", L"fix the parser", L"--cursor", L"0,4", L"--indicator-ms", L"0"});
    ASSERT_TRUE(terminal.Start());
    TSetup setup;
    setup.Prompt = u"fix the parser";
    setup.Cursor = TCursor{0, 4};
    setup.IndicatorMs = 0;
    const TScreen expected = TModel(setup, 0).Render(100, 30);

    const platform::TConsoleScreen screen = WaitForRow(terminal, 27, u"\u276F\u00A0fix the parser");

    EXPECT_EQ(Utf8Rows(screen.Rows), Utf8Rows(expected.TrimmedRows()));
    EXPECT_EQ(screen.Highlight, (platform::TScreenCell{27, 6})) << "the caret stands on the 't' of \"the\"";
    EXPECT_EQ(screen.Title, u"\u2733 Claude Code");
    EXPECT_EQ(GetConsoleWindow(), nullptr) << "the reader stayed attached";

    const tarvin::TPromptView view = tarvin::ReadPromptView(screen);
    EXPECT_EQ(view.Kind, tarvin::skPrompt);
    EXPECT_EQ(view.Rows, std::vector<std::u16string>{u"fix the parser"});
    EXPECT_EQ(view.Caret, (platform::TScreenCell{0, 4}));
}

TEST_F(TermsimConsole, FollowsTheKeysThroughStashCommandAndRestore) {
    TTermsim terminal({L"--console", L"--prompt", L"fix the parser"});
    ASSERT_TRUE(terminal.Start());
    WaitForRow(terminal, 27, u"\u276F\u00A0fix the parser");

    ASSERT_TRUE(tarvin::SendSucceeded(tarvin::SendCtrlChord(Platform.Input, platform::VkS)));
    const platform::TConsoleScreen stashed = WaitForScreen(terminal, [](const platform::TConsoleScreen& screen) {
        const tarvin::TPromptView view = tarvin::ReadPromptView(screen);
        return view.Kind == tarvin::skPrompt && view.Stashed && view.Empty();
    });
    EXPECT_EQ(stashed.Rows[25], std::u16string(84, u' ') + u" draft stashed");
    EXPECT_EQ(stashed.Highlight, (platform::TScreenCell{27, 2}));

    ASSERT_TRUE(tarvin::SendSucceeded(tarvin::SendText(Platform.Input, u"/effort high")));
    WaitForRow(terminal, 27, u"\u276F\u00A0/effort high");
    ASSERT_TRUE(tarvin::SendSucceeded(tarvin::SendEnter(Platform.Input)));
    const platform::TConsoleScreen after = WaitForScreen(terminal, [](const platform::TConsoleScreen& screen) {
        return tarvin::ReadPromptView(screen).Effort == u"high";
    });

    const tarvin::TPromptView view = tarvin::ReadPromptView(after);
    EXPECT_EQ(view.Rows, std::vector<std::u16string>{u"fix the parser"}) << Utf8Rows(after.Rows);
    EXPECT_FALSE(view.Stashed);
    EXPECT_EQ(after.Rows[25], std::u16string(82, u' ') + u"\u25CF high \u00B7 /effort");
    EXPECT_EQ(after.Highlight, (platform::TScreenCell{27, 16}));
}

TEST_F(TermsimConsole, TheQuestionComesUpByItselfWithTheFocusOnYes) {
    TTermsim terminal({L"--console", L"--question"});
    ASSERT_TRUE(terminal.Start());
    WaitForRow(terminal, 27, u"\u276F\u00A0");

    ASSERT_TRUE(tarvin::SendSucceeded(tarvin::SendText(Platform.Input, u"/effort low")));
    ASSERT_TRUE(tarvin::SendSucceeded(tarvin::SendEnter(Platform.Input)));
    const platform::TConsoleScreen asked = WaitForScreen(terminal, [](const platform::TConsoleScreen& screen) {
        return tarvin::ReadPromptView(screen).Kind == tarvin::skEffortQuestion;
    });

    EXPECT_TRUE(tarvin::ReadPromptView(asked).FocusOnYes) << Utf8Rows(asked.Rows);
    EXPECT_EQ(asked.Rows[20], u"  Change effort level?");
    EXPECT_EQ(asked.Highlight, std::nullopt);
}

struct TViewRun {
    const char* Name;
    std::vector<std::wstring> Options;
    tarvin::TScreenKind Kind;
    std::u16string Title;
};

void PrintTo(const TViewRun& run, std::ostream* os) {
    *os << run.Name;
}

class TermsimConsoleViews : public TermsimConsole, public testing::WithParamInterface<TViewRun> {};

TEST_P(TermsimConsoleViews, ReadAsTarvinReadsTheCli) {
    const TViewRun& run = GetParam();
    std::vector<std::wstring> options{L"--console"};
    options.insert(options.end(), run.Options.begin(), run.Options.end());
    TTermsim terminal(options);
    ASSERT_TRUE(terminal.Start());

    const platform::TConsoleScreen screen = WaitForScreen(terminal, [&](const platform::TConsoleScreen& read) {
        return tarvin::ReadPromptView(read).Kind == run.Kind && read.Title == run.Title;
    });

    EXPECT_EQ(tarvin::ReadPromptView(screen).Kind, run.Kind) << Utf8Rows(screen.Rows);
    EXPECT_EQ(screen.Title, run.Title);
}

INSTANTIATE_TEST_SUITE_P(
    Options, TermsimConsoleViews,
    testing::Values(TViewRun{"PermissionDialog", {L"--open", L"permission"}, tarvin::skPermission, u"\u2733 Claude Code"},
                    TViewRun{"ModelPicker", {L"--open", L"model"}, tarvin::skPicker, u"\u2733 Claude Code"},
                    TViewRun{"HistorySearch", {L"--open", L"history"}, tarvin::skHistorySearch, u"\u2733 Claude Code"},
                    TViewRun{"BusyTurn", {L"--busy"}, tarvin::skPrompt, u"\u25D0 Claude Code"},
                    TViewRun{"PlainShell", {L"--shell"}, tarvin::skUnknown, u"Windows PowerShell"}),
    [](const testing::TestParamInfo<TViewRun>& test) { return std::string(test.param.Name); });

} // namespace
} // namespace termsim::test
