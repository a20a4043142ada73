#pragma once
// termsim's model of the Claude Code CLI (2.1.341) around its input box: the draft and its caret,
// bash and vim modes, the kill ring, the stash, pasted blocks, the "/" and "@" menus and the "?"
// shortcuts, the dialogs and panels that take the box's place, a running turn, the effort level
// and the delayed "Change effort level?" question. Keys and time go in; record events come out;
// Termsim.Render.h draws the state. The model's clock is the caller's: it moves only with the
// times handed to Apply, Advance and Paste.
#include "tools/termsim/Termsim.Draft.h"
#include "tools/termsim/Termsim.Events.h"
#include "tools/termsim/Termsim.KillRing.h"
#include "tools/termsim/Termsim.Setup.h"
#include "tools/termsim/Termsim.Transcript.h"
#include "tools/termsim/Termsim.Vim.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace termsim {

inline constexpr char16_t EffortQuestion[] = u"Change effort level?";

// Time-outs of the CLI's passing hints and double presses, as termsim models them.
inline constexpr std::uint64_t EscClearMs = 800;    // a second Escape this soon clears the draft
inline constexpr std::uint64_t EscRewindMs = 150;   // ...or, on an empty box, opens Rewind
inline constexpr std::uint64_t HintMs = 5000;       // "ctrl+y to paste deleted text", "ctrl+g ..."
inline constexpr std::uint64_t BusyMessageMs = 3000; // a command's result shown above the box during a turn
// A paste of more line breaks than this, or longer than PasteCharsLimit, becomes a placeholder.
inline constexpr std::size_t PasteLinesLimit = 2;
inline constexpr std::size_t PasteCharsLimit = 800;

struct TStashed {
    TDraft Draft;
    TInputMode Mode = TInputMode::Normal;
};

struct THistoryItem {
    std::u16string Text;
    std::uint64_t AtMs = 0;
};

// Everything the screen is drawn from.
struct TCliState {
    TSetup Setup;
    std::uint64_t NowMs = 0;

    // The box.
    TDraft Draft;
    TInputMode Mode = TInputMode::Normal;
    TVimMode Vim = TVimMode::Off;
    TKillRing Kills;
    std::optional<TStashed> Stash;
    bool Help = false;
    bool MenuHidden = false; // Escape put the "/" or "@" menu away until the text changes
    std::size_t MenuFocus = 0;
    bool PasteFooter = false; // "paste again to expand"
    std::optional<std::size_t> Browsing; // Up/Down through History: the item shown

    // What has the keys, and the open dialog's own state.
    TView View = TView::Prompt;
    std::size_t Focus = 0;
    std::u16string QuestionLevel;
    std::size_t PickerEffort = 1;
    bool Ultracode = false;
    std::u16string Filter; // typed into history search or the settings search
    std::vector<std::pair<std::u16string, std::u16string>> Settings;

    // The session.
    std::u16string Effort;
    bool EffortChosen = false;
    bool Busy = false;
    std::uint64_t TurnStartMs = 0;
    std::optional<std::uint64_t> TurnEndsMs;
    std::optional<std::uint64_t> QuestionAtMs;
    std::u16string PendingLevel;
    std::vector<THistoryItem> History;
    std::vector<TEntry> Transcript;

    // Passing hints above the box, each shown until its time.
    std::uint64_t IndicatorUntilMs = 0;
    std::uint64_t KillHintUntilMs = 0;
    std::uint64_t EscHintUntilMs = 0;
    std::uint64_t VimHintUntilMs = 0;
    std::uint64_t RestoredUntilMs = 0;
    std::uint64_t BusyMessageUntilMs = 0;
    std::u16string BusyMessage;
};

class TCli {
public:
    explicit TCli(TSetup Setup, std::uint64_t NowMs = 0);

    // A key at NowMs (time first moves on to it): the key, what it led to, the prompt after it.
    std::vector<TRecordEvent> Apply(const TKeyEvent& Key, std::uint64_t NowMs);
    // Time moves on: a question comes up, a turn ends. The events, and the prompt when any came.
    std::vector<TRecordEvent> Advance(std::uint64_t NowMs);
    // The terminal pastes Text at the caret.
    std::vector<TRecordEvent> Paste(std::u16string_view Text, std::uint64_t NowMs);

    const TCliState& State() const { return F; }
    TPromptState PromptState() const;
    // The terminal's title: its first glyph turns while a turn runs.
    std::u16string Title() const;

    // Whether a "/" or "@" menu or the /effort argument list stands above the box.
    enum class TMenu { None, Commands, Mentions, EffortArguments };
    static TMenu MenuOf(const TCliState& State);

private:
    void Emit(TRecordEvent Event) { FOut->push_back(std::move(Event)); }
    // The columns of text in a row of the box.
    std::size_t BoxWidth() const;
    void Tick(std::uint64_t NowMs);
    void SetView(TView View);

    void PromptKey(const TKeyEvent& Key, bool Chained);
    void VimNormalKey(const TKeyEvent& Key, bool Chained);
    bool MenuKey(const TKeyEvent& Key);
    void EditKey(const TKeyEvent& Key, bool Chained);
    void Type(char16_t Unit);
    void Escape();
    void Enter();
    void StashKey();
    void SetMode(TInputMode Mode);
    void SetVim(TVimMode Mode);
    void Kill(std::u16string Killed, TKillRing::TSide Side, bool Chained);
    void HistoryStep(bool Back);
    void TextChanged();

    void Submit();
    void RunCommand(std::u16string_view Command);
    void AfterSubmit();
    void SetEffort(const std::u16string& Level);
    void StartTurn();
    void EndTurn(bool Interrupted);

    // A key while a dialog or panel has the keys, and what the CLI makes of its choice.
    void DialogKey(const TKeyEvent& Key);
    void Answer(bool Yes);

    TCliState F;
    TVimNormal FVimNormal;
    bool FKillChain = false;
    int FPasteCount = 0;
    std::optional<std::pair<int, std::u16string>> FLastPaste; // id and text, while "paste again" holds
    std::optional<std::uint64_t> FEscAtMs;
    std::optional<TStashed> FBrowsed; // the draft before Up went into the history
    std::vector<TRecordEvent>* FOut = nullptr;
};

} // namespace termsim
