#include "platform/win32/Win32.ScreenReader.h"

#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace platform::win32 {

namespace {

HWND ToHwnd(TWindowHandle Window) {
    return reinterpret_cast<HWND>(Window);
}

TProcessId ProcessOf(HWND Window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(Window, &pid);
    return pid;
}

// Ctrl+C or Ctrl+Break pressed in a console while this process is attached to it must not end
// this process.
BOOL WINAPI IgnoreConsoleEvent(DWORD) {
    return TRUE;
}

// Attached to one process's console for as long as it lives; the console is freed on every path,
// so the program never stays attached.
class TConsoleAttachment {
public:
    explicit TConsoleAttachment(TProcessId Pid) {
        SetConsoleCtrlHandler(IgnoreConsoleEvent, TRUE);
        FAttached = AttachConsole(Pid) != FALSE;
        if (!FAttached) {
            FError = GetLastError();
            SetConsoleCtrlHandler(IgnoreConsoleEvent, FALSE);
        }
    }
    ~TConsoleAttachment() {
        if (FAttached) {
            FreeConsole();
            SetConsoleCtrlHandler(IgnoreConsoleEvent, FALSE);
        }
    }
    TConsoleAttachment(const TConsoleAttachment&) = delete;
    TConsoleAttachment& operator=(const TConsoleAttachment&) = delete;

