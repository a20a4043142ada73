#pragma once
// A panel: its colour (or its parent's, with ParentBackground), its bevels and its caption.
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/win32/Win32Ui.PaintedPeer.h"

namespace toolkit::win32 {

class TPanelPeer final : public TPaintedPeer {
public:
    TPanelPeer(TWin32Backend& Backend, TCustomPanel& Panel) : TPaintedPeer(Backend, Panel), FPanel(Panel) {}
    void Sync(TChange What) override;

protected:
    void Paint(HDC Dc, const RECT& Client) override;

private:
    TCustomPanel& FPanel;
};

} // namespace toolkit::win32
