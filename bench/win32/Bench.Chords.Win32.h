#pragma once
// Whether Tarvin holds its chords, asked the way a third program would: RegisterHotKey of a chord
// fails while another program holds it. A probe that finds the chord free holds it for a moment; if
// Tarvin registers that chord in that moment, Windows refuses Tarvin, and Tarvin logs it. That is
// the bench's own interference: it is looked for in the log box and reported, never hidden.
#include "bench/win32/Bench.LogBox.Win32.h"

#include <windows.h>

#include <chrono>

namespace tarvin::bench {

enum class TChordWait {
    Held,     // Tarvin holds the chord
    Collided, // Tarvin logged that Windows refused it a hotkey while the probe ran
    TimedOut,
};

// Probes Ctrl+Alt+Key every 10 ms (messages pumped) until it is taken. Tarvin registers its chords
// in the order 1 to 5, so with Key '5' all five are held once it returns Held. The log box must
// hold fewer than its 1,000 lines: a refusal is looked for after the lines there at the start.
TChordWait WaitUntilHeld(WORD Key, const TLogBox& Log, std::chrono::milliseconds Timeout = std::chrono::seconds(30));

// Probes Ctrl+Alt+Key until this process could register it (and let it go again at once).
bool WaitUntilFree(WORD Key, std::chrono::milliseconds Timeout = std::chrono::seconds(30));

} // namespace tarvin::bench
