#pragma once
// Tarvin's log box read from outside, as the end-to-end tests read it (WM_GETTEXT), cheaply enough
// to be asked often: its length first, the whole text only when that changed or a while passed.
// The box keeps Tarvin's newest 1,000 lines, so a line is found by what it says, never by its
// index.
#include <windows.h>

#include <string>
#include <vector>

namespace tarvin::bench {

class TLogBox {
public:
    // The log box of the running Tarvin; Found() is false when there is none.
    TLogBox();
    bool Found() const { return FBox != nullptr; }

    // The length of the box's text; -1 when the box did not answer.
    long long Length() const;
    // The box's whole text; empty when the box did not answer.
    std::wstring Text() const;
    // The box's messages, time stamps cut off, oldest first.
    std::vector<std::wstring> Messages() const;
    // The messages added since the last call, found after the newest lines the last call saw
    // (time stamps included, so that a repeated message is not taken for an old one). The text is
    // fetched only when its length moved or RefetchMs passed; the first call only marks the place.
    std::vector<std::wstring> NewMessages(unsigned RefetchMs = 200);

private:
    HWND FBox = nullptr;
    long long FLength = -2;
    unsigned long long FFetchedAtMs = 0;
    bool FMarked = false;
    std::vector<std::wstring> FTail; // the newest lines of the last fetch, with their time stamps
};

// The first message among Messages from index From on that starts with Start; -1 when none does.
long long FindMessage(const std::vector<std::wstring>& Messages, std::size_t From, const std::wstring& Start);

// Tarvin's line about a hotkey Windows refused it: this process's probe held the chord at the
// moment Tarvin registered it.
inline const std::wstring RefusedHotkeyStart = L"Windows refused the hotkey ";

} // namespace tarvin::bench
