#include "platform/sim/Sim.Desktop.h"

#include "platform/Platform.KeyCodes.h"

#include <algorithm>

namespace platform::sim {
namespace {

constexpr double MsPerDay = 86'400'000.0;

// Windows files a generic modifier (VK_CONTROL) under its left-hand key.
std::uint16_t SidedKey(std::uint16_t Vk) {
    switch (Vk) {
    case VkShift:
        return VkLShift;
    case VkControl:
        return VkLControl;
    case VkMenu:
        return VkLMenu;
    default:
        return Vk;
    }
}

} // namespace

TSimDesktop::TSimDesktop() = default;

TWindowHandle TSimDesktop::AddWindow(std::u16string ClassName, std::u16string Title, TProcessId Pid) {
    const TWindowHandle handle = FNextHandle;
    FNextHandle += 0x10;
    FWindows[handle] = TWindow{std::move(ClassName), std::move(Title), Pid};
    return handle;
}

void TSimDesktop::SetTitle(TWindowHandle Window, std::u16string Title) {
    if (auto it = FWindows.find(Window); it != FWindows.end()) {
        it->second.Title = std::move(Title);
    }
}

void TSimDesktop::CloseWindow(TWindowHandle Window) {
    FWindows.erase(Window);
    if (FForeground == Window) {
        SetForeground(0);
    }
}

void TSimDesktop::SetForeground(TWindowHandle Window) {
    const TWindowHandle before = FForeground;
    FForeground = (Window == 0 || FWindows.contains(Window)) ? Window : 0;
    if (FForeground != before && FOnForeground) {
        FOnForeground();
    }
}

bool TSimDesktop::Start(std::function<void()> OnChange) {
    FOnForeground = std::move(OnChange);
    return true;
}

void TSimDesktop::AddProcess(TProcessId Pid, std::uint32_t IntegrityLevel) { FProcesses[Pid] = IntegrityLevel; }

void TSimDesktop::AddUnreachableProcess(TProcessId Pid) { FProcesses[Pid] = std::nullopt; }

void TSimDesktop::SetOwnIntegrityLevel(std::uint32_t Level) { FOwnLevel = Level; }

void TSimDesktop::SetKeyDown(std::uint16_t VirtualKey, bool Down) { FKeyDown[SidedKey(VirtualKey) & 0xFF] = Down; }

bool TSimDesktop::IsKeyDown(std::uint16_t VirtualKey) const {
    switch (VirtualKey) {
    case VkShift:
        return FKeyDown[VkLShift] || FKeyDown[VkRShift];
    case VkControl:
        return FKeyDown[VkLControl] || FKeyDown[VkRControl];
    case VkMenu:
        return FKeyDown[VkLMenu] || FKeyDown[VkRMenu];
    default:
        return FKeyDown[VirtualKey & 0xFF];
    }
}

void TSimDesktop::LimitInput(std::uint32_t Records, std::uint32_t ErrorCode) {
    FInputLimit = Records;
    FInputError = ErrorCode;
}

void TSimDesktop::AcceptAllInput() {
    FInputLimit.reset();
    FInputError = 0;
}

void TSimDesktop::AdvanceMs(std::uint64_t Ms) {
    FMonotonicMs += Ms;
    FNow += static_cast<double>(Ms) / MsPerDay;
}

std::u16string TSimDesktop::ClassName(TWindowHandle Window) const {
    auto it = FWindows.find(Window);
    return it == FWindows.end() ? std::u16string() : it->second.ClassName;
}

std::u16string TSimDesktop::Title(TWindowHandle Window) const {
    auto it = FWindows.find(Window);
    return it == FWindows.end() ? std::u16string() : it->second.Title;
}

TProcessId TSimDesktop::OwningProcessId(TWindowHandle Window) const {
    auto it = FWindows.find(Window);
    return it == FWindows.end() ? 0 : it->second.Pid;
}

std::uint32_t TSimDesktop::ProcessIntegrityLevel(TProcessId Pid) const {
    auto it = FProcesses.find(Pid);
    if (Pid == 0 || it == FProcesses.end() || !it->second) {
        return UnknownIntegrityLevel;
    }
    return *it->second;
}

TSendInputAnswer TSimDesktop::SendInputBatch(std::span<const TKeyInput> Records) {
    const auto requested = static_cast<std::uint32_t>(Records.size());
    const std::uint32_t inserted = FInputLimit ? std::min(*FInputLimit, requested) : requested;
    const std::uint32_t error = inserted < requested ? FInputError : 0;

    for (std::uint32_t i = 0; i < inserted; ++i) {
        const TKeyInput& record = Records[i];
        if (record.wVk != 0 && (record.dwFlags & KeyEventUnicode) == 0) {
            FKeyDown[SidedKey(record.wVk) & 0xFF] = (record.dwFlags & KeyEventKeyUp) == 0;
        }
        if (auto terminal = FTerminals.find(FForeground); terminal != FTerminals.end() && terminal->second.OnKey) {
            terminal->second.OnKey(record);
        }
    }
    FJournal.push_back(TBatch{{Records.begin(), Records.end()}, inserted, error, FMonotonicMs, FForeground});
    return TSendInputAnswer{inserted, error};
}

void TSimDesktop::SetScreen(TWindowHandle Window, TScreenRead Screen) {
    FTerminals[Window] = TTerminal{nullptr, [screen = std::move(Screen)] { return screen; }};
}

void TSimDesktop::SetTerminal(TWindowHandle Window, TTerminal Terminal) {
    FTerminals[Window] = std::move(Terminal);
}

TScreenRead TSimDesktop::ReadScreen(TWindowHandle Window) {
    ++FScreenReads;
    if (auto terminal = FTerminals.find(Window);
        FWindows.contains(Window) && terminal != FTerminals.end() && terminal->second.Read) {
        return terminal->second.Read();
    }
    TScreenRead unreadable;
    unreadable.Reason = u"it is not a console window and hosts no console that Tarvin could attach to";
    return unreadable;
}

std::uint16_t TSimDesktop::AsyncKeyState(std::uint16_t VirtualKey) const {
    return IsKeyDown(VirtualKey) ? 0x8000 : 0;
}

} // namespace platform::sim
