#include "tools/termsim/Termsim.Events.h"

namespace termsim {

std::u16string_view ModeName(TInputMode Mode) {
    return Mode == TInputMode::Bash ? u"bash" : u"normal";
}

std::u16string_view VimName(TVimMode Mode) {
    switch (Mode) {
    case TVimMode::Off:
        return u"off";
    case TVimMode::Insert:
        return u"insert";
    case TVimMode::Normal:
        return u"normal";
    }
    return u"off";
}

std::u16string_view ViewName(TView View) {
    switch (View) {
    case TView::Prompt:
        return u"prompt";
    case TView::Question:
        return u"question";
    case TView::Permission:
        return u"permission";
    case TView::ModelPicker:
        return u"model";
    case TView::EffortPicker:
        return u"effort";
    case TView::Config:
        return u"config";
    case TView::HistorySearch:
        return u"history";
    case TView::Rewind:
        return u"rewind";
    case TView::Shell:
        return u"shell";
    }
    return u"prompt";
}

bool IsHarm(const TRecordEvent& Event) {
    return std::holds_alternative<TSubmittedEvent>(Event) || std::holds_alternative<TApprovedEvent>(Event) ||
           std::holds_alternative<TRanEvent>(Event) || std::holds_alternative<TPickerSavedEvent>(Event) ||
           std::holds_alternative<TCommandEvent>(Event) || std::holds_alternative<TUnexpandedEvent>(Event) ||
           std::holds_alternative<TInterruptedEvent>(Event) || std::holds_alternative<TStashLostEvent>(Event) ||
           std::holds_alternative<TClearedEvent>(Event);
}

} // namespace termsim
