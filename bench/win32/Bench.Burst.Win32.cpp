// The burst's timing as the terminal sees it: a portable Tarvin and a termsim with a half-typed
// prompt, Ctrl+Alt+3 pressed as a real chord, and from termsim's --times file the moment every key
// reached its window, set beside the moment the chord's SendInput returned here. Both readings are
// QueryPerformanceCounter microseconds, one clock for every process of the machine.
//   tarvin_bench_burst [ROUNDS]        default 7
// Exit code 0 when every round delivered the whole burst in its designed batches.
#include "base/Base.Unicode.h"
#include "platform/win32/Win32.Clock.h"
#include "tests/app/win32/Tarvin.Process.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tarvin::test;
using termsim::TKey;
using termsim::TKeyEvent;
using termsim::test::TTermsim;

// The default burst, from the press: the first tick at 25 ms only sees the modifiers up; 29
// clearing keys follow 60 ms apart, one tick later the command with its first Enter, three more
// Enters 250 ms apart, then Ctrl+Y and Backspace 60 ms apart.
struct TTick {
    double AtMs;
    std::size_t Keys;
};

std::vector<TTick> DesignedTicks() {
    std::vector<TTick> ticks;
    double at = 25;
    for (int i = 0; i < 29; ++i) {
        ticks.push_back({at += 60, 1});
    }
    ticks.push_back({at += 60, 13}); // "/effort high" and Enter
    for (int i = 0; i < 3; ++i) {
        ticks.push_back({at += 250, 1});
    }
    ticks.push_back({at += 60, 1}); // Ctrl+Y
    ticks.push_back({at += 60, 1}); // Backspace
    return ticks;
}

// The key arrival times in the --times file, microseconds, in file order.
std::vector<long long> ArrivalTimes(const std::wstring& Path) {
    std::vector<long long> times;
    std::istringstream lines(termsim::test::ReadFileShared(Path));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(" key ") != std::string::npos) {
            times.push_back(std::atoll(line.c_str()));
        }
    }
    return times;
}

// Keys closer than this belong to one batch: a batch's keys arrive within a few milliseconds,
// ticks are at least 60 ms apart.
constexpr long long SameBatchUs = 30000;

std::vector<std::vector<long long>> Batches(const std::vector<long long>& Times) {
    std::vector<std::vector<long long>> batches;
    for (long long t : Times) {
        if (batches.empty() || t - batches.back().back() > SameBatchUs) {
            batches.emplace_back();
        }
        batches.back().push_back(t);
    }
    return batches;
}

struct TRound {
    bool Complete = false;       // every designed batch arrived with its keys
    double FirstMs = 0;          // press to the first key
    double LastMs = 0;           // press to the last key
    double WorstTickMs = 0;      // largest |arrival - design| over the batches' first keys
    double SendInputUs = 0;      // how long the chord's SendInput took: the press time's uncertainty
    std::size_t Keys = 0;
    std::size_t BatchCount = 0;
};

bool BurstOver(const std::vector<long long>& Times, std::size_t Expected) {
    return Times.size() >= Expected;
}

