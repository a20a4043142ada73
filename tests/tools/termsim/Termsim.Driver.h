#pragma once
// Drives termsim's model of the CLI in native tests: keys and pastes at a clock the test moves,
// every record event kept, and questions about them (what harm was done, what the box holds).
#include "tests/tools/termsim/Termsim.Keys.h"
#include "tools/termsim/Termsim.Cli.h"
#include "tools/termsim/Termsim.Record.h"
#include "tools/termsim/Termsim.Render.h"

#include <string>
#include <vector>

namespace termsim::test {

using TEvents = std::vector<TRecordEvent>;

class TDriver {
public:
    // Keys come this far apart unless a test says otherwise; far below every time-out of the model.
    static constexpr std::uint64_t KeyStepMs = 10;

    explicit TDriver(TSetup setup = {}) : FCli(std::move(setup), 0) {}

    TDriver& Press(const TKeys& keys, std::uint64_t stepMs = KeyStepMs) {
        for (const TKeyEvent& key : keys) {
            FNowMs += stepMs;
            Keep(FCli.Apply(key, FNowMs));
        }
        return *this;
    }
    TDriver& Type(std::u16string_view text) { return Press(Typed(text)); }
    TDriver& Press(TKey key) { return Press(TKeys{{key, 0}}); }
    TDriver& Press(const TKeyEvent& key) { return Press(TKeys{key}); }
    TDriver& Paste(std::u16string_view text) {
        FNowMs += KeyStepMs;
        Keep(FCli.Paste(text, FNowMs));
        return *this;
    }
    TDriver& Wait(std::uint64_t ms) {
        FNowMs += ms;
        Keep(FCli.Advance(FNowMs));
        return *this;
    }

    const TCli& Cli() const { return FCli; }
    const TCliState& State() const { return FCli.State(); }
    TPromptState Prompt() const { return FCli.PromptState(); }
    std::uint64_t Now() const { return FNowMs; }
    const TEvents& Events() const { return FEvents; }
    TScreen Screen(int columns = 100, int rows = 30) const { return Render(FCli, columns, rows); }

    template <typename TEvent> std::vector<TEvent> All() const {
        std::vector<TEvent> found;
        for (const TRecordEvent& event : FEvents) {
            if (const auto* e = std::get_if<TEvent>(&event)) {
                found.push_back(*e);
            }
        }
        return found;
    }
    // Every harm, as record lines, so that a failure names them.
    std::string Harms() const {
        std::string lines;
        for (const TRecordEvent& event : FEvents) {
            if (IsHarm(event)) {
                lines += FormatRecordLine(event);
            }
        }
        return lines;
    }
    // The events that are neither keys nor prompt states, as record lines.
    std::string Outcomes() const {
        std::string lines;
        for (const TRecordEvent& event : FEvents) {
            if (!std::holds_alternative<TKeyEvent>(event) && !std::holds_alternative<TPromptState>(event)) {
                lines += FormatRecordLine(event);
            }
        }
        return lines;
    }

private:
    void Keep(TEvents events) {
        for (TRecordEvent& event : events) {
            FEvents.push_back(std::move(event));
        }
    }

    TCli FCli;
    std::uint64_t FNowMs = 0;
    TEvents FEvents;
};

} // namespace termsim::test
