#include "tools/termsim/Termsim.Dialogs.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "tools/termsim/Termsim.Commands.h"
#include "tools/termsim/Termsim.DialogKeys.h"
#include "tools/termsim/Termsim.Wrap.h"

#include <algorithm>
#include <array>

namespace termsim {

namespace {

constexpr char16_t TopBorder = u'\u2594'; // ▔
constexpr char16_t RuleGlyph = u'\u2500'; // ─
constexpr char16_t DashGlyph = u'\u254C'; // ╌
constexpr std::u16string_view Focused = u"\u276F ";
constexpr std::u16string_view Unfocused = u"  ";

std::u16string Padded(std::u16string_view Text, std::size_t Width) {
    std::u16string padded(Text);
    if (padded.size() < Width) {
        padded.append(Width - padded.size(), u' ');
    }
    return padded;
}

TLine Filled(char16_t Glyph, std::size_t Columns, TTone Tone) {
    return TLine(std::u16string(Columns, Glyph), Tone);
}

// "  ❯ 1. Yes, switch to low" and its siblings.
TLine Choice(std::u16string_view Indent, bool HasFocus, std::size_t Ordinal, std::u16string_view Text) {
    TLine line(Indent);
    line.Add(HasFocus ? Focused : Unfocused, TTone::Accent)
        .Add(base::Format(u"{0}. ", Ordinal), TTone::Dim)
        .Add(Text, HasFocus ? TTone::Accent : TTone::Plain);
    return line;
}

std::u16string Capitalised(std::u16string_view Word) {
    std::u16string text(Word);
    if (!text.empty() && text.front() >= u'a' && text.front() <= u'z') {
        text.front() = static_cast<char16_t>(text.front() - u'a' + u'A');
    }
    return text;
}

TBlock QuestionBlock(const TCliState& State, std::size_t Columns) {
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(TopBorder, Columns, TTone::Warning));
    rows.emplace_back(u"  Change effort level?", TTone::Warning);
    rows.emplace_back(u"  Your next response will be slower and use more tokens", TTone::Dim);
    rows.emplace_back();
    const std::u16string text = u"This conversation is cached for the current effort level. Switching to " +
                                State.QuestionLevel + u" means the full history gets re-read.";
    for (std::u16string_view row : WrapText(text, Columns > 4 ? Columns - 4 : 1)) {
        rows.push_back(TLine(u"  ").Add(row));
    }
    rows.emplace_back();
    rows.push_back(Choice(u"  ", State.Focus == 0, 1, u"Yes, switch to " + State.QuestionLevel));
    rows.push_back(Choice(u"  ", State.Focus == 1, 2, u"No, go back"));
    rows.emplace_back();
    rows.emplace_back(u"  enter to confirm \u00B7 esc to cancel", TTone::Dim);
    return block;
}

TBlock PermissionBlock(const TCliState& State, std::size_t Columns) {
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(RuleGlyph, Columns, TTone::Accent));
    rows.emplace_back(u" Bash command", TTone::Accent);
    rows.push_back(TLine(u" ").Add(State.Setup.PermissionDescription, TTone::Dim));
    rows.emplace_back();
    rows.push_back(Filled(DashGlyph, Columns, TTone::Rule));
    rows.push_back(TLine(u" ").Add(State.Setup.PermissionCommand));
    rows.push_back(Filled(DashGlyph, Columns, TTone::Rule));
    rows.emplace_back();
    rows.emplace_back(u" Do you want to proceed?");
    for (std::size_t i = 0; i < PermissionChoices; ++i) {
        TLine line = Choice(u" ", State.Focus == i, i + 1, PermissionChoice(i));
        if (i == 2) {
            line.Add(u" \u00B7 auto mode handles these prompts for you", TTone::Dim);
        }
        rows.push_back(std::move(line));
    }
    rows.emplace_back();
    rows.emplace_back(u" tab to amend \u00B7 esc to cancel", TTone::Dim);
    return block;
}

TLine EffortLine(std::size_t Step, std::u16string_view Tail) {
    const std::u16string_view level = EffortStep(Step);
    TLine line(u"  ");
    line.Add(EffortGlyph(level), TTone::Claude)
        .Add(u" " + Capitalised(level) + u" effort" + (level == u"medium" ? u" (default)" : u""), TTone::Dim)
        .Add(Tail, TTone::Dim);
    return line;
}

