// The demonstration `make run` plays when there is no display to try Tarvin by hand: a portable
// Tarvin (with its trace lines on, so the log box shows what it saw before each key) and termsim in
// console mode with a half-typed prompt; Ctrl+Alt+3 pressed as a real key chord, the prompt and
// effort before and after printed; then Ctrl+Alt+1 while a permission dialog is open, which Tarvin
// refuses without a key; Tarvin's log box printed; then the main window and the tray menu held up
// for the screenshots the calling script takes.
//   tarvin_demo WORK_FOLDER
// For each picture NAME the demo writes WORK_FOLDER\NAME.rect ("left top width height") and waits
// for WORK_FOLDER\NAME.done. Exit code 0 only when the level was set and the prompt came back exactly.
#include "base/Base.Unicode.h"
#include "tests/app/win32/Tarvin.Process.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace tarvin::test;
using termsim::TEffortEvent;
using termsim::TKey;
using termsim::TKeyEvent;
using termsim::TPromptState;
using termsim::test::TEvents;
using termsim::test::TTermsim;

constexpr char16_t HalfTyped[] = u"refactor the parser, then";

// Line breaks shown as \n, so that a prompt stays on one line of the report.
std::string Utf8(const std::u16string& Text) {
    std::u16string shown;
    for (char16_t c : Text) {
        shown += c == u'\n' ? std::u16string(u"\\n") : std::u16string(1, c);
    }
    return base::Utf16ToUtf8(shown);
}

std::string Utf8(const std::wstring& Text) {
    return Utf8(std::u16string(Text.begin(), Text.end()));
}

// Everything the demo says goes to the console and, for a run inside a virtual desktop whose
// console nobody sees, to WORK_FOLDER\report.txt.
std::filesystem::path ReportPath;

void Say(const std::string& Line) {
    std::puts(Line.c_str());
    std::fflush(stdout);
    if (!ReportPath.empty()) {
        std::ofstream(ReportPath, std::ios::app) << Line << "\n";
    }
}

struct TState {
    std::u16string Prompt;
    std::u16string Effort = u"medium";
    std::size_t Keys = 0;
    std::size_t Harms = 0;
};

TState StateOf(const TEvents& Events) {
    TState state;
    for (const termsim::TRecordEvent& event : Events) {
        if (const auto* prompt = std::get_if<TPromptState>(&event)) {
            state.Prompt = prompt->Text;
        } else if (const auto* effort = std::get_if<TEffortEvent>(&event)) {
            state.Effort = effort->Level;
        } else if (std::holds_alternative<TKeyEvent>(event)) {
            ++state.Keys;
        }
        if (termsim::IsHarm(event)) {
            ++state.Harms;
        }
    }
    return state;
}

// Puts the window up for a picture and waits until the script has taken it.
bool HoldForPicture(const std::filesystem::path& Work, const char* Name, HWND Window) {
    RECT rect{};
    GetWindowRect(Window, &rect);
    std::ofstream(Work / (std::string(Name) + ".rect"))
        << rect.left << ' ' << rect.top << ' ' << (rect.right - rect.left) << ' ' << (rect.bottom - rect.top) << "\n";
    return platform::win32::test::WaitUntil(
        [&] { return std::filesystem::exists(Work / (std::string(Name) + ".done")); }, std::chrono::seconds(60));
}

// Opens the tray icon's menu as a right click on the icon does: the icon's window hears of the click.
HWND OpenTrayMenu() {
    DWORD tarvinPid = 0;
    GetWindowThreadProcessId(TTarvin::Window(), &tarvinPid);
    SetCursorPos(760, 520);
    for (HWND window = FindWindowW(L"TarvinToolkitUtility", nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, L"TarvinToolkitUtility", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == tarvinPid) {
            PostMessageW(window, WM_APP + 1, 0, WM_RBUTTONUP);
        }
    }
    HWND menu = nullptr;
    platform::win32::test::WaitUntil([&] { return IsWindowVisible(menu = FindWindowW(L"#32768", nullptr)); },
                                     std::chrono::seconds(10));
    return menu;
}