    bool Attached() const { return FAttached; }
    DWORD Error() const { return FError; }

private:
    bool FAttached = false;
    DWORD FError = 0;
};

// The pseudo-console windows a terminal window hosts: top-level windows it owns.
std::vector<HWND> OwnedWindowsOf(HWND Target) {
    std::vector<HWND> windows;
    struct TSearch {
        HWND Owner;
        std::vector<HWND>* Found;
    } search{Target, &windows};
    EnumWindows(
        [](HWND Window, LPARAM Param) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(Param);
            if (GetWindow(Window, GW_OWNER) == s->Owner) {
                s->Found->push_back(Window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return windows;
}

using TProcessEntry = TWin32ScreenReader::TProcessEntry;

std::vector<TProcessEntry> ProcessSnapshot() {
    std::vector<TProcessEntry> entries;
    TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return entries;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
    }
    return entries;
}

// Who may be attached to the console of a window owned by Owner: on Windows the console window
// names its first client; where the window belongs to the console host instead, the client is the
// host's parent (a classic console), one of its children (a pseudo console's shell) or, under
// some hosts, a sibling. Each candidate is verified by the window its console reports.
std::vector<TProcessId> RelativesOf(TProcessId Owner, const std::vector<TProcessEntry>& Processes) {
    std::vector<TProcessId> found;
    TProcessId parent = 0;
    for (const TProcessEntry& p : Processes) {
        if (p.Pid == Owner) {
            parent = p.Parent;
        }
    }
    if (parent != 0) {
        found.push_back(parent);
    }
    for (const TProcessEntry& p : Processes) {
        if (p.Parent == Owner) {
            found.push_back(p.Pid);
        }
    }
    for (const TProcessEntry& p : Processes) {
        if (parent != 0 && p.Parent == parent && p.Pid != Owner) {
            found.push_back(p.Pid);
        }
    }
    return found;
}

// Cells per ReadConsoleOutputW call stay well below the 64 KiB the console server copies at once.
constexpr int CellsPerRead = 6000;
constexpr ULONGLONG RetryVainSearchMs = 5000;

// The visible rows of the attached console, or nothing when its output cannot be opened.
std::optional<TConsoleScreen> ReadAttachedConsole() {
    TKernelHandle output(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!output || !GetConsoleScreenBufferInfo(output.Get(), &info)) {
        return std::nullopt;
    }
    const SMALL_RECT window = info.srWindow;
    const int width = window.Right - window.Left + 1;
    const int height = window.Bottom - window.Top + 1;
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    // A cell drawn in the buffer's own colours swapped counts as reverse video too: some hosts
    // store an inverted cell that way instead of with the reverse-video flag.
    const WORD plain = info.wAttributes & 0xFF;
    const WORD swapped = static_cast<WORD>(((plain & 0x0F) << 4) | ((plain & 0xF0) >> 4));
    TConsoleScreen screen;
    std::vector<CHAR_INFO> cells;
    const int rowsPerRead = std::max(1, CellsPerRead / width);
    for (int top = 0; top < height; top += rowsPerRead) {
        const int rows = std::min(rowsPerRead, height - top);
        cells.assign(static_cast<std::size_t>(rows * width), CHAR_INFO{});
        SMALL_RECT region{window.Left, static_cast<SHORT>(window.Top + top), window.Right,
                          static_cast<SHORT>(window.Top + top + rows - 1)};
        if (!ReadConsoleOutputW(output.Get(), cells.data(), COORD{static_cast<SHORT>(width), static_cast<SHORT>(rows)},
                                COORD{0, 0}, &region)) {
            return std::nullopt;
        }
        for (int r = 0; r < rows; ++r) {
            std::u16string text;
            for (int c = 0; c < width; ++c) {
                const CHAR_INFO& cell = cells[static_cast<std::size_t>(r * width + c)];
                // The second half of a wide glyph repeats the glyph.
                if ((cell.Attributes & COMMON_LVB_TRAILING_BYTE) != 0) {
                    continue;
                }
                const bool reverse = (cell.Attributes & COMMON_LVB_REVERSE_VIDEO) != 0 ||
                                     (plain != swapped && (cell.Attributes & 0xFF) == swapped);
                if (reverse && !screen.Highlight) {
                    screen.Highlight = TScreenCell{static_cast<std::int32_t>(screen.Rows.size()),
                                                   static_cast<std::int32_t>(text.size())};
                }
                text += static_cast<char16_t>(cell.Char.UnicodeChar);
            }
            while (!text.empty() && (text.back() == u' ' || text.back() == u'\0')) {
                text.pop_back();
            }
            screen.Rows.push_back(std::move(text));
        }
    }
    wchar_t title[512] = {};
    const DWORD length = GetConsoleTitleW(title, static_cast<DWORD>(std::size(title)));
    screen.Title = FromWide(title, std::min<std::size_t>(length, std::size(title) - 1));
    return screen;
}

// Attaches to Pid and reads the console when it is the one of ConsoleWindow.
std::optional<TConsoleScreen> ReadThrough(TProcessId Pid, HWND ConsoleWindow) {
    if (Pid == 0 || Pid == GetCurrentProcessId()) {
        return std::nullopt;
    }
    const TConsoleAttachment attachment(Pid);
    if (!attachment.Attached() || GetConsoleWindow() != ConsoleWindow) {
        return std::nullopt;
    }
    return ReadAttachedConsole();
}

} // namespace

std::optional<TConsoleScreen> TWin32ScreenReader::ReadConsoleOf(HWND Console, TProcessId HostPid,
                                                                 std::optional<std::vector<TProcessEntry>>& Processes) {
    const auto key = reinterpret_cast<TWindowHandle>(Console);
    const TProcessId owner = ProcessOf(Console);
    std::vector<TProcessId> tried;
    const auto tryPid = [&](TProcessId Pid) -> std::optional<TConsoleScreen> {
        if (std::find(tried.begin(), tried.end(), Pid) != tried.end()) {
            return std::nullopt;
        }
        tried.push_back(Pid);
        std::optional<TConsoleScreen> screen = ReadThrough(Pid, Console);
        if (screen) {
            FKnownClients[key] = Pid;
        }
        return screen;
    };
    if (auto known = FKnownClients.find(key); known != FKnownClients.end()) {
        // A window searched in vain is most likely no console (a terminal window owns IME and tool
        // windows too); every try attaches and frees a console, so it is tried again only after a
        // while, in case it was a console whose program had not started yet.
        if (known->second == 0) {
            if (GetTickCount64() - FSearchedInVainAt[key] < RetryVainSearchMs) {
                return std::nullopt;
            }
        } else if (auto screen = tryPid(known->second)) {
            return screen;
        }
    }
    for (TProcessId pid : {owner, HostPid}) {
        if (auto screen = tryPid(pid)) {
            return screen;
        }
    }
    if (!Processes) {
        Processes = ProcessSnapshot();
    }
    for (TProcessId pid : RelativesOf(owner, *Processes)) {
        if (auto screen = tryPid(pid)) {
            return screen;
        }
    }
    FKnownClients[key] = 0;
    FSearchedInVainAt[key] = GetTickCount64();
    return std::nullopt;
}

TScreenRead TWin32ScreenReader::ReadScreen(TWindowHandle Window) {
    TScreenRead result;
    const HWND target = ToHwnd(Window);
    if (target == nullptr || !IsWindow(target)) {
        result.Reason = u"the window is gone";
        return result;
    }
    if (GetConsoleWindow() != nullptr) {
        // Attaching elsewhere would cost this process its own console.
        result.Reason = u"Tarvin runs with a console of its own";
        return result;
    }
    const TProcessId targetPid = ProcessOf(target);
    std::optional<std::vector<TProcessEntry>> processes;
    // A window that hosts pseudo consoles shows one of them; otherwise it may be a console itself.
    std::vector<HWND> consoles = OwnedWindowsOf(target);
    for (HWND console : consoles) {
        if (auto screen = ReadConsoleOf(console, targetPid, processes)) {
            result.Screens.push_back(std::move(*screen));
        }
    }
    if (result.Screens.empty()) {
        if (auto screen = ReadConsoleOf(target, targetPid, processes)) {
            result.Screens.push_back(std::move(*screen));
        }
    }
    if (result.Screens.empty()) {
        result.Reason = u"it is not a console window and hosts no console that Tarvin could attach to";
        return result;
    }
    result.Status = TScreenReadStatus::Read;
    return result;
}

} // namespace platform::win32
