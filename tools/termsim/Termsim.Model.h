#pragma once
// What termsim runs: the Claude Code CLI, or a plain shell (--shell), behind one face for the
// window and for native tests.
#include "tools/termsim/Termsim.Cli.h"
#include "tools/termsim/Termsim.Screen.h"
#include "tools/termsim/Termsim.Setup.h"
#include "tools/termsim/Termsim.Shell.h"

#include <variant>

namespace termsim {

class TModel {
public:
    explicit TModel(const TSetup& Setup, std::uint64_t NowMs = 0);

    std::vector<TRecordEvent> Apply(const TKeyEvent& Key, std::uint64_t NowMs);
    std::vector<TRecordEvent> Advance(std::uint64_t NowMs);
    std::vector<TRecordEvent> Paste(std::u16string_view Text, std::uint64_t NowMs);

    TScreen Render(int Columns, int Rows) const;
    std::u16string Title() const;
    TPromptState PromptState() const;
    // The CLI, or nullptr for a plain shell.
    const TCli* Cli() const { return std::get_if<TCli>(&FModel); }

private:
    std::variant<TCli, TShell> FModel;
};

} // namespace termsim
