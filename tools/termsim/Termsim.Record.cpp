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

std::string Utf8(std::u16string_view text) {
    return base::Utf16ToUtf8(text);
}

std::string Joined(std::string_view head, const std::string& tail) {
    std::string line(head);
    line += tail;
    return line;
}

struct TLineFormatter {
    std::string operator()(const TReadyEvent& e) const {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "ready window=0x%llX pid=%lu",
                      static_cast<unsigned long long>(e.Window), static_cast<unsigned long>(e.ProcessId));
        return buffer;
    }
    std::string operator()(const TKeyEvent& e) const {
        if (e.Key == TKey::Char) {
            return Joined("key char ", Quoted(std::u16string_view(&e.Char, 1)));
        }
        return Joined("key ", Utf8(KeyName(e)));
    }
    std::string operator()(const TPromptState& e) const {
        std::string line = Joined("prompt ", Quoted(e.Text));
        line += " cursor=";
        line += std::to_string(e.Cursor.Line);
        line += ',';
        line += std::to_string(e.Cursor.Column);
        line += " kill=";
        line += Quoted(e.Kill);
        if (e.Mode != TInputMode::Normal) {
            line += Joined(" mode=", Utf8(ModeName(e.Mode)));
        }
        if (e.Vim != TVimMode::Off) {
            line += Joined(" vim=", Utf8(VimName(e.Vim)));
        }
        if (e.Stash) {
            line += Joined(" stash=", Quoted(*e.Stash));
        }
        if (e.View != TView::Prompt) {
            line += Joined(" view=", Utf8(ViewName(e.View)));
        }
        return line;
    }
    std::string operator()(const TSubmittedEvent& e) const {
        std::string line = Joined("submitted ", Quoted(e.Text));
        if (e.Mode != TInputMode::Normal) {
            line += Joined(" mode=", Utf8(ModeName(e.Mode)));
        }
        return line;
    }
    std::string operator()(const TQuestionEvent& e) const {
        std::string line = Joined("question ", Quoted(e.Text));
        if (!e.Level.empty()) {
            line += Joined(" level=", Utf8(e.Level));
        }
        return line;
    }
    std::string operator()(const TEffortEvent& e) const { return Joined("effort ", Utf8(e.Level)); }
    std::string operator()(const TFailedEvent& e) const { return Joined("failed ", Quoted(e.Error)); }
    std::string operator()(const TApprovedEvent& e) const { return Joined("approved ", Quoted(e.Choice)); }
    std::string operator()(const TRanEvent& e) const { return Joined("ran ", Quoted(e.Line)); }
    std::string operator()(const TPickerSavedEvent& e) const {
        std::string line = Joined("picker saved ", Utf8(e.Picker));
        line += ' ';
        line += Quoted(e.Choice);
        return line;
    }
    std::string operator()(const TCommandEvent& e) const { return Joined("command ", Quoted(e.Text)); }
    std::string operator()(const TUnexpandedEvent& e) const { return Joined("unexpanded ", Quoted(e.Placeholder)); }
    std::string operator()(const TInterruptedEvent&) const { return "interrupted"; }
    std::string operator()(const TStashLostEvent& e) const { return Joined("stash lost ", Quoted(e.Text)); }
    std::string operator()(const TClearedEvent& e) const { return Joined("cleared ", Quoted(e.Text)); }
    std::string operator()(const TAnsweredEvent& e) const { return e.Yes ? "answered yes" : "answered no"; }
    std::string operator()(const TDeclinedEvent& e) const { return Joined("declined ", Quoted(e.Choice)); }
    std::string operator()(const TStashedEvent& e) const { return Joined("stashed ", Quoted(e.Text)); }
    std::string operator()(const TUnstashedEvent& e) const { return Joined("unstashed ", Quoted(e.Text)); }
    std::string operator()(const TModeEvent& e) const { return Joined("mode ", Utf8(ModeName(e.Mode))); }
    std::string operator()(const TVimEvent& e) const { return Joined("vim ", Utf8(VimName(e.Mode))); }
    std::string operator()(const TPastedEvent& e) const { return Joined("pasted ", Quoted(e.Text)); }
    std::string operator()(const TViewEvent& e) const { return Joined("view ", Utf8(ViewName(e.View))); }
    std::string operator()(const TTurnEvent& e) const { return e.Started ? "turn started" : "turn done"; }
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

} // namespace termsim
