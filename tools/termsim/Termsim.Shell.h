#pragma once
// No Claude Code at all: a PowerShell prompt ("PS C:\work> "), for tests where the terminal in
// front runs a plain shell. Typing edits the line; Enter runs it, which is a harm of its own.
#include "tools/termsim/Termsim.Draft.h"
#include "tools/termsim/Termsim.Events.h"
#include "tools/termsim/Termsim.Screen.h"
#include "tools/termsim/Termsim.Setup.h"

#include <string>
#include <vector>

namespace termsim {

class TShell {
public:
    explicit TShell(const TSetup& Setup);

    std::vector<TRecordEvent> Apply(const TKeyEvent& Key, std::uint64_t NowMs);
    TPromptState PromptState() const;
    const std::u16string& Title() const { return FTitle; }
    // The console's rows from the top, the prompt line last; the caret within them.
    std::vector<TLine> Rows(TScreenCell& Caret) const;

private:
    std::u16string Prompt() const;

    std::u16string FTitle;
    std::u16string FFolder;
    TDraft FLine;
    std::vector<std::u16string> FScrollback;
};

} // namespace termsim
