#include "tools/termsim/Termsim.Render.h"

#include "base/Base.Unicode.h"
#include "tools/termsim/Termsim.Commands.h"
#include "tools/termsim/Termsim.Dialogs.h"
#include "tools/termsim/Termsim.Wrap.h"

#include <algorithm>
#include <array>

namespace termsim {

namespace {

constexpr char16_t RuleGlyph = u'\u2500';
constexpr char16_t NoBreakSpace = u'\u00A0';
constexpr std::size_t MenuRows = 5;
constexpr std::array<std::u16string_view, 6> SpinnerFrames = {u"\u00B7", u"\u2722", u"\u2733",
                                                               u"\u2736", u"\u273B", u"\u273D"};

std::u16string Number(std::size_t value) {
    return base::AsciiToUtf16(std::to_string(value));
}

std::u16string Padded(std::u16string_view text, std::size_t width) {
    std::u16string padded(text);
    if (padded.size() < width) {
        padded.append(width - padded.size(), u' ');
    }
    return padded;
}

// Text cut to Width units, the last one an ellipsis when anything was cut.
std::u16string Cut(std::u16string_view text, std::size_t width) {
    if (text.size() <= width) {
        return std::u16string(text);
    }
    return std::u16string(text.substr(0, width == 0 ? 0 : width - 1)) + u"\u2026";
}

// A full-width rule, with a label after three dashes when it carries one.
TLine Rule(std::u16string_view label, std::size_t columns, TTone tone) {
    if (label.empty()) {
        return TLine(std::u16string(columns, RuleGlyph), tone);
    }
    TLine line(std::u16string(3, RuleGlyph), tone);
    line.Add(u" ").Add(label, TTone::Dim).Add(u" ");
    if (line.Size() < columns) {
        line.Add(std::u16string(columns - line.Size(), RuleGlyph), tone);
    }
    return line;
}

// A hint at the right of the row above the box, ending two cells short of the edge.
TLine RightAligned(std::u16string_view text, std::size_t columns) {
    TLine line;
    if (text.size() + 2 < columns) {
        line.Add(std::u16string(columns - 2 - text.size(), u' '));
    }
    return line.Add(text, TTone::Dim);
}

TLine NoticeRow(const TCliState& state, std::size_t columns) {
    const std::uint64_t now = state.NowMs;
    if (state.Busy && now < state.BusyMessageUntilMs) {
        return TLine(u"  ").Add(Cut(state.BusyMessage, columns - 4), TTone::Dim);
    }
    if (state.Stash) {
        return RightAligned(u"draft stashed", columns);
    }
    if (now < state.RestoredUntilMs) {
        return RightAligned(u"draft restored", columns);
    }
    if (now < state.EscHintUntilMs) {
        return RightAligned(u"esc again to clear", columns);
    }
    if (now < state.IndicatorUntilMs) {
        return RightAligned(std::u16string(EffortGlyph(state.Effort)) + u" " + state.Effort + u" \u00B7 /effort",
                            columns);
    }
    if (now < state.KillHintUntilMs) {
        return RightAligned(u"ctrl+y to paste deleted text", columns);
    }
    if (now < state.VimHintUntilMs) {
        return RightAligned(u"ctrl+g to edit in Vim", columns);
    }
    return TLine();
}

std::vector<TLine> MenuLines(const TCliState& state, TCli::TMenu menu, std::size_t columns) {
    std::vector<TLine> rows;
    const std::u16string& line = state.Draft.Lines().front();
    switch (menu) {
    case TCli::TMenu::Commands: {
        const std::vector<TCommandInfo> found = MatchCommands(std::u16string_view(line).substr(1));
        if (found.empty()) {
            rows.push_back(TLine(u"  ").Add(u"No commands match \"" + line + u"\"", TTone::Dim));
            break;
        }
        const std::size_t focus = std::min(state.MenuFocus, found.size() - 1);
        const std::size_t first = focus >= MenuRows ? focus + 1 - MenuRows : 0;
        for (std::size_t i = first; i < std::min(found.size(), first + MenuRows); ++i) {
            const bool focused = i == focus;
            const std::u16string text = Padded(found[i].Name, 28) + std::u16string(found[i].Description);
            rows.push_back(TLine(u"  ").Add(focused ? u"\u276F " : u"  ", TTone::Accent)
                               .Add(Cut(text, columns - 6), focused ? TTone::Accent : TTone::Dim));
        }
        break;
    }
    case TCli::TMenu::Mentions: {
        const std::size_t caret = state.Draft.Cursor().Column;
        const std::size_t at = line.rfind(u'@', caret == 0 ? 0 : caret - 1);
        const auto found = MatchMentions(std::u16string_view(line).substr(at + 1, caret - at - 1));
        for (std::size_t i = 0; i < std::min(found.size(), MenuRows); ++i) {
            std::u16string text(found[i].Label);
            if (!found[i].Description.empty()) {
                text = Padded(text, 30) + std::u16string(found[i].Description);
            }
            rows.push_back(TLine(u"    ").Add(Cut(text, columns - 10), TTone::Dim));
        }
        break;
    }
    case TCli::TMenu::EffortArguments:
        for (std::size_t i = 0; i + 1 < EffortSteps; ++i) {
            const std::u16string_view level = EffortStep(i);
            rows.push_back(
                TLine(u"    ").Add(Cut(Padded(level, 12) + std::u16string(EffortDescription(level)), columns - 6),
                                   TTone::Dim));
        }
        break;
    case TCli::TMenu::None:
        break;
    }
    return rows;
}

std::vector<TLine> FooterLines(const TCliState& state) {
    std::vector<TLine> rows;
    if (state.Help) {
        for (std::u16string_view row :
             {u"  ! for shell mode        esc twice to clear input           ctrl+shift+_ to undo",
              u"  / for commands          shift+tab to cycle modes           ctrl+z to suspend",
              u"  @ for file paths        ctrl+o to see full transcript      ctrl+v to paste images",
              u"  /btw for side question  ctrl+t to toggle tasks             alt+p to switch model",
              u"                          backslash (\\) then enter to add a  ctrl+s to stash prompt",
              u"                          line                               ctrl+g to edit in $EDITOR",
              u"                                                             /keybindings to customize"}) {
            rows.emplace_back(row, TTone::Dim);
        }
        return rows;
    }
    if (state.PasteFooter) {
        rows.push_back(TLine(u"  ").Add(u"paste again to expand", TTone::Dim));
        return rows;
    }
    if (state.Mode == TInputMode::Bash) {
        rows.push_back(TLine(u"  ").Add(u"! for shell mode", TTone::Bash));
        return rows;
    }
    TLine line(u"  ");
    if (state.Vim == TVimMode::Insert) {
        line.Add(u"-- INSERT --", TTone::Dim).Add(u" ");
    }
    if (state.Setup.ManualMode) {
        line.Add(u"\u23F8 manual mode on \u00B7 ? for shortcuts", TTone::Dim);
    } else {
        line.Add(u"\u23F5\u23F5 auto mode on", TTone::Warning).Add(u" (shift+tab to cycle)", TTone::Dim);
    }
    if (state.Busy && state.Draft.Empty()) {
        line.Add(u" \u00B7 esc to interrupt", TTone::Dim);
    }
    rows.push_back(std::move(line));
    return rows;
}

struct TBoxRow {
    std::size_t Line = 0;
    std::size_t Start = 0;
    std::size_t Length = 0;
};

// The length of the first word of a known command, to draw it in the command colour.
std::size_t CommandWord(const std::u16string& line) {
    if (!line.starts_with(u'/')) {
        return 0;
    }
    const std::size_t end = std::min(line.find(u' '), line.size());
    return FindCommand(std::u16string_view(line).substr(0, end)) ? end : 0;
}

} // namespace

TBlock PromptBlock(const TCliState& state, std::size_t columns) {
    TBlock block;
    auto& rows = block.Lines;
    const bool bash = state.Mode == TInputMode::Bash;
    const TTone ruleTone = bash ? TTone::Bash : TTone::Rule;

    if (state.Busy) {
        const std::uint64_t elapsed = state.NowMs - state.TurnStartMs;
        const std::size_t frame = static_cast<std::size_t>(elapsed / 200 % (2 * SpinnerFrames.size() - 2));
        const std::size_t index = frame < SpinnerFrames.size() ? frame : 2 * SpinnerFrames.size() - 2 - frame;
        std::u16string text = u"Cascading\u2026";
        if (elapsed >= 10000) {
            text += u" (" + Number(elapsed / 1000) + u"s)";
        }
        rows.emplace_back();
        rows.push_back(TLine(SpinnerFrames[index], TTone::Claude).Add(u" ").Add(text, TTone::Claude));
    }
    const TCli::TMenu menu = TCli::MenuOf(state);
    if (menu != TCli::TMenu::None) {
        for (TLine& line : MenuLines(state, menu, columns)) {
            rows.push_back(std::move(line));
        }
    } else {
        rows.push_back(NoticeRow(state, columns));
    }

    // The draft in rows: every line wrapped to the box's width.
    const std::size_t width = columns > 4 ? columns - 4 : 1;
    const auto& lines = state.Draft.Lines();
    const TCursor caret = state.Draft.Cursor();
    std::vector<TBoxRow> boxRows;
    std::size_t caretRow = 0;
    std::size_t caretColumn = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::vector<std::size_t> starts = WrapLine(lines[l], width);
        for (std::size_t r = 0; r < starts.size(); ++r) {
            const std::size_t end = r + 1 < starts.size() ? starts[r + 1] : lines[l].size();
            if (l == caret.Line && caret.Column >= starts[r] && (caret.Column < end || r + 1 == starts.size())) {
                caretRow = boxRows.size();
                caretColumn = caret.Column - starts[r];
            }
            boxRows.push_back({l, starts[r], end - starts[r]});
        }
    }
    std::size_t first = 0;
    if (boxRows.size() > BoxRows) {
        first = std::min(caretRow - std::min<std::size_t>(caretRow, 5), boxRows.size() - BoxRows);
    }
    const std::size_t last = std::min(boxRows.size(), first + BoxRows);
    std::u16string upperLabel;
    if (state.Browsing) {
        upperLabel = u"History " + Number(*state.Browsing + 1) + u"/" + Number(state.History.size());
    } else if (first > 0) {
        upperLabel = u"\u2191 " + Number(first) + u" more";
    }
    rows.push_back(Rule(upperLabel, columns, ruleTone));
    const std::size_t command = CommandWord(lines.front());
    for (std::size_t i = first; i < last; ++i) {
        const TBoxRow& row = boxRows[i];
        TLine line;
        if (i == 0) {
            line.Add(bash ? u"!" : u"\u276F", bash ? TTone::Bash : (state.Busy ? TTone::Dim : TTone::Plain));
            line.Add(std::u16string(1, NoBreakSpace));
        } else {
            line.Add(u"  ");
        }
        const std::u16string_view text = std::u16string_view(lines[row.Line]).substr(row.Start, row.Length);
        if (i == 0 && command > 0) {
            line.Add(text.substr(0, command), TTone::Accent).Add(text.substr(command));
        } else {
            line.Add(text);
        }
        if (i == caretRow) {
            block.Caret = TScreenCell{static_cast<int>(rows.size()), static_cast<int>(2 + caretColumn)};
            if (menu == TCli::TMenu::EffortArguments) {
                line.Add(u" ").Add(EffortArgumentHint, TTone::Dim);
            }
        }
        rows.push_back(std::move(line));
    }
    rows.push_back(Rule(last < boxRows.size() ? u"\u2193 " + Number(boxRows.size() - last) + u" more" : u"", columns,
                        ruleTone));
    for (TLine& line : FooterLines(state)) {
        rows.push_back(std::move(line));
    }
    return block;
}