TBlock ModelPickerBlock(const TCliState& State, std::size_t Columns) {
    struct TModelRow {
        std::u16string_view Name;
        std::u16string_view Description;
        std::u16string_view More;
    };
    constexpr std::array<TModelRow, ModelChoices> models = {{
        {u"Default (recommended) \u2714 ",
         u"Use the default model (currently Opus 5.5) \u00B7 $4/$20 per Mtok", u""},
        {u"Opus", u"Opus 5.5 \u00B7 Best for everyday, complex tasks \u00B7 $4/$20 per Mtok", u""},
        {u"Fable", u"Fable 5.2 \u00B7 Most capable for your hardest and longest-running",
         u"tasks \u00B7 $8/$40 per Mtok"},
        {u"Sonnet", u"Sonnet 5.5 \u00B7 Efficient for routine tasks \u00B7 $2/$10 per Mtok", u""},
        {u"Haiku", u"Haiku 5.5 \u00B7 Fastest for quick answers \u00B7 $0.10/$0.50 per Mtok",
         u"($0.50/$2.50 for prompts over 100k)"},
    }};
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(TopBorder, Columns, TTone::Plain));
    rows.emplace_back(u"  Select model");
    rows.emplace_back(u"  Your pick is the default for new sessions. For other models, use --model.",
                      TTone::Dim);
    rows.emplace_back();
    for (std::size_t i = 0; i < ModelChoices; ++i) {
        const bool focused = State.Focus == i;
        TLine line(u"  ");
        line.Add(focused ? Focused : Unfocused, TTone::Accent)
            .Add(base::Format(u"{0}. ", i + 1), TTone::Dim)
            .Add(Padded(models[i].Name, 24), i == 0 ? TTone::Success : TTone::Plain)
            .Add(u" " + std::u16string(models[i].Description), TTone::Dim);
        rows.push_back(std::move(line));
        if (!models[i].More.empty()) {
            rows.push_back(TLine(std::u16string(32, u' ')).Add(models[i].More, TTone::Dim));
        }
    }
    rows.emplace_back();
    rows.push_back(EffortLine(State.PickerEffort, u" \u2190/\u2192 to adjust"));
    rows.emplace_back();
    rows.emplace_back(u"  \u2191/\u2193 to navigate \u00B7 s to use this session only \u00B7 enter to save "
                      u"\u00B7 esc to cancel",
                      TTone::Dim);
    // The caret rests at the focused choice, drawn as no cell of its own.
    return block;
}

TBlock EffortPickerBlock(const TCliState& State, std::size_t Columns) {
    // Where the marker stands under each level's name on the slider.
    constexpr std::array<std::size_t, EffortSteps> marks = {1, 10, 20, 30, 40};
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(TopBorder, Columns, TTone::Plain));
    rows.emplace_back(u"  Effort");
    rows.emplace_back();
    rows.emplace_back(u"                   Faster                             Smarter");
    std::u16string slider(42, RuleGlyph);
    slider[marks[std::min(State.PickerEffort, EffortSteps - 1)]] = u'\u25B2';
    rows.push_back(TLine(std::u16string(19, u' '))
                       .Add(slider, TTone::Dim)
                       .Add(u"      Ultracode  ")
                       .Add(State.Ultracode ? u"on" : u"off", TTone::Dim));
    rows.emplace_back(u"                   low     medium     high     xhigh      max      tab to toggle",
                      TTone::Dim);
    rows.emplace_back();
    rows.emplace_back();
    rows.emplace_back(u"  \u2190/\u2192 to adjust \u00B7 s to use this session only \u00B7 enter to save "
                      u"\u00B7 esc to cancel",
                      TTone::Dim);
    return block;
}

// "  ⌕ " and what was typed, or the greyed hint with the caret on its first letter.
TLine SearchLine(const std::u16string& Filter, std::u16string_view Hint, TBlock& Block) {
    TLine line(u"  ");
    line.Add(u"\u2315 ", TTone::Accent);
    const int column = static_cast<int>(line.Size() + Filter.size());
    if (Filter.empty()) {
        line.Add(Hint, TTone::Dim);
    } else {
        line.Add(Filter);
    }
    Block.Caret = TScreenCell{static_cast<int>(Block.Lines.size()), column};
    return line;
}

TBlock ConfigBlock(const TCliState& State, std::size_t Columns) {
    constexpr std::size_t Shown = 20;
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(TopBorder, Columns, TTone::Plain));
    rows.emplace_back(u"  Settings  Status   Config   Usage   Stats");
    rows.emplace_back();
    rows.push_back(SearchLine(State.Filter, u"Search settings\u2026", block));
    rows.emplace_back();
    const auto settings = SettingMatches(State);
    for (std::size_t i = 0; i < std::min(Shown, settings.size()); ++i) {
        const bool focused = State.Focus == i;
        TLine line(u"  ");
        line.Add(focused ? Focused : Unfocused, TTone::Dim)
            .Add(Padded(settings[i].first, 44))
            .Add(settings[i].second);
        rows.push_back(std::move(line));
    }
    if (settings.size() > Shown) {
        rows.emplace_back(base::Format(u"    \u2193 {0} more", settings.size() - Shown), TTone::Dim);
    }
    rows.emplace_back();
    rows.emplace_back(u"  \u2193 to navigate \u00B7 \u2191 to switch tabs \u00B7 esc to go back", TTone::Dim);
    return block;
}

