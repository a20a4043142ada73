#pragma once
// What Claude Code 2.1.341 knows of commands, as far as termsim shows it: the effort levels with
// their glyphs and the texts the CLI prints for them, the "/" menu's commands and how typed text
// picks them, and the "@" menu's entries.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace termsim {

// The levels the effort slider and the model picker step through, low to max; "auto" is a level
// for the command only.
inline constexpr std::size_t EffortSteps = 5;
std::u16string_view EffortStep(std::size_t Index);
std::optional<std::size_t> EffortStepOf(std::u16string_view Level);
bool IsEffortLevel(std::u16string_view Word);

// The glyph before the level in the indicator and the model picker ("\u25CB low", "\u25D0 medium").
std::u16string_view EffortGlyph(std::u16string_view Level);
// "Quick, straightforward implementation with minimal overhead" ...
std::u16string_view EffortDescription(std::u16string_view Level);
// "Set effort level to high (saved as your default for new sessions): Comprehensive ..."
std::u16string EffortSetText(std::u16string_view Level);
// "Unknown option: bogus. Options: low, medium, high, xhigh, max, auto, ultracode [on|off]"
std::u16string UnknownEffortOptionText(std::u16string_view Argument);
// What /effort takes, as the argument hint shows it.
inline constexpr std::u16string_view EffortArgumentHint = u"[low|medium|high|xhigh|max|auto|ultracode [on|off]]";

struct TCommandInfo {
    std::u16string_view Name; // with its "/"
    std::u16string_view Description;
};
// The commands the "/" menu offers for Typed (the text after "/"): names that begin with it
// first, then names that hold its letters in order, then descriptions that hold it. (The CLI's
// own fuzzy ranking offers more; the first match is the same.)
std::vector<TCommandInfo> MatchCommands(std::u16string_view Typed);
// A command of the catalogue by its exact name ("/effort").
std::optional<TCommandInfo> FindCommand(std::u16string_view Name);

// The "@" menu: files of the working folder and agents, drawn as the CLI draws them.
struct TMentionInfo {
    std::u16string_view Label;       // "+ src/", "* claude (agent)"
    std::u16string_view Description; // agents only
    std::u16string_view Inserted;    // what choosing it puts after the "@"
};
std::vector<TMentionInfo> MatchMentions(std::u16string_view Typed);

} // namespace termsim
