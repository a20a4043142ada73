#pragma once
// termsim's model of the Claude Code CLI as the live terminal of a window on the simulated
// desktop, for Tarvin's native tests: every key record SendInput accepts while the window is in
// front reaches the model (Ctrl, Shift and Alt read from the desktop's key state, which the record
// has already moved), and every screen read answers the model's screen at a fixed size, one
// console whose title is the window's. The model's clock is the desktop's monotonic counter: a
// question or a turn's end comes when the test moves the clock and the screen is read (or
// Advance is called). The window's title follows the model's, whose glyph turns during a turn.
//
//   platform::sim::TSimDesktop desktop;
//   const auto window = desktop.AddWindow(u"ConsoleWindowClass", u"", 4100);
//   termsim::TSetup setup;
//   setup.Prompt = u"fix the parser";
//   setup.Question = true;
//   termsim::test::TSimTerminal terminal(desktop, window, setup);
//   ... run Tarvin's burst against desktop ...
//   EXPECT_EQ(terminal.HarmLines(), "");            // nothing sent, approved, run, saved, lost
//   EXPECT_EQ(terminal.Effort(), u"high");
//   EXPECT_EQ(terminal.Prompt().Text, u"fix the parser");
#include "platform/Platform.KeyCodes.h"
#include "platform/Platform.ScreenReader.h"
#include "platform/sim/Sim.Desktop.h"
#include "tools/termsim/Termsim.KeyDecoder.h"
#include "tools/termsim/Termsim.Model.h"
#include "tools/termsim/Termsim.Record.h"

#include <string>
#include <vector>

namespace termsim::test {

class TSimTerminal {
public:
    TSimTerminal(platform::sim::TSimDesktop& desktop, platform::TWindowHandle window, const TSetup& setup = {},
                 int columns = 100, int rows = 30)
        : FDesktop(desktop), FWindow(window), FColumns(columns), FRows(rows),
          FModel(Sized(setup, columns), desktop.MonotonicMs()) {
        FDesktop.SetTitle(FWindow, FModel.Title());
        FDesktop.SetTerminal(FWindow, {[this](const platform::TKeyInput& record) { OnKey(record); },
                                       [this] { return Read(); }});
    }
    ~TSimTerminal() { FDesktop.SetTerminal(FWindow, {}); }
    TSimTerminal(const TSimTerminal&) = delete;
    TSimTerminal& operator=(const TSimTerminal&) = delete;

    // --- what the terminal shows ---
    // The screen as a read answers it, time moved on to the desktop's clock first.
    platform::TScreenRead Read() {
        Advance();
        const TScreen screen = FModel.Render(FColumns, FRows);
        platform::TConsoleScreen console;
        console.Title = screen.Title;
        console.Rows = screen.TrimmedRows();
        if (screen.Caret) {
            console.Highlight = platform::TScreenCell{screen.Caret->Row, screen.Caret->Column};
        }
        platform::TScreenRead read;
        read.Status = platform::TScreenReadStatus::Read;
        read.Screens.push_back(std::move(console));
        return read;
    }
    TScreen Screen() const { return FModel.Render(FColumns, FRows); }
    // Time moves on to the desktop's clock: a pending question comes up, a turn ends.
    void Advance() { Keep(FModel.Advance(FDesktop.MonotonicMs())); }
    // The terminal pastes text at the caret (a paste is no key).
    void Paste(std::u16string_view text) { Keep(FModel.Paste(text, FDesktop.MonotonicMs())); }

    // --- what happened ---
    const std::vector<TRecordEvent>& Events() const { return FEvents; }
    std::vector<TRecordEvent> Harms() const {
        std::vector<TRecordEvent> harms;
        for (const TRecordEvent& event : FEvents) {
            if (IsHarm(event)) {
                harms.push_back(event);
            }
        }
        return harms;
    }
    bool Harmed() const { return !Harms().empty(); }
    // The harms as record lines ("submitted \"fix it\"\n" ...), empty when none came.
    std::string HarmLines() const { return Lines(Harms()); }
    // Everything as the record would have it, for a failure message.
    std::string RecordText() const { return Lines(FEvents); }
    template <typename TEvent> std::vector<TEvent> All() const {
        std::vector<TEvent> found;
        for (const TRecordEvent& event : FEvents) {
            if (const auto* e = std::get_if<TEvent>(&event)) {
                found.push_back(*e);
            }
        }
        return found;
    }
    // The keys the model received, in order.
    std::vector<TKeyEvent> Keys() const { return All<TKeyEvent>(); }

    // --- the state now ---
    // Text, caret, newest kill, bash mode, vim mode, stash and what has the keys.
    TPromptState Prompt() const { return FModel.PromptState(); }
    // The effort level (empty for a plain shell).
    std::u16string Effort() const { return FModel.Cli() != nullptr ? FModel.Cli()->State().Effort : std::u16string(); }
    // The CLI's whole state, or nullptr for a plain shell.
    const TCli* Cli() const { return FModel.Cli(); }

private:
    static TSetup Sized(TSetup setup, int columns) {
        setup.Columns = columns;
        return setup;
    }
    void OnKey(const platform::TKeyInput& record) {
        const TModifiers modifiers{FDesktop.IsKeyDown(platform::VkControl), FDesktop.IsKeyDown(platform::VkShift),
                                   FDesktop.IsKeyDown(platform::VkMenu)};
        if (const std::optional<TKeyEvent> key = FDecoder.Record(record, modifiers)) {
            Keep(FModel.Apply(*key, FDesktop.MonotonicMs()));
        }
    }
    void Keep(std::vector<TRecordEvent> events) {
        for (TRecordEvent& event : events) {
            FEvents.push_back(std::move(event));
        }
        if (const std::u16string title = FModel.Title(); title != FDesktop.Title(FWindow)) {
            FDesktop.SetTitle(FWindow, title);
        }
    }
    static std::string Lines(const std::vector<TRecordEvent>& events) {
        std::string text;
        for (const TRecordEvent& event : events) {
            text += FormatRecordLine(event);
        }
        return text;
    }

    platform::sim::TSimDesktop& FDesktop;
    platform::TWindowHandle FWindow;
    int FColumns;
    int FRows;
    TModel FModel;
    TKeyDecoder FDecoder;
    std::vector<TRecordEvent> FEvents;
};

} // namespace termsim::test
