#pragma once
// Key sequences for driving the model in tests, including the blind burst Tarvin sends.
#include "tools/termsim/Termsim.Key.h"

#include <string>
#include <vector>

namespace termsim::test {

using TKeys = std::vector<TKeyEvent>;

inline TKeys Typed(std::u16string_view text) {
    TKeys keys;
    for (char16_t unit : text) {
        keys.push_back({TKey::Char, unit});
    }
    return keys;
}

inline TKeys Repeat(TKey key, int count) {
    return TKeys(static_cast<std::size_t>(count), TKeyEvent{key, 0});
}

inline TKeys Keys(std::initializer_list<TKey> keys) {
    TKeys out;
    for (TKey key : keys) {
        out.push_back({key, 0});
    }
    return out;
}

inline TKeys Seq(std::initializer_list<TKeys> parts) {
    TKeys keys;
    for (const TKeys& part : parts) {
        keys.insert(keys.end(), part.begin(), part.end());
    }
    return keys;
}

// Six Ctrl+E / Right pairs, the marker "x" when the text is to be restored, sixteen Ctrl+U.
inline TKeys ClearingSchedule(bool withMarker) {
    TKeys keys;
    for (int pair = 0; pair < 6; ++pair) {
        keys.push_back({TKey::CtrlE, 0});
        keys.push_back({TKey::Right, 0});
    }
    if (withMarker) {
        keys.push_back({TKey::Char, u'x'});
    }
    return Seq({keys, Repeat(TKey::CtrlU, 16)});
}

// A whole burst: clear, type the command, Enter once plus enterCount more, then paste the cut
// text back and take the marker off when restoring.
inline TKeys Burst(std::u16string_view level, int enterCount = 3, bool restore = true) {
    TKeys keys = Seq(
        {ClearingSchedule(restore), Typed(u"/effort "), Typed(level), Repeat(TKey::Enter, 1 + enterCount)});
    if (restore) {
        keys.push_back({TKey::CtrlY, 0});
        keys.push_back({TKey::Backspace, 0});
    }
    return keys;
}

} // namespace termsim::test