// The grip's trace lines: Tarvin took its hotkeys once more. Watched in the log rather than probed
// with a chord of this process's own, which could take a chord from Tarvin while it registers.
std::size_t Takes() {
    std::size_t takes = 0;
    for (const std::wstring& line : TTarvin::LogLines()) {
        takes += line.starts_with(L"grip: ") && line.find(L"TAKING") != std::wstring::npos ? 1 : 0;
    }
    return takes;
}

bool HotkeysTakenAgain(std::size_t Before) {
    return WaitUntil([&] { return Takes() > Before; });
}

int RunDemo(const std::filesystem::path& Work) {
    TTarvin tarvin("[Sending]\r\nTraceGrip=1\r\n[AppData Settings]\r\nShowOnError=0\r\n");
    if (!tarvin.Start()) {
        Say("Tarvin did not start.");
        return 1;
    }
    Say("Tarvin runs portable in " + tarvin.Folder.Path().string());
    const std::wstring halfTyped(HalfTyped, HalfTyped + std::char_traits<char16_t>::length(HalfTyped));
    bool worked = false;
    {
        const std::size_t takes = Takes();
        TTermsim terminal({L"--console", L"--prompt", halfTyped, L"--cursor", L"0,8"});
        if (!terminal.Start()) {
            Say("termsim did not start.");
            return 1;
        }
        const TState before = StateOf(terminal.Events());
        Say("termsim before: effort " + Utf8(before.Effort) + ", prompt \"" + Utf8(before.Prompt) + "\"");
        if (!HotkeysTakenAgain(takes)) {
            Say("Tarvin did not take its hotkeys while termsim was in front.");
            return 1;
        }
        Say("Pressing Ctrl+Alt+3 ...");
        PressCtrlAlt('3');
        WaitUntil([] { return TTarvin::LogHas(L"Claude Code shows the effort is now") || TTarvin::LogHas(L"Your draft"); });
        WaitUntil([] { return TTarvin::LogHas(L"Your draft"); });
        const TState after = StateOf(terminal.Events());
        Say("termsim after:  effort " + Utf8(after.Effort) + ", prompt \"" + Utf8(after.Prompt) + "\"");
        worked = after.Effort == u"high" && after.Prompt == HalfTyped && after.Harms == 0;
    }
    {
        const std::size_t takes = Takes();
        TTermsim dialog({L"--console", L"--open", L"permission"});
        if (dialog.Start() && HotkeysTakenAgain(takes)) {
            Say("Pressing Ctrl+Alt+1 while a permission dialog is open ...");
            PressCtrlAlt('1');
            WaitUntil([] { return TTarvin::LogHas(L"Nothing was typed: a permission dialog is open"); });
            const TState after = StateOf(dialog.WaitForEvents(0));
            Say("termsim with the dialog: " + std::to_string(after.Keys) + " keys received");
            worked = worked && after.Keys == 0 && after.Harms == 0;
        } else {
            Say("The second termsim did not start.");
            worked = false;
        }
    }
    Say("Tarvin's log box:");
    for (const std::wstring& line : TTarvin::LogLines()) {
        Say("  " + Utf8(line));
    }
    Say(worked ? "PASSED: the effort level changed, the half-typed prompt came back exactly, and the press on "
                 "the open dialog was refused without a key."
               : "FAILED: the level did not change, the prompt did not come back, or a key reached the dialog.");

    if (!Work.empty()) {
        const HWND window = TTarvin::Window();
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(window);
        platform::win32::test::WaitUntil([&] { return GetForegroundWindow() == window; }, std::chrono::seconds(10));
        HoldForPicture(Work, "main-window", window);
        if (const HWND menu = OpenTrayMenu()) {
            HoldForPicture(Work, "tray-menu", menu);
            SendMessageW(window, WM_CANCELMODE, 0, 0);
        } else {
            Say("The tray menu did not open; no picture of it.");
        }
    }
    (void)tarvin.Close();
    return worked ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::filesystem::path work = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::path();
    if (!work.empty()) {
        ReportPath = work / "report.txt";
    }
    return RunDemo(work);
}
