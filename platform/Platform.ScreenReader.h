#pragma once
// What a terminal window shows: the visible rows of the console (or consoles, one per tab) behind
// it, as text. The burst reads them before every key that could submit text or answer a dialog.
#include "platform/Platform.Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A position on a screen: the row from the top of the visible rows and the UTF-16 unit within
// that row's text.
struct TScreenCell {
    std::int32_t Row = 0;
    std::int32_t Column = 0;

    friend bool operator==(const TScreenCell&, const TScreenCell&) = default;
};

// The visible rows of one console, trailing blanks removed. A text interface draws its own
// cursor as a cell in reverse video, so the first such cell is handed along.
struct TConsoleScreen {
    std::u16string Title; // the console's own title: a tab's title in a tabbed terminal
    std::vector<std::u16string> Rows;
    std::optional<TScreenCell> Highlight;

    friend bool operator==(const TConsoleScreen&, const TConsoleScreen&) = default;
};

enum class TScreenReadStatus : std::uint8_t {
    Read,       // Screens holds every console the window shows, at least one
    Unreadable, // the window is no console and hosts none that could be reached; Reason says why
};

struct TScreenRead {
    TScreenReadStatus Status = TScreenReadStatus::Unreadable;
    std::vector<TConsoleScreen> Screens;
    std::u16string Reason;
};

class IScreenReader {
public:
    virtual ~IScreenReader() = default;
    // Reads the window's consoles now. Never leaves the program attached to any of them.
    [[nodiscard]] virtual TScreenRead ReadScreen(TWindowHandle Window) = 0;
};

} // namespace platform
