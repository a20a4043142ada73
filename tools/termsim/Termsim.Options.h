#pragma once
// termsim's command line. The window and the record:
//   --record <file>      the record to write (required)
//   --class <name>       window class, default "ConsoleWindowClass"
//   --title <text>       window title, default "\u2733 Claude Code" ("Windows PowerShell" with --shell)
//   --times <file>       also writes, per key, the moment it reached the window: the
//                        QueryPerformanceCounter reading in microseconds, a blank, and the key's
//                        record line (for the timing benchmark; the record stays as it is)
//   --console            also keeps a console of its own, hidden and owned by the window, whose
//                        screen buffer shows the rendered rows (for Tarvin's screen reader)
//   --size <columns>x<rows>   the screen's size, default 100x30
// The input box (texts take the record's escapes: \n, \\, \uXXXX ...):
//   --prompt <text>      half-typed text already in the prompt
//   --cursor <line>,<column>   where the caret stands in it, default at its end
//   --kill <text>        an earlier kill in the kill ring; repeated, the last is the newest
//   --stash <text>       a draft put aside with Ctrl+S; --stash-bash: it was in bash mode
//   --paste <text>       text pasted at the caret; repeated, pasted in turn
//   --bash               bash mode ("!")
//   --vim insert|normal  vim keys on, in that mode
//   --history <text>     an earlier prompt, for Up and Ctrl+R; repeated, oldest first
//   --history-enter send|use   what Enter in history search does with the match: send it (the
//                        default) or only put it into the box
// What takes the box's place, or stands beside it:
//   --open permission|model|effort|config|history|rewind|help|slash|at|question=<level>
//   --permission-command <text>      the command the permission dialog asks about
//   --permission-description <text>  and what it says the command does
// The session:
//   --effort <level>     the level the session starts with, default medium
//   --question           "/effort <level>" asks "Change effort level?" when the level changes
//   --confirm            the same as --question (the older name)
//   --question-delay <ms>  how long after the Enter the question comes up, default 200
//   --busy               a turn runs at the start (until interrupted, or --turn-ms)
//   --turn-ms <ms>       how long a turn runs; 0 (the default) answers at once
//   --indicator-ms <ms>  how long the effort indicator stays up, default 8000
//   --manual             manual permission mode ("\u23F8 manual mode on")
//   --folder <text>      the working folder the logo names, default C:\work
//   --shell              no Claude Code: a PowerShell prompt "PS C:\work> "
#include "tools/termsim/Termsim.Setup.h"

#include <optional>
#include <string>
#include <vector>

namespace termsim {

struct TOptions {
    std::u16string RecordPath;
    std::u16string WindowClass = u"ConsoleWindowClass";
    std::u16string TimesPath;
    bool Console = false;
    int Columns = 100;
    int Rows = 30;
    TSetup Setup; // its Title is the window's title
};

// Exactly one of Options and Error is set.
struct TOptionsResult {
    std::optional<TOptions> Options;
    std::u16string Error;
};

// The arguments after the program name.
TOptionsResult ParseOptions(const std::vector<std::u16string>& Args);

} // namespace termsim
