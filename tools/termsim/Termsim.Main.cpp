// termsim: a window that stands in for a Claude Code terminal. It turns the keys it receives into
// prompt edits and writes every key and the prompt after it to its record file.
#include "platform/win32/Win32.Clock.h"
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"
#include "tools/termsim/Termsim.Options.h"
#include "tools/termsim/Termsim.Record.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

using platform::win32::AsWide;

constexpr UINT WmAnnounceReady = WM_APP + 1;

// Appends record lines; each WriteFile reaches the file at once, so a reader in another process
// sees whole lines as soon as a key is handled.
class TRecordFile {
public:
    explicit TRecordFile(const std::u16string& path)
        : FFile(path.empty() ? INVALID_HANDLE_VALUE
                             : CreateFileW(AsWide(path), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

    bool IsOpen() const { return FFile.IsValid(); }

    void Write(const termsim::TRecordEvent& event) { WriteLine(termsim::FormatRecordLine(event)); }

    void WriteLine(const std::string& line) {
        if (!IsOpen()) {
            return;
        }
        DWORD written = 0;
        WriteFile(FFile.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }

private:
    platform::win32::TKernelHandle FFile;
};

struct TTerminal {
    termsim::TPrompt Prompt;
    TRecordFile Record;
    // --times: when each key reached the window; closed when the option is absent.
    TRecordFile Times;
    // What the last Enter led to, shown under the prompt for whoever tries the hotkeys by hand.
    std::u16string LastOutcome;
};

// The line the screen shows for an outcome of Enter; empty when it changed nothing worth saying.
std::u16string OutcomeLine(const termsim::TRecordEvent& event) {
    if (const auto* sent = std::get_if<termsim::TSubmittedEvent>(&event)) {
        return u"sent to the model: " + termsim::EscapeText(sent->Text);
    }
    if (const auto* failed = std::get_if<termsim::TFailedEvent>(&event)) {
        return failed->Error;
    }
    if (const auto* effort = std::get_if<termsim::TEffortEvent>(&event)) {
        return u"Set effort level to " + effort->Level;
    }
    return {};
}

std::vector<std::u16string> CommandLineArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const platform::win32::TLocalMemory owner(argv);
    std::vector<std::u16string> args;
    for (int i = 1; argv != nullptr && i < count; ++i) {
        args.push_back(platform::win32::FromWide(argv[i]));
    }
    return args;
}

bool CtrlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}
bool ShiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

// The prompt key a WM_KEYDOWN stands for. Typed characters come through WM_CHAR instead, and so
// does SendInput's Unicode input (its key-down carries VK_PACKET).
std::optional<termsim::TKey> KeyOf(WPARAM virtualKey) {
    using termsim::TKey;
    switch (virtualKey) {
    case 'E':
        return CtrlDown() ? std::optional(TKey::CtrlE) : std::nullopt;
    case 'U':
        return CtrlDown() ? std::optional(TKey::CtrlU) : std::nullopt;
    case 'Y':
        return CtrlDown() ? std::optional(TKey::CtrlY) : std::nullopt;
    case VK_RIGHT:
        return TKey::Right;
    case VK_BACK:
        return TKey::Backspace;
    case VK_RETURN:
        return ShiftDown() ? TKey::ShiftEnter : TKey::Enter;
    default:
        return std::nullopt;
    }
}

void Press(HWND window, TTerminal& terminal, const termsim::TKeyEvent& key, long long arrived) {
    if (terminal.Times.IsOpen()) {
        terminal.Times.WriteLine(std::to_string(arrived) + " " + termsim::FormatRecordLine(key));
    }
    for (const termsim::TRecordEvent& event : termsim::PressKey(terminal.Prompt, key)) {
        terminal.Record.Write(event);
        if (std::u16string line = OutcomeLine(event); !line.empty()) {
            terminal.LastOutcome = std::move(line);
        }
    }
    InvalidateRect(window, nullptr, TRUE);
}

// The prompt as the screen shows it: a "> " in front, the cursor as "|", and the state below.
std::u16string ScreenText(const termsim::TPrompt& prompt, const std::u16string& lastOutcome) {
    const std::u16string text = prompt.Text();
    const termsim::TCursor cursor = prompt.Cursor();
    std::size_t offset = 0;
    for (std::size_t line = 0; line < cursor.Line; ++line) {
        offset = text.find(u'\n', offset) + 1;
    }
    const std::u16string_view shown(text);
    std::u16string screen = u"> ";
    screen += shown.substr(0, offset + cursor.Column);
    screen += u'|';
    screen += shown.substr(offset + cursor.Column);
    if (prompt.Asking()) {
        screen += u"\n\n";
        screen += termsim::EffortQuestion;
        screen += u" (Enter = yes)";
    }
    if (!prompt.EffortLevel().empty()) {
        screen += u"\n\neffort: ";
        screen += prompt.EffortLevel();
    }
    if (!lastOutcome.empty()) {
        screen += u"\n\n";
        screen += lastOutcome;
    }
    return screen;
}

void Paint(HWND window, const TTerminal& terminal) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -8, -8);
    const std::u16string screen = ScreenText(terminal.Prompt, terminal.LastOutcome);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, platform::win32::WideUnits(screen), static_cast<int>(screen.size()), &area,
              DT_LEFT | DT_TOP | DT_NOPREFIX);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    // Taken first, before any work of this program, when the key is handed to the window.
    const long long arrived = message == WM_KEYDOWN || message == WM_CHAR ? platform::win32::QpcMicroseconds() : 0;
    auto* terminal = reinterpret_cast<TTerminal*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (terminal == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_KEYDOWN:
        if (const std::optional<termsim::TKey> key = KeyOf(wParam)) {
            Press(window, *terminal, {*key, 0}, arrived);
            return 0;
        }
        break;
    case WM_CHAR:
        // Ctrl+letter, Backspace and Enter also arrive here as control characters; their
        // WM_KEYDOWN has already been handled.
        if (wParam >= 0x20 && wParam != 0x7F) {
            Press(window, *terminal, {termsim::TKey::Char, static_cast<char16_t>(wParam)}, arrived);
        }
        return 0;
    case WmAnnounceReady:
        terminal->Record.Write(
            termsim::TReadyEvent{reinterpret_cast<std::uintptr_t>(window), GetCurrentProcessId()});
        return 0;
    case WM_PAINT:
        Paint(window, *terminal);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Run(HINSTANCE instance, const termsim::TOptions& options) {
    TTerminal terminal{termsim::MakePrompt(options), TRecordFile(options.RecordPath), TRecordFile(options.TimesPath),
                       {}};
    if (!terminal.Record.IsOpen()) {
        OutputDebugStringW(AsWide(u"termsim: cannot create the record " + options.RecordPath));
        return 3;
    }
    terminal.Record.Write(termsim::StateOf(terminal.Prompt));

    const std::u16string& className = options.WindowClass;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = AsWide(className);
    if (RegisterClassExW(&windowClass) == 0) {
        OutputDebugStringW(AsWide(u"termsim: cannot register the window class " + className));
        return 4;
    }
    HWND window =
        CreateWindowExW(0, AsWide(className), AsWide(options.Title), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 360, nullptr, nullptr, instance, &terminal);
    if (window == nullptr) {
        OutputDebugStringW(L"termsim: cannot create the window");
        return 5;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
    PostMessageW(window, WmAnnounceReady, 0, 0);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const termsim::TOptionsResult parsed = termsim::ParseOptions(CommandLineArguments());
    if (!parsed.Options) {
        OutputDebugStringW(AsWide(u"termsim: " + parsed.Error));
        return 2;
    }
    return Run(instance, *parsed.Options);
}
