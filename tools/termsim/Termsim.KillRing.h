#pragma once
// The prompt's kill ring: what Ctrl+U, Ctrl+K and Ctrl+W cut, newest first, for Ctrl+Y to yank.
// Kills in a row make one entry (a kill before the caret joins in front, one after it behind); a
// kill that cuts nothing adds nothing; the ring keeps the newest ten and outlives a submit.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace termsim {

class TKillRing {
public:
    static constexpr std::size_t Capacity = 10;

    enum class TSide { Before, After };

    // A kill. Chained: the key before it was a kill too, so the text joins the newest entry.
    void Kill(std::u16string_view Text, TSide Side, bool Chained);
    // An entry as if killed long ago, for a ring that starts with content (newest last).
    void Seed(std::u16string Text);

    bool Empty() const { return FEntries.empty(); }
    std::size_t Size() const { return FEntries.size(); }
    // What Ctrl+Y yanks; empty when the ring is.
    std::u16string Newest() const { return FEntries.empty() ? std::u16string() : FEntries.front(); }
    const std::deque<std::u16string>& Entries() const { return FEntries; }

private:
    std::deque<std::u16string> FEntries;
};

} // namespace termsim