namespace {

// The conversation above, the block at the bottom; a short conversation stays at the top.
TScreen Compose(std::vector<TLine> above, TBlock block, int columns, int rows, std::u16string title) {
    TScreen screen;
    screen.Columns = columns;
    screen.Title = std::move(title);
    const auto height = static_cast<std::size_t>(rows);
    std::size_t cut = 0;
    if (block.Lines.size() > height) {
        cut = block.Lines.size() - height;
        block.Lines.erase(block.Lines.begin(), block.Lines.begin() + static_cast<std::ptrdiff_t>(cut));
        above.clear();
    }
    const std::size_t room = height - block.Lines.size();
    if (above.size() > room) {
        above.erase(above.begin(), above.begin() + static_cast<std::ptrdiff_t>(above.size() - room));
    }
    screen.Rows = std::move(above);
    screen.Rows.resize(room);
    const int top = static_cast<int>(room) - static_cast<int>(cut);
    for (TLine& line : block.Lines) {
        screen.Rows.push_back(std::move(line));
    }
    if (block.Caret && block.Caret->Row >= static_cast<int>(cut)) {
        screen.Caret = TScreenCell{top + block.Caret->Row, block.Caret->Column};
    }
    const auto width = static_cast<std::size_t>(columns);
    for (TLine& line : screen.Rows) {
        line.Text.resize(width, u' ');
        line.Tones.resize(width, TTone::Plain);
    }
    if (screen.Caret && screen.Caret->Column >= columns) {
        screen.Caret->Column = columns - 1;
    }
    return screen;
}

} // namespace

