#include "tools/termsim/Termsim.Console.h"

#include "platform/win32/Win32.Text.h"

#include <vector>

namespace termsim {

namespace {

// The buffer's own colours: what a reader takes for plain cells, and whose swap would read as
// reverse video. No tone below has a background, so none can be mistaken for the caret.
constexpr WORD PlainAttribute = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;

} // namespace

WORD ConsoleAttribute(TTone tone) {
    switch (tone) {
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

bool TConsoleMirror::Open(HWND owner, std::u16string& why) {
    // A console inherited from whoever started termsim is not the one to draw into.
    FreeConsole();
    if (!AllocConsole()) {
        why = u"AllocConsole failed: " + platform::win32::SystemErrorMessage(GetLastError());
        return false;
    }
    if (HWND console = GetConsoleWindow(); console != nullptr) {
        ShowWindow(console, SW_HIDE);
        SetWindowLongPtrW(console, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
    FOutput = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    if (FOutput == INVALID_HANDLE_VALUE) {
        why = u"CONOUT$ could not be opened: " + platform::win32::SystemErrorMessage(GetLastError());
        return false;
    }
    SetConsoleTextAttribute(FOutput, PlainAttribute);
    return true;
}

void TConsoleMirror::Resize(int columns, int rows) {
    if (columns == FColumns && rows == FRows) {
        return;
    }
    // Shrink the window first: a buffer cannot be smaller than the window showing it.
    SMALL_RECT tiny{0, 0, 0, 0};
    SetConsoleWindowInfo(FOutput, TRUE, &tiny);
    SetConsoleScreenBufferSize(FOutput, COORD{static_cast<SHORT>(columns), static_cast<SHORT>(rows)});
    SMALL_RECT whole{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
    SetConsoleWindowInfo(FOutput, TRUE, &whole);
    FColumns = columns;
    FRows = rows;
}

void TConsoleMirror::Show(const TScreen& screen) {
    if (!IsOpen() || screen.Rows.empty()) {
        return;
    }
    const int columns = screen.Columns;
    const int rows = static_cast<int>(screen.Rows.size());
    Resize(columns, rows);
    std::vector<CHAR_INFO> cells(static_cast<std::size_t>(columns * rows));
    for (int r = 0; r < rows; ++r) {
        const TLine& line = screen.Rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columns; ++c) {
            CHAR_INFO& cell = cells[static_cast<std::size_t>(r * columns + c)];
            const auto at = static_cast<std::size_t>(c);
            cell.Char.UnicodeChar = at < line.Text.size() ? static_cast<WCHAR>(line.Text[at]) : L' ';
            cell.Attributes = ConsoleAttribute(at < line.Tones.size() ? line.Tones[at] : TTone::Plain);
            if (screen.Caret && screen.Caret->Row == r && screen.Caret->Column == c) {
                cell.Attributes = PlainAttribute | COMMON_LVB_REVERSE_VIDEO;
            }
        }
    }
    SMALL_RECT region{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
    WriteConsoleOutputW(FOutput, cells.data(), COORD{static_cast<SHORT>(columns), static_cast<SHORT>(rows)},
                        COORD{0, 0}, &region);
    if (screen.Caret) {
        SetConsoleCursorPosition(FOutput,
                                 COORD{static_cast<SHORT>(screen.Caret->Column), static_cast<SHORT>(screen.Caret->Row)});
    }
    if (screen.Title != FTitle) {
        SetConsoleTitleW(platform::win32::AsWide(screen.Title));
        FTitle = screen.Title;
    }
}

} // namespace termsim
