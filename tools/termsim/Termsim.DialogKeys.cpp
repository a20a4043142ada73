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

std::u16string Lowered(std::u16string_view text) {
    std::u16string lowered(text);
    for (char16_t& unit : lowered) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return lowered;
}

bool Contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

TDialogAction Act(TKind kind) {
    return {kind};
}

// The digit keys that pick a numbered choice directly: 0 for "1".
std::optional<std::size_t> Digit(const TKeyEvent& key, std::size_t choices) {
    if (key.Key == TKey::Char && key.Char >= u'1' && key.Char < u'1' + static_cast<int>(choices)) {
        return static_cast<std::size_t>(key.Char - u'1');
    }
    return std::nullopt;
}

void FocusUp(std::size_t& focus) {
    focus = focus == 0 ? 0 : focus - 1;
}

void FocusDown(std::size_t& focus, std::size_t count) {
    focus = count == 0 ? 0 : std::min(count - 1, focus + 1);
}

// Typed text and Backspace edit a search filter; the focus starts over with every change.
bool EditFilter(TCliState& state, const TKeyEvent& key) {
    if (key.Key == TKey::Backspace) {
        if (!state.Filter.empty()) {
            state.Filter.pop_back();
            state.Focus = 0;
        }
        return true;
    }
    if (key.Key == TKey::Char && key.Char >= 0x20) {
        state.Filter += key.Char;
        state.Focus = 0;
        return true;
    }
    return false;
}

TDialogAction QuestionKey(TCliState& state, const TKeyEvent& key) {
    TDialogAction answer = Act(TKind::Answer);
    switch (key.Key) {
    case TKey::Enter:
        answer.Yes = state.Focus == 0;
        return answer;
    case TKey::Escape:
        return answer;
    case TKey::Up:
        state.Focus = 0;
        return {};
    case TKey::Down:
    case TKey::Tab:
        state.Focus = 1;
        return {};
    default:
        if (const auto digit = Digit(key, 2)) {
            answer.Yes = *digit == 0;
            return answer;
        }
        return {};
    }
}

