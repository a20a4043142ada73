#pragma once
// termsim's console (--console): allocated for the process, hidden, and owned by termsim's window
// the way Windows Terminal owns its pseudo consoles, so that a screen reader finds it behind the
// window. The keys still go to the window; the console is only the screen, rewritten with the
// rendered rows after every change (the caret as a reverse-video cell) and titled as the window.
#include "tools/termsim/Termsim.Screen.h"

#include <windows.h>

#include <string>

namespace termsim {

class TConsoleMirror {
public:
    TConsoleMirror() = default;
    ~TConsoleMirror();
    TConsoleMirror(const TConsoleMirror&) = delete;
    TConsoleMirror& operator=(const TConsoleMirror&) = delete;

    // Allocates the console, hides it and gives it Owner; false (and why) when any step fails.
    bool Open(HWND Owner, std::u16string& Why);
    bool IsOpen() const { return FOutput != INVALID_HANDLE_VALUE; }
    // The screen buffer sized to the screen and filled with its rows, caret and title.
    void Show(const TScreen& Screen);

private:
    void Resize(int Columns, int Rows);

    HANDLE FOutput = INVALID_HANDLE_VALUE;
    int FColumns = 0;
    int FRows = 0;
    std::u16string FTitle;
};

// The console attribute of a tone (the reverse-video flag is the caret's alone).
WORD ConsoleAttribute(TTone Tone);

} // namespace termsim
