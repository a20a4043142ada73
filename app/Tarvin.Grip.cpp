#include "app/Tarvin.Grip.h"

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
    return u"/effort " + std::u16string(EffortWord[Level]);
}

std::u16string GripTraceLine(std::u16string_view FrontClass, bool Taking) {
    return u"grip: front=\"" + std::u16string(FrontClass) + u"\"  " + (Taking ? u"TAKING" : u"RELEASING") +
           u" Ctrl+Alt+1..5";
}

std::u16string InvalidShortcutLine(TEffortLevel Level, std::u16string_view Text) {
    return u"Hotkey for \"" + std::u16string(EffortWord[Level]) + u"\" is not a valid shortcut: \"" +
           std::u16string(Text) + u"\"";
}

std::u16string RefusedHotkeyLine(TEffortLevel Level, std::u16string_view Text, std::u16string_view IniPath) {
    return u"Windows refused the hotkey " + std::u16string(Text) + u" for \"" +
           std::u16string(EffortWord[Level]) +
           u"\". Another program already owns that combination. Change it in " + std::u16string(IniPath);
}

} // namespace tarvin
