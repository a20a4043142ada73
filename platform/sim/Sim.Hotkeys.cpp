#include "platform/sim/Sim.Hotkeys.h"

#include <algorithm>
#include <cstdio>

namespace platform::sim {
namespace {

std::uint32_t Combination(std::uint32_t Modifiers) {
    return Modifiers & ~HotkeyModNoRepeat;
}

std::string Hex(std::uint64_t Value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(Value));
    return buffer;
}

} // namespace

const TSimHotkeys::TEntry* TSimHotkeys::Holder(std::uint32_t Modifiers, std::uint32_t VirtualKey) const {
    const auto found = std::find_if(FEntries.begin(), FEntries.end(), [&](const TEntry& Entry) {
        return Combination(Entry.Modifiers) == Combination(Modifiers) && Entry.VirtualKey == VirtualKey;
    });
    return found == FEntries.end() ? nullptr : &*found;
}

bool TSimHotkeys::RegisterForOtherProgram(std::uint32_t Modifiers, std::uint32_t VirtualKey) {
    if (Holder(Modifiers, VirtualKey) != nullptr) {
        return false;
    }
    FEntries.push_back(TEntry{0, 0, Modifiers, VirtualKey});
    return true;
}

void TSimHotkeys::UnregisterForOtherProgram(std::uint32_t Modifiers, std::uint32_t VirtualKey) {
    std::erase_if(FEntries, [&](const TEntry& Entry) {
        return Entry.Window == 0 && Combination(Entry.Modifiers) == Combination(Modifiers) &&
               Entry.VirtualKey == VirtualKey;
    });
}

std::optional<TSimHotkeys::TDelivery> TSimHotkeys::Press(std::uint32_t Modifiers,
                                                         std::uint32_t VirtualKey) const {
    const TEntry* holder = Holder(Modifiers, VirtualKey);
    if (holder == nullptr || holder->Window == 0) {
        return std::nullopt;
    }
    return TDelivery{holder->Window, holder->Id};
}

bool TSimHotkeys::IsRegistered(TWindowHandle Window, int Id) const {
    return std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& Entry) {
        return Window != 0 && Entry.Window == Window && Entry.Id == Id;
    });
}

bool TSimHotkeys::RegisterHotKey(TWindowHandle Window, int Id, std::uint32_t Modifiers,
                                 std::uint32_t VirtualKey) {
    // A window that does not exist is refused by Windows; handle 0 would be the thread's queue,
    // which no form listens to.
    const bool ok = Window != 0 && Holder(Modifiers, VirtualKey) == nullptr;
    if (ok) {
        FEntries.push_back(TEntry{Window, Id, Modifiers, VirtualKey});
    }
    FCalls.push_back("register " + Hex(Window) + " " + std::to_string(Id) + " mods=" + Hex(Modifiers) +
                     " vk=" + Hex(VirtualKey) + (ok ? " ok" : " refused"));
    return ok;
}

void TSimHotkeys::UnregisterHotKey(TWindowHandle Window, int Id) {
    std::erase_if(FEntries, [&](const TEntry& Entry) {
        return Window != 0 && Entry.Window == Window && Entry.Id == Id;
    });
    FCalls.push_back("unregister " + Hex(Window) + " " + std::to_string(Id));
}

} // namespace platform::sim
