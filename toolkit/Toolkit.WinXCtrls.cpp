#include "toolkit/Toolkit.WinXCtrls.h"

namespace toolkit {

TToggleSwitch::TToggleSwitch(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 73, 20);
}

void TToggleSwitch::SetState(TToggleSwitchState Value) {
    if (!UpdateField(FState, Value)) {
        return;
    }
    Changed(TChange::State);
    Click();
}

void TToggleSwitch::Toggle() {
    SetState(IsOn() ? TToggleSwitchState::tssOff : TToggleSwitchState::tssOn);
}

void TToggleSwitch::SetStateCaptionOn(const std::u16string& Value) {
    SetField(FCaptionOn, Value, TChange::Text);
}

void TToggleSwitch::SetStateCaptionOff(const std::u16string& Value) {
    SetField(FCaptionOff, Value, TChange::Text);
}

} // namespace toolkit
