#include "bench/win32/Bench.LogBox.Win32.h"

#include "tests/app/win32/Tarvin.Process.h"

namespace tarvin::bench {

TLogBox::TLogBox() : FBox(tarvin::test::TTarvin::LogBox()) {}

long long TLogBox::Length() const {
    DWORD_PTR length = 0;
    if (FBox == nullptr || !SendMessageTimeoutW(FBox, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return -1;
    }
    return static_cast<long long>(length);
}

std::vector<std::wstring> TLogBox::Messages() const {
    return FBox == nullptr ? std::vector<std::wstring>{}
                           : tarvin::test::LogMessages(tarvin::test::WindowText(FBox));
}

const std::vector<std::wstring>& TLogBox::Poll(bool& Changed, unsigned RefetchMs) {
    const long long length = Length();
    const unsigned long long now = GetTickCount64();
    // Once the box is full, a line in and a line out may leave the length as it was.
    Changed = length != FLength || now - FFetchedAtMs >= RefetchMs;
    if (Changed) {
        FLength = length;
        FFetchedAtMs = now;
        FMessages = Messages();
    }
    return FMessages;
}

long long FindMessage(const std::vector<std::wstring>& Messages, std::size_t From, const std::wstring& Start) {
    for (std::size_t i = From; i < Messages.size(); ++i) {
        if (Messages[i].starts_with(Start)) {
            return static_cast<long long>(i);
        }
    }
    return -1;
}

} // namespace tarvin::bench
