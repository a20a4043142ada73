#pragma once
// termsim as the benchmarks run it: its record (and, when asked, its key times) in a folder of the
// bench's choosing, the record followed as it grows so that each line is read once (a soak's record
// grows to megabytes), and the prompt as the newest record line shows it.
#include "tools/termsim/Termsim.Events.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarvin::bench {

class TBenchTerminal {
public:
    // Name tells the record apart from other terminals' in the folder; Options are termsim's own
    // (Termsim.Options.h) besides --record and --times.
    TBenchTerminal(const std::filesystem::path& Folder, const std::wstring& Name, const std::vector<std::wstring>& Options,
                   bool KeyTimes = false);
    ~TBenchTerminal();
    TBenchTerminal(const TBenchTerminal&) = delete;
    TBenchTerminal& operator=(const TBenchTerminal&) = delete;

    // Waits until the window announced itself and is in front; false on a timeout or exit.
    bool Start();
    HWND Window() const { return FWindow; }
    bool Exited() const;
    // Ends the process (and so its window).
    void Stop();

    // The events the record gained since the last call (Start's included in its first call).
    std::vector<termsim::TRecordEvent> NewEvents();
    // The prompt as the newest record line read so far shows it.
    const std::optional<termsim::TPromptState>& Prompt() const { return FPrompt; }
    // The moment each key reached the window, QueryPerformanceCounter microseconds, in order;
    // empty without KeyTimes.
    std::vector<long long> KeyTimes() const;

private:
    std::filesystem::path FRecordPath;
    std::filesystem::path FTimesPath;
    HANDLE FProcess = nullptr;
    HWND FWindow = nullptr;
    unsigned long long FOffset = 0;
    std::vector<termsim::TRecordEvent> FPending;
    std::optional<termsim::TPromptState> FPrompt;
};

// Whether Events hold one a burst must never cause; the first one as a record line, else "".
std::string FirstHarm(const std::vector<termsim::TRecordEvent>& Events);

} // namespace tarvin::bench
