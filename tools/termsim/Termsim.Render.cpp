#include "tools/termsim/Termsim.Render.h"

#include "base/Base.Format.h"
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

std::u16string Padded(std::u16string_view Text, std::size_t Width) {
    std::u16string padded(Text);
    if (padded.size() < Width) {
        padded.append(Width - padded.size(), u' ');
    }
    return padded;
}

// Text cut to Width units, the last one an ellipsis when anything was cut.
std::u16string Cut(std::u16string_view Text, std::size_t Width) {
    if (Text.size() <= Width) {
        return std::u16string(Text);
    }
    return std::u16string(Text.substr(0, Width == 0 ? 0 : Width - 1)) + u"\u2026";
}

// A full-width rule, with a label after three dashes when it carries one.
TLine Rule(std::u16string_view Label, std::size_t Columns, TTone Tone) {
    if (Label.empty()) {
        return TLine(std::u16string(Columns, RuleGlyph), Tone);
    }
    TLine line(std::u16string(3, RuleGlyph), Tone);
    line.Add(u" ").Add(Label, TTone::Dim).Add(u" ");
    if (line.Size() < Columns) {
        line.Add(std::u16string(Columns - line.Size(), RuleGlyph), Tone);
    }
    return line;
}

// A hint at the right of the row above the box, ending two cells short of the edge.
TLine RightAligned(std::u16string_view Text, std::size_t Columns) {
    TLine line;
    if (Text.size() + 2 < Columns) {
        line.Add(std::u16string(Columns - 2 - Text.size(), u' '));
    }
    return line.Add(Text, TTone::Dim);
}

TLine NoticeRow(const TCliState& State, std::size_t Columns) {
    const std::uint64_t now = State.NowMs;
    if (State.Busy && now < State.BusyMessageUntilMs) {
        return TLine(u"  ").Add(Cut(State.BusyMessage, Columns - 4), TTone::Dim);
    }
    if (State.Stash) {
        return RightAligned(u"draft stashed", Columns);
    }
    if (now < State.RestoredUntilMs) {
        return RightAligned(u"draft restored", Columns);
    }
    if (now < State.EscHintUntilMs) {
        return RightAligned(u"esc again to clear", Columns);
    }
    if (now < State.IndicatorUntilMs) {
        return RightAligned(
            std::u16string(EffortGlyph(State.Effort)) + u" " + State.Effort + u" \u00B7 /effort", Columns);
    }
    if (now < State.KillHintUntilMs) {
        return RightAligned(u"ctrl+y to paste deleted text", Columns);
    }
    if (now < State.VimHintUntilMs) {
        return RightAligned(u"ctrl+g to edit in Vim", Columns);
    }
    return TLine();
}

std::vector<TLine> MenuLines(const TCliState& State, TCli::TMenu Menu, std::size_t Columns) {
    std::vector<TLine> rows;
    const std::u16string& line = State.Draft.Lines().front();
    switch (Menu) {
    case TCli::TMenu::Commands: {
        const std::vector<TCommandInfo> found = MatchCommands(std::u16string_view(line).substr(1));
        if (found.empty()) {
            rows.push_back(TLine(u"  ").Add(u"No commands match \"" + line + u"\"", TTone::Dim));
            break;
        }
        const std::size_t focus = std::min(State.MenuFocus, found.size() - 1);
        const std::size_t first = focus >= MenuRows ? focus + 1 - MenuRows : 0;
        for (std::size_t i = first; i < std::min(found.size(), first + MenuRows); ++i) {
            const bool focused = i == focus;
            const std::u16string text = Padded(found[i].Name, 28) + std::u16string(found[i].Description);
            rows.push_back(TLine(u"  ")
                               .Add(focused ? u"\u276F " : u"  ", TTone::Accent)
                               .Add(Cut(text, Columns - 6), focused ? TTone::Accent : TTone::Dim));
        }
        break;
    }
    case TCli::TMenu::Mentions: {
        const std::size_t caret = State.Draft.Cursor().Column;
        const std::size_t at = line.rfind(u'@', caret == 0 ? 0 : caret - 1);
        const auto found = MatchMentions(std::u16string_view(line).substr(at + 1, caret - at - 1));
        for (std::size_t i = 0; i < std::min(found.size(), MenuRows); ++i) {
            std::u16string text(found[i].Label);
            if (!found[i].Description.empty()) {
                text = Padded(text, 30) + std::u16string(found[i].Description);
            }
            rows.push_back(TLine(u"    ").Add(Cut(text, Columns - 10), TTone::Dim));
        }
        break;
    }
    case TCli::TMenu::EffortArguments:
        for (std::size_t i = 0; i + 1 < EffortSteps; ++i) {
            const std::u16string_view level = EffortStep(i);
            rows.push_back(TLine(u"    ").Add(
                Cut(Padded(level, 12) + std::u16string(EffortDescription(level)), Columns - 6), TTone::Dim));
        }
        break;
    case TCli::TMenu::None:
        break;
    }
    return rows;
}

