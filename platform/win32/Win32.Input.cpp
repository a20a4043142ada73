#include "platform/win32/Win32.Input.h"

#include <windows.h>

#include <limits>
#include <vector>

namespace platform::win32 {

namespace {

// The values the OS-free headers copied from the Windows headers; a wrong one fails the build.
static_assert(InputKeyboard == INPUT_KEYBOARD);
static_assert(KeyEventExtendedKey == KEYEVENTF_EXTENDEDKEY);
static_assert(KeyEventKeyUp == KEYEVENTF_KEYUP);
static_assert(KeyEventUnicode == KEYEVENTF_UNICODE);
static_assert(VkBack == VK_BACK);
static_assert(VkReturn == VK_RETURN);
static_assert(VkShift == VK_SHIFT);
static_assert(VkControl == VK_CONTROL);
static_assert(VkMenu == VK_MENU);
static_assert(VkRight == VK_RIGHT);
static_assert(VkLShift == VK_LSHIFT);
static_assert(VkRShift == VK_RSHIFT);
static_assert(VkLControl == VK_LCONTROL);
static_assert(VkRControl == VK_RCONTROL);
static_assert(VkLMenu == VK_LMENU);
static_assert(VkRMenu == VK_RMENU);

INPUT ToInput(const TKeyInput& Record) {
    INPUT input{};
    // Always the keyboard variant: the union is only filled as one.
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = Record.wVk;
    input.ki.wScan = Record.wScan;
    input.ki.dwFlags = Record.dwFlags;
    input.ki.time = Record.time;
    input.ki.dwExtraInfo = Record.dwExtraInfo;
    return input;
}

} // namespace

TSendInputAnswer TWin32Input::SendInputBatch(std::span<const TKeyInput> Records) {
    if (Records.empty())
        return {};
    if (Records.size() > std::numeric_limits<UINT>::max())
        return {0, ERROR_INVALID_PARAMETER};

    std::vector<INPUT> inputs;
    inputs.reserve(Records.size());
    for (const TKeyInput& record : Records)
        inputs.push_back(ToInput(record));

    SetLastError(0);
    const UINT inserted = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    const DWORD lastError = GetLastError();
    return {inserted, lastError};
}

std::uint16_t TWin32Input::AsyncKeyState(std::uint16_t VirtualKey) const {
    return static_cast<std::uint16_t>(GetAsyncKeyState(VirtualKey));
}

} // namespace platform::win32
