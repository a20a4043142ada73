#include "tools/termsim/Termsim.Window.h"

#include "platform/win32/Win32.Clock.h"
#include "platform/win32/Win32.Text.h"

#include <array>

namespace termsim {

// The virtual-key codes the portable decoder was given, checked against Windows' own.
static_assert(VkBack == VK_BACK && VkTab == VK_TAB && VkReturn == VK_RETURN && VkEscape == VK_ESCAPE);
static_assert(VkSpace == VK_SPACE && VkEnd == VK_END && VkHome == VK_HOME && VkLeft == VK_LEFT);
static_assert(VkUp == VK_UP && VkRight == VK_RIGHT && VkDown == VK_DOWN && VkDelete == VK_DELETE);
static_assert(VkPacket == VK_PACKET);

namespace {

using platform::win32::AsWide;

constexpr UINT WmAnnounceReady = WM_APP + 1;
constexpr UINT_PTR ClockTimer = 1;
// The model's time-outs are hundreds of milliseconds; the spinner turns every 200.
constexpr UINT ClockTickMs = 50;
constexpr int Margin = 4;

COLORREF ToneColour(TTone Tone) {
    switch (Tone) {
    case TTone::Plain:
        return RGB(0xE4, 0xE4, 0xE4);
    case TTone::Dim:
        return RGB(0x94, 0x94, 0x94);
    case TTone::Rule:
        return RGB(0x80, 0x80, 0x80);
    case TTone::Accent:
        return RGB(0xAF, 0xD7, 0xFF);
    case TTone::Bash:
        return RGB(0xFF, 0x87, 0xAF);
    case TTone::Warning:
        return RGB(0xFF, 0xD7, 0x00);
    case TTone::Success:
        return RGB(0x87, 0xD7, 0x87);
    case TTone::Claude:
        return RGB(0xD7, 0x87, 0x87);
    }
    return RGB(0xE4, 0xE4, 0xE4);
}

constexpr COLORREF Background = RGB(0x1C, 0x1C, 0x1C);

bool Down(int VirtualKey) {
    return GetKeyState(VirtualKey) < 0;
}

bool SameScreen(const TScreen& A, const TScreen& B) {
    if (A.Caret != B.Caret || A.Title != B.Title || A.Rows.size() != B.Rows.size()) {
        return false;
    }
    for (std::size_t i = 0; i < A.Rows.size(); ++i) {
        if (A.Rows[i].Text != B.Rows[i].Text || A.Rows[i].Tones != B.Rows[i].Tones) {
            return false;
        }
    }
    return true;
}

} // namespace

TTerminalWindow::TTerminalWindow(const TOptions& Options)
    : FOptions(Options), FModel(Options.Setup, 0), FRecord(Options.RecordPath), FTimes(Options.TimesPath),
      FStartMs(GetTickCount64()) {}

TTerminalWindow::~TTerminalWindow() {
    if (FFont != nullptr) {
        DeleteObject(FFont);
    }
    for (HFONT font : FFallbacks) {
        DeleteObject(font);
    }
}

std::uint64_t TTerminalWindow::NowMs() const {
    return GetTickCount64() - FStartMs;
}

namespace {

HFONT MonospaceFont(const wchar_t* Face) {
    return CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, Face);
}

bool HasGlyph(HDC Dc, HFONT Font, char16_t Unit) {
    HGDIOBJ old = SelectObject(Dc, Font);
    const wchar_t text[1] = {static_cast<wchar_t>(Unit)};
    WORD index = 0xFFFF;
    const bool found =
        GetGlyphIndicesW(Dc, text, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR && index != 0xFFFF;
    SelectObject(Dc, old);
    return found;
}

} // namespace

void TTerminalWindow::MeasureFont() {
    // Consolas on Windows; under wine the font mapper picks a fixed-pitch face for the name.
    FFont = MonospaceFont(L"Consolas");
    for (const wchar_t* face : {L"Cascadia Mono", L"Segoe UI Symbol", L"DejaVu Sans Mono", L"Noto Sans Mono",
                                L"DejaVu Sans", L"Noto Sans Symbols2"}) {
        if (HFONT font = MonospaceFont(face)) {
            FFallbacks.push_back(font);
        }
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont != nullptr ? FFont : GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) {
        FCellWidth = std::max<int>(1, metrics.tmAveCharWidth);
        FCellHeight = std::max<int>(1, metrics.tmHeight);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

HFONT TTerminalWindow::FontFor(HDC Dc, char16_t Unit) {
    if (Unit < 0x80 || FFont == nullptr) {
        return FFont;
    }
    if (const auto known = FGlyphFonts.find(Unit); known != FGlyphFonts.end()) {
        return known->second;
    }
    HFONT chosen = FFont;
    if (!HasGlyph(Dc, FFont, Unit)) {
        for (HFONT fallback : FFallbacks) {
            if (HasGlyph(Dc, fallback, Unit)) {
                chosen = fallback;
                break;
            }
        }
    }
    FGlyphFonts[Unit] = chosen;
    return chosen;
}

void TTerminalWindow::Keep(const std::vector<TRecordEvent>& Events) {
    for (const TRecordEvent& event : Events) {
        FRecord.Write(event);
    }
}

void TTerminalWindow::Press(const TKeyEvent& Key, long long ArrivedUs) {
    if (FTimes.IsOpen()) {
        FTimes.WriteLine(std::to_string(ArrivedUs) + " " + FormatRecordLine(Key));
    }
    Keep(FModel.Apply(Key, NowMs()));
    Refresh();
}

void TTerminalWindow::Refresh() {
    TScreen screen = FModel.Render(FOptions.Columns, FOptions.Rows);
    if (SameScreen(screen, FShown)) {
        return;
    }
    if (screen.Title != FShown.Title && FWindow != nullptr) {
        SetWindowTextW(FWindow, AsWide(screen.Title));
    }
    FConsole.Show(screen);
    FShown = std::move(screen);
    if (FWindow != nullptr) {
        InvalidateRect(FWindow, nullptr, FALSE);
    }
}

void TTerminalWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(FWindow, &paint);
    RECT area;
    GetClientRect(FWindow, &area);
    HBRUSH background = CreateSolidBrush(Background);
    FillRect(dc, &area, background);
    DeleteObject(background);
    HGDIOBJ old = SelectObject(dc, FFont != nullptr ? FFont : GetStockObject(ANSI_FIXED_FONT));
    SetBkMode(dc, OPAQUE);
    // Every unit in its own cell, so that glyphs from fallback fonts keep the grid.
    std::vector<INT> advances(static_cast<std::size_t>(FShown.Columns), FCellWidth);
    for (std::size_t r = 0; r < FShown.Rows.size(); ++r) {
        const TLine& line = FShown.Rows[r];
        const int y = Margin + static_cast<int>(r) * FCellHeight;
        std::size_t start = 0;
        while (start < line.Text.size()) {
            const bool caretRow = FShown.Caret && FShown.Caret->Row == static_cast<int>(r);
            const auto caretColumn = caretRow ? static_cast<std::size_t>(FShown.Caret->Column) : line.Text.size();
            // A run: one tone, one font, the caret's cell on its own.
            HFONT font = FontFor(dc, line.Text[start]);
            std::size_t end = start + 1;
            while (end < line.Text.size() && line.Tones[end] == line.Tones[start] && end != caretColumn &&
                   start != caretColumn && FontFor(dc, line.Text[end]) == font) {
                ++end;
            }
            const bool caret = start == caretColumn;
            const COLORREF ink = ToneColour(line.Tones[start]);
            SelectObject(dc, font != nullptr ? font : GetStockObject(ANSI_FIXED_FONT));
            SetTextColor(dc, caret ? Background : ink);
            SetBkColor(dc, caret ? ToneColour(TTone::Plain) : Background);
            ExtTextOutW(dc, Margin + static_cast<int>(start) * FCellWidth, y, ETO_OPAQUE, nullptr,
                        platform::win32::WideUnits(std::u16string_view(line.Text).substr(start, end - start)),
                        static_cast<UINT>(end - start), advances.data());
            start = end;
        }
    }
    SelectObject(dc, old);
    EndPaint(FWindow, &paint);
}

LRESULT CALLBACK TTerminalWindow::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(LParam);
        auto* self = static_cast<TTerminalWindow*>(create->lpCreateParams);
        self->FWindow = Window;
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TTerminalWindow*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(Window, Message, WParam, LParam);
    }
    return self->Handle(Message, WParam, LParam);
}

