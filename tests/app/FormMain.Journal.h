#pragma once
// The simulated desktop's input journal read back as the keys a burst sends: one entry per batch,
// with its time since a start and its name ("ctrl+E", "text /effort high", "enter" ...).
#include "app/Tarvin.Sender.h"
#include "base/Base.Unicode.h"
#include "platform/sim/Sim.Desktop.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tarvin::test {

struct TSentKeys {
    std::int64_t AtMs = 0; // from the start the journal was read against
    std::string Keys;
    friend bool operator==(const TSentKeys&, const TSentKeys&) = default;
};

inline void PrintTo(const TSentKeys& sent, std::ostream* os) {
    *os << "+" << sent.AtMs << " " << sent.Keys;
}

// The name of a batch the sender builds; "?" for anything else.
inline std::string BatchName(const std::vector<platform::TKeyInput>& records) {
    if (records == BuildReleaseModifiersBatch()) {
        return "release";
    }
    if (records == BuildEnterBatch()) {
        return "enter";
    }
    if (records == BuildRightBatch()) {
        return "right";
    }
    if (records == BuildBackspaceBatch()) {
        return "backspace";
    }
    for (const auto& [key, name] :
         {std::pair{std::uint16_t{'E'}, "ctrl+E"}, {'U', "ctrl+U"}, {'Y', "ctrl+Y"}}) {
        if (records == BuildCtrlChordBatch(key)) {
            return name;
        }
    }
    std::u16string text;
    for (std::size_t i = 0; i < records.size(); i += 2) {
        text += static_cast<char16_t>(records[i].wScan);
    }
    if (!text.empty() && records == BuildTextBatch(text)) {
        return "text " + base::Utf16ToUtf8(text);
    }
    return "?";
}

inline std::vector<TSentKeys> SentSince(const platform::sim::TSimDesktop& desktop, std::uint64_t startMs,
                                        std::size_t fromBatch = 0) {
    std::vector<TSentKeys> sent;
    const auto& journal = desktop.InputJournal();
    for (std::size_t i = fromBatch; i < journal.size(); ++i) {
        sent.push_back({static_cast<std::int64_t>(journal[i].AtMs) - static_cast<std::int64_t>(startMs),
                        BatchName(journal[i].Records)});
    }
    return sent;
}

// Builds an expected journal from a press at time 0.
class TExpectedKeys {
public:
    TExpectedKeys& At(std::int64_t Ms, std::string Keys) {
        FNow = Ms;
        FKeys.push_back({Ms, std::move(Keys)});
        return *this;
    }
    // Moves the clock of the expectation without a batch (a tick that sends nothing).
    TExpectedKeys& Wait(std::int64_t Ms) {
        FNow += Ms;
        return *this;
    }
    // The next batch Ms after the previous one.
    TExpectedKeys& After(std::int64_t Ms, std::string Keys) { return At(FNow + Ms, std::move(Keys)); }
    // The six Ctrl+E / Right pairs, the marker when restoring, then Ctrl+U to 28 or 29 steps in all,
    // the first one Ms after the previous batch and each next one Ms later.
    TExpectedKeys& Clearing(std::int64_t Ms, bool Restore) {
        for (int pair = 0; pair < 6; ++pair) {
            After(Ms, "ctrl+E").After(Ms, "right");
        }
        if (Restore) {
            After(Ms, "text x");
        }
        for (int i = 0; i < 16; ++i) {
            After(Ms, "ctrl+U");
        }
        return *this;
    }
    const std::vector<TSentKeys>& Keys() const { return FKeys; }
    std::int64_t Last() const { return FNow; }

private:
    std::vector<TSentKeys> FKeys;
    std::int64_t FNow = 0;
};

} // namespace tarvin::test
