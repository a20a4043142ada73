#include "bench/win32/Bench.Chords.Win32.h"

#include "tests/app/win32/Tarvin.Process.h"

namespace tarvin::bench {

TChordWait WaitUntilHeld(WORD Key, const TLogBox& Log, std::chrono::milliseconds Timeout) {
    const std::size_t from = Log.Messages().size();
    bool collided = false;
    const bool held = platform::win32::test::WaitUntil(
        [&] {
            if (tarvin::test::ChordTaken(Key)) {
                return true;
            }
            collided = FindMessage(Log.Messages(), from, RefusedHotkeyStart) >= 0;
            return collided;
        },
        Timeout);
    if (collided) {
        return TChordWait::Collided;
    }
    // A refusal may have come just before the chord was seen taken (by the probe of another key).
    if (held && FindMessage(Log.Messages(), from, RefusedHotkeyStart) >= 0) {
        return TChordWait::Collided;
    }
    return held ? TChordWait::Held : TChordWait::TimedOut;
}

bool WaitUntilFree(WORD Key, std::chrono::milliseconds Timeout) {
    return platform::win32::test::WaitUntil([&] { return !tarvin::test::ChordTaken(Key); }, Timeout);
}

} // namespace tarvin::bench