TDialogAction PermissionKey(TCliState& state, const TKeyEvent& key) {
    std::optional<std::size_t> chosen = Digit(key, PermissionChoices);
    switch (key.Key) {
    case TKey::Enter:
        chosen = state.Focus;
        break;
    case TKey::Escape: {
        TDialogAction cancelled = Act(TKind::Decline);
        cancelled.Choice = u"esc";
        return cancelled;
    }
    case TKey::Up:
        FocusUp(state.Focus);
        return {};
    case TKey::Down:
        FocusDown(state.Focus, PermissionChoices);
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

TDialogAction ModelPickerKey(TCliState& state, const TKeyEvent& key) {
    if (const auto digit = Digit(key, ModelChoices)) {
        state.Focus = *digit;
        return {};
    }
    switch (key.Key) {
    case TKey::Up:
        FocusUp(state.Focus);
        return {};
    case TKey::Down:
        FocusDown(state.Focus, ModelChoices);
        return {};
    case TKey::Right:
        state.PickerEffort = std::min(EffortSteps - 1, state.PickerEffort + 1);
        return {};
    case TKey::Left:
        state.PickerEffort = state.PickerEffort == 0 ? 0 : state.PickerEffort - 1;
        return {};
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Enter:
    case TKey::Char: {
        if (key.Key == TKey::Char && key.Char != u's') {
            return {};
        }
        TDialogAction save = Act(TKind::SaveModel);
        save.Choice = std::u16string(ModelName(state.Focus));
        save.Level = std::u16string(EffortStep(state.PickerEffort));
        save.SessionOnly = key.Key == TKey::Char;
        return save;
    }
    default:
        return {};
    }
}

TDialogAction EffortPickerKey(TCliState& state, const TKeyEvent& key) {
    switch (key.Key) {
    case TKey::Right:
        state.PickerEffort = std::min(EffortSteps - 1, state.PickerEffort + 1);
        return {};
    case TKey::Left:
        state.PickerEffort = state.PickerEffort == 0 ? 0 : state.PickerEffort - 1;
        return {};
    case TKey::Tab:
        state.Ultracode = !state.Ultracode;
        return {};
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Enter:
    case TKey::Char: {
        if (key.Key == TKey::Char && key.Char != u's') {
            return {};
        }
        TDialogAction save = Act(TKind::SaveEffort);
        save.Level = std::u16string(EffortStep(state.PickerEffort));
        save.SessionOnly = key.Key == TKey::Char;
        return save;
    }
    default:
        return {};
    }
}

TDialogAction ConfigKey(TCliState& state, const TKeyEvent& key) {
    const auto shown = SettingMatches(state);
    switch (key.Key) {
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Up:
        FocusUp(state.Focus);
        return {};
    case TKey::Down:
        FocusDown(state.Focus, shown.size());
        return {};
    case TKey::Enter: {
        if (shown.empty()) {
            return {};
        }
        // Enter turns an on/off setting over; the others would open a choice of their own.
        const std::u16string name = shown[std::min(state.Focus, shown.size() - 1)].first;
        for (auto& setting : state.Settings) {
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
        EditFilter(state, key);
        return {};
    }
}

TDialogAction HistorySearchKey(TCliState& state, const TKeyEvent& key) {
    const std::vector<THistoryItem> shown = HistoryMatches(state);
    switch (key.Key) {
    case TKey::Escape:
        return Act(TKind::Close);
    case TKey::Up: // the focus counts from the newest match, the lowest row
        FocusDown(state.Focus, shown.size());
        return {};
    case TKey::Down:
        FocusUp(state.Focus);
        return {};
    case TKey::Enter: {
        if (shown.empty()) {
            return {};
        }
        TDialogAction use = Act(TKind::UseHistory);
        use.Choice = shown[shown.size() - 1 - std::min(state.Focus, shown.size() - 1)].Text;
        return use;
    }
    default:
        EditFilter(state, key);
        return {};
    }
}

} // namespace

std::u16string_view ModelName(std::size_t index) {
    return Models[std::min(index, ModelChoices - 1)];
}

std::u16string_view PermissionChoice(std::size_t index) {
    return Permissions[std::min(index, PermissionChoices - 1)];
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

std::vector<THistoryItem> HistoryMatches(const TCliState& state) {
    std::vector<THistoryItem> found;
    const std::u16string filter = Lowered(state.Filter);
    for (const THistoryItem& item : state.History) {
        if (filter.empty() || Contains(Lowered(item.Text), filter)) {
            found.push_back(item);
        }
    }
    return found;
}

std::vector<std::pair<std::u16string, std::u16string>> SettingMatches(const TCliState& state) {
    std::vector<std::pair<std::u16string, std::u16string>> found;
    const std::u16string filter = Lowered(state.Filter);
    for (const auto& setting : state.Settings) {
        if (filter.empty() || Contains(Lowered(setting.first), filter)) {
            found.push_back(setting);
        }
    }
    return found;
}

TDialogAction DialogKey(TCliState& state, const TKeyEvent& key) {
    switch (state.View) {
    case TView::Question:
        return QuestionKey(state, key);
    case TView::Permission:
        return PermissionKey(state, key);
    case TView::ModelPicker:
        return ModelPickerKey(state, key);
    case TView::EffortPicker:
        return EffortPickerKey(state, key);
    case TView::Config:
        return ConfigKey(state, key);
    case TView::HistorySearch:
        return HistorySearchKey(state, key);
    case TView::Rewind:
        // Only "(current)" is offered: choosing it, like Escape, leaves everything as it is.
        return key.Key == TKey::Enter || key.Key == TKey::Escape ? Act(TKind::Close) : TDialogAction{};
    case TView::Prompt:
    case TView::Shell:
        break;
    }
    return {};
}

} // namespace termsim
