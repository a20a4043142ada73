#pragma once
// A grid: the model paints its cells on a canvas over an off-screen bitmap that is then copied to
// the window in one step (no flicker while a log scrolls); a press selects the cell under it.
#include "toolkit/Toolkit.Grids.h"
#include "toolkit/win32/Win32Ui.PaintedPeer.h"

namespace toolkit::win32 {

class TGridPeer final : public TPaintedPeer {
public:
    TGridPeer(TWin32Backend& Backend, TCustomGrid& Grid);
    void Sync(TChange What) override;

protected:
    void Paint(HDC Dc, const RECT& Client) override;
    void MouseDown(int X, int Y) override;

private:
    TCustomGrid& FGrid;
};

} // namespace toolkit::win32
