#include "app/Tarvin.Grip.h"

#include "base/Base.Format.h"
#include "platform/Platform.Hotkeys.h"

namespace tarvin {

std::uint32_t HotkeyModifierFlags(TShortCut ShortCut) {
    std::uint32_t flags = platform::HotkeyModNoRepeat;
    if ((ShortCut & scShift) != 0) {
        flags |= platform::HotkeyModShift;
    }
    if ((ShortCut & scCtrl) != 0) {
        flags |= platform::HotkeyModControl;
    }
    if ((ShortCut & scAlt) != 0) {
        flags |= platform::HotkeyModAlt;
    }
    return flags;
}

std::uint32_t HotkeyKeyCode(TShortCut ShortCut) {
    return ShortCut & scKeyMask;
}

std::u16string HotkeyStatusText(bool Registered, TShortCut ShortCut, bool HotkeysHeld) {
    if (Registered) {
        return u"held - ready";
    }
    if (ShortCut == 0) {
        return u"not a valid shortcut - fix it in the INI file";
    }
    if (HotkeysHeld) {
        return u"REFUSED by Windows - another program owns it";
    }
    return u"released - free for other programs";
}

std::u16string EffortCommandText(TEffortLevel Level) {
    return base::Format(u"/effort {0}", EffortWord[Level]);
}

std::u16string GripTraceLine(std::u16string_view FrontClass, bool Taking) {
    return base::Format(u"grip: front=\"{0}\"  {1} Ctrl+Alt+1..5", FrontClass,
                        Taking ? u"TAKING" : u"RELEASING");
}

std::u16string InvalidShortcutLine(TEffortLevel Level, std::u16string_view Text) {
    return base::Format(u"Hotkey for \"{0}\" is not a valid shortcut: \"{1}\"", EffortWord[Level], Text);
}

std::u16string RefusedHotkeyLine(TEffortLevel Level, std::u16string_view Text, std::u16string_view IniPath) {
    return base::Format(
        u"Windows refused the hotkey {0} for \"{1}\". Another program already owns that combination. "
        u"Change it in {2}",
        Text, EffortWord[Level], IniPath);
}

} // namespace tarvin
