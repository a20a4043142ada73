#pragma once
// termsim's window: it shows the model's screen in a monospace font (so a screenshot looks like a
// terminal), turns WM_KEYDOWN and WM_CHAR into the model's keys, writes every event to the record,
// moves the model's clock with a timer, and with --console mirrors each new screen into its console.
#include "tools/termsim/Termsim.Console.h"
#include "tools/termsim/Termsim.KeyDecoder.h"
#include "tools/termsim/Termsim.Model.h"
#include "tools/termsim/Termsim.Options.h"
#include "tools/termsim/Termsim.RecordFile.h"

#include <windows.h>

#include <map>
#include <vector>

namespace termsim {

class TTerminalWindow {
public:
    explicit TTerminalWindow(const TOptions& Options);
    ~TTerminalWindow();
    TTerminalWindow(const TTerminalWindow&) = delete;
    TTerminalWindow& operator=(const TTerminalWindow&) = delete;

    // Shows the window and runs its message loop; the process's exit code.
    int Run(HINSTANCE Instance);

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    LRESULT Handle(UINT Message, WPARAM WParam, LPARAM LParam);

    std::uint64_t NowMs() const;
    void Press(const TKeyEvent& Key, long long ArrivedUs);
    void Keep(const std::vector<TRecordEvent>& Events);
    // Renders the model; repaints and mirrors only what changed.
    void Refresh();
    void Paint();
    void MeasureFont();
    // The font that draws Unit: the terminal's own, or the first fallback that has the glyph.
    HFONT FontFor(HDC Dc, char16_t Unit);

    TOptions FOptions;
    TModel FModel;
    TKeyDecoder FDecoder;
    TRecordFile FRecord;
    TRecordFile FTimes; // --times: when each key reached the window
    TConsoleMirror FConsole;
    std::uint64_t FStartMs = 0;
    HWND FWindow = nullptr;
    HFONT FFont = nullptr;
    std::vector<HFONT> FFallbacks; // for glyphs the terminal's font lacks (❯, ⏵, ▔ ...)
    std::map<char16_t, HFONT> FGlyphFonts;
    int FCellWidth = 8;
    int FCellHeight = 16;
    TScreen FShown;
};

} // namespace termsim
