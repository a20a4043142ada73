#include "bench/win32/Bench.Terminal.Win32.h"

#include "tests/tools/termsim/Termsim.Process.h"
#include "tools/termsim/Termsim.Record.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include <cstdlib>
#include <sstream>

namespace tarvin::bench {

TBenchTerminal::TBenchTerminal(const std::filesystem::path& Folder, const std::wstring& Name,
                               const std::vector<std::wstring>& Options, bool KeyTimes)
    : FRecordPath(Folder / (Name + L".record")), FTimesPath(KeyTimes ? Folder / (Name + L".times") : L"") {
    using termsim::test::Quoted;
    std::wstring commandLine = Quoted(termsim::test::WindowsPathOf(TERMSIM_EXE)) + L" --record " +
                               Quoted(FRecordPath.wstring());
    if (KeyTimes) {
        commandLine += L" --times " + Quoted(FTimesPath.wstring());
    }
    for (const std::wstring& option : Options) {
        commandLine += L" " + Quoted(option);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        FProcess = process.hProcess;
        CloseHandle(process.hThread);
    }
}

TBenchTerminal::~TBenchTerminal() {
    Stop();
    if (FProcess != nullptr) {
        CloseHandle(FProcess);
    }
}

void TBenchTerminal::Stop() {
    if (FProcess != nullptr && !Exited()) {
        TerminateProcess(FProcess, 0);
        WaitForSingleObject(FProcess, 5000);
    }
}

bool TBenchTerminal::Exited() const {
    return FProcess == nullptr || WaitForSingleObject(FProcess, 0) == WAIT_OBJECT_0;
}

bool TBenchTerminal::Start() {
    if (FProcess == nullptr) {
        return false;
    }
    const bool announced = termsim::test::WaitUntil([this] {
        for (const termsim::TRecordEvent& event : NewEvents()) {
            FPending.push_back(event);
            if (const auto* ready = std::get_if<termsim::TReadyEvent>(&event)) {
                FWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(ready->Window));
            }
        }
        return FWindow != nullptr || Exited();
    });
    return announced && FWindow != nullptr &&
           termsim::test::WaitUntil([this] { return GetForegroundWindow() == FWindow; });
}

std::vector<termsim::TRecordEvent> TBenchTerminal::NewEvents() {
    std::vector<termsim::TRecordEvent> events = std::move(FPending);
    FPending.clear();
    const platform::win32::TKernelHandle file(CreateFileW(FRecordPath.c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(FOffset);
    if (!file || !SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) {
        return events;
    }
    std::string added;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        added.append(buffer, read);
    }
    // A line is complete once its '\n' is in the file; the rest waits for the next read.
    const std::size_t complete = added.rfind('\n');
    if (complete == std::string::npos) {
        return events;
    }
    FOffset += complete + 1;
    for (termsim::TRecordEvent& event : termsim::ParseRecord(std::string_view(added).substr(0, complete + 1))) {
        if (const auto* prompt = std::get_if<termsim::TPromptState>(&event)) {
            FPrompt = *prompt;
        }
        events.push_back(std::move(event));
    }
    return events;
}

std::vector<long long> TBenchTerminal::KeyTimes() const {
    std::vector<long long> times;
    if (FTimesPath.empty()) {
        return times;
    }
    std::istringstream lines(termsim::test::ReadFileShared(FTimesPath.wstring()));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(" key ") != std::string::npos) {
            times.push_back(std::atoll(line.c_str()));
        }
    }
    return times;
}

std::string FirstHarm(const std::vector<termsim::TRecordEvent>& Events) {
    for (const termsim::TRecordEvent& event : Events) {
        if (termsim::IsHarm(event)) {
            return termsim::FormatRecordLine(event);
        }
    }
    return {};
}

} // namespace tarvin::bench
