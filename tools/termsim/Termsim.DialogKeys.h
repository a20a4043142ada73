#pragma once
// The dialogs and panels that take the input box's place, as far as keys go: what each one offers,
// how a key moves its focus, filter or level, and which choice a key makes. The CLI carries the
// choice out (Termsim.Cli); Termsim.Dialogs draws them.
#include "tools/termsim/Termsim.Cli.h"

#include <string>
#include <utility>
#include <vector>

namespace termsim {

// What a key on a dialog asks the CLI to do.
struct TDialogAction {
    enum class TKind {
        None,        // the key changed only the dialog's own state, or nothing
        Close,       // the dialog goes without a choice
        Answer,      // "Change effort level?": Yes tells which answer
        Approve,     // the permission dialog approves Choice
        Decline,     // the permission dialog refuses: Choice is "No", or "esc" when cancelled
        SaveModel,   // the model picker saves model Choice with effort Level
        SaveEffort,  // the effort slider saves Level
        SaveSetting, // the settings panel changed a setting: Choice says which and to what
        UseHistory,  // history search chose the earlier prompt Choice
    };
    TKind Kind = TKind::None;
    bool Yes = false;
    bool SessionOnly = false; // "s": for this session only
    std::u16string Choice;
    std::u16string Level;
};

// A key while State.View is a dialog's; its own state (focus, filter, level) moves in State.
TDialogAction DialogKey(TCliState& State, const TKeyEvent& Key);

// The model picker's and the permission dialog's choices.
inline constexpr std::size_t ModelChoices = 5;
std::u16string_view ModelName(std::size_t Index);
inline constexpr std::size_t PermissionChoices = 4;
std::u16string_view PermissionChoice(std::size_t Index);
// The settings panel's rows, names and values.
std::vector<std::pair<std::u16string, std::u16string>> DefaultSettings();
// The history entries history search shows for its filter, newest last.
std::vector<THistoryItem> HistoryMatches(const TCliState& State);
// The settings the settings panel shows for its filter.
std::vector<std::pair<std::u16string, std::u16string>> SettingMatches(const TCliState& State);

} // namespace termsim
