#pragma once
// The state termsim's model starts in: everything the command line can set up, so that a test can
// put the CLI into any state Tarvin may meet.
#include "tools/termsim/Termsim.Draft.h"
#include "tools/termsim/Termsim.Events.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace termsim {

struct TSetup {
    // --- the input box ---
    std::u16string Prompt;         // half-typed text, '\n' between lines
    std::optional<TCursor> Cursor; // default: at its end
    std::vector<std::u16string> Kills; // the kill ring, oldest first
    std::optional<std::u16string> Stash; // a draft put aside with Ctrl+S
    bool StashBash = false;              // ...in bash mode
    std::vector<std::u16string> Pastes;  // pasted at the caret, one after the other
    bool Bash = false;
    TVimMode Vim = TVimMode::Off;
    bool Help = false; // the "?" shortcuts are open
    std::vector<std::u16string> History; // earlier prompts, oldest first

    // --- what takes the box's place ---
    TView Open = TView::Prompt;   // Permission, ModelPicker, EffortPicker, Config, HistorySearch, Rewind, Question
    std::u16string QuestionLevel = u"high"; // the level the open question is about
    std::u16string PermissionCommand = u"echo hi > /tmp/x.txt";
    std::u16string PermissionDescription = u"Write hi to /tmp/x.txt";

    // --- the session ---
    std::u16string Effort = u"medium";
    // "/effort <level>" asks "Change effort level?" when the level changes, QuestionDelayMs after
    // the Enter (the CLI asks when a turn finished recently and the model keeps no effort per turn).
    bool Question = false;
    std::uint64_t QuestionDelayMs = 200;
    // A turn of the model runs at the start; it ends after TurnMs (0: when interrupted).
    bool Busy = false;
    // How long the model takes to answer text sent to it; 0 answers at once.
    std::uint64_t TurnMs = 0;
    // How long the effort indicator stays above the box after the start and after a change.
    std::uint64_t IndicatorMs = 8000;
    bool ManualMode = false; // "\u23F8 manual mode on" instead of auto mode
    std::u16string Title = u"\u2733 Claude Code";
    // The terminal's width: Ctrl+U kills back to where the caret's row begins when a line wraps.
    int Columns = 100;
    // Enter in history search sends the match; false: it only puts the match into the box.
    bool HistoryEnterSends = true;
    std::u16string Folder = u"C:\\work";

    // --- no Claude Code at all: a PowerShell prompt ---
    bool Shell = false;
};

} // namespace termsim
