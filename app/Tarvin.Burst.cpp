#include "app/Tarvin.Burst.h"

#include "base/Base.Unicode.h"

namespace tarvin {
namespace {

// Six Ctrl+E / Right pairs reach the end of a prompt of up to six lines below the cursor.
constexpr std::int32_t MotionSteps = 12;

std::u16string Counts(const TSendResult& Result) {
    return u"Windows accepted only " + base::AsciiToUtf16(std::to_string(Result.Delivered)) + u" of " +
           base::AsciiToUtf16(std::to_string(Result.Requested)) + u" keystrokes";
}

} // namespace

std::int32_t ClearStepCount(bool RestorePromptAfter) {
    return RestorePromptAfter ? 29 : 28;
}

TClearKey ClearStepKey(std::int32_t Index, bool RestorePromptAfter) {
    if (Index < MotionSteps) {
        return Index % 2 == 0 ? TClearKey::CtrlE : TClearKey::Right;
    }
    if (Index == MotionSteps && RestorePromptAfter) {
        return TClearKey::Marker;
    }
    return TClearKey::CtrlU;
}

std::u16string FocusLossText(TSendPhase Phase) {
    switch (Phase) {
    case spClearPrompt:
        return u"The focus left the terminal while the prompt was being cleared. The command was not typed. "
               u"If your text is gone from the prompt, press Ctrl+Y in that terminal to paste it back, and "
               u"remove the extra \"x\" if one appears at its end.";
    case spEnterBurst:
        return u"The focus left the terminal, so the remaining Enter keystrokes were not sent. If the "
               u"\"Change effort level?\" question is still on screen, answer it yourself.";
    case spRestorePrompt:
        return u"The focus left the terminal before your typed text could be put back. Press Ctrl+Y in that "
               u"terminal to paste it back, then Backspace once to remove the extra \"x\" from its end.";
    case spRemoveMarker:
        return u"The focus left the terminal just before the last keystroke. Your typed text is back in the "
               u"prompt, but it carries one extra \"x\" at its end - press Backspace once in that terminal "
               u"to "
               u"remove it.";
    case spIdle:
    case spWaitModifiers:
        break;
    }
    return u"The focus left the terminal before the command could be typed. Nothing was sent.";
}

std::u16string ClearShortfallText(const TSendResult& Result) {
    return Counts(Result) + u" while clearing the prompt (error " +
           base::AsciiToUtf16(std::to_string(Result.ErrorCode)) + u"). Nothing was typed.";
}

std::u16string TypeShortfallText(const TSendResult& Result) {
    return Counts(Result) + u" (error " + base::AsciiToUtf16(std::to_string(Result.ErrorCode)) +
           u"). The command was not typed in full.";
}

std::u16string TypedCommandText(std::u16string_view Command, std::u16string_view WindowClass,
                                std::u16string_view Title) {
    return u"Typed \"" + std::u16string(Command) + u"\" into " + std::u16string(WindowClass) + u" (\"" +
           std::u16string(Title) + u"\").";
}

} // namespace tarvin
