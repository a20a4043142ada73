#include "framework/ui/OrvelVcl.Common.CenterControl.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "toolkit/Toolkit.Application.h"

#include <algorithm>

namespace orvel {

void CenterChild(toolkit::TControl* Ctrl, toolkit::TControl* Parent) {
    if (Ctrl == nullptr) {
        throw EOrvelException(u"CenterChild: Ctrl parameter cannot be nil");
    }
    if (Parent == nullptr) {
        throw EOrvelException(u"CenterChild: Parent parameter cannot be nil");
    }
    const int left = std::max((Parent->ClientWidth() - Ctrl->Width()) / 2, 0);
    const int top = std::max((Parent->ClientHeight() - Ctrl->Height()) / 2, 0);
    Ctrl->SetBounds(left, top, Ctrl->Width(), Ctrl->Height());
}

void CenterFormOnMainFormMonitor(toolkit::TForm* Form) {
    if (Form == nullptr) {
        throw EOrvelException(u"CenterFormOnMainFormMonitor: Form parameter cannot be nil");
    }
    const toolkit::TApplication& app = Form->Application();
    const toolkit::TRect area = app.MainForm() != nullptr ? app.MainForm()->Monitor().WorkareaRect
                                                          : app.Screen().PrimaryMonitor().WorkareaRect;
    const int left = area.Left + (area.Width() - Form->Width()) / 2;
    const int top = area.Top + (area.Height() - Form->Height()) / 2;
    Form->SetBounds(left, top, Form->Width(), Form->Height());
}

void CorrectFormPositionDesktop(toolkit::TForm* Form) {
    if (Form == nullptr) {
        throw EOrvelException(u"CorrectFormPositionDesktop: Form parameter cannot be nil");
    }
    const toolkit::TRect desktop = Form->Application().Screen().DesktopRect();
    const int width = std::min(Form->Width(), desktop.Width());
    const int height = std::min(Form->Height(), desktop.Height());
    // The range is never empty: the size was just limited to the desktop's.
    const int left = std::clamp(Form->Left(), desktop.Left, desktop.Left + desktop.Width() - width);
    const int top = std::clamp(Form->Top(), desktop.Top, desktop.Top + desktop.Height() - height);
    Form->SetBounds(left, top, width, height);
}

} // namespace orvel
