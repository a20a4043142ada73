#include "framework/ui/OrvelVcl.Common.Window.h"

#include "framework/core/OrvelCore.Exceptions.h"

namespace orvel {

bool RestoreWindowByName(platform::IWindowControl& Windows, const std::u16string& ClassName) {
    if (ClassName.empty())
        throw EOrvelException(u"RestoreWindowByName: ClassName parameter cannot be empty");
    const platform::TWindowHandle window = Windows.FindTopLevelWindow(ClassName);
    if (window == 0)
        return false;
    RestoreWindow(Windows, window);
    return true;
}

bool RestoreWindow(platform::IWindowControl& Windows, platform::TWindowHandle Wnd) {
    if (Wnd == 0)
        throw EOrvelException(u"RestoreWindow: WndHandle parameter cannot be 0");
    Windows.SendMessageAndWait(Wnd, BringForwardMessage, 0, 0);

    platform::TWindowPlacement placement;
    placement.Length = platform::WindowPlacementLength;
    if (Windows.GetPlacement(Wnd, placement)) {
        placement.ShowCmd = (placement.Flags & platform::PlacementRestoreToMaximized) != 0
                                ? platform::ShowMaximized
                                : platform::ShowRestore;
        Windows.SetPlacement(Wnd, placement);
    }
    return ForceForegroundWindow(Windows, Wnd);
}

bool ForceForegroundWindow(platform::IWindowControl& Windows, platform::TWindowHandle Wnd) {
    if (Wnd == 0)
        return false;
    const platform::TWindowHandle foreground = Windows.ForegroundWindow();
    if (foreground == Wnd)
        return true;
    const platform::TThreadId target = Windows.WindowThreadId(Wnd);
    const platform::TThreadId front = Windows.WindowThreadId(foreground);
    if (target == front)
        return Windows.SetForegroundWindow(Wnd);

    // The system lets a thread take the foreground from the thread whose input it shares.
    Windows.AttachThreadInput(front, target, true);
    const bool attachedSet = Windows.SetForegroundWindow(Wnd);
    Windows.AttachThreadInput(front, target, false);
    if (!attachedSet)
        return false;
    return Windows.SetForegroundWindow(Wnd);
}

} // namespace orvel
