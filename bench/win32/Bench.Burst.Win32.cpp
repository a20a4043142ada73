// The burst from the press to the draft back, with sight and blind, in one run: one portable Tarvin
// that may type blind where it cannot read (BlindWhenUnreadable=1), and per round a fresh termsim
// holding the draft "refactor the parser, then" with the caret at 0,8: with --console (Tarvin reads
// its screen: the burst with sight) or without (the blind schedule). The two kinds take turns.
// Ctrl+Alt+3 is pressed as a real chord; the clock starts when its SendInput returned.
//   sighted: done when termsim's record shows the level set and the draft back and Tarvin's log box
//            shows its end-of-burst line, "Claude Code shows the effort is now high.". The draft's
//            return is stamped by termsim's --times file (the key after which the stash came
//            back); the log line by this program, which asks the log box every millisecond or so
//            once the record shows the draft back.
//   blind:   done at the last key, Backspace, as termsim's --times file stamps it.
// Both clocks are QueryPerformanceCounter microseconds, one clock for every process under wine.
// Every round's outcome is checked: "high" set once, nothing harmful, the draft back (with sight
// exactly: text, caret, kill; blind: the text, as the schedule puts the caret at the end).
//   tarvin_bench_burst [ROUNDS]        default 7 of each kind
// Exit code 0 when every round completed.
#include "bench/win32/Bench.Chords.Win32.h"
#include "bench/win32/Bench.LogBox.Win32.h"
#include "bench/win32/Bench.Stats.h"
#include "bench/win32/Bench.Terminal.Win32.h"
#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Clock.h"
#include "tools/termsim/Termsim.Record.h"
#include "tests/app/win32/Tarvin.Process.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using namespace tarvin::bench;
using termsim::TRecordEvent;

constexpr wchar_t Draft[] = L"refactor the parser, then";
constexpr wchar_t Caret[] = L"0,8";
const std::wstring EndLine = L"Claude Code shows the effort is now high.";
// The blind schedule: 29 clearing keys, the command's 12 characters and Enter, 3 more Enters,
// Ctrl+Y and Backspace; its last key is designed at 25 + 30 x 60 + 3 x 250 + 2 x 60 ms.
constexpr std::size_t BlindKeys = 29 + 13 + 3 + 2;
constexpr double BlindDesignMs = 2695;

enum class TKind { Sighted, Blind };

struct TRound {
    bool Complete = false;
    std::string Why;          // what was wrong when not complete
    double DraftBackMs = 0;   // sighted: the key after which the stash came back
    double LoggedMs = 0;      // sighted: the end line seen in the log box
    double LastKeyMs = 0;     // the last key's stamp
    double SendInputUs = 0;   // the press's uncertainty
    std::size_t Keys = 0;
    bool Collided = false;    // the probe took Ctrl+Alt+5 from Tarvin (the pressed chord is unaffected)
    std::string Note;
};

double Ms(long long FromUs, long long ToUs) {
    return static_cast<double>(ToUs - FromUs) / 1000.0;
}

template <typename TEvent> std::size_t CountOf(const std::vector<TRecordEvent>& Events) {
    std::size_t n = 0;
    for (const TRecordEvent& event : Events) {
        n += std::holds_alternative<TEvent>(event) ? 1 : 0;
    }
    return n;
}

bool HighSetOnce(const std::vector<TRecordEvent>& Events) {
    std::size_t high = 0;
    for (const TRecordEvent& event : Events) {
        if (const auto* effort = std::get_if<termsim::TEffortEvent>(&event)) {
            high += effort->Level == u"high" ? 1 : 0;
        }
    }
    return high == 1 && CountOf<termsim::TEffortEvent>(Events) == 1;
}

// The number of keys that had arrived when the stash came back; 0 when it did not.
std::size_t KeysWhenUnstashed(const std::vector<TRecordEvent>& Events) {
    std::size_t keys = 0;
    for (const TRecordEvent& event : Events) {
        keys += std::holds_alternative<termsim::TKeyEvent>(event) ? 1 : 0;
        if (std::holds_alternative<termsim::TUnstashedEvent>(event)) {
            return keys;
        }
    }
    return 0;
}

std::string Utf8(const std::u16string& Text) {
    return base::Utf16ToUtf8(Text);
}

std::string PromptText(const termsim::TPromptState& Prompt) {
    return "\"" + Utf8(Prompt.Text) + "\" at " + std::to_string(Prompt.Cursor.Line) + "," +
           std::to_string(Prompt.Cursor.Column);
}