TRound RunRound(const std::wstring& TimesPath) {
    TRound round;
    TTermsim terminal({L"--prompt", L"refactor the parser, then", L"--cursor", L"0,8", L"--times", TimesPath});
    if (!terminal.Start()) {
        std::puts("  termsim did not start");
        return round;
    }
    if (!WaitUntil([] { return ChordTaken('5'); })) {
        std::puts("  Tarvin did not take its hotkeys");
        return round;
    }
    // Lets the probe's own registration and the grip settle before the clock starts.
    Sleep(500);
    const long long before = platform::win32::QpcMicroseconds();
    PressCtrlAlt('3');
    const long long pressed = platform::win32::QpcMicroseconds();
    round.SendInputUs = static_cast<double>(pressed - before);

    const std::vector<TTick> design = DesignedTicks();
    std::size_t expectedKeys = 0;
    for (const TTick& tick : design) {
        expectedKeys += tick.Keys;
    }
    std::vector<long long> times;
    platform::win32::test::WaitUntil([&] { return BurstOver(times = ArrivalTimes(TimesPath), expectedKeys); },
                                     std::chrono::seconds(20));
    Sleep(400); // a stray key after the last would show here
    times = ArrivalTimes(TimesPath);
    round.Keys = times.size();
    if (times.empty()) {
        return round;
    }
    round.FirstMs = static_cast<double>(times.front() - pressed) / 1000.0;
    round.LastMs = static_cast<double>(times.back() - pressed) / 1000.0;
    const std::vector<std::vector<long long>> batches = Batches(times);
    round.BatchCount = batches.size();
    round.Complete = batches.size() == design.size() && times.size() == expectedKeys;
    for (std::size_t i = 0; i < std::min(batches.size(), design.size()); ++i) {
        round.Complete = round.Complete && batches[i].size() == design[i].Keys;
        const double at = static_cast<double>(batches[i].front() - pressed) / 1000.0;
        round.WorstTickMs = std::max(round.WorstTickMs, std::fabs(at - design[i].AtMs));
    }
    return round;
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    const std::size_t n = Values.size();
    return n == 0 ? 0 : n % 2 == 1 ? Values[n / 2] : (Values[n / 2 - 1] + Values[n / 2]) / 2;
}

void Summary(const char* What, std::vector<double> Values, double Design) {
    const auto [low, high] = std::minmax_element(Values.begin(), Values.end());
    const double median = Median(Values);
    std::printf("  %-24s median %8.1f ms  (%.1f .. %.1f)  design %7.1f ms  median off by %+6.1f ms = %+.2f %%\n", What,
                median, *low, *high, Design, median - Design, (median - Design) / Design * 100.0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    // An INI file at start: not a first run, so the main window stays hidden as it usually is.
    TTarvin tarvin(std::string{});
    if (!tarvin.Start()) {
        std::puts("burst: Tarvin did not start");
        return 1;
    }
    const std::vector<TTick> design = DesignedTicks();
    std::printf("burst: Ctrl+Alt+3 into termsim, %d rounds; %zu batches designed, first key %.0f ms, last key %.0f ms\n",
                rounds, design.size(), design.front().AtMs, design.back().AtMs);
    std::vector<double> firsts;
    std::vector<double> lasts;
    std::vector<double> worst;
    std::vector<double> sendInput;
    bool allComplete = true;
    for (int r = 0; r < rounds; ++r) {
        const std::wstring timesPath = (tarvin.Folder.Path() / (L"times" + std::to_wstring(r) + L".txt")).wstring();
        const TRound round = RunRound(timesPath);
        std::printf("  round %d: %zu keys in %zu batches%s, first %.1f ms, last %.1f ms, worst batch off by %.1f ms, "
                    "SendInput %.0f us\n",
                    r + 1, round.Keys, round.BatchCount, round.Complete ? "" : " (INCOMPLETE)", round.FirstMs,
                    round.LastMs, round.WorstTickMs, round.SendInputUs);
        std::fflush(stdout);
        allComplete = allComplete && round.Complete;
        if (round.Complete) {
            firsts.push_back(round.FirstMs);
            lasts.push_back(round.LastMs);
            worst.push_back(round.WorstTickMs);
            sendInput.push_back(round.SendInputUs);
        }
        Sleep(300);
    }
    if (!firsts.empty()) {
        Summary("press -> first key", firsts, design.front().AtMs);
        Summary("press -> last key", lasts, design.back().AtMs);
        std::printf("  worst batch off its design: median %.1f ms, largest %.1f ms\n", Median(worst),
                    *std::max_element(worst.begin(), worst.end()));
        std::printf("  press time: when the chord's SendInput returned; it took median %.0f us, largest %.0f us\n",
                    Median(sendInput), *std::max_element(sendInput.begin(), sendInput.end()));
        const double lastOff = std::fabs(Median(lasts) - design.back().AtMs) / design.back().AtMs * 100.0;
        std::printf("  goal last key within 1 %% of design: %s (%.2f %%); every batch delivered: %s\n",
                    lastOff <= 1.0 ? "met" : "NOT met", lastOff, allComplete ? "yes" : "NO");
    }
    (void)tarvin.Close();
    return allComplete ? 0 : 1;
}
