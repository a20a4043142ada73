#include "tools/termsim/Termsim.Record.h"

#include "base/Base.Unicode.h"

#include <cstdio>

namespace termsim {

namespace {

using base::IsHighSurrogate;
using base::IsLowSurrogate;

std::u16string UnitEscape(char16_t unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(unit));
    return base::AsciiToUtf16(buffer);
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) on a literal + a temporary string.
std::string Quoted(std::u16string_view text) {
    std::string quoted = "\"";
    quoted += base::Utf16ToUtf8(EscapeText(text));
    quoted += '"';
    return quoted;
}

std::string Joined(std::string_view head, const std::string& tail) {
    std::string line(head);
    line += tail;
    return line;
}

std::string KeyName(const TKeyEvent& key) {
    switch (key.Key) {
    case TKey::Char:
        return Joined("char ", Quoted(std::u16string_view(&key.Char, 1)));
    case TKey::CtrlE:
        return "ctrl+E";
    case TKey::CtrlU:
        return "ctrl+U";
    case TKey::CtrlY:
        return "ctrl+Y";
    case TKey::Right:
        return "right";
    case TKey::Backspace:
        return "backspace";
    case TKey::Enter:
        return "enter";
    case TKey::ShiftEnter:
        return "shift+enter";
    }
    return "unknown";
}

struct TLineFormatter {
    std::string operator()(const TReadyEvent& e) const {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "ready window=0x%llX pid=%lu",
                      static_cast<unsigned long long>(e.Window), static_cast<unsigned long>(e.ProcessId));
        return buffer;
    }
    std::string operator()(const TKeyEvent& e) const { return Joined("key ", KeyName(e)); }
    std::string operator()(const TPromptState& e) const {
        std::string line = Joined("prompt ", Quoted(e.Text));
        line += " cursor=";
        line += std::to_string(e.Cursor.Line);
        line += ',';
        line += std::to_string(e.Cursor.Column);
        line += " kill=";
        line += Quoted(e.Kill);
        return line;
    }
    std::string operator()(const TSubmittedEvent& e) const { return Joined("submitted ", Quoted(e.Text)); }
    std::string operator()(const TQuestionEvent& e) const { return Joined("question ", Quoted(e.Text)); }
    std::string operator()(const TEffortEvent& e) const {
        return Joined("effort ", base::Utf16ToUtf8(e.Level));
    }
    std::string operator()(const TFailedEvent& e) const { return Joined("failed ", Quoted(e.Error)); }
};

} // namespace

std::u16string EscapeText(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\\' || unit == u'"') {
            out += u'\\';
            out += unit;
        } else if (unit == u'\n') {
            out += u"\\n";
        } else if (unit == u'\r') {
            out += u"\\r";
        } else if (unit == u'\t') {
            out += u"\\t";
        } else if (unit < 0x20 || unit == 0x7F) {
            out += UnitEscape(unit);
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out += unit;
            out += text[++i];
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out += UnitEscape(unit);
        } else {
            out += unit;
        }
    }
    return out;
}

std::string FormatRecordLine(const TRecordEvent& event) {
    std::string line = std::visit(TLineFormatter{}, event);
    line += '\n';
    return line;
}

TPromptState StateOf(const TPrompt& prompt) {
    return {prompt.Text(), prompt.Cursor(), prompt.KillBuffer()};
}

std::vector<TRecordEvent> PressKey(TPrompt& prompt, const TKeyEvent& key) {
    std::vector<TRecordEvent> events{key};
    const TPromptOutcome outcome = prompt.Apply(key);
    switch (outcome.Kind) {
    case TPromptOutcome::TKind::None:
        break;
    case TPromptOutcome::TKind::Submitted:
        events.emplace_back(TSubmittedEvent{outcome.Text});
        break;
    case TPromptOutcome::TKind::Question:
        events.emplace_back(TQuestionEvent{outcome.Text});
        break;
    case TPromptOutcome::TKind::EffortSet:
        events.emplace_back(TEffortEvent{outcome.Text});
        break;
    case TPromptOutcome::TKind::CommandFailed:
        events.emplace_back(TFailedEvent{outcome.Text});
        break;
    }
    events.emplace_back(StateOf(prompt));
    return events;
}

} // namespace termsim
