#include "platform/sim/Sim.Hotkeys.h"

#include <algorithm>
#include <cstdio>

namespace platform::sim {
namespace {

std::uint32_t Combination(std::uint32_t modifiers) {
    return modifiers & ~HotkeyModNoRepeat;
}

std::string Hex(std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(value));
    return buffer;
}

} // namespace

const TSimHotkeys::TEntry* TSimHotkeys::Holder(std::uint32_t modifiers, std::uint32_t virtualKey) const {
    const auto found = std::find_if(FEntries.begin(), FEntries.end(), [&](const TEntry& entry) {
        return Combination(entry.Modifiers) == Combination(modifiers) && entry.VirtualKey == virtualKey;
    });
    return found == FEntries.end() ? nullptr : &*found;
}

bool TSimHotkeys::RegisterForOtherProgram(std::uint32_t modifiers, std::uint32_t virtualKey) {
    if (Holder(modifiers, virtualKey) != nullptr) {
        return false;
    }
    FEntries.push_back(TEntry{0, 0, modifiers, virtualKey});
    return true;
}

void TSimHotkeys::UnregisterForOtherProgram(std::uint32_t modifiers, std::uint32_t virtualKey) {
    std::erase_if(FEntries, [&](const TEntry& entry) {
        return entry.Window == 0 && Combination(entry.Modifiers) == Combination(modifiers) &&
               entry.VirtualKey == virtualKey;
    });
}

std::optional<TSimHotkeys::TDelivery> TSimHotkeys::Press(std::uint32_t modifiers,
                                                         std::uint32_t virtualKey) const {
    const TEntry* holder = Holder(modifiers, virtualKey);
    if (holder == nullptr || holder->Window == 0) {
        return std::nullopt;
    }
    return TDelivery{holder->Window, holder->Id};
}

bool TSimHotkeys::IsRegistered(TWindowHandle window, int id) const {
    return std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& entry) {
        return window != 0 && entry.Window == window && entry.Id == id;
    });
}

bool TSimHotkeys::RegisterHotKey(TWindowHandle window, int id, std::uint32_t modifiers,
                                 std::uint32_t virtualKey) {
    // A window that does not exist is refused by Windows; handle 0 would be the thread's queue,
    // which no form listens to.
    const bool ok = window != 0 && Holder(modifiers, virtualKey) == nullptr;
    if (ok) {
        FEntries.push_back(TEntry{window, id, modifiers, virtualKey});
    }
    FCalls.push_back("register " + Hex(window) + " " + std::to_string(id) + " mods=" + Hex(modifiers) +
                     " vk=" + Hex(virtualKey) + (ok ? " ok" : " refused"));
    return ok;
}

void TSimHotkeys::UnregisterHotKey(TWindowHandle window, int id) {
    std::erase_if(FEntries, [&](const TEntry& entry) {
        return window != 0 && entry.Window == window && entry.Id == id;
    });
    FCalls.push_back("unregister " + Hex(window) + " " + std::to_string(id));
}

} // namespace platform::sim
