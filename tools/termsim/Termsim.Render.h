#pragma once
// termsim's screens drawn as the real terminal shows them, row for row where Tarvin reads: the
// conversation at the top, and at the bottom the input box between its two full-width rules ("❯"
// and a no-break space before the first row, two blanks before the others, at most ten rows with
// "↑ 2 more" / "↓ 2 more" in a rule when it scrolls, the caret as one reverse-video cell), the row
// above it (the "/" or "@" menu, the effort indicator, "draft stashed" ...), the footer below it;
// or whatever took the box's place.
#include "tools/termsim/Termsim.Cli.h"
#include "tools/termsim/Termsim.Screen.h"
#include "tools/termsim/Termsim.Shell.h"

namespace termsim {

// The box can show this many rows before it scrolls.
inline constexpr std::size_t BoxRows = 10;

TScreen Render(const TCli& Cli, int Columns, int Rows);
TScreen Render(const TShell& Shell, int Columns, int Rows);

// The rows at the bottom of the screen while the box has the keys.
TBlock PromptBlock(const TCliState& State, std::size_t Columns);

} // namespace termsim
