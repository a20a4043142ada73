#pragma once
// termsim's command line:
//   --record <file>      the record to write (required)
//   --class <name>       window class, default "ConsoleWindowClass"
//   --title <text>       window title, default "\u2733 Claude Code"
//   --prompt <text>      half-typed text already in the prompt; escapes as in the record (\n...)
//   --cursor <line>,<column>   where the cursor stands in it, default at its end
//   --kill <text>        what an earlier Ctrl+U left in the kill buffer; same escapes
//   --confirm            "/effort <level>" asks "Change effort level?" and takes Enter as yes
//   --times <file>       also writes, per key, the moment it reached the window: the
//                        QueryPerformanceCounter reading in microseconds, a blank, and the key's
//                        record line (for the timing benchmark; the record stays as it is)
#include "tools/termsim/Termsim.Prompt.h"

#include <optional>
#include <string>
#include <vector>

namespace termsim {

struct TOptions {
    std::u16string RecordPath;
    std::u16string WindowClass = u"ConsoleWindowClass";
    std::u16string Title = u"\u2733 Claude Code";
    std::u16string Prompt;
    std::optional<TCursor> Cursor;
    std::u16string KillBuffer;
    bool Confirm = false;
    std::u16string TimesPath;
};

// Exactly one of Options and Error is set.
struct TOptionsResult {
    std::optional<TOptions> Options;
    std::u16string Error;
};

// The arguments after the program name.
TOptionsResult ParseOptions(const std::vector<std::u16string>& args);

// The prompt the options describe, kill buffer seeded.
TPrompt MakePrompt(const TOptions& options);

} // namespace termsim
