#include "platform/sim/Sim.WindowControl.h"

#include "base/Base.Text.h"

#include <sstream>

namespace platform::sim {

namespace {

// One recorded call: its name and its arguments, numbers in decimal unless given as Hex.
struct THex {
    std::uintmax_t Value;
};

void Put(std::ostringstream& Line, const THex& Hex) {
    Line << "0x" << std::hex << Hex.Value << std::dec;
}

template <typename T> void Put(std::ostringstream& Line, const T& Value) {
    Line << Value;
}

template <typename... TArgs> std::string Line(const char* Name, const TArgs&... Args) {
    std::ostringstream line;
    line << Name;
    ((line << ' ', Put(line, Args)), ...);
    return line.str();
}

} // namespace

TWindowHandle TSimWindowControl::AddWindow(std::u16string ClassName, std::u16string Title, TProcessId Pid,
                                           TThreadId Thread) {
    const TWindowHandle window = FDesktop.AddWindow(std::move(ClassName), std::move(Title), Pid);
    TWindow& added = FWindows[window];
    added.Thread = Thread;
    added.Placement.Length = WindowPlacementLength;
    added.Placement.ShowCmd = 1; // SW_SHOWNORMAL
    added.Placement.NormalPosition = {100, 100, 420, 300};
    return window;
}

void TSimWindowControl::SetWindowPlacement(TWindowHandle Window, const TWindowPlacement& Placement) {
    FWindows.at(Window).Placement = Placement;
}

void TSimWindowControl::FailPlacementRead(TWindowHandle Window) {
    FWindows.at(Window).PlacementReadFails = true;
}

void TSimWindowControl::QueueForegroundAnswers(std::initializer_list<bool> Answers) {
    FForegroundAnswers.insert(FForegroundAnswers.end(), Answers);
}

TWindowPlacement TSimWindowControl::Placement(TWindowHandle Window) const {
    return FWindows.at(Window).Placement;
}

TWindowHandle TSimWindowControl::FindTopLevelWindow(const std::u16string& ClassName) const {
    Record(Line("FindWindow"));
    // Closed windows have lost their class on the desktop and are never found.
    for (const auto& [window, facts] : FWindows) {
        const std::u16string windowClass = FDesktop.ClassName(window);
        if (!windowClass.empty() && base::SameTextAscii(windowClass, ClassName))
            return window;
    }
    return 0;
}

std::intptr_t TSimWindowControl::SendMessageAndWait(TWindowHandle Window, std::uint32_t Message,
                                                    std::uintptr_t WParam, std::intptr_t LParam) {
    Record(Line("SendMessage", THex{Window}, THex{Message}, WParam, LParam));
    return 0;
}

bool TSimWindowControl::GetPlacement(TWindowHandle Window, TWindowPlacement& Placement) const {
    Record(Line("GetWindowPlacement", THex{Window}, "length=" + std::to_string(Placement.Length)));
    const auto found = FWindows.find(Window);
    // Windows refuses a record whose length field is not the record's size.
    if (found == FWindows.end() || found->second.PlacementReadFails ||
        Placement.Length != WindowPlacementLength)
        return false;
    Placement = found->second.Placement;
    return true;
}

bool TSimWindowControl::SetPlacement(TWindowHandle Window, const TWindowPlacement& Placement) {
    Record(Line("SetWindowPlacement", THex{Window}, "showCmd=" + std::to_string(Placement.ShowCmd)));
    const auto found = FWindows.find(Window);
    if (found == FWindows.end() || Placement.Length != WindowPlacementLength)
        return false;
    found->second.Placement = Placement;
    return true;
}

TWindowHandle TSimWindowControl::ForegroundWindow() const {
    Record("GetForegroundWindow");
    return FDesktop.ForegroundWindow();
}

TThreadId TSimWindowControl::WindowThreadId(TWindowHandle Window) const {
    Record(Line("GetWindowThreadProcessId", THex{Window}));
    const auto found = FWindows.find(Window);
    return found == FWindows.end() ? 0 : found->second.Thread;
}

bool TSimWindowControl::AttachThreadInput(TThreadId From, TThreadId To, bool Attach) {
    Record(Line("AttachThreadInput", From, To, Attach ? 1 : 0));
    return From != 0 && To != 0 && From != To;
}

bool TSimWindowControl::SetForegroundWindow(TWindowHandle Window) {
    Record(Line("SetForegroundWindow", THex{Window}));
    bool answer = true;
    if (!FForegroundAnswers.empty()) {
        answer = FForegroundAnswers.front();
        FForegroundAnswers.pop_front();
    }
    if (!FWindows.contains(Window) || FDesktop.ClassName(Window).empty())
        answer = false;
    if (answer)
        FDesktop.SetForeground(Window);
    return answer;
}

} // namespace platform::sim
