#include "tools/termsim/Termsim.Record.h"

#include "base/Base.Unicode.h"

#include <cstdio>

namespace termsim {

namespace {

using base::IsHighSurrogate;
using base::IsLowSurrogate;

std::u16string UnitEscape(char16_t Unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(Unit));
    return base::AsciiToUtf16(buffer);
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) on a literal + a temporary string.
std::string Quoted(std::u16string_view Text) {
    std::string quoted = "\"";
    quoted += base::Utf16ToUtf8(EscapeText(Text));
    quoted += '"';
    return quoted;
}

std::string Utf8(std::u16string_view Text) {
    return base::Utf16ToUtf8(Text);
}

std::string Joined(std::string_view Head, const std::string& Tail) {
    std::string line(Head);
    line += Tail;
    return line;
}

struct TLineFormatter {
    std::string operator()(const TReadyEvent& E) const {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "ready window=0x%llX pid=%lu",
                      static_cast<unsigned long long>(E.Window), static_cast<unsigned long>(E.ProcessId));
        return buffer;
    }
    std::string operator()(const TKeyEvent& E) const {
        if (E.Key == TKey::Char) {
            return Joined("key char ", Quoted(std::u16string_view(&E.Char, 1)));
        }
        return Joined("key ", Utf8(KeyName(E)));
    }
    std::string operator()(const TPromptState& E) const {
        std::string line = Joined("prompt ", Quoted(E.Text));
        line += " cursor=";
        line += std::to_string(E.Cursor.Line);
        line += ',';
        line += std::to_string(E.Cursor.Column);
        line += " kill=";
        line += Quoted(E.Kill);
        if (E.Mode != TInputMode::Normal) {
            line += Joined(" mode=", Utf8(ModeName(E.Mode)));
        }
        if (E.Vim != TVimMode::Off) {
            line += Joined(" vim=", Utf8(VimName(E.Vim)));
        }
        if (E.Stash) {
            line += Joined(" stash=", Quoted(*E.Stash));
        }
        if (E.View != TView::Prompt) {
            line += Joined(" view=", Utf8(ViewName(E.View)));
        }
        return line;
    }
    std::string operator()(const TSubmittedEvent& E) const {
        std::string line = Joined("submitted ", Quoted(E.Text));
        if (E.Mode != TInputMode::Normal) {
            line += Joined(" mode=", Utf8(ModeName(E.Mode)));
        }
        return line;
    }
    std::string operator()(const TQuestionEvent& E) const {
        std::string line = Joined("question ", Quoted(E.Text));
        if (!E.Level.empty()) {
            line += Joined(" level=", Utf8(E.Level));
        }
        return line;
    }
    std::string operator()(const TEffortEvent& E) const { return Joined("effort ", Utf8(E.Level)); }
    std::string operator()(const TFailedEvent& E) const { return Joined("failed ", Quoted(E.Error)); }
    std::string operator()(const TApprovedEvent& E) const { return Joined("approved ", Quoted(E.Choice)); }
    std::string operator()(const TRanEvent& E) const { return Joined("ran ", Quoted(E.Line)); }
    std::string operator()(const TPickerSavedEvent& E) const {
        std::string line = Joined("picker saved ", Utf8(E.Picker));
        line += ' ';
        line += Quoted(E.Choice);
        return line;
    }
    std::string operator()(const TCommandEvent& E) const { return Joined("command ", Quoted(E.Text)); }
    std::string operator()(const TUnexpandedEvent& E) const { return Joined("unexpanded ", Quoted(E.Placeholder)); }
    std::string operator()(const TInterruptedEvent&) const { return "interrupted"; }
    std::string operator()(const TStashLostEvent& E) const { return Joined("stash lost ", Quoted(E.Text)); }
    std::string operator()(const TClearedEvent& E) const { return Joined("cleared ", Quoted(E.Text)); }
    std::string operator()(const TAnsweredEvent& E) const { return E.Yes ? "answered yes" : "answered no"; }
    std::string operator()(const TDeclinedEvent& E) const { return Joined("declined ", Quoted(E.Choice)); }
    std::string operator()(const TStashedEvent& E) const { return Joined("stashed ", Quoted(E.Text)); }
    std::string operator()(const TUnstashedEvent& E) const { return Joined("unstashed ", Quoted(E.Text)); }
    std::string operator()(const TModeEvent& E) const { return Joined("mode ", Utf8(ModeName(E.Mode))); }
    std::string operator()(const TVimEvent& E) const { return Joined("vim ", Utf8(VimName(E.Mode))); }
    std::string operator()(const TPastedEvent& E) const { return Joined("pasted ", Quoted(E.Text)); }
    std::string operator()(const TViewEvent& E) const { return Joined("view ", Utf8(ViewName(E.View))); }
    std::string operator()(const TTurnEvent& E) const { return E.Started ? "turn started" : "turn done"; }
};

} // namespace

std::u16string EscapeText(std::u16string_view Text) {
    std::u16string out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t unit = Text[i];
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
        } else if (IsHighSurrogate(unit) && i + 1 < Text.size() && IsLowSurrogate(Text[i + 1])) {
            out += unit;
            out += Text[++i];
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out += UnitEscape(unit);
        } else {
            out += unit;
        }
    }
    return out;
}

std::string FormatRecordLine(const TRecordEvent& Event) {
    std::string line = std::visit(TLineFormatter{}, Event);
    line += '\n';
    return line;
}

} // namespace termsim
