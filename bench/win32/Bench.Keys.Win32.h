#pragma once
// Keys typed as a keyboard types them, into the window in front: a new one-line draft in place of
// the one in a terminal's prompt, as a user writes the next draft between two presses.
#include <windows.h>

#include <string_view>
#include <vector>

namespace tarvin::bench {

inline INPUT KeyInput(WORD VirtualKey, WORD Scan, DWORD Flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VirtualKey;
    input.ki.wScan = Scan;
    input.ki.dwFlags = Flags;
    return input;
}

// End and Ctrl+U empty a one-line prompt; Text is typed; Left keys put the caret at Caret.
inline bool ReplaceOneLineDraft(std::wstring_view Text, std::size_t Caret) {
    std::vector<INPUT> keys = {KeyInput(VK_END, 0, KEYEVENTF_EXTENDEDKEY),
                               KeyInput(VK_END, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP),
                               KeyInput(VK_CONTROL, 0, 0), KeyInput('U', 0, 0), KeyInput('U', 0, KEYEVENTF_KEYUP),
                               KeyInput(VK_CONTROL, 0, KEYEVENTF_KEYUP)};
    for (wchar_t unit : Text) {
        keys.push_back(KeyInput(0, unit, KEYEVENTF_UNICODE));
        keys.push_back(KeyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    for (std::size_t i = Caret; i < Text.size(); ++i) {
        keys.push_back(KeyInput(VK_LEFT, 0, KEYEVENTF_EXTENDEDKEY));
        keys.push_back(KeyInput(VK_LEFT, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP));
    }
    return SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

} // namespace tarvin::bench
