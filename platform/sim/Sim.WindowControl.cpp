#include "platform/sim/Sim.WindowControl.h"

#include "base/Base.Text.h"

#include <sstream>

namespace platform::sim {

namespace {

// One recorded call: its name and its arguments, numbers in decimal unless given as Hex.
struct THex {
    std::uintmax_t Value;
};

void Put(std::ostringstream& line, const THex& hex) {
    line << "0x" << std::hex << hex.Value << std::dec;
}

template <typename T> void Put(std::ostringstream& line, const T& value) {
    line << value;
}

template <typename... TArgs> std::string Line(const char* name, const TArgs&... args) {
    std::ostringstream line;
    line << name;
    ((line << ' ', Put(line, args)), ...);
    return line.str();
}

} // namespace

TWindowHandle TSimWindowControl::AddWindow(std::u16string className, std::u16string title, TProcessId pid,
                                           TThreadId thread) {
    const TWindowHandle window = FDesktop.AddWindow(std::move(className), std::move(title), pid);
    TWindow& added = FWindows[window];
    added.Thread = thread;
    added.Placement.Length = WindowPlacementLength;
    added.Placement.ShowCmd = 1; // SW_SHOWNORMAL
    added.Placement.NormalPosition = {100, 100, 420, 300};
    return window;
}

void TSimWindowControl::SetWindowPlacement(TWindowHandle window, const TWindowPlacement& placement) {
    FWindows.at(window).Placement = placement;
}

void TSimWindowControl::FailPlacementRead(TWindowHandle window) {
    FWindows.at(window).PlacementReadFails = true;
}

void TSimWindowControl::QueueForegroundAnswers(std::initializer_list<bool> answers) {
    FForegroundAnswers.insert(FForegroundAnswers.end(), answers);
}

TWindowPlacement TSimWindowControl::Placement(TWindowHandle window) const {
    return FWindows.at(window).Placement;
}

TWindowHandle TSimWindowControl::FindTopLevelWindow(const std::u16string& className) const {
    Record(Line("FindWindow"));
    // Closed windows have lost their class on the desktop and are never found.
    for (const auto& [window, facts] : FWindows) {
        const std::u16string windowClass = FDesktop.ClassName(window);
        if (!windowClass.empty() && base::SameTextAscii(windowClass, className))
            return window;
    }
    return 0;
}

std::intptr_t TSimWindowControl::SendMessageAndWait(TWindowHandle window, std::uint32_t message,
                                                    std::uintptr_t wParam, std::intptr_t lParam) {
    Record(Line("SendMessage", THex{window}, THex{message}, wParam, lParam));
    return 0;
}

bool TSimWindowControl::GetPlacement(TWindowHandle window, TWindowPlacement& placement) const {
    Record(Line("GetWindowPlacement", THex{window}, "length=" + std::to_string(placement.Length)));
    const auto found = FWindows.find(window);
    // Windows refuses a record whose length field is not the record's size.
    if (found == FWindows.end() || found->second.PlacementReadFails ||
        placement.Length != WindowPlacementLength)
        return false;
    placement = found->second.Placement;
    return true;
}

bool TSimWindowControl::SetPlacement(TWindowHandle window, const TWindowPlacement& placement) {
    Record(Line("SetWindowPlacement", THex{window}, "showCmd=" + std::to_string(placement.ShowCmd)));
    const auto found = FWindows.find(window);
    if (found == FWindows.end() || placement.Length != WindowPlacementLength)
        return false;
    found->second.Placement = placement;
    return true;
}

TWindowHandle TSimWindowControl::ForegroundWindow() const {
    Record("GetForegroundWindow");
    return FDesktop.ForegroundWindow();
}

TThreadId TSimWindowControl::WindowThreadId(TWindowHandle window) const {
    Record(Line("GetWindowThreadProcessId", THex{window}));
    const auto found = FWindows.find(window);
    return found == FWindows.end() ? 0 : found->second.Thread;
}

bool TSimWindowControl::AttachThreadInput(TThreadId from, TThreadId to, bool attach) {
    Record(Line("AttachThreadInput", from, to, attach ? 1 : 0));
    return from != 0 && to != 0 && from != to;
}

bool TSimWindowControl::SetForegroundWindow(TWindowHandle window) {
    Record(Line("SetForegroundWindow", THex{window}));
    bool answer = true;
    if (!FForegroundAnswers.empty()) {
        answer = FForegroundAnswers.front();
        FForegroundAnswers.pop_front();
    }
    if (!FWindows.contains(window) || FDesktop.ClassName(window).empty())
        answer = false;
    if (answer)
        FDesktop.SetForeground(window);
    return answer;
}

} // namespace platform::sim
