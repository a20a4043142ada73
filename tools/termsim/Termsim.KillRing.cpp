#include "tools/termsim/Termsim.KillRing.h"

namespace termsim {

void TKillRing::Kill(std::u16string_view Text, TSide Side, bool Chained) {
    if (Text.empty()) {
        return;
    }
    if (Chained && !FEntries.empty()) {
        std::u16string& newest = FEntries.front();
        newest = Side == TSide::Before ? std::u16string(Text) + newest : newest + std::u16string(Text);
        return;
    }
    FEntries.emplace_front(Text);
    if (FEntries.size() > Capacity) {
        FEntries.pop_back();
    }
}

void TKillRing::Seed(std::u16string Text) {
    Kill(Text, TSide::Before, false);
}

} // namespace termsim
