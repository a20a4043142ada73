#pragma once
// Screens drawn the way Claude Code draws them (100 columns; see tests/app/screens for captures of
// the real CLI), for the tests and the fuzz target that step the sequencer over them.
#include "platform/Platform.ScreenReader.h"

#include <string>
#include <utility>
#include <vector>

namespace tarvin::test::screens {

using platform::TConsoleScreen;
using platform::TScreenCell;
using platform::TScreenRead;
using platform::TScreenReadStatus;

inline const std::u16string Title = u"\u2733 Claude Code";
inline const std::u16string Rule(100, u'\u2500');

// What the input box shows.
struct TBox {
    std::vector<std::u16string> Rows = {u""};
    TScreenCell Caret{0, 0};
    bool Bash = false;
    bool Stashed = false;
    std::u16string Effort;
    bool Insert = false;
    // The rule below the box carries "↓ 2 more".
    bool MoreBelow = false;
};

inline TConsoleScreen PromptScreen(const TBox& Box) {
    TConsoleScreen screen;
    screen.Title = Title;
    screen.Rows = {u"", u" \u2590\u259B\u2588\u2588\u2588\u259B\u2588   Claude Code v2.1.341", u""};
    std::u16string above;
    if (!Box.Effort.empty()) {
        above = std::u16string(80, u' ') + u"\u25CF " + Box.Effort + u" \u00B7 /effort";
    } else if (Box.Stashed) {
        above = std::u16string(84, u' ') + u" draft stashed";
    }
    screen.Rows.push_back(above);
    screen.Rows.push_back(Rule);
    for (std::size_t i = 0; i < Box.Rows.size(); ++i) {
        const std::u16string lead = i == 0 ? std::u16string(Box.Bash ? u"!" : u"\u276F") + u"\u00A0" : u"  ";
        screen.Rows.push_back(lead + Box.Rows[i]);
    }
    screen.Highlight = TScreenCell{static_cast<std::int32_t>(5 + Box.Caret.Row), Box.Caret.Column + 2};
    screen.Rows.push_back(Box.MoreBelow ? u"\u2500\u2500\u2500 \u2193 2 more " + std::u16string(88, u'\u2500') : Rule);
    screen.Rows.push_back(Box.Insert ? u"  -- INSERT -- \u23F5\u23F5 auto mode on" : u"  \u23F5\u23F5 auto mode on");
    return screen;
}

// Rows that take the box's place, below a transcript.
inline TConsoleScreen DialogScreen(std::vector<std::u16string> Rows) {
    TConsoleScreen screen;
    screen.Title = Title;
    screen.Rows = {u"", u" Claude Code v2.1.341", u"", u"", u"", u"", u"", u"", u"", u"", u""};
    screen.Rows.insert(screen.Rows.end(), Rows.begin(), Rows.end());
    return screen;
}

inline TConsoleScreen Question(bool FocusOnYes = true) {
    return DialogScreen({std::u16string(100, u'\u2594'), u"  Change effort level?", u"",
                         FocusOnYes ? u"  \u276F 1. Yes, switch to high" : u"    1. Yes, switch to high",
                         FocusOnYes ? u"    2. No, go back" : u"  \u276F 2. No, go back", u"",
                         u"  enter to confirm \u00B7 esc to cancel"});
}

inline TConsoleScreen Permission() {
    return DialogScreen({Rule, u" Bash command", u" echo hi > /tmp/x.txt", u"", u" Do you want to proceed?",
                         u" \u276F 1. Yes", u"   2. No", u"", u" tab to amend \u00B7 esc to cancel"});
}

inline TConsoleScreen Picker() {
    return DialogScreen({std::u16string(100, u'\u2594'), u"  Select model", u"", u"  \u276F 1. Default",
                         u"    2. Opus", u"", u"  \u2191/\u2193 to navigate \u00B7 enter to save \u00B7 esc to cancel"});
}

inline TConsoleScreen HistorySearch() {
    return DialogScreen({Rule, u"  Search prompts \u00B7 everywhere", u"  \u276F 2s ago  second prompt",
                         u"  \u2315 Filter history\u2026", u"",
                         u"  \u2191/\u2193 to navigate \u00B7 enter to use \u00B7 esc to cancel"});
}

inline TConsoleScreen Shell() {
    return DialogScreen({u"PS C:\\work> claude --version", u"2.1.341 (Claude Code)", u"PS C:\\work> "});
}

inline TScreenRead Read(TConsoleScreen Screen) {
    TScreenRead read;
    read.Status = TScreenReadStatus::Read;
    read.Screens.push_back(std::move(Screen));
    return read;
}

inline TScreenRead Unreadable() {
    TScreenRead read;
    read.Reason = u"it is not a console window";
    return read;
}

} // namespace tarvin::test::screens