LRESULT TTerminalWindow::Handle(UINT Message, WPARAM WParam, LPARAM LParam) {
    // Taken first, before any work of this program, when the key is handed to the window.
    const long long arrived =
        Message == WM_KEYDOWN || Message == WM_CHAR ? platform::win32::QpcMicroseconds() : 0;
    switch (Message) {
    case WM_KEYDOWN: {
        const TModifiers modifiers{Down(VK_CONTROL), Down(VK_SHIFT), Down(VK_MENU)};
        if (const std::optional<TKeyEvent> key = FDecoder.KeyDown(static_cast<std::uint16_t>(WParam), modifiers)) {
            Press(*key, arrived);
            return 0;
        }
        break;
    }
    case WM_CHAR:
        if (const std::optional<TKeyEvent> key = FDecoder.Character(static_cast<char16_t>(WParam))) {
            Press(*key, arrived);
        }
        return 0;
    case WM_TIMER:
        if (WParam == ClockTimer) {
            Keep(FModel.Advance(NowMs()));
            Refresh();
            return 0;
        }
        break;
    case WmAnnounceReady:
        FRecord.Write(TReadyEvent{reinterpret_cast<std::uintptr_t>(FWindow), GetCurrentProcessId()});
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills every pixel
    case WM_DESTROY:
        KillTimer(FWindow, ClockTimer);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(FWindow, Message, WParam, LParam);
}

int TTerminalWindow::Run(HINSTANCE Instance) {
    if (!FRecord.IsOpen()) {
        OutputDebugStringW(AsWide(u"termsim: cannot create the record " + FOptions.RecordPath));
        return 3;
    }
    FRecord.Write(FModel.PromptState());
    MeasureFont();

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = Instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.lpszClassName = AsWide(FOptions.WindowClass);
    if (RegisterClassExW(&windowClass) == 0) {
        OutputDebugStringW(AsWide(u"termsim: cannot register the window class " + FOptions.WindowClass));
        return 4;
    }
    RECT frame{0, 0, 2 * Margin + FOptions.Columns * FCellWidth, 2 * Margin + FOptions.Rows * FCellHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExW(0, AsWide(FOptions.WindowClass), AsWide(FModel.Title()), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, Instance, this);
    if (window == nullptr) {
        OutputDebugStringW(L"termsim: cannot create the window");
        return 5;
    }
    if (FOptions.Console) {
        std::u16string why;
        if (!FConsole.Open(window, why)) {
            OutputDebugStringW(AsWide(u"termsim: no console: " + why));
            return 6;
        }
    }
    Refresh();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
    SetTimer(window, ClockTimer, ClockTickMs, nullptr);
    PostMessageW(window, WmAnnounceReady, 0, 0);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace termsim
