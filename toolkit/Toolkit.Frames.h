#pragma once
// TFrame: a reusable group of controls. It owns the components placed on it, so its Name names the
// INI section their values go to.
#include "toolkit/Toolkit.Control.h"

namespace toolkit {

class TFrame : public TControl {
public:
    explicit TFrame(TComponent* AOwner) : TControl(AOwner) {}
    std::u16string ClassName() const override { return u"TFrame"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckFrame; }
};

} // namespace toolkit