std::vector<TLine> FooterLines(const TCliState& State) {
    std::vector<TLine> rows;
    if (State.Help) {
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
    if (State.PasteFooter) {
        rows.push_back(TLine(u"  ").Add(u"paste again to expand", TTone::Dim));
        return rows;
    }
    if (State.Mode == TInputMode::Bash) {
        rows.push_back(TLine(u"  ").Add(u"! for shell mode", TTone::Bash));
        return rows;
    }
    TLine line(u"  ");
    if (State.Vim == TVimMode::Insert) {
        line.Add(u"-- INSERT --", TTone::Dim).Add(u" ");
    }
    if (State.Setup.ManualMode) {
        line.Add(u"\u23F8 manual mode on \u00B7 ? for shortcuts", TTone::Dim);
    } else {
        line.Add(u"\u23F5\u23F5 auto mode on", TTone::Warning).Add(u" (shift+tab to cycle)", TTone::Dim);
    }
    if (State.Busy && State.Draft.Empty()) {
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
std::size_t CommandWord(const std::u16string& Line) {
    if (!Line.starts_with(u'/')) {
        return 0;
    }
    const std::size_t end = std::min(Line.find(u' '), Line.size());
    return FindCommand(std::u16string_view(Line).substr(0, end)) ? end : 0;
}

} // namespace

TBlock PromptBlock(const TCliState& State, std::size_t Columns) {
    TBlock block;
    auto& rows = block.Lines;
    const bool bash = State.Mode == TInputMode::Bash;
    const TTone ruleTone = bash ? TTone::Bash : TTone::Rule;

    if (State.Busy) {
        const std::uint64_t elapsed = State.NowMs - State.TurnStartMs;
        const std::size_t frame = static_cast<std::size_t>(elapsed / 200 % (2 * SpinnerFrames.size() - 2));
        const std::size_t index = frame < SpinnerFrames.size() ? frame : 2 * SpinnerFrames.size() - 2 - frame;
        std::u16string text = u"Cascading\u2026";
        if (elapsed >= 10000) {
            text += base::Format(u" ({0}s)", elapsed / 1000);
        }
        rows.emplace_back();
        rows.push_back(TLine(SpinnerFrames[index], TTone::Claude).Add(u" ").Add(text, TTone::Claude));
    }
    const TCli::TMenu menu = TCli::MenuOf(State);
    if (menu != TCli::TMenu::None) {
        for (TLine& line : MenuLines(State, menu, Columns)) {
            rows.push_back(std::move(line));
        }
    } else {
        rows.push_back(NoticeRow(State, Columns));
    }

    // The draft in rows: every line wrapped to the box's width.
    const std::size_t width = Columns > 4 ? Columns - 4 : 1;
    const auto& lines = State.Draft.Lines();
    const TCursor caret = State.Draft.Cursor();
    std::vector<TBoxRow> boxRows;
    std::size_t caretRow = 0;
    std::size_t caretColumn = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::vector<std::size_t> starts = WrapLine(lines[l], width);
        for (std::size_t r = 0; r < starts.size(); ++r) {
            const std::size_t end = r + 1 < starts.size() ? starts[r + 1] : lines[l].size();
            if (l == caret.Line && caret.Column >= starts[r] &&
                (caret.Column < end || r + 1 == starts.size())) {
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
    if (State.Browsing) {
        upperLabel = base::Format(u"History {0}/{1}", *State.Browsing + 1, State.History.size());
    } else if (first > 0) {
        upperLabel = base::Format(u"\u2191 {0} more", first);
    }
    rows.push_back(Rule(upperLabel, Columns, ruleTone));
    const std::size_t command = CommandWord(lines.front());
    for (std::size_t i = first; i < last; ++i) {
        const TBoxRow& row = boxRows[i];
        TLine line;
        if (i == 0) {
            line.Add(bash ? u"!" : u"\u276F", bash ? TTone::Bash : (State.Busy ? TTone::Dim : TTone::Plain));
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
    rows.push_back(Rule(last < boxRows.size() ? base::Format(u"\u2193 {0} more", boxRows.size() - last) : u"",
                        Columns, ruleTone));
    for (TLine& line : FooterLines(State)) {
        rows.push_back(std::move(line));
    }
    return block;
}

namespace {

// The conversation above, the block at the bottom; a short conversation stays at the top.
TScreen Compose(std::vector<TLine> Above, TBlock Block, int Columns, int Rows, std::u16string Title) {
    TScreen screen;
    screen.Columns = Columns;
    screen.Title = std::move(Title);
    const auto height = static_cast<std::size_t>(Rows);
    std::size_t cut = 0;
    if (Block.Lines.size() > height) {
        cut = Block.Lines.size() - height;
        Block.Lines.erase(Block.Lines.begin(), Block.Lines.begin() + static_cast<std::ptrdiff_t>(cut));
        Above.clear();
    }
    const std::size_t room = height - Block.Lines.size();
    if (Above.size() > room) {
        Above.erase(Above.begin(), Above.begin() + static_cast<std::ptrdiff_t>(Above.size() - room));
    }
    screen.Rows = std::move(Above);
    screen.Rows.resize(room);
    const int top = static_cast<int>(room) - static_cast<int>(cut);
    for (TLine& line : Block.Lines) {
        screen.Rows.push_back(std::move(line));
    }
    if (Block.Caret && Block.Caret->Row >= static_cast<int>(cut)) {
        screen.Caret = TScreenCell{top + Block.Caret->Row, Block.Caret->Column};
    }
    const auto width = static_cast<std::size_t>(Columns);
    for (TLine& line : screen.Rows) {
        line.Text.resize(width, u' ');
        line.Tones.resize(width, TTone::Plain);
    }
    if (screen.Caret && screen.Caret->Column >= Columns) {
        screen.Caret->Column = Columns - 1;
    }
    return screen;
}

} // namespace

TScreen Render(const TCli& Cli, int Columns, int Rows) {
    const TCliState& state = Cli.State();
    const auto width = static_cast<std::size_t>(std::max(Columns, 20));
    THeader header{state.EffortChosen ? state.Effort : std::u16string(), state.Setup.Folder};
    std::vector<TLine> above = TranscriptRows(header, state.Transcript, width);
    TBlock block = state.View == TView::Prompt ? PromptBlock(state, width) : DialogBlock(state, width);
    return Compose(std::move(above), std::move(block), static_cast<int>(width), std::max(Rows, 1),
                   Cli.Title());
}

TScreen Render(const TShell& Shell, int Columns, int Rows) {
    TScreenCell caret;
    std::vector<TLine> lines = Shell.Rows(caret);
    TScreen screen;
    screen.Columns = std::max(Columns, 1);
    screen.Title = Shell.Title();
    const auto height = static_cast<std::size_t>(std::max(Rows, 1));
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
        screen.Caret =
            TScreenCell{caret.Row - static_cast<int>(skip), std::min(caret.Column, screen.Columns - 1)};
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
