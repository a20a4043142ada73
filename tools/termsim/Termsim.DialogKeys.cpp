#include "tools/termsim/Termsim.DialogKeys.h"

#include "tools/termsim/Termsim.Commands.h"

#include <algorithm>
#include <array>
#include <optional>

namespace termsim {

namespace {

using TKind = TDialogAction::TKind;

constexpr std::array<std::u16string_view, ModelChoices> Models = {u"Default (recommended)", u"Opus", u"Fable",
                                                                   u"Sonnet", u"Haiku"};
constexpr std::array<std::u16string_view, PermissionChoices> Permissions = {
    u"Yes", u"Yes, and always allow access to /tmp from this project", u"Yes, and switch to auto mode", u"No"};

std::u16string Lowered(std::u16string_view Text) {
    std::u16string lowered(Text);
    for (char16_t& unit : lowered) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return lowered;
}

bool Contains(std::u16string_view Text, std::u16string_view Part) {
    return Text.find(Part) != std::u16string_view::npos;
}

TDialogAction Act(TKind Kind) {
    return {Kind};
}

// The digit keys that pick a numbered choice directly: 0 for "1".
std::optional<std::size_t> Digit(const TKeyEvent& Key, std::size_t Choices) {
    if (Key.Key == TKey::Char && Key.Char >= u'1' && Key.Char < u'1' + static_cast<int>(Choices)) {
        return static_cast<std::size_t>(Key.Char - u'1');
    }
    return std::nullopt;
}

void FocusUp(std::size_t& Focus) {
    Focus = Focus == 0 ? 0 : Focus - 1;
}

void FocusDown(std::size_t& Focus, std::size_t Count) {
    Focus = Count == 0 ? 0 : std::min(Count - 1, Focus + 1);
}

// Typed text and Backspace edit a search filter; the focus starts over with every change.
bool EditFilter(TCliState& State, const TKeyEvent& Key) {
    if (Key.Key == TKey::Backspace) {
        if (!State.Filter.empty()) {
            State.Filter.pop_back();
            State.Focus = 0;
        }
        return true;
    }
    if (Key.Key == TKey::Char && Key.Char >= 0x20) {
        State.Filter += Key.Char;
        State.Focus = 0;
        return true;
    }
    return false;
}

TDialogAction QuestionKey(TCliState& State, const TKeyEvent& Key) {
    TDialogAction answer = Act(TKind::Answer);
    switch (Key.Key) {
    case TKey::Enter:
        answer.Yes = State.Focus == 0;
        return answer;
    case TKey::Escape:
        return answer;
    case TKey::Up:
        State.Focus = 0;
        return {};
    case TKey::Down:
    case TKey::Tab:
        State.Focus = 1;
        return {};
    default:
        if (const auto digit = Digit(Key, 2)) {
            answer.Yes = *digit == 0;
            return answer;
        }
        return {};
    }
}

TDialogAction PermissionKey(TCliState& State, const TKeyEvent& Key) {
    std::optional<std::size_t> chosen = Digit(Key, PermissionChoices);
    switch (Key.Key) {
    case TKey::Enter:
        chosen = State.Focus;
        break;
    case TKey::Escape: {
        TDialogAction cancelled = Act(TKind::Decline);
        cancelled.Choice = u"esc";
        return cancelled;
    }
    case TKey::Up:
        FocusUp(State.Focus);
        return {};
    case TKey::Down:
        FocusDown(State.Focus, PermissionChoices);
        return {};
    default:
        break;
    }
    if (!chosen) {
        return {};
    }
    TDialogAction action = Act(*chosen + 1 == PermissionChoices ? TKind::Decline : TKind::Approve);
    action.Choice = std::u16string(PermissionChoice(*chosen));
    return action;
}

TDialogAction ModelPickerKey(TCliState& State, const TKeyEvent& Key) {
    if (const auto digit = Digit(Key, ModelChoices)) {
        State.Focus = *digit;
        return {};
    }
    switch (Key.Key) {
    case TKey::Up:
        FocusUp(State.Focus);
        return {};
    case TKey::Down:
        FocusDown(State.Focus, ModelChoices);
        return {};
    case TKey::Right:
        State.PickerEffort = std::min(EffortSteps - 1, State.PickerEffort + 1);
        return {};
    case TKey::Left:
        State.PickerEffort = State.PickerEffort == 0 ? 0 : State.PickerEffort - 1;
        return {};
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Enter:
    case TKey::Char: {
        if (Key.Key == TKey::Char && Key.Char != u's') {
            return {};
        }
        TDialogAction save = Act(TKind::SaveModel);
        save.Choice = std::u16string(ModelName(State.Focus));
        save.Level = std::u16string(EffortStep(State.PickerEffort));
        save.SessionOnly = Key.Key == TKey::Char;
        return save;
    }
    default:
        return {};
    }
}

TDialogAction EffortPickerKey(TCliState& State, const TKeyEvent& Key) {
    switch (Key.Key) {
    case TKey::Right:
        State.PickerEffort = std::min(EffortSteps - 1, State.PickerEffort + 1);
        return {};
    case TKey::Left:
        State.PickerEffort = State.PickerEffort == 0 ? 0 : State.PickerEffort - 1;
        return {};
    case TKey::Tab:
        State.Ultracode = !State.Ultracode;
        return {};
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Enter:
    case TKey::Char: {
        if (Key.Key == TKey::Char && Key.Char != u's') {
            return {};
        }
        TDialogAction save = Act(TKind::SaveEffort);
        save.Level = std::u16string(EffortStep(State.PickerEffort));
        save.SessionOnly = Key.Key == TKey::Char;
        return save;
    }
    default:
        return {};
    }
}

TDialogAction ConfigKey(TCliState& State, const TKeyEvent& Key) {
    const auto shown = SettingMatches(State);
    switch (Key.Key) {
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Up:
        FocusUp(State.Focus);
        return {};
    case TKey::Down:
        FocusDown(State.Focus, shown.size());
        return {};
    case TKey::Enter: {
        if (shown.empty()) {
            return {};
        }
        // Enter turns an on/off setting over; the others would open a choice of their own.
        const std::u16string name = shown[std::min(State.Focus, shown.size() - 1)].first;
        for (auto& setting : State.Settings) {
            if (setting.first == name && (setting.second == u"on" || setting.second == u"off")) {
                setting.second = setting.second == u"on" ? u"off" : u"on";
                TDialogAction saved = Act(TKind::SaveSetting);
                saved.Choice = name + u" " + setting.second;
                return saved;
            }
        }
        return {};
    }
    default:
        EditFilter(State, Key);
        return {};
    }
}

TDialogAction HistorySearchKey(TCliState& State, const TKeyEvent& Key) {
    const std::vector<THistoryItem> shown = HistoryMatches(State);
    switch (Key.Key) {
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Up: // the focus counts from the newest match, the lowest row
        FocusDown(State.Focus, shown.size());
        return {};
    case TKey::Down:
        FocusUp(State.Focus);
        return {};
    case TKey::Enter: {
        if (shown.empty()) {
            return {};
        }
        TDialogAction use = Act(TKind::UseHistory);
        use.Choice = shown[shown.size() - 1 - std::min(State.Focus, shown.size() - 1)].Text;
        return use;
    }
    default:
        EditFilter(State, Key);
        return {};
    }
}

} // namespace

std::u16string_view ModelName(std::size_t Index) {
    return Models[std::min(Index, ModelChoices - 1)];
}

std::u16string_view PermissionChoice(std::size_t Index) {
    return Permissions[std::min(Index, PermissionChoices - 1)];
}

// The first nineteen rows as the CLI listed them, then some of termsim's own.
std::vector<std::pair<std::u16string, std::u16string>> DefaultSettings() {
    return {{u"Auto-compact", u"on"},
            {u"Auto-compact window", u"auto (400k tokens)"},
            {u"Idle compaction", u"on"},
            {u"Continue automatically at usage limit", u"on"},
            {u"Switch models when a message is flagged", u"Switch automatically"},
            {u"Show tips", u"on"},
            {u"Reduce motion", u"off"},
            {u"Thinking mode", u"on"},
            {u"Session recap", u"on"},
            {u"Rewind code (checkpoints)", u"on"},
            {u"Dynamic workflows", u"on"},
            {u"Ultracode keyword trigger", u"on"},
            {u"Dynamic workflow size", u"medium (default)"},
            {u"Verbose output", u"off"},
            {u"Terminal progress bar", u"on"},
            {u"Show turn duration", u"on"},
            {u"Time format", u"auto"},
            {u"Default permission mode", u"Auto (default)"},
            {u"Worktree base ref", u"fresh"},
            {u"Editor mode", u"normal"},
            {u"Notifications", u"auto"},
            {u"Output style", u"default"},
            {u"Theme", u"dark"},
            {u"Language", u"auto"}};
}

std::vector<THistoryItem> HistoryMatches(const TCliState& State) {
    std::vector<THistoryItem> found;
    const std::u16string filter = Lowered(State.Filter);
    for (const THistoryItem& item : State.History) {
        if (filter.empty() || Contains(Lowered(item.Text), filter)) {
            found.push_back(item);
        }
    }
    return found;
}

std::vector<std::pair<std::u16string, std::u16string>> SettingMatches(const TCliState& State) {
    std::vector<std::pair<std::u16string, std::u16string>> found;
    const std::u16string filter = Lowered(State.Filter);
    for (const auto& setting : State.Settings) {
        if (filter.empty() || Contains(Lowered(setting.first), filter)) {
            found.push_back(setting);
        }
    }
    return found;
}

TDialogAction DialogKey(TCliState& State, const TKeyEvent& Key) {
    switch (State.View) {
    case TView::Question:
        return QuestionKey(State, Key);
    case TView::Permission:
        return PermissionKey(State, Key);
    case TView::ModelPicker:
        return ModelPickerKey(State, Key);
    case TView::EffortPicker:
        return EffortPickerKey(State, Key);
    case TView::Config:
        return ConfigKey(State, Key);
    case TView::HistorySearch:
        return HistorySearchKey(State, Key);
    case TView::Rewind:
        // Only "(current)" is offered: choosing it, like Escape, leaves everything as it is.
        return Key.Key == TKey::Enter || Key.Key == TKey::Escape ? Act(TKind::Close) : TDialogAction{};
    case TView::Prompt:
    case TView::Shell:
        break;
    }
    return {};
}

} // namespace termsim