TRound RunRound(TKind Kind, const std::filesystem::path& Folder, const std::wstring& Name, TLogBox& Log) {
    TRound round;
    std::vector<std::wstring> options = {L"--prompt", Draft, L"--cursor", Caret};
    if (Kind == TKind::Sighted) {
        options.insert(options.begin(), L"--console");
    }
    TBenchTerminal terminal(Folder, Name, options, true);
    if (!terminal.Start()) {
        round.Why = "termsim did not come up in front";
        return round;
    }
    (void)terminal.NewEvents();
    if (!terminal.Prompt()) {
        round.Why = "termsim's record shows no prompt";
        return round;
    }
    const termsim::TPromptState before = *terminal.Prompt();
    const TChordWait grip = WaitUntilHeld('5', Log);
    if (grip == TChordWait::TimedOut) {
        round.Why = "Tarvin did not take its hotkeys";
        return round;
    }
    round.Collided = grip == TChordWait::Collided;
    // The grip's registrations and the probe's last call settle before the clock starts.
    Sleep(300);
    const std::size_t logFrom = Log.Messages().size();

    const long long beforePress = platform::win32::QpcMicroseconds();
    tarvin::test::PressCtrlAlt('3');
    const long long pressed = platform::win32::QpcMicroseconds();
    round.SendInputUs = static_cast<double>(pressed - beforePress);

    std::vector<TRecordEvent> events;
    long long loggedAt = 0;
    const long long deadline = pressed + 20'000'000;
    unsigned long long lastLogLook = 0;
    std::size_t linesSeen = logFrom;
    unsigned long long lastLineAt = GetTickCount64();
    for (;;) {
        for (TRecordEvent& event : terminal.NewEvents()) {
            events.push_back(std::move(event));
        }
        const long long now = platform::win32::QpcMicroseconds();
        if (Kind == TKind::Blind) {
            const bool lastKeyIn = !events.empty() && CountOf<termsim::TKeyEvent>(events) >= BlindKeys;
            if (lastKeyIn || now > deadline) {
                break;
            }
            Sleep(5);
            continue;
        }
        const bool draftBack = KeysWhenUnstashed(events) > 0 && terminal.Prompt() == before;
        // Until the draft is back the box is asked seldom (a line there may end the burst early).
        if (draftBack || GetTickCount64() - lastLogLook >= 50) {
            lastLogLook = GetTickCount64();
            const std::vector<std::wstring> lines = Log.Messages();
            if (FindMessage(lines, logFrom, EndLine) >= 0) {
                loggedAt = platform::win32::QpcMicroseconds();
                break;
            }
            // A line other than "Typed ..." means the burst stopped otherwise; it is over once its
            // lines came to rest (its steps are never more than two seconds apart).
            if (lines.size() != linesSeen) {
                linesSeen = lines.size();
                lastLineAt = GetTickCount64();
            }
            bool stopped = false;
            for (std::size_t i = logFrom; i < lines.size(); ++i) {
                stopped = stopped || !lines[i].starts_with(L"Typed ");
            }
            if (stopped && GetTickCount64() - lastLineAt >= 2500) {
                break;
            }
        }
        if (now > deadline) {
            break;
        }
        Sleep(1);
    }
    // A stray key after the last would show here.
    Sleep(400);
    for (TRecordEvent& event : terminal.NewEvents()) {
        events.push_back(std::move(event));
    }
    const std::vector<long long> times = terminal.KeyTimes();
    round.Keys = times.size();
    if (!times.empty()) {
        round.LastKeyMs = Ms(pressed, times.back());
    }
    const std::optional<termsim::TPromptState> after = terminal.Prompt();
    // What an incomplete round leaves to look at: Tarvin's lines and termsim's record since the press.
    const auto evidence = [&] {
        std::string text;
        const std::vector<std::wstring> lines = Log.Messages();
        for (std::size_t i = logFrom; i < lines.size(); ++i) {
            text += "\n      log: " + platform::win32::test::Utf8Of(lines[i]);
        }
        for (const TRecordEvent& event : events) {
            std::string line = termsim::FormatRecordLine(event);
            text += "\n      record: " + line.substr(0, line.find_last_not_of('\n') + 1);
        }
        return text;
    };
    const std::string harm = FirstHarm(events);
    if (!harm.empty()) {
        round.Why = "termsim recorded a harm: " + harm;
    } else if (!HighSetOnce(events)) {
        round.Why = "the level was not set to high exactly once";
    } else if (!after) {
        round.Why = "no prompt after the burst";
    } else if (Kind == TKind::Sighted) {
        const std::size_t keysAtUnstash = KeysWhenUnstashed(events);
        if (*after != before) {
            round.Why = "the draft is not back exactly: " + PromptText(*after) + ", was " + PromptText(before);
        } else if (loggedAt == 0) {
            round.Why = "Tarvin's log box shows no end-of-burst line";
        } else if (keysAtUnstash == 0 || keysAtUnstash > times.size()) {
            round.Why = "the draft's return is not in the record";
        } else {
            round.DraftBackMs = Ms(pressed, times[keysAtUnstash - 1]);
            round.LoggedMs = Ms(pressed, loggedAt);
            round.Complete = true;
        }
    } else {
        if (after->Text != before.Text) {
            round.Why = "the draft's text is not back: " + PromptText(*after);
        } else if (times.size() != BlindKeys) {
            round.Why = std::to_string(times.size()) + " keys, the schedule has " + std::to_string(BlindKeys);
        } else {
            round.Complete = true;
            if (after->Cursor != before.Cursor) {
                round.Note = "text back, caret at " + std::to_string(after->Cursor.Line) + "," +
                             std::to_string(after->Cursor.Column) + " (was 0,8)";
            }
        }
    }
    if (!round.Complete) {
        round.Why += evidence();
    }
    return round;
}

