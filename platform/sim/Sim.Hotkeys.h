#pragma once
// System-wide hotkeys on the simulated desktop: registrations of this program's windows beside
// the combinations other programs hold, and presses that reach a window only while it holds the
// combination. It is a test double, not a product.
#include "platform/Platform.Hotkeys.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::sim {

class TSimHotkeys final : public IHotkeys {
public:
    // Where a press went: the window that holds the combination and its identifier.
    struct TDelivery {
        TWindowHandle Window = 0;
        int Id = 0;
        friend bool operator==(const TDelivery&, const TDelivery&) = default;
    };

    // --- other programs ---
    // Another program registers the combination; false while anyone already holds it.
    [[nodiscard]] bool RegisterForOtherProgram(std::uint32_t Modifiers, std::uint32_t VirtualKey);
    void UnregisterForOtherProgram(std::uint32_t Modifiers, std::uint32_t VirtualKey);

    // --- the user ---
    // The user presses the chord: the holder's window and identifier when a window of this
    // program holds it, nothing when another program or nobody does.
    std::optional<TDelivery> Press(std::uint32_t Modifiers, std::uint32_t VirtualKey) const;

    // --- what happened ---
    bool IsRegistered(TWindowHandle Window, int Id) const;
    std::size_t RegistrationCount() const { return FEntries.size(); }
    // One line per call, e.g. "register 0x50000 3 mods=0x4003 vk=0x33 ok" or "unregister 0x50000 3".
    const std::vector<std::string>& Calls() const { return FCalls; }
    void ClearCalls() { FCalls.clear(); }

    // IHotkeys. MOD_NOREPEAT is no part of the combination. As on Windows, registering the same
    // window and identifier again keeps the earlier registration beside the new one; unregistering
    // removes every registration of that window and identifier.
    [[nodiscard]] bool RegisterHotKey(TWindowHandle Window, int Id, std::uint32_t Modifiers,
                                      std::uint32_t VirtualKey) override;
    void UnregisterHotKey(TWindowHandle Window, int Id) override;

private:
    struct TEntry {
        TWindowHandle Window = 0; // 0: another program
        int Id = 0;
        std::uint32_t Modifiers = 0;
        std::uint32_t VirtualKey = 0;
    };

    const TEntry* Holder(std::uint32_t Modifiers, std::uint32_t VirtualKey) const;

    std::vector<TEntry> FEntries;
    std::vector<std::string> FCalls;
};

} // namespace platform::sim
