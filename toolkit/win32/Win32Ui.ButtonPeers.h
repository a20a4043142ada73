#pragma once
// Push buttons, check boxes and radio buttons on the system's BUTTON class. Check marks are not
// set by the button itself: a click asks the model, and the model's state comes back through Sync.
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

class TButtonPeer final : public TWindowPeer {
public:
    TButtonPeer(TWin32Backend& Backend, TButton& Button);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    TButton& FButton;
};

class TCheckBoxPeer final : public TWindowPeer {
public:
    TCheckBoxPeer(TWin32Backend& Backend, TCheckBox& CheckBox);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    TCheckBox& FCheckBox;
};

class TRadioButtonPeer final : public TWindowPeer {
public:
    TRadioButtonPeer(TWin32Backend& Backend, TRadioButton& RadioButton);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    TRadioButton& FRadioButton;
};

// Buttons and check boxes draw their background in their parent's colour.
bool AnswerParentColor(TWin32Backend& Backend, const TControl& Control, UINT Message, WPARAM WParam,
                       LRESULT& Result);

} // namespace toolkit::win32
