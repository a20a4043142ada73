#pragma once
// Plain values that cross the line between the logic and the operating-system backends.
#include <cstdint>
#include <string>

namespace platform {

// A top-level window as the OS names it; 0 means "no window".
using TWindowHandle = std::uintptr_t;
using TProcessId = std::uint32_t;

// Days since 30 December 1899, the fraction being the time of day, in local time.
using TDateTime = double;

// Mandatory-label RID of a process token; this value means "could not be read".
inline constexpr std::uint32_t UnknownIntegrityLevel = 0xFFFFFFFFu;

inline constexpr std::uint32_t InputKeyboard = 1; // INPUT_KEYBOARD
inline constexpr std::uint32_t KeyEventExtendedKey = 0x0001; // KEYEVENTF_EXTENDEDKEY
inline constexpr std::uint32_t KeyEventKeyUp = 0x0002; // KEYEVENTF_KEYUP
inline constexpr std::uint32_t KeyEventUnicode = 0x0004; // KEYEVENTF_UNICODE

// The keyboard variant of the Windows INPUT record, field for field.
struct TKeyInput {
    std::uint32_t type = InputKeyboard;
    std::uint16_t wVk = 0;
    std::uint16_t wScan = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t time = 0;
    std::uintptr_t dwExtraInfo = 0;

    friend bool operator==(const TKeyInput&, const TKeyInput&) = default;
};

// What one SendInput call answered: records inserted, and the thread's last-error code read
// right after the call (the caller decides whether it means anything).
struct TSendInputAnswer {
    std::uint32_t Inserted = 0;
    std::uint32_t LastError = 0;
};

// Outcome of a file-system action that may be refused; Message is the system's own text.
struct TFsResult {
    bool Ok = true;
    std::uint32_t Code = 0;
    std::u16string Message;

    static TFsResult Success() { return {}; }
    static TFsResult Failure(std::uint32_t Code, std::u16string Message) {
        return {false, Code, std::move(Message)};
    }
};

} // namespace platform
