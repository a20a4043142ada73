#include "tools/termsim/Termsim.Console.h"

#include "platform/win32/Win32.Text.h"

#include <vector>

namespace termsim {

namespace {

// The buffer's own colours: what a reader takes for plain cells, and whose swap would read as
// reverse video. No tone below has a background, so none can be mistaken for the caret.
constexpr WORD PlainAttribute = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;

} // namespace

WORD ConsoleAttribute(TTone Tone) {
    switch (Tone) {
    case TTone::Plain:
        return PlainAttribute;
    case TTone::Dim:
    case TTone::Rule:
        return FOREGROUND_INTENSITY;
    case TTone::Accent:
        return FOREGROUND_GREEN | FOREGROUND_BLUE | FOREGROUND_INTENSITY;
    case TTone::Bash:
        return FOREGROUND_RED | FOREGROUND_BLUE | FOREGROUND_INTENSITY;
    case TTone::Warning:
        return FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_INTENSITY;
    case TTone::Success:
        return FOREGROUND_GREEN | FOREGROUND_INTENSITY;
    case TTone::Claude:
        return FOREGROUND_RED | FOREGROUND_INTENSITY;
    }
    return PlainAttribute;
}

TConsoleMirror::~TConsoleMirror() {
    if (IsOpen()) {
        CloseHandle(FOutput);
        FreeConsole();
    }
}

bool TConsoleMirror::Open(HWND Owner, std::u16string& Why) {
    // A console inherited from whoever started termsim is not the one to draw into.
    FreeConsole();
    if (!AllocConsole()) {
        Why = u"AllocConsole failed: " + platform::win32::SystemErrorMessage(GetLastError());
        return false;
    }
    if (HWND console = GetConsoleWindow(); console != nullptr) {
        ShowWindow(console, SW_HIDE);
        SetWindowLongPtrW(console, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Owner));
    }
    FOutput = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    if (FOutput == INVALID_HANDLE_VALUE) {
        Why = u"CONOUT$ could not be opened: " + platform::win32::SystemErrorMessage(GetLastError());
        return false;
    }
    SetConsoleTextAttribute(FOutput, PlainAttribute);
    return true;
}

void TConsoleMirror::Resize(int Columns, int Rows) {
    if (Columns == FColumns && Rows == FRows) {
        return;
    }
    // Shrink the window first: a buffer cannot be smaller than the window showing it.
    SMALL_RECT tiny{0, 0, 0, 0};
    SetConsoleWindowInfo(FOutput, TRUE, &tiny);
    SetConsoleScreenBufferSize(FOutput, COORD{static_cast<SHORT>(Columns), static_cast<SHORT>(Rows)});
    SMALL_RECT whole{0, 0, static_cast<SHORT>(Columns - 1), static_cast<SHORT>(Rows - 1)};
    SetConsoleWindowInfo(FOutput, TRUE, &whole);
    FColumns = Columns;
    FRows = Rows;
}

void TConsoleMirror::Show(const TScreen& Screen) {
    if (!IsOpen() || Screen.Rows.empty()) {
        return;
    }
    const int columns = Screen.Columns;
    const int rows = static_cast<int>(Screen.Rows.size());
    Resize(columns, rows);
    std::vector<CHAR_INFO> cells(static_cast<std::size_t>(columns * rows));
    for (int r = 0; r < rows; ++r) {
        const TLine& line = Screen.Rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columns; ++c) {
            CHAR_INFO& cell = cells[static_cast<std::size_t>(r * columns + c)];
            const auto at = static_cast<std::size_t>(c);
            cell.Char.UnicodeChar = at < line.Text.size() ? static_cast<WCHAR>(line.Text[at]) : L' ';
            cell.Attributes = ConsoleAttribute(at < line.Tones.size() ? line.Tones[at] : TTone::Plain);
            if (Screen.Caret && Screen.Caret->Row == r && Screen.Caret->Column == c) {
                cell.Attributes = PlainAttribute | COMMON_LVB_REVERSE_VIDEO;
            }
        }
    }
    SMALL_RECT region{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
    WriteConsoleOutputW(FOutput, cells.data(), COORD{static_cast<SHORT>(columns), static_cast<SHORT>(rows)},
                        COORD{0, 0}, &region);
    if (Screen.Caret) {
        SetConsoleCursorPosition(FOutput,
                                 COORD{static_cast<SHORT>(Screen.Caret->Column), static_cast<SHORT>(Screen.Caret->Row)});
    }
    if (Screen.Title != FTitle) {
        SetConsoleTitleW(platform::win32::AsWide(Screen.Title));
        FTitle = Screen.Title;
    }
}

} // namespace termsim
