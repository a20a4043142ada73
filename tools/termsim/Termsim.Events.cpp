#include "tools/termsim/Termsim.Events.h"

namespace termsim {

std::u16string_view ModeName(TInputMode mode) {
    return mode == TInputMode::Bash ? u"bash" : u"normal";
}

std::u16string_view VimName(TVimMode mode) {
    switch (mode) {
    case TVimMode::Off:
        return u"off";
    case TVimMode::Insert:
        return u"insert";
    case TVimMode::Normal:
        return u"normal";
    }
    return u"off";
}

std::u16string_view ViewName(TView view) {
    switch (view) {
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

bool IsHarm(const TRecordEvent& event) {
    return std::holds_alternative<TSubmittedEvent>(event) || std::holds_alternative<TApprovedEvent>(event) ||
           std::holds_alternative<TRanEvent>(event) || std::holds_alternative<TPickerSavedEvent>(event) ||
           std::holds_alternative<TCommandEvent>(event) || std::holds_alternative<TUnexpandedEvent>(event) ||
           std::holds_alternative<TInterruptedEvent>(event) || std::holds_alternative<TStashLostEvent>(event) ||
           std::holds_alternative<TClearedEvent>(event);
}

} // namespace termsim
