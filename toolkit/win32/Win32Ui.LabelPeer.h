#pragma once
// A label, painted from the lines the model breaks its caption into, on its parent's colour when
// transparent.
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/win32/Win32Ui.PaintedPeer.h"

namespace toolkit::win32 {

class TLabelPeer final : public TPaintedPeer {
public:
    TLabelPeer(TWin32Backend& Backend, TCustomLabel& Label) : TPaintedPeer(Backend, Label), FLabel(Label) {}
    void Sync(TChange What) override;

protected:
    void Paint(HDC Dc, const RECT& Client) override;

private:
    TCustomLabel& FLabel;
};

} // namespace toolkit::win32