void PrintSpread(const char* What, const std::vector<double>& Values) {
    const TSpread s = SpreadOf(Values);
    std::printf("  %-52s median %7.1f ms  (%.1f .. %.1f, %zu rounds)\n", What, s.Median, s.Min, s.Max, s.Count);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
        // Not a first run (an INI is there): the main window stays in the tray.
        tarvin::test::TTarvin tarvin(std::string("[Sending]\r\nBlindWhenUnreadable=1\r\n"));
        if (!tarvin.Start()) {
            std::puts("burst: Tarvin did not start");
            return 1;
        }
        TLogBox log;
        std::printf("burst: Ctrl+Alt+3 into termsim holding \"refactor the parser, then\" (caret 0,8), %d rounds of "
                    "each kind, taking turns; Tarvin with BlindWhenUnreadable=1\n",
                    rounds);
        std::vector<double> draftBack;
        std::vector<double> logged;
        std::vector<double> blindLast;
        std::vector<double> sendInput;
        int incomplete = 0;
        int incompleteSighted = 0;
        int collisions = 0;
        for (int r = 0; r < rounds; ++r) {
            for (int turn = 0; turn < 2; ++turn) {
                const TKind kind = (r + turn) % 2 == 0 ? TKind::Sighted : TKind::Blind;
                const std::wstring name = std::wstring(kind == TKind::Sighted ? L"sighted" : L"blind") + std::to_wstring(r);
                const TRound round = RunRound(kind, tarvin.Folder.Path(), name, log);
                collisions += round.Collided ? 1 : 0;
                const char* kindName = kind == TKind::Sighted ? "sighted" : "blind  ";
                if (!round.Complete) {
                    ++incomplete;
                    incompleteSighted += kind == TKind::Sighted ? 1 : 0;
                    std::printf("  round %d %s: INCOMPLETE: %s\n", r + 1, kindName, round.Why.c_str());
                } else if (kind == TKind::Sighted) {
                    std::printf("  round %d %s: draft back %.1f ms, Tarvin's end line seen %.1f ms; %zu keys; "
                                "SendInput %.0f us%s\n",
                                r + 1, kindName, round.DraftBackMs, round.LoggedMs, round.Keys, round.SendInputUs,
                                round.Collided ? "; probe took Ctrl+Alt+5 from Tarvin" : "");
                    draftBack.push_back(round.DraftBackMs);
                    logged.push_back(round.LoggedMs);
                    sendInput.push_back(round.SendInputUs);
                } else {
                    std::printf("  round %d %s: last key %.1f ms; %zu keys; SendInput %.0f us%s%s%s\n", r + 1,
                                kindName, round.LastKeyMs, round.Keys, round.SendInputUs,
                                round.Note.empty() ? "" : "; ", round.Note.c_str(),
                                round.Collided ? "; probe took Ctrl+Alt+5 from Tarvin" : "");
                    blindLast.push_back(round.LastKeyMs);
                    sendInput.push_back(round.SendInputUs);
                }
                std::fflush(stdout);
                Sleep(300);
            }
        }
        PrintSpread("sighted: press -> draft back in termsim", draftBack);
        PrintSpread("sighted: press -> Tarvin's end line seen (done)", logged);
        PrintSpread("blind:   press -> last key (done)", blindLast);
        std::printf("  blind schedule as designed: last key at %.0f ms\n", BlindDesignMs);
        if (!sendInput.empty()) {
            const TSpread s = SpreadOf(sendInput);
            std::printf("  press time: when the chord's SendInput returned; it took median %.0f us, largest %.0f us\n",
                        s.Median, s.Max);
        }
        if (collisions > 0) {
            std::printf("  the probe for Ctrl+Alt+5 took that chord from Tarvin in %d rounds (Ctrl+Alt+3, pressed, "
                        "was held in each)\n",
                        collisions);
        }
        if (!logged.empty() && !blindLast.empty()) {
            const double sighted = SpreadOf(logged).Median;
            const double blind = SpreadOf(blindLast).Median;
            std::printf("  goal sighted <= 1,000 ms: %s (median %.1f ms; blind %.1f ms; sighted takes %.0f %% of the "
                        "blind time)\n",
                        Verdict(sighted <= 1000), sighted, blind, sighted / blind * 100.0);
        } else {
            std::puts("  goal sighted <= 1,000 ms: NOT MEASURED (no complete round of one kind)");
        }
        if (incomplete == 0) {
            std::puts("  every round complete: yes");
        } else {
            std::printf("  every round complete: NO (%d of %d sighted, %d of %d blind rounds incomplete)\n",
                        incompleteSighted, rounds, incomplete - incompleteSighted, rounds);
        }
        (void)tarvin.Close();
        return incomplete == 0 && !logged.empty() && !blindLast.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("burst: %s\n", error.what());
        return 1;
    }
}
