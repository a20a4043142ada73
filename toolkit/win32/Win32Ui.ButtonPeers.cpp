#include "toolkit/win32/Win32Ui.ButtonPeers.h"

#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Colors.h"

namespace toolkit::win32 {

namespace {

bool IsClick(UINT Message, WPARAM WParam) {
    return Message == WM_COMMAND && HIWORD(WParam) == BN_CLICKED;
}

WPARAM CheckOf(TCheckBoxState State) {
    switch (State) {
    case TCheckBoxState::cbChecked:
        return BST_CHECKED;
    case TCheckBoxState::cbGrayed:
        return BST_INDETERMINATE;
    default:
        return BST_UNCHECKED;
    }
}

} // namespace

bool AnswerParentColor(TWin32Backend& Backend, const TControl& Control, UINT Message, WPARAM WParam,
                       LRESULT& Result) {
    if (Message != WM_CTLCOLORBTN && Message != WM_CTLCOLORSTATIC)
        return false;
    const TColor color = Control.Parent() != nullptr ? Control.Parent()->Color() : Control.Color();
    auto dc = reinterpret_cast<HDC>(WParam);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(Control.Font().Color(), clBtnText));
    Result = reinterpret_cast<LRESULT>(Backend.Brush(ToColorRef(color, clBtnFace)));
    return true;
}

TButtonPeer::TButtonPeer(TWin32Backend& Backend, TButton& Button)
    : TWindowPeer(Backend, Button), FButton(Button) {
    CreateChild(L"BUTTON", WS_TABSTOP | (Button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
}

void TButtonPeer::Sync(TChange What) {
    if (What == TChange::Style || What == TChange::State)
        ::SendMessageW(Window(), BM_SETSTYLE, FButton.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    TWindowPeer::Sync(What);
}

bool TButtonPeer::HandleNotification(UINT Message, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (IsClick(Message, WParam)) {
        FButton.Click();
        Result = 0;
        return true;
    }
    return AnswerParentColor(Backend(), FButton, Message, WParam, Result);
}

TCheckBoxPeer::TCheckBoxPeer(TWin32Backend& Backend, TCheckBox& CheckBox)
    : TWindowPeer(Backend, CheckBox), FCheckBox(CheckBox) {
    CreateChild(L"BUTTON", WS_TABSTOP | (CheckBox.AllowGrayed() ? BS_3STATE : BS_CHECKBOX));
    ::SendMessageW(Window(), BM_SETCHECK, CheckOf(CheckBox.State()), 0);
}

void TCheckBoxPeer::Sync(TChange What) {
    if (What == TChange::State)
        ::SendMessageW(Window(), BM_SETCHECK, CheckOf(FCheckBox.State()), 0);
    TWindowPeer::Sync(What);
}

bool TCheckBoxPeer::HandleNotification(UINT Message, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (IsClick(Message, WParam)) {
        // The model moves to its next state and clicks; the mark follows through Sync.
        FCheckBox.Toggle();
        Result = 0;
        return true;
    }
    return AnswerParentColor(Backend(), FCheckBox, Message, WParam, Result);
}

TRadioButtonPeer::TRadioButtonPeer(TWin32Backend& Backend, TRadioButton& RadioButton)
    : TWindowPeer(Backend, RadioButton), FRadioButton(RadioButton) {
    CreateChild(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON);
    ::SendMessageW(Window(), BM_SETCHECK, RadioButton.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButtonPeer::Sync(TChange What) {
    if (What == TChange::State)
        ::SendMessageW(Window(), BM_SETCHECK, FRadioButton.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    TWindowPeer::Sync(What);
}

bool TRadioButtonPeer::HandleNotification(UINT Message, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (IsClick(Message, WParam)) {
        FRadioButton.SetChecked(true);
        Result = 0;
        return true;
    }
    return AnswerParentColor(Backend(), FRadioButton, Message, WParam, Result);
}

} // namespace toolkit::win32
