#include "tools/termsim/Termsim.Key.h"

#include <array>
#include <utility>

namespace termsim {

namespace {

constexpr std::array<std::pair<TKey, std::u16string_view>, 24> Names = {{
    {TKey::CtrlE, u"ctrl+E"},
    {TKey::CtrlU, u"ctrl+U"},
    {TKey::CtrlY, u"ctrl+Y"},
    {TKey::CtrlS, u"ctrl+S"},
    {TKey::CtrlR, u"ctrl+R"},
    {TKey::CtrlA, u"ctrl+A"},
    {TKey::CtrlK, u"ctrl+K"},
    {TKey::CtrlW, u"ctrl+W"},
    {TKey::CtrlC, u"ctrl+C"},
    {TKey::Right, u"right"},
    {TKey::Left, u"left"},
    {TKey::Up, u"up"},
    {TKey::Down, u"down"},
    {TKey::Home, u"home"},
    {TKey::End, u"end"},
    {TKey::Delete, u"delete"},
    {TKey::Backspace, u"backspace"},
    {TKey::CtrlBackspace, u"ctrl+backspace"},
    {TKey::Enter, u"enter"},
    {TKey::ShiftEnter, u"shift+enter"},
    {TKey::Escape, u"escape"},
    {TKey::Tab, u"tab"},
    {TKey::ShiftTab, u"shift+tab"},
    {TKey::Char, u""},
}};

bool IsCapital(char16_t Unit) {
    return Unit >= u'A' && Unit <= u'Z';
}

} // namespace

std::u16string KeyName(const TKeyEvent& Key) {
    if (Key.Key == TKey::Ctrl) {
        return u"ctrl+" + std::u16string(1, Key.Char);
    }
    for (const auto& [which, name] : Names) {
        if (which == Key.Key) {
            return std::u16string(name);
        }
    }
    return u"unknown";
}

std::optional<TKeyEvent> KeyFromName(std::u16string_view Name) {
    if (Name.empty()) {
        return std::nullopt;
    }
    for (const auto& [which, known] : Names) {
        if (known == Name) {
            return TKeyEvent{which, 0};
        }
    }
    if (Name.size() == 6 && Name.starts_with(u"ctrl+") && IsCapital(Name[5])) {
        return TKeyEvent{TKey::Ctrl, Name[5]};
    }
    return std::nullopt;
}

} // namespace termsim