TBlock HistoryBlock(const TCliState& State, std::size_t Columns) {
    constexpr std::size_t Shown = 7;
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(RuleGlyph, Columns, TTone::Plain));
    rows.push_back(TLine(u"  Search prompts ").Add(u"\u00B7 everywhere", TTone::Accent));
    const std::vector<THistoryItem> matches = HistoryMatches(State);
    const std::size_t shown = std::min(Shown, matches.size());
    // The list keeps its height, a row for "more" included, so a short list stands at its foot.
    for (std::size_t i = shown; i < Shown; ++i) {
        rows.emplace_back();
    }
    if (matches.size() > shown) {
        rows.emplace_back(base::Format(u"    \u2191 {0} more", matches.size() - shown), TTone::Dim);
    } else {
        rows.emplace_back();
    }
    for (std::size_t i = matches.size() - shown; i < matches.size(); ++i) {
        const bool focused = matches.size() - 1 - i == State.Focus;
        std::u16string text = matches[i].Text.substr(0, matches[i].Text.find(u'\n'));
        TLine line(u"  ");
        line.Add(focused ? Focused : Unfocused, TTone::Accent)
            .Add(Padded(AgeText(State.NowMs - std::min(State.NowMs, matches[i].AtMs)), 8), TTone::Dim)
            .Add(u" " + text, focused ? TTone::Accent : TTone::Plain);
        rows.push_back(std::move(line));
    }
    rows.push_back(SearchLine(State.Filter, u"Filter history\u2026", block));
    rows.emplace_back();
    rows.emplace_back(
        u"  \u2191/\u2193 to navigate \u00B7 ctrl+s to change scope \u00B7 enter to use \u00B7 esc to cancel",
        TTone::Dim);
    return block;
}

TBlock RewindBlock(const TCliState& State, std::size_t Columns) {
    TBlock block;
    auto& rows = block.Lines;
    rows.push_back(Filled(TopBorder, Columns, TTone::Plain));
    rows.emplace_back(u"  Rewind");
    rows.emplace_back();
    rows.emplace_back(u"  Restore the code and/or conversation to the point before\u2026");
    rows.emplace_back();
    // The last message of the conversation, which Rewind would go back before.
    for (auto entry = State.Transcript.rbegin(); entry != State.Transcript.rend(); ++entry) {
        if (entry->Kind == TEntryKind::Prompt && !entry->Text.starts_with(u'/')) {
            rows.emplace_back(u"    " + entry->Text.substr(0, entry->Text.find(u'\n')));
            rows.emplace_back(u"    No code changes", TTone::Dim);
            rows.emplace_back();
            break;
        }
    }
    rows.push_back(TLine(u"  ").Add(Focused, TTone::Accent).Add(u"(current)", TTone::Accent));
    rows.emplace_back();
    rows.emplace_back();
    rows.emplace_back();
    rows.emplace_back(u"  \u2191/\u2193 to navigate \u00B7 enter to continue \u00B7 esc to cancel",
                      TTone::Dim);
    return block;
}

} // namespace

std::u16string AgeText(std::uint64_t Ms) {
    const std::uint64_t seconds = Ms / 1000;
    if (seconds < 60) {
        return base::Format(u"{0}s ago", seconds);
    }
    if (seconds < 3600) {
        return base::Format(u"{0}m ago", seconds / 60);
    }
    return base::Format(u"{0}h ago", seconds / 3600);
}

TBlock DialogBlock(const TCliState& State, std::size_t Columns) {
    switch (State.View) {
    case TView::Question:
        return QuestionBlock(State, Columns);
    case TView::Permission:
        return PermissionBlock(State, Columns);
    case TView::ModelPicker:
        return ModelPickerBlock(State, Columns);
    case TView::EffortPicker:
        return EffortPickerBlock(State, Columns);
    case TView::Config:
        return ConfigBlock(State, Columns);
    case TView::HistorySearch:
        return HistoryBlock(State, Columns);
    case TView::Rewind:
        return RewindBlock(State, Columns);
    case TView::Prompt:
    case TView::Shell:
        break;
    }
    return {};
}

} // namespace termsim
