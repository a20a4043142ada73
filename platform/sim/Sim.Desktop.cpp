#include "platform/sim/Sim.Desktop.h"

#include "platform/Platform.KeyCodes.h"

#include <algorithm>

namespace platform::sim {
namespace {

constexpr double MsPerDay = 86'400'000.0;

// Windows files a generic modifier (VK_CONTROL) under its left-hand key.
std::uint16_t SidedKey(std::uint16_t vk) {
    switch (vk) {
    case VkShift:
        return VkLShift;
    case VkControl:
        return VkLControl;
    case VkMenu:
        return VkLMenu;
    default:
        return vk;
    }
}

} // namespace

TSimDesktop::TSimDesktop() = default;

TWindowHandle TSimDesktop::AddWindow(std::u16string className, std::u16string title, TProcessId pid) {
    const TWindowHandle handle = FNextHandle;
    FNextHandle += 0x10;
    FWindows[handle] = TWindow{std::move(className), std::move(title), pid};
    return handle;
}

void TSimDesktop::SetTitle(TWindowHandle window, std::u16string title) {
    if (auto it = FWindows.find(window); it != FWindows.end()) {
        it->second.Title = std::move(title);
    }
}

void TSimDesktop::CloseWindow(TWindowHandle window) {
    FWindows.erase(window);
    if (FForeground == window) {
        SetForeground(0);
    }
}

void TSimDesktop::SetForeground(TWindowHandle window) {
    const TWindowHandle before = FForeground;
    FForeground = (window == 0 || FWindows.contains(window)) ? window : 0;
    if (FForeground != before && FOnForeground) {
        FOnForeground();
    }
}

bool TSimDesktop::Start(std::function<void()> onChange) {
    FOnForeground = std::move(onChange);
    return true;
}

void TSimDesktop::AddProcess(TProcessId pid, std::uint32_t integrityLevel) { FProcesses[pid] = integrityLevel; }

void TSimDesktop::AddUnreachableProcess(TProcessId pid) { FProcesses[pid] = std::nullopt; }

void TSimDesktop::SetOwnIntegrityLevel(std::uint32_t level) { FOwnLevel = level; }

void TSimDesktop::SetKeyDown(std::uint16_t virtualKey, bool down) { FKeyDown[SidedKey(virtualKey) & 0xFF] = down; }

bool TSimDesktop::IsKeyDown(std::uint16_t virtualKey) const {
    switch (virtualKey) {
    case VkShift:
        return FKeyDown[VkLShift] || FKeyDown[VkRShift];
    case VkControl:
        return FKeyDown[VkLControl] || FKeyDown[VkRControl];
    case VkMenu:
        return FKeyDown[VkLMenu] || FKeyDown[VkRMenu];
    default:
        return FKeyDown[virtualKey & 0xFF];
    }
}

void TSimDesktop::LimitInput(std::uint32_t records, std::uint32_t errorCode) {
    FInputLimit = records;
    FInputError = errorCode;
}

void TSimDesktop::AcceptAllInput() {
    FInputLimit.reset();
    FInputError = 0;
}

void TSimDesktop::AdvanceMs(std::uint64_t ms) {
    FMonotonicMs += ms;
    FNow += static_cast<double>(ms) / MsPerDay;
}

std::u16string TSimDesktop::ClassName(TWindowHandle window) const {
    auto it = FWindows.find(window);
    return it == FWindows.end() ? std::u16string() : it->second.ClassName;
}

std::u16string TSimDesktop::Title(TWindowHandle window) const {
    auto it = FWindows.find(window);
    return it == FWindows.end() ? std::u16string() : it->second.Title;
}

TProcessId TSimDesktop::OwningProcessId(TWindowHandle window) const {
    auto it = FWindows.find(window);
    return it == FWindows.end() ? 0 : it->second.Pid;
}

std::uint32_t TSimDesktop::ProcessIntegrityLevel(TProcessId pid) const {
    auto it = FProcesses.find(pid);
    if (pid == 0 || it == FProcesses.end() || !it->second) {
        return UnknownIntegrityLevel;
    }
    return *it->second;
}

TSendInputAnswer TSimDesktop::SendInputBatch(std::span<const TKeyInput> records) {
    const auto requested = static_cast<std::uint32_t>(records.size());
    const std::uint32_t inserted = FInputLimit ? std::min(*FInputLimit, requested) : requested;
    const std::uint32_t error = inserted < requested ? FInputError : 0;

    for (std::uint32_t i = 0; i < inserted; ++i) {
        const TKeyInput& record = records[i];
        if (record.wVk != 0 && (record.dwFlags & KeyEventUnicode) == 0) {
            FKeyDown[SidedKey(record.wVk) & 0xFF] = (record.dwFlags & KeyEventKeyUp) == 0;
        }
        if (auto terminal = FTerminals.find(FForeground); terminal != FTerminals.end() && terminal->second.OnKey) {
            terminal->second.OnKey(record);
        }
    }
    FJournal.push_back(TBatch{{records.begin(), records.end()}, inserted, error, FMonotonicMs, FForeground});
    return TSendInputAnswer{inserted, error};
}

void TSimDesktop::SetScreen(TWindowHandle window, TScreenRead screen) {
    FTerminals[window] = TTerminal{nullptr, [screen = std::move(screen)] { return screen; }};
}

void TSimDesktop::SetTerminal(TWindowHandle window, TTerminal terminal) {
    FTerminals[window] = std::move(terminal);
}

TScreenRead TSimDesktop::ReadScreen(TWindowHandle window) {
    ++FScreenReads;
    if (auto terminal = FTerminals.find(window);
        FWindows.contains(window) && terminal != FTerminals.end() && terminal->second.Read) {
        return terminal->second.Read();
    }
    TScreenRead unreadable;
    unreadable.Reason = u"it is not a console window and hosts no console that Tarvin could attach to";
    return unreadable;
}

std::uint16_t TSimDesktop::AsyncKeyState(std::uint16_t virtualKey) const {
    return IsKeyDown(virtualKey) ? 0x8000 : 0;
}

} // namespace platform::sim