TScreen Render(const TCli& cli, int columns, int rows) {
    const TCliState& state = cli.State();
    const auto width = static_cast<std::size_t>(std::max(columns, 20));
    THeader header{state.EffortChosen ? state.Effort : std::u16string(), state.Setup.Folder};
    std::vector<TLine> above = TranscriptRows(header, state.Transcript, width);
    TBlock block = state.View == TView::Prompt ? PromptBlock(state, width) : DialogBlock(state, width);
    return Compose(std::move(above), std::move(block), static_cast<int>(width), std::max(rows, 1), cli.Title());
}

TScreen Render(const TShell& shell, int columns, int rows) {
    TScreenCell caret;
    std::vector<TLine> lines = shell.Rows(caret);
    TScreen screen;
    screen.Columns = std::max(columns, 1);
    screen.Title = shell.Title();
    const auto height = static_cast<std::size_t>(std::max(rows, 1));
    // A console scrolls up once its rows are full.
    const std::size_t skip = lines.size() > height ? lines.size() - height : 0;
    for (std::size_t i = skip; i < lines.size(); ++i) {
        screen.Rows.push_back(std::move(lines[i]));
    }
    screen.Rows.resize(height);
    for (TLine& line : screen.Rows) {
        line.Text.resize(static_cast<std::size_t>(screen.Columns), u' ');
        line.Tones.resize(static_cast<std::size_t>(screen.Columns), TTone::Plain);
    }
    if (caret.Row >= static_cast<int>(skip)) {
        screen.Caret = TScreenCell{caret.Row - static_cast<int>(skip), std::min(caret.Column, screen.Columns - 1)};
    }
    return screen;
}

std::vector<std::u16string> TScreen::TrimmedRows() const {
    std::vector<std::u16string> rows;
    for (const TLine& line : Rows) {
        std::u16string text = line.Text;
        while (!text.empty() && (text.back() == u' ' || text.back() == 0)) {
            text.pop_back();
        }
        rows.push_back(std::move(text));
    }
    return rows;
}

} // namespace termsim
