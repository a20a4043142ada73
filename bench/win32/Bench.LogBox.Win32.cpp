#include "bench/win32/Bench.LogBox.Win32.h"

#include "tests/app/win32/Tarvin.Process.h"

#include <algorithm>

namespace tarvin::bench {

TLogBox::TLogBox() : FBox(tarvin::test::TTarvin::LogBox()) {}

long long TLogBox::Length() const {
    DWORD_PTR length = 0;
    if (FBox == nullptr || !SendMessageTimeoutW(FBox, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return -1;
    }
    return static_cast<long long>(length);
}

std::wstring TLogBox::Text() const {
    // Lines may come in between asking for the length and for the text; a buffer with room to
    // spare, asked again when it came back full, never cuts the newest line short.
    for (std::size_t spare = 16384; FBox != nullptr && spare <= (1u << 22); spare *= 4) {
        const long long length = Length();
        if (length < 0) {
            break;
        }
        std::wstring text(static_cast<std::size_t>(length) + spare, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(FBox, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, 5000, &copied)) {
            break;
        }
        if (copied + 1 < text.size()) {
            text.resize(copied);
            return text;
        }
    }
    return {};
}

std::vector<std::wstring> TLogBox::Messages() const {
    return tarvin::test::LogMessages(Text());
}

namespace {

// The lines of a log box text as they stand, time stamps included.
std::vector<std::wstring> RawLines(const std::wstring& Text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < Text.size()) {
        std::size_t end = Text.find(L"\r\n", start);
        end = end == std::wstring::npos ? Text.size() : end;
        if (end > start) {
            lines.push_back(Text.substr(start, end - start));
        }
        start = end + 2;
    }
    return lines;
}

constexpr std::size_t TailLines = 8;

} // namespace

std::vector<std::wstring> TLogBox::NewMessages(unsigned RefetchMs) {
    const long long length = Length();
    const unsigned long long now = GetTickCount64();
    // Once the box is full, a line in and a line out may leave the length as it was.
    if (FMarked && length == FLength && now - FFetchedAtMs < RefetchMs) {
        return {};
    }
    FLength = length;
    FFetchedAtMs = now;
    const std::vector<std::wstring> raw = RawLines(Text());
    std::size_t from = raw.size();
    if (FMarked) {
        // The newest place where the old tail stands whole; none: everything there is new.
        from = 0;
        for (std::size_t end = raw.size(); end >= FTail.size() && !FTail.empty(); --end) {
            if (std::equal(FTail.begin(), FTail.end(), raw.begin() + static_cast<std::ptrdiff_t>(end - FTail.size()))) {
                from = end;
                break;
            }
        }
    }
    FMarked = true;
    FTail.assign(raw.end() - static_cast<std::ptrdiff_t>(std::min(TailLines, raw.size())), raw.end());
    std::wstring added;
    for (std::size_t i = from; i < raw.size(); ++i) {
        added += raw[i] + L"\r\n";
    }
    return tarvin::test::LogMessages(added);
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
