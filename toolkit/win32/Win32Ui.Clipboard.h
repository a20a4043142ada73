#pragma once
// The clipboard's Unicode text. Each call opens the clipboard once: a clipboard another window
// holds open raises EClipboardException at once, and the caller decides whether to try again.
#include "toolkit/win32/Win32Ui.Windows.h"

#include <optional>
#include <string>

namespace toolkit::win32 {

void WriteClipboardText(HWND Owner, const std::u16string& Text);
// Nothing when the clipboard holds no text.
std::optional<std::u16string> ReadClipboardText(HWND Owner);

} // namespace toolkit::win32
