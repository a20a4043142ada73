#pragma once
// The toggle switch: an on/off slider.
#include "toolkit/Toolkit.StdCtrls.h"

namespace toolkit {

enum class TToggleSwitchState : std::uint8_t { tssOff, tssOn };

// Setting State to a different value clicks it (OnClick runs), as a check box does; a user's click
// calls Toggle().
class TToggleSwitch : public TControl {
public:
    explicit TToggleSwitch(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TToggleSwitch"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckToggleSwitch; }

    TToggleSwitchState State() const { return FState; }
    void SetState(TToggleSwitchState Value);
    bool IsOn() const { return FState == TToggleSwitchState::tssOn; }
    void Toggle();
    const std::u16string& StateCaptionOn() const { return FCaptionOn; }
    void SetStateCaptionOn(const std::u16string& Value);
    const std::u16string& StateCaptionOff() const { return FCaptionOff; }
    void SetStateCaptionOff(const std::u16string& Value);

private:
    TToggleSwitchState FState = TToggleSwitchState::tssOff;
    std::u16string FCaptionOn = u"On";
    std::u16string FCaptionOff = u"Off";
};

} // namespace toolkit
