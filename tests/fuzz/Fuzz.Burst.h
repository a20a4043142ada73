#pragma once
// The input of the burst fuzz target, shared with the program that writes its starting corpus.
//
// Input: two bytes, then events of two bytes each (an operation and its argument):
//   byte 0   bit 0 ClearPromptFirst, 1 RestorePromptAfter, 2 BlindWhenUnreadable, 3 TraceGrip
//   byte 1   the level (modulo 5)
//   events   see TOp; a screen argument picks from TScreenKind (modulo ScreenCount)
#include <cstdint>

namespace fuzz::burst {

enum TOp : std::uint8_t {
    opTick,       // a tick 25 ms later with the terminal showing a screen (argument)
    opWait,       // a tick 10 x argument milliseconds later, same screen as before
    opTabs,       // a tick whose read holds two consoles: the screen (argument) and a shell, titled by bit 7
    opFocusLost,  // a tick with the terminal no longer in front
    opModifier,   // a tick with a modifier held (bit 0 of the argument: down)
    opShort,      // the first batch of the last step fell short, argument records delivered
    OpCount
};

enum TScreenKind : std::uint8_t {
    scEmpty,
    scCommand,        // "/effort <the burst's level>"
    scPartCommand,    // the command half drawn
    scWrongCommand,   // "/effort hgh"
    scOtherLevel,     // "/effort <another level>"
    scDraft,
    scStashed,        // empty box, a stash waits
    scStashedCommand,
    scDraftBack,      // the draft with the level above the box
    scStashAndDraft,
    scQuestionYes,
    scQuestionNo,
    scPermission,
    scPicker,
    scHistory,
    scShell,
    scBashEmpty,
    scBashDraft,
    scVimInsert,
    scScrolled,       // a draft longer than the box
    scPasted,
    scCommandTwoRows, // the command with a second row under it
    scUnreadable,
    ScreenCount
};

} // namespace fuzz::burst
