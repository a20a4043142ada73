#pragma once
// Plain values of the UI toolkit: geometry, colours, enumerations and window messages.
// No windows.h: message and command numbers are spelled out, under names that cannot collide with
// its macros.
#include <cstdint>
#include <functional>

namespace toolkit {

class TComponent;

// The one step of every property setter: stores Value in Field and answers whether it was
// different, so that the setter reports a change only when there is one.
template <class T> [[nodiscard]] bool UpdateField(T& Field, const T& Value) {
    if (Field == Value) {
        return false;
    }
    Field = Value;
    return true;
}

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Left/Top inclusive, Right/Bottom exclusive, as Windows counts.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TPoint P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect RectOf(int Left, int Top, int Width, int Height) {
    return TRect{Left, Top, Left + Width, Top + Height};
}

// 0x00BBGGRR for plain colours; the top byte 0xFF marks a system colour (its index in the low byte).
using TColor = std::int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
inline constexpr TColor clWindow = clSystemColor | 5;     // COLOR_WINDOW
inline constexpr TColor clWindowText = clSystemColor | 8; // COLOR_WINDOWTEXT
inline constexpr TColor clBtnFace = clSystemColor | 15;   // COLOR_BTNFACE
inline constexpr TColor clBtnText = clSystemColor | 18;   // COLOR_BTNTEXT
inline constexpr TColor clHighlight = clSystemColor | 13; // COLOR_HIGHLIGHT
inline constexpr TColor clHighlightText = clSystemColor | 14; // COLOR_HIGHLIGHTTEXT
inline constexpr TColor clHotLight = clSystemColor | 26;  // COLOR_HOTLIGHT
inline constexpr TColor clInfoBk = clSystemColor | 24;    // COLOR_INFOBK

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Edges whose distance to the parent's matching edge a control keeps when the parent is resized.
enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;

struct TMargins {
    int Left = 3;
    int Top = 3;
    int Right = 3;
    int Bottom = 3;
    friend bool operator==(const TMargins&, const TMargins&) = default;
};

enum class TWindowState : std::uint8_t { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

enum class TFormBorderStyle : std::uint8_t {
    bsNone = 0,
    bsSingle = 1,
    bsSizeable = 2,
    bsDialog = 3,
    bsToolWindow = 4,
    bsSizeToolWin = 5
};

enum TBorderIcon : std::uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = std::uint8_t;

enum class TPosition : std::uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};

enum class TFormStyle : std::uint8_t { fsNormal, fsStayOnTop };

enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

enum class TCheckBoxState : std::uint8_t { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };
enum class TCursor : std::uint8_t { crDefault, crHandPoint, crHourGlass };

// Modal results and message-box answers (IDOK ...).
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// Message-box flags (MB_*).
inline constexpr std::uint32_t mbOk = 0x0000;
inline constexpr std::uint32_t mbIconError = 0x0010;
inline constexpr std::uint32_t mbIconWarning = 0x0030;
inline constexpr std::uint32_t mbIconInformation = 0x0040;

// Window-message numbers the toolkit and the framework dispatch on.
inline constexpr std::uint32_t msgEndSession = 0x0016; // WM_ENDSESSION
inline constexpr std::uint32_t msgSysCommand = 0x0112; // WM_SYSCOMMAND
inline constexpr std::uint32_t msgHotKey = 0x0312;     // WM_HOTKEY
inline constexpr std::uint32_t msgUser = 0x0400;       // WM_USER
inline constexpr std::uint32_t msgApp = 0x8000;        // WM_APP
inline constexpr std::uintptr_t scMinimize = 0xF020;   // SC_MINIMIZE
inline constexpr std::uintptr_t scMaximize = 0xF030;   // SC_MAXIMIZE
inline constexpr std::uintptr_t scClose = 0xF060;      // SC_CLOSE
inline constexpr std::uintptr_t scRestore = 0xF120;    // SC_RESTORE

// One window message as a form's handlers see it; a handler sets Result.
struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

using TNotifyEvent = std::function<void(TComponent* Sender)>;
using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;
using TKeyPressEvent = std::function<void(TComponent* Sender, char16_t& Key)>;

} // namespace toolkit
