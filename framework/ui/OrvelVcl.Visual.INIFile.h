#pragma once
// TIniFileVCL: the form persistence with the framework's own controls added (the log viewer's
// verbosity). The form base saves and loads every form through it.
#include "framework/ui/OrvelVcl.Common.IniFile.h"

namespace orvel {

class TIniFileVCL : public TIniFileApp {
public:
    using TIniFileApp::TIniFileApp;

    bool IsSupported(const toolkit::TComponent* WinCtrl) const override;
    // The base first; a component it does not know is written by the rows below, and one of no
    // known class at all raises "Unsupported control: {class}, {name}". The result is the base's.
    bool WriteComp(toolkit::TComponent* Comp) override;
    // The base first; a stored value the base does not know is restored by the rows below, or
    // raises "Unsupported control: {class}, {name}". The result is the base's.
    bool ReadComp(toolkit::TComponent* Comp) override;

private:
    // False when the component is of none of this class's own classes.
    bool WriteOwnValue(toolkit::TComponent& Comp);
    bool ReadOwnValue(toolkit::TComponent& Comp);
};

} // namespace orvel
