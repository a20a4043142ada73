#pragma once
// The conversation above the input box, as the CLI prints it: the logo, then each entry with a
// blank row before it; a command's result hangs right under it ("  \u23BF  Set effort level ...").
#include "tools/termsim/Termsim.Screen.h"

#include <string>
#include <vector>

namespace termsim {

enum class TEntryKind {
    Prompt,   // "\u276F text" (text sent to the model, or a command with its result)
    Bash,     // "! ls" and what the line printed
    Answer,   // "\u25CF text": the model's answer
    Status,   // "\u273B Worked for 3s"
    Notice,   // "\u2237 Unknown command: /vim"
    ToolCall, // "  Writing hi to /tmp/x.txt" and the tool's detail
};

struct TEntry {
    TEntryKind Kind = TEntryKind::Prompt;
    std::u16string Text;
    std::u16string Result; // drawn under the entry after "\u23BF", when not empty
};

// The logo's rows: version, model (and the effort once a level was chosen), working folder.
struct THeader {
    std::u16string Effort; // empty until the user set a level
    std::u16string Folder;
};

std::vector<TLine> TranscriptRows(const THeader& Header, const std::vector<TEntry>& Entries, std::size_t Columns);

} // namespace termsim
