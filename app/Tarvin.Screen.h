#pragma once
// What a Claude Code terminal shows, read from its visible rows: whether its input box is there
// and takes the keys, what the box holds and where the caret stands, and what would take the keys
// instead (a dialog, a picker, history search). The burst decides on this view alone.
//
// The input box is the rows between the two lowest full-width rules of "─" (a rule may carry a
// label such as "↓ 2 more" when the box scrolls); its first row begins with the prompt glyph and
// a blank, continuation rows are indented by two. Above the upper rule, at the right, stand the
// effort level ("● high · /effort") and the stash hint ("draft stashed"); below the lower rule the
// mode hints ("-- INSERT --", "! for bash mode" ...).
#include "platform/Platform.ScreenReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvin {

// What has the keyboard, as far as the screen tells.
enum TScreenKind : std::uint8_t {
    skPrompt,        // Claude Code's input box
    skPermission,    // a tool-permission dialog: Enter would approve the tool call
    skEffortQuestion, // "Change effort level?": Enter would confirm a level
    skPicker,        // a picker or settings panel (/model, /config, ...): keys would change its choice
    skHistorySearch, // Ctrl+R: typed text would become the search, Enter would submit a match
    skUnknown,       // no input box of Claude Code's: a shell, or a screen Tarvin does not know
};

// How the box takes what is typed.
enum TPromptMode : std::uint8_t {
    pmNormal,    // text for the model, or a command after "/"
    pmBash,      // "!": the line runs in a shell
    pmVimInsert, // vim keys on, inserting
    pmVimNormal, // vim keys on, every key a vim command
};

struct TPromptView {
    TScreenKind Kind = skUnknown;
    TPromptMode Mode = pmNormal;
    // The box's visible rows without the prompt glyph or the indent; one empty row when the box is
    // empty. A wrapped line shows as several rows, as on screen.
    std::vector<std::u16string> Rows;
    // More rows above or below the visible ones (the rules say "↑ 2 more", "↓ 3 more").
    bool Scrolled = false;
    // Where the caret is drawn: row and unit within Rows; none when it is not in the box.
    std::optional<platform::TScreenCell> Caret;
    // A pasted block stands in the box as "[Pasted text #1 +29 lines]".
    bool HasPastedBlock = false;
    // Claude Code holds a draft put aside with Ctrl+S.
    bool Stashed = false;
    // The level word of the effort indicator or, where none stands above the box, of the last
    // "Set effort level to ..." in the transcript; empty when neither is shown.
    std::u16string Effort;
    // skEffortQuestion: the focus rests on the choice that confirms the change.
    bool FocusOnYes = false;

    bool Empty() const { return !Scrolled && Rows.size() == 1 && Rows.front().empty() && !HasPastedBlock; }
    // The rows joined with line breaks.
    std::u16string Text() const;

    friend bool operator==(const TPromptView&, const TPromptView&) = default;
};

[[nodiscard]] TPromptView ReadPromptView(const platform::TConsoleScreen& Screen);

// A box row as typed, without the argument hint Claude Code draws after a slash command and its
// blank ("/effort " shows "/effort  [low|medium|…]" until the first letter of the argument): the
// hint is no text of the prompt. Any other row is returned as it is.
[[nodiscard]] std::u16string WithoutArgumentHint(std::u16string_view Row);

// What the log says about a screen that is not the input box ("a tool-permission dialog is open").
std::u16string ScreenKindText(TScreenKind Kind);
std::u16string PromptModeText(TPromptMode Mode);

} // namespace tarvin
