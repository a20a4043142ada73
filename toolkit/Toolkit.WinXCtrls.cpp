#include "toolkit/Toolkit.WinXCtrls.h"

namespace toolkit {

TToggleSwitch::TToggleSwitch(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 73, 20);
}

void TToggleSwitch::SetState(TToggleSwitchState Value) {
    if (FState == Value) {
        return;
    }
    FState = Value;
    Changed(TChange::State);
    Click();
}

void TToggleSwitch::Toggle() {
    SetState(IsOn() ? TToggleSwitchState::tssOff : TToggleSwitchState::tssOn);
}

void TToggleSwitch::SetStateCaptionOn(const std::u16string& Value) {
    if (FCaptionOn != Value) {
        FCaptionOn = Value;
        Changed(TChange::Text);
    }
}

void TToggleSwitch::SetStateCaptionOff(const std::u16string& Value) {
    if (FCaptionOff != Value) {
        FCaptionOff = Value;
        Changed(TChange::Text);
    }
}

} // namespace toolkit
