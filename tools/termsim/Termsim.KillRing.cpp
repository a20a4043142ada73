#include "tools/termsim/Termsim.KillRing.h"

namespace termsim {

void TKillRing::Kill(std::u16string_view text, TSide side, bool chained) {
    if (text.empty()) {
        return;
    }
    if (chained && !FEntries.empty()) {
        std::u16string& newest = FEntries.front();
        newest = side == TSide::Before ? std::u16string(text) + newest : newest + std::u16string(text);
        return;
    }
    FEntries.emplace_front(text);
    if (FEntries.size() > Capacity) {
        FEntries.pop_back();
    }
}

void TKillRing::Seed(std::u16string text) {
    Kill(text, TSide::Before, false);
}

} // namespace termsim
