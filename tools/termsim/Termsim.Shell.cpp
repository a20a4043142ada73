#include "tools/termsim/Termsim.Shell.h"

namespace termsim {

TShell::TShell(const TSetup& Setup)
    : FTitle(Setup.Title), FFolder(Setup.Folder),
      FLine(Setup.Prompt, Setup.Cursor.value_or(TDraft::EndOf(Setup.Prompt))),
      FScrollback{u"Windows PowerShell", u"Copyright (C) Microsoft Corporation. All rights reserved.", u""} {}

std::u16string TShell::Prompt() const {
    return u"PS " + FFolder + u"> ";
}

std::vector<TRecordEvent> TShell::Apply(const TKeyEvent& Key, std::uint64_t) {
    std::vector<TRecordEvent> events{Key};
    switch (Key.Key) {
    case TKey::Char:
        if (Key.Char >= 0x20 && Key.Char != 0x7F) {
            FLine.Insert(std::u16string_view(&Key.Char, 1));
        }
        break;
    case TKey::Backspace:
        FLine.DeleteBack();
        break;
    case TKey::CtrlBackspace:
        FLine.DeleteWordBack();
        break;
    case TKey::Delete:
        FLine.DeleteForward();
        break;
    case TKey::Left:
        FLine.Left();
        break;
    case TKey::Right:
        FLine.Right();
        break;
    case TKey::Home:
        FLine.LineStart();
        break;
    case TKey::End:
        FLine.LineEnd();
        break;
    case TKey::ShiftEnter:
        FLine.Insert(u"\n");
        break;
    case TKey::Escape:
        FLine.Clear();
        break;
    case TKey::CtrlC:
        FScrollback.push_back(Prompt() + FLine.Text());
        FLine.Clear();
        break;
    case TKey::Enter: {
        const std::u16string line = FLine.Text();
        FScrollback.push_back(Prompt() + line);
        if (line.find_first_not_of(u" \t\n") != std::u16string::npos) {
            events.emplace_back(TRanEvent{line});
            FScrollback.push_back(u"(termsim ran nothing)");
        }
        FLine.Clear();
        break;
    }
    default:
        // PowerShell's own chords (Ctrl+U, Ctrl+S, Ctrl+Y ...) change nothing this model shows.
        break;
    }
    events.emplace_back(PromptState());
    return events;
}

TPromptState TShell::PromptState() const {
    TPromptState state;
    state.Text = FLine.Text();
    state.Cursor = FLine.Cursor();
    state.View = TView::Shell;
    return state;
}

std::vector<TLine> TShell::Rows(TScreenCell& Caret) const {
    std::vector<TLine> rows;
    for (const std::u16string& line : FScrollback) {
        rows.emplace_back(line);
    }
    const std::vector<std::u16string>& lines = FLine.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::u16string head = i == 0 ? Prompt() : u">> ";
        if (i == FLine.Cursor().Line) {
            Caret = {static_cast<int>(rows.size()), static_cast<int>(head.size() + FLine.Cursor().Column)};
        }
        rows.emplace_back(head + lines[i]);
    }
    return rows;
}

} // namespace termsim
