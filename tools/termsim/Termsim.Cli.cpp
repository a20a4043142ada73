#include "tools/termsim/Termsim.Cli.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "tools/termsim/Termsim.Commands.h"
#include "tools/termsim/Termsim.DialogKeys.h"
#include "tools/termsim/Termsim.Wrap.h"

#include <algorithm>

namespace termsim {

namespace {

bool IsBlank(char16_t Unit) {
    return Unit == u' ' || Unit == u'\t' || Unit == u'\n' || Unit == u'\r';
}

std::u16string_view TrimEnd(std::u16string_view Text) {
    while (!Text.empty() && IsBlank(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

std::u16string_view TrimStart(std::u16string_view Text) {
    while (!Text.empty() && IsBlank(Text.front())) {
        Text.remove_prefix(1);
    }
    return Text;
}

std::vector<std::u16string_view> Words(std::u16string_view Text) {
    std::vector<std::u16string_view> words;
    for (Text = TrimStart(Text); !Text.empty(); Text = TrimStart(Text)) {
        std::size_t end = 0;
        while (end < Text.size() && !IsBlank(Text[end])) {
            ++end;
        }
        words.push_back(Text.substr(0, end));
        Text.remove_prefix(end);
    }
    return words;
}

std::u16string Joined(const std::vector<std::u16string_view>& Words, std::size_t From) {
    std::u16string text;
    for (std::size_t i = From; i < Words.size(); ++i) {
        if (i > From) {
            text += u' ';
        }
        text += Words[i];
    }
    return text;
}

std::u16string Seconds(std::uint64_t Ms) {
    return base::Format(u"{0}s", Ms / 1000);
}

// Where the caret's row begins within its line, when the line wraps at Width.
struct TRowSpan {
    std::size_t Start = 0;
    std::size_t Previous = 0; // where the row before it begins (its own start on the first row)
};

TRowSpan CaretRow(const TDraft& Draft, std::size_t Width) {
    const std::u16string& line = Draft.Lines()[Draft.Cursor().Line];
    const std::size_t column = Draft.Cursor().Column;
    const std::vector<std::size_t> starts = WrapLine(line, Width);
    std::size_t row = 0;
    while (row + 1 < starts.size() && starts[row + 1] <= column) {
        ++row;
    }
    return {starts[row], starts[row == 0 ? 0 : row - 1]};
}

} // namespace

TCli::TMenu TCli::MenuOf(const TCliState& State) {
    if (State.View != TView::Prompt || State.MenuHidden || State.Mode != TInputMode::Normal ||
        State.Vim == TVimMode::Normal) {
        return TMenu::None;
    }
    const TDraft& draft = State.Draft;
    if (draft.Lines().size() != 1) {
        return TMenu::None;
    }
    const std::u16string& line = draft.Lines().front();
    if (line == u"/effort " && draft.Cursor().Column == line.size()) {
        return TMenu::EffortArguments;
    }
    if (line.starts_with(u'/') && line.find(u' ') == std::u16string::npos) {
        return TMenu::Commands;
    }
    // The word the caret ends begins with "@".
    const std::size_t caret = draft.Cursor().Column;
    const std::size_t start = line.rfind(u' ', caret == 0 ? 0 : caret - 1);
    const std::size_t wordStart = start == std::u16string::npos ? 0 : start + 1;
    if (wordStart < line.size() && line[wordStart] == u'@' && line.find(u' ', wordStart) >= caret) {
        return TMenu::Mentions;
    }
    return TMenu::None;
}

TCli::TCli(TSetup Setup, std::uint64_t NowMs) {
    F.Setup = std::move(Setup);
    const TSetup& s = F.Setup;
    F.NowMs = NowMs;
    F.Draft = TDraft(s.Prompt, s.Cursor.value_or(TDraft::EndOf(s.Prompt)));
    F.Mode = s.Bash ? TInputMode::Bash : TInputMode::Normal;
    F.Vim = s.Vim;
    if (F.Vim == TVimMode::Normal) {
        TVimNormal::ClampCaret(F.Draft);
    }
    for (const std::u16string& kill : s.Kills) {
        F.Kills.Seed(kill);
    }
    if (s.Stash) {
        F.Stash = TStashed{TDraft(*s.Stash, TDraft::EndOf(*s.Stash)),
                           s.StashBash ? TInputMode::Bash : TInputMode::Normal};
    }
    F.Help = s.Help;
    F.Effort = s.Effort;
    // A level other than the default was saved earlier: the logo's header names it from the start.
    F.EffortChosen = s.Effort != u"medium";
    F.PickerEffort = EffortStepOf(s.Effort).value_or(1);
    F.Settings = DefaultSettings();
    F.IndicatorUntilMs = NowMs + s.IndicatorMs;
    for (const std::u16string& text : s.History) {
        F.History.push_back({text, 0});
    }
    std::vector<TRecordEvent> ignored;
    FOut = &ignored;
    for (const std::u16string& paste : s.Pastes) {
        Paste(paste, NowMs);
    }
    FOut = &ignored;
    if (s.Busy) {
        F.Transcript.push_back({TEntryKind::Prompt, u"a question the model is still working on", {}});
        F.Busy = true;
        F.TurnStartMs = NowMs;
        if (s.TurnMs > 0) {
            F.TurnEndsMs = NowMs + s.TurnMs;
        }
    }
    switch (s.Open) {
    case TView::Permission:
        F.Transcript.push_back({TEntryKind::Prompt, u"write hi to a file", {}});
        F.Transcript.push_back({TEntryKind::ToolCall, s.PermissionDescription, u"$ " + s.PermissionCommand});
        break;
    case TView::Question:
        F.QuestionLevel = s.QuestionLevel;
        break;
    default:
        break;
    }
    F.View = s.Open == TView::Shell ? TView::Prompt : s.Open;
    FOut = nullptr;
}

TPromptState TCli::PromptState() const {
    TPromptState state;
    state.Text = F.Draft.Text();
    state.Cursor = F.Draft.Cursor();
    state.Kill = F.Kills.Newest();
    state.Mode = F.Mode;
    state.Vim = F.Vim;
    if (F.Stash) {
        state.Stash = F.Stash->Draft.Text();
    }
    state.View = F.View;
    return state;
}

std::u16string TCli::Title() const {
    std::u16string title = F.Setup.Title;
    if (F.Busy && !title.empty() && title.front() == u'\u2733') {
        // The glyph turns about once a second.
        title.front() = (F.NowMs - F.TurnStartMs) / 1000 % 2 == 0 ? u'\u25D0' : u'\u25D1';
    }
    return title;
}

std::size_t TCli::BoxWidth() const {
    return F.Setup.Columns > 4 ? static_cast<std::size_t>(F.Setup.Columns - 4) : 1;
}

void TCli::SetView(TView View) {
    if (F.View != View) {
        F.View = View;
        F.Focus = 0;
        F.Filter.clear();
        Emit(TViewEvent{View});
    }
}

// --- time ---

void TCli::Tick(std::uint64_t NowMs) {
    F.NowMs = std::max(F.NowMs, NowMs);
    if (F.QuestionAtMs && F.NowMs >= *F.QuestionAtMs) {
        F.QuestionAtMs.reset();
        SetView(TView::Question);
        F.QuestionLevel = F.PendingLevel;
        Emit(TQuestionEvent{EffortQuestion, F.QuestionLevel});
    }
    if (F.Busy && F.TurnEndsMs && F.NowMs >= *F.TurnEndsMs) {
        EndTurn(false);
    }
}

std::vector<TRecordEvent> TCli::Advance(std::uint64_t NowMs) {
    std::vector<TRecordEvent> events;
    FOut = &events;
    Tick(NowMs);
    if (!events.empty()) {
        events.emplace_back(PromptState());
    }
    FOut = nullptr;
    return events;
}

std::vector<TRecordEvent> TCli::Paste(std::u16string_view Text, std::uint64_t NowMs) {
    std::vector<TRecordEvent> events;
    std::vector<TRecordEvent>* outer = FOut;
    FOut = &events;
    Tick(NowMs);
    if (F.View == TView::Prompt && !Text.empty()) {
        F.Help = false;
        F.Browsing.reset();
        const std::size_t breaks = static_cast<std::size_t>(std::count(Text.begin(), Text.end(), u'\n'));
        if (FLastPaste && FLastPaste->second == Text && F.Draft.ExpandPaste(FLastPaste->first)) {
            // The same text pasted again right away: the placeholder gives way to the text.
            Emit(TPastedEvent{std::u16string(Text)});
            F.PasteFooter = false;
            FLastPaste.reset();
        } else if (breaks > PasteLinesLimit || Text.size() > PasteCharsLimit) {
            const int id = ++FPasteCount;
            F.Draft.InsertPaste(id, std::u16string(Text));
            Emit(TPastedEvent{PlaceholderText(id, breaks)});
            F.PasteFooter = true;
            FLastPaste = std::make_pair(id, std::u16string(Text));
        } else {
            F.Draft.Insert(Text);
            Emit(TPastedEvent{std::u16string(Text)});
        }
        // The hint comes with a box of several rows, which a placeholder is not.
        if (F.Draft.Lines().size() > 1) {
            F.VimHintUntilMs = F.NowMs + HintMs;
        }
        TextChanged();
    }
    events.emplace_back(PromptState());
    FOut = outer;
    return events;
}

// --- keys ---

std::vector<TRecordEvent> TCli::Apply(const TKeyEvent& Key, std::uint64_t NowMs) {
    std::vector<TRecordEvent> events;
    FOut = &events;
    Tick(NowMs);
    if (!events.empty()) {
        events.emplace_back(PromptState());
    }
    Emit(Key);
    const bool chained = FKillChain;
    FKillChain = false;
    FLastPaste.reset();
    F.PasteFooter = false;
    if (F.View == TView::Prompt || F.View == TView::Shell) {
        PromptKey(Key, chained);
    } else {
        DialogKey(Key);
    }
    if (Key.Key != TKey::Escape) {
        FEscAtMs.reset();
        F.EscHintUntilMs = 0;
    }
    Emit(PromptState());
    FOut = nullptr;
    return events;
}

void TCli::PromptKey(const TKeyEvent& Key, bool Chained) {
    if (F.Help) {
        F.Help = false;
        // The shortcuts close; Escape and "?" do nothing else.
        if (Key.Key == TKey::Escape || (Key.Key == TKey::Char && Key.Char == u'?')) {
            return;
        }
    }
    if (F.Vim == TVimMode::Normal) {
        VimNormalKey(Key, Chained);
        return;
    }
    if (MenuKey(Key)) {
        return;
    }
    EditKey(Key, Chained);
}

void TCli::VimNormalKey(const TKeyEvent& Key, bool Chained) {
    switch (Key.Key) {
    case TKey::Char:
        if (FVimNormal.Char(Key.Char, F.Draft) == TVimNormal::TResult::Insert) {
            SetVim(TVimMode::Insert);
        }
        F.Browsing.reset();
        if (F.Draft.Lines().size() > 1) {
            F.VimHintUntilMs = F.NowMs + HintMs;
        }
        return;
    case TKey::Escape:
        FVimNormal.Reset();
        return;
    case TKey::Backspace:
        F.Draft.Left();
        TVimNormal::ClampCaret(F.Draft);
        return;
    case TKey::Enter:
        Submit();
        return;
    default:
        EditKey(Key, Chained);
        TVimNormal::ClampCaret(F.Draft);
        return;
    }
}

bool TCli::MenuKey(const TKeyEvent& Key) {
    const TMenu menu = MenuOf(F);
    if (menu == TMenu::None) {
        return false;
    }
    const std::u16string line = F.Draft.Lines().front();
    switch (Key.Key) {
    case TKey::Escape:
        F.MenuHidden = true;
        return true;
    case TKey::Up:
        F.MenuFocus = F.MenuFocus == 0 ? 0 : F.MenuFocus - 1;
        return true;
    case TKey::Down:
        ++F.MenuFocus;
        return true;
    case TKey::Tab:
    case TKey::Enter: {
        if (menu == TMenu::Commands) {
            const std::vector<TCommandInfo> found = MatchCommands(std::u16string_view(line).substr(1));
            if (found.empty()) {
                return false; // Enter runs the text as it stands; Tab does nothing
            }
            const TCommandInfo& chosen = found[std::min(F.MenuFocus, found.size() - 1)];
            F.Draft =
                TDraft(std::u16string(chosen.Name) + u" ", TDraft::EndOf(std::u16string(chosen.Name) + u" "));
            F.MenuFocus = 0;
            if (Key.Key == TKey::Enter) {
                Submit();
            }
            return true;
        }
        if (menu == TMenu::Mentions) {
            const std::size_t caret = F.Draft.Cursor().Column;
            const std::size_t at = line.rfind(u'@', caret == 0 ? 0 : caret - 1);
            const std::vector<TMentionInfo> found =
                MatchMentions(std::u16string_view(line).substr(at + 1, caret - at - 1));
            if (found.empty()) {
                return Key.Key == TKey::Tab;
            }
            const TMentionInfo& chosen = found[std::min(F.MenuFocus, found.size() - 1)];
            F.Draft.SetCursor({0, caret});
            for (std::size_t i = at + 1; i < caret; ++i) {
                F.Draft.DeleteBack();
            }
            F.Draft.Insert(std::u16string(chosen.Inserted) + u" ");
            F.MenuFocus = 0;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void TCli::TextChanged() {
    F.MenuHidden = false;
    F.MenuFocus = 0;
}

void TCli::Type(char16_t Unit) {
    if (F.Draft.Empty() && F.Mode == TInputMode::Normal) {
        if (Unit == u'!') {
            SetMode(TInputMode::Bash);
            return;
        }
        if (Unit == u'?') {
            F.Help = true;
            return;
        }
    }
    F.Draft.Insert(std::u16string_view(&Unit, 1));
    F.Browsing.reset();
    TextChanged();
}

void TCli::EditKey(const TKeyEvent& Key, bool Chained) {
    switch (Key.Key) {
    case TKey::Char:
        if (Key.Char >= 0x20 && Key.Char != 0x7F) {
            Type(Key.Char);
        }
        return;
    case TKey::CtrlE:
    case TKey::End:
        F.Draft.LineEnd();
        return;
    case TKey::CtrlA:
    case TKey::Home:
        // To the start of the whole line, wrapped or not, as the captured screen shows for Home.
        F.Draft.LineStart();
        return;
    case TKey::Right:
        F.Draft.Right();
        return;
    case TKey::Left:
        F.Draft.Left();
        return;
    case TKey::Up:
        if (!F.Draft.Up()) {
            HistoryStep(true);
        }
        return;
    case TKey::Down:
        if (!F.Draft.Down()) {
            HistoryStep(false);
        }
        return;
    case TKey::Backspace:
        if (F.Draft.Empty()) {
            SetMode(TInputMode::Normal);
            return;
        }
        F.Draft.DeleteBack();
        TextChanged();
        return;
    case TKey::Delete:
        F.Draft.DeleteForward();
        TextChanged();
        return;
    case TKey::CtrlBackspace:
        F.Draft.DeleteWordBack();
        TextChanged();
        return;
    case TKey::CtrlW:
        Kill(F.Draft.DeleteWordBack(), TKillRing::TSide::Before, Chained);
        return;
    case TKey::CtrlU:
        if (F.Draft.Empty() && F.Mode == TInputMode::Bash) {
            SetMode(TInputMode::Normal);
            return;
        }
        {
            // Back to where the caret's row begins, as the CLI does on a line that wraps; from
            // that start, the row before.
            const TRowSpan row = CaretRow(F.Draft, BoxWidth());
            const std::size_t from = F.Draft.Cursor().Column > row.Start ? row.Start : row.Previous;
            Kill(F.Draft.KillToLineStart(from), TKillRing::TSide::Before, Chained);
        }
        return;
    case TKey::CtrlK:
        Kill(F.Draft.KillToLineEnd(), TKillRing::TSide::After, Chained);
        return;
    case TKey::CtrlY:
        if (!F.Kills.Empty()) {
            const std::u16string yanked = F.Kills.Newest();
            F.Draft.Insert(yanked);
            if (yanked.find(u'\n') != std::u16string::npos) {
                F.VimHintUntilMs = F.NowMs + HintMs;
            }
            TextChanged();
        }
        return;
    case TKey::CtrlS:
        StashKey();
        return;
    case TKey::CtrlR:
        SetView(TView::HistorySearch);
        return;
    case TKey::CtrlC:
        if (F.Busy) {
            EndTurn(true);
        } else if (!F.Draft.Empty()) {
            Emit(TClearedEvent{F.Draft.Text()});
            F.Draft.Clear();
            TextChanged();
        }
        return;
    case TKey::Ctrl:
    case TKey::Tab:
    case TKey::ShiftTab:
        return;
    case TKey::ShiftEnter:
        F.Draft.Insert(u"\n");
        F.VimHintUntilMs = F.NowMs + HintMs;
        TextChanged();
        return;
    case TKey::Escape:
        Escape();
        return;
    case TKey::Enter:
        Enter();
        return;
    }
}

void TCli::Kill(std::u16string Killed, TKillRing::TSide Side, bool Chained) {
    // A kill that cuts nothing adds nothing, and leaves a chain as it was.
    FKillChain = Chained;
    if (Killed.empty()) {
        return;
    }
    F.Kills.Kill(Killed, Side, Chained);
    FKillChain = true;
    F.KillHintUntilMs = F.NowMs + HintMs;
    TextChanged();
}

void TCli::SetMode(TInputMode Mode) {
    if (F.Mode != Mode) {
        F.Mode = Mode;
        Emit(TModeEvent{Mode});
    }
}

void TCli::SetVim(TVimMode Mode) {
    if (F.Vim != Mode) {
        F.Vim = Mode;
        Emit(TVimEvent{Mode});
    }
}

void TCli::StashKey() {
    if (!F.Draft.Empty()) {
        if (F.Stash && !F.Stash->Draft.Empty()) {
            Emit(TStashLostEvent{F.Stash->Draft.Text()});
        }
        F.Stash = TStashed{F.Draft, F.Mode};
        Emit(TStashedEvent{F.Draft.Text()});
        F.Draft.Clear();
        SetMode(TInputMode::Normal);
        TextChanged();
        return;
    }
    if (F.Stash) {
        TStashed stash = std::move(*F.Stash);
        F.Stash.reset();
        F.Draft = std::move(stash.Draft);
        Emit(TUnstashedEvent{F.Draft.Text()});
        SetMode(stash.Mode);
        TextChanged();
    }
}

void TCli::HistoryStep(bool Back) {
    if (F.History.empty()) {
        return;
    }
    if (Back) {
        if (!F.Browsing) {
            FBrowsed = TStashed{F.Draft, F.Mode};
            F.Browsing = F.History.size() - 1;
        } else if (*F.Browsing > 0) {
            --*F.Browsing;
        } else {
            return;
        }
    } else {
        if (!F.Browsing) {
            return;
        }
        if (*F.Browsing + 1 >= F.History.size()) {
            F.Browsing.reset();
            F.Draft = FBrowsed ? FBrowsed->Draft : TDraft();
            return;
        }
        ++*F.Browsing;
    }
    const std::u16string& text = F.History[*F.Browsing].Text;
    F.Draft = TDraft(text, TDraft::EndOf(text));
}

void TCli::Escape() {
    if (F.Busy) {
        EndTurn(true);
        return;
    }
    if (F.Vim == TVimMode::Insert) {
        TVimNormal::LeaveInsert(F.Draft);
        SetVim(TVimMode::Normal);
        return;
    }
    const bool again = FEscAtMs.has_value();
    const std::uint64_t since = again ? F.NowMs - *FEscAtMs : 0;
    FEscAtMs = F.NowMs;
    if (!F.Draft.Empty()) {
        if (again && since <= EscClearMs) {
            // The CLI keeps a draft cleared this way in its history, not in the kill ring.
            Emit(TClearedEvent{F.Draft.Text()});
            F.History.push_back({F.Draft.Text(), F.NowMs});
            F.Draft.Clear();
            FEscAtMs.reset();
            F.EscHintUntilMs = 0;
            TextChanged();
        } else {
            // The CLI takes the caret to the start of its line as it offers to clear.
            F.Draft.LineStart();
            F.EscHintUntilMs = F.NowMs + EscClearMs;
        }
        return;
    }
    if (F.Mode == TInputMode::Bash) {
        SetMode(TInputMode::Normal);
        FEscAtMs.reset();
        return;
    }
    if (again && since <= EscRewindMs) {
        FEscAtMs.reset();
        SetView(TView::Rewind);
    }
}

void TCli::Enter() {
    if (F.Draft.BackslashBeforeCaret()) {
        // "\" then Enter: the backslash becomes the line break.
        F.Draft.DeleteBack();
        F.Draft.Insert(u"\n");
        F.VimHintUntilMs = F.NowMs + HintMs;
        TextChanged();
        return;
    }
    Submit();
}

// --- submitting ---

void TCli::Submit() {
    std::vector<std::u16string> unknown;
    const std::u16string sent = F.Draft.SentText(&unknown);
    const std::u16string boxText = F.Draft.Text();
    const std::u16string_view trimmed = TrimEnd(sent);
    if (trimmed.empty()) {
        return;
    }
    const TInputMode mode = F.Mode;
    F.Draft.Clear();
    F.Browsing.reset();
    FBrowsed.reset();
    TextChanged();
    F.History.push_back({mode == TInputMode::Bash ? u"!" + boxText : boxText, F.NowMs});
    for (const std::u16string& placeholder : unknown) {
        Emit(TUnexpandedEvent{placeholder});
    }
    if (mode == TInputMode::Bash) {
        Emit(TSubmittedEvent{std::u16string(trimmed), TInputMode::Bash});
        SetMode(TInputMode::Normal);
        F.Transcript.push_back(
            {TEntryKind::Bash, std::u16string(trimmed), u"(termsim runs no shell commands)"});
        // The line's output goes to the model, which takes a turn over it.
        StartTurn();
        AfterSubmit();
        return;
    }
    const std::u16string_view command = TrimStart(trimmed);
    if (command.starts_with(u'/')) {
        RunCommand(command);
        return;
    }
    Emit(TSubmittedEvent{std::u16string(trimmed), TInputMode::Normal});
    F.Transcript.push_back({TEntryKind::Prompt, std::u16string(trimmed), {}});
    StartTurn();
    AfterSubmit();
}

void TCli::RunCommand(std::u16string_view Command) {
    const std::vector<std::u16string_view> words = Words(Command);
    const std::u16string name(words.front());
    const std::u16string text(Command);
    if (name == u"/effort") {
        if (words.size() == 1) {
            F.PickerEffort = EffortStepOf(F.Effort).value_or(1);
            SetView(TView::EffortPicker);
            return;
        }
        const std::u16string level(words[1]);
        if (words.size() == 2 && IsEffortLevel(level)) {
            if (F.Busy) {
                // During a turn the level changes at once; the result shows above the box.
                SetEffort(level);
                F.BusyMessage = EffortSetText(level);
                F.BusyMessageUntilMs = F.NowMs + BusyMessageMs;
                AfterSubmit();
                return;
            }
            if (F.Setup.Question && level != F.Effort) {
                F.PendingLevel = level;
                F.QuestionAtMs = F.NowMs + F.Setup.QuestionDelayMs;
                return;
            }
            SetEffort(level);
            F.Transcript.push_back({TEntryKind::Prompt, text, EffortSetText(level)});
            AfterSubmit();
            return;
        }
        if (words[1] == u"ultracode" && words.size() <= 3) {
            Emit(TCommandEvent{text});
            F.Transcript.push_back({TEntryKind::Prompt, text,
                                    u"Ultracode " + std::u16string(words.size() == 3 ? words[2] : u"on")});
            AfterSubmit();
            return;
        }
        const std::u16string error = UnknownEffortOptionText(Joined(words, 1));
        Emit(TFailedEvent{error});
        F.Transcript.push_back({TEntryKind::Prompt, text, error});
        AfterSubmit();
        return;
    }
    if (name == u"/model" && words.size() == 1) {
        F.PickerEffort = EffortStepOf(F.Effort).value_or(1);
        SetView(TView::ModelPicker);
        return;
    }
    if (name == u"/config" && words.size() == 1) {
        SetView(TView::Config);
        return;
    }
    if (name == u"/rewind" && words.size() == 1) {
        SetView(TView::Rewind);
        return;
    }
    if (FindCommand(name)) {
        Emit(TCommandEvent{text});
        F.Transcript.push_back({TEntryKind::Prompt, text, u"(termsim does not carry out " + name + u")"});
        AfterSubmit();
        return;
    }
    const std::u16string error = u"Unknown command: " + name;
    Emit(TFailedEvent{error});
    F.Transcript.push_back({TEntryKind::Notice, error, {}});
    AfterSubmit();
}

void TCli::AfterSubmit() {
    // The stash comes back by itself once something went out, into an empty box.
    if (!F.Stash || !F.Draft.Empty()) {
        return;
    }
    TStashed stash = std::move(*F.Stash);
    F.Stash.reset();
    F.Draft = std::move(stash.Draft);
    Emit(TUnstashedEvent{F.Draft.Text()});
    SetMode(stash.Mode);
    if (F.Busy) {
        F.RestoredUntilMs = F.NowMs + HintMs;
    }
}

void TCli::SetEffort(const std::u16string& Level) {
    if (Level != F.Effort) {
        F.IndicatorUntilMs = F.NowMs + F.Setup.IndicatorMs;
    }
    F.Effort = Level;
    F.EffortChosen = true;
    Emit(TEffortEvent{Level});
}

void TCli::StartTurn() {
    if (F.Busy) {
        return; // the text waits for the running turn
    }
    if (F.Setup.TurnMs == 0) {
        F.Transcript.push_back({TEntryKind::Answer, u"Hello from termsim.", {}});
        F.Transcript.push_back({TEntryKind::Status, u"Worked for 0s", {}});
        return;
    }
    F.Busy = true;
    F.TurnStartMs = F.NowMs;
    F.TurnEndsMs = F.NowMs + F.Setup.TurnMs;
    Emit(TTurnEvent{true});
}

void TCli::EndTurn(bool Interrupted) {
    F.Busy = false;
    F.TurnEndsMs.reset();
    if (Interrupted) {
        Emit(TInterruptedEvent{});
        F.Transcript.push_back(
            {TEntryKind::Notice, u"Interrupted \u00B7 What should Claude do instead?", {}});
    } else {
        F.Transcript.push_back({TEntryKind::Answer, u"Hello from termsim.", {}});
        F.Transcript.push_back({TEntryKind::Status, u"Worked for " + Seconds(F.NowMs - F.TurnStartMs), {}});
    }
    Emit(TTurnEvent{false});
}

// --- dialogs ---

// --- dialogs ---

void TCli::DialogKey(const TKeyEvent& Key) {
    const TDialogAction action = termsim::DialogKey(F, Key);
    using TKind = TDialogAction::TKind;
    switch (action.Kind) {
    case TKind::None:
        return;
    case TKind::Answer:
        Answer(action.Yes);
        return;
    case TKind::Approve:
        SetView(TView::Prompt);
        Emit(TApprovedEvent{action.Choice});
        F.Transcript.push_back({TEntryKind::ToolCall, u"Ran 1 shell command", {}});
        F.Transcript.push_back({TEntryKind::Answer, u"Hello from termsim.", {}});
        return;
    case TKind::Decline:
        // Escape cancels before the dialog goes; a choice of "No" is made as it goes.
        if (action.Choice == u"esc") {
            Emit(TDeclinedEvent{action.Choice});
            SetView(TView::Prompt);
        } else {
            SetView(TView::Prompt);
            Emit(TDeclinedEvent{action.Choice});
        }
        return;
    case TKind::Close: {
        // A picker or panel opened by a command counts as that command's end: the stash returns.
        const bool fromCommand =
            F.View == TView::ModelPicker || F.View == TView::EffortPicker || F.View == TView::Config;
        SetView(TView::Prompt);
        if (fromCommand) {
            AfterSubmit();
        }
        return;
    }
    case TKind::SaveModel: {
        SetView(TView::Prompt);
        std::u16string choice = action.Choice + u", " + action.Level + u" effort";
        if (action.SessionOnly) {
            choice += u", this session only";
        }
        Emit(TPickerSavedEvent{u"model", choice});
        if (action.Level != F.Effort) {
            SetEffort(action.Level);
        }
        F.Transcript.push_back({TEntryKind::Prompt, u"/model", u"Set model to " + action.Choice});
        AfterSubmit();
        return;
    }
    case TKind::SaveEffort:
        SetView(TView::Prompt);
        Emit(TPickerSavedEvent{u"effort",
                               action.SessionOnly ? action.Level + u", this session only" : action.Level});
        SetEffort(action.Level);
        F.Transcript.push_back({TEntryKind::Prompt, u"/effort", EffortSetText(action.Level)});
        AfterSubmit();
        return;
    case TKind::SaveSetting:
        Emit(TPickerSavedEvent{u"config", action.Choice});
        return;
    case TKind::UseHistory: {
        // The match takes the box's place, and goes out as if typed there.
        SetView(TView::Prompt);
        const bool bash = action.Choice.starts_with(u'!');
        const std::u16string text = bash ? action.Choice.substr(1) : action.Choice;
        F.Draft = TDraft(text, TDraft::EndOf(text));
        SetMode(bash ? TInputMode::Bash : TInputMode::Normal);
        TextChanged();
        if (F.Setup.HistoryEnterSends) {
            Submit();
        }
        return;
    }
    }
}

void TCli::Answer(bool Yes) {
    const std::u16string level = F.QuestionLevel;
    Emit(TAnsweredEvent{Yes});
    SetView(TView::Prompt);
    if (Yes) {
        SetEffort(level);
        F.Transcript.push_back({TEntryKind::Prompt, u"/effort " + level, EffortSetText(level)});
    } else {
        F.Transcript.push_back(
            {TEntryKind::Prompt, u"/effort " + level, u"Kept effort level as " + F.Effort});
    }
    AfterSubmit();
}

} // namespace termsim
