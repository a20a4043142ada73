#pragma once
// The input of the main window fuzz target, shared with the program that writes its starting corpus.
//
// Input: four bytes of settings, then events of two bytes each (an operation and its argument):
//   byte 0   bit 0 ClearPromptFirst, 1 RestorePromptAfter, 2 HotkeyOnlyOnTerminal, 3 BeepOnRefusal,
//            4 TraceGrip, 5 RequireTitleMarker
//   byte 1   EnterCount 1..10;  byte 2  EnterDelayMs 50 + 4 x value;  byte 3  ClearDelayMs 20 + value
//   events   see TOp
#include <cstdint>

namespace fuzz::window {

enum TOp : std::uint8_t {
    opPress,         // the user presses Ctrl+Alt+1..5 (argument modulo 5)
    opAdvance,       // time passes: 4 x argument milliseconds
    opFocusConsole,  // the terminal the scene starts with comes to the front
    opFocusTerminal, // a second accepted terminal
    opFocusNotepad,  // a window of another class
    opFocusNothing,  // no window in front
    opModifier,      // a modifier key (argument modulo 9) goes down (bit 7 set) or up
    opLimitInput,    // batches insert at most argument modulo 40 records from now on
    opAcceptInput,   // batches go in whole again
    opRawHotkey,     // WM_HOTKEY with the argument as identifier
    opHideOrShow,    // minimise (even argument) or click the tray icon (odd)
    opOtherProgram,  // another program takes (odd) or frees (even) Ctrl+Alt+1..5
    opClose,         // the user closes the window
    OpCount
};

} // namespace fuzz::window
