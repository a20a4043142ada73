#pragma once
// What a log line is: its severity levels and the line record itself.
#include "platform/Platform.Types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvel {

// Ordered severities. A filter level lets through that level and every level above it.
enum TLogVerbLvl : std::uint8_t { lvDebug, lvVerbose, lvHints, lvInfos, lvImportant, lvWarnings, lvErrors };

inline constexpr int LogVerbLvlFirst = lvDebug;
inline constexpr int LogVerbLvlLast = lvErrors;
inline constexpr int LogVerbLvlCount = LogVerbLvlLast + 1;

// True when `Ordinal` names one of the levels above (streams store the ordinal as an integer).
constexpr bool IsLogVerbLvl(std::int64_t Ordinal) {
    return Ordinal >= LogVerbLvlFirst && Ordinal <= LogVerbLvlLast;
}

// True when a line of `Level` passes the filter `Filter`.
constexpr bool PassesFilter(TLogVerbLvl Level, TLogVerbLvl Filter) {
    return Level >= Filter;
}

// "Debug", "Verbose", "Hints", "Info", "Important", "Warnings", "Errors". A value outside the
// enumeration is a programming error and fails an assertion.
std::u16string VerbosityName(TLogVerbLvl Level);

class TLogLineArena;

// The text of a log line, read like a string view. A line made by a container keeps its characters
// right behind the record, in the same block (TLogLineArena), so a line costs no second allocation;
// a line made on its own holds a heap copy. The text is fixed when the line is made: there is no
// assignment, so a line in a container never comes to own memory its container does not know of.
class TLogText {
public:
    TLogText() = default;
    // A heap copy of Text.
    TLogText(std::u16string_view Text);
    TLogText(const std::u16string& Text) : TLogText(std::u16string_view(Text)) {}
    TLogText(const char16_t* Text) : TLogText(std::u16string_view(Text)) {}
    TLogText(const TLogText& Other) : TLogText(Other.View()) {}
    TLogText(TLogText&& Other);
    TLogText& operator=(const TLogText&) = delete;
    TLogText& operator=(TLogText&&) = delete;
    ~TLogText();

    std::u16string_view View() const { return {FData, FLength}; }
    operator std::u16string_view() const { return View(); }
    operator std::u16string() const { return std::u16string(View()); }
    std::u16string Str() const { return std::u16string(View()); }

    const char16_t* data() const { return FData; }
    std::size_t size() const { return FLength; }
    std::size_t length() const { return FLength; }
    bool empty() const { return FLength == 0; }
    const char16_t* begin() const { return FData; }
    const char16_t* end() const { return FData + FLength; }
    char16_t operator[](std::size_t Index) const { return FData[Index]; }

    // One overload per kind of text, so that no comparison needs a conversion to choose.
    friend bool operator==(const TLogText& A, const TLogText& B) { return A.View() == B.View(); }
    friend bool operator==(const TLogText& A, std::u16string_view B) { return A.View() == B; }
    friend bool operator==(const TLogText& A, const std::u16string& B) { return A.View() == B; }
    friend bool operator==(const TLogText& A, const char16_t* B) { return A.View() == B; }

private:
    friend class TLogLineArena;
    // Characters stored by the arena right behind the line; owned by the arena's block.
    struct TInline {};
    TLogText(TInline, const char16_t* Data, std::size_t Length)
        : FData(Data), FLength(static_cast<std::uint32_t>(Length)) {}

    const char16_t* FData = u"";
    std::uint32_t FLength = 0;
    bool FOwned = false; // FData is a heap copy this text frees
};

// One log line. A line is owned by exactly one container; the pointers handed out stay valid until
// that container is cleared, destroyed or emptied by a snapshot.
struct RLogLine {
    TLogText Msg;
    TLogVerbLvl Level = lvDebug;
    bool Bold = false;
    std::int32_t Indent = 0;
    platform::TDateTime Time = 0.0; // local time, days since 1899-12-30
};

using PLogLine = RLogLine*;

} // namespace orvel
