#include "toolkit/win32/Win32Ui.GridPeer.h"

#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Canvas.h"

namespace toolkit::win32 {

TGridPeer::TGridPeer(TWin32Backend& Backend, TCustomGrid& Grid)
    // The model's client area is two pixels in from a single border, as a client edge draws it.
    : TPaintedPeer(Backend, Grid, Grid.BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0),
      FGrid(Grid) {}

void TGridPeer::Sync(TChange What) {
    TPaintedPeer::Sync(What);
    if (What == TChange::Style) {
        const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_EXSTYLE));
        const DWORD wanted = FGrid.BorderStyle() == TBorderStyle::bsSingle
                                 ? (exStyle | WS_EX_CLIENTEDGE)
                                 : (exStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE));
        if (wanted != exStyle) {
            ::SetWindowLongPtrW(Window(), GWL_EXSTYLE, static_cast<LONG_PTR>(wanted));
            ::SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    if (What != TChange::Bounds && What != TChange::Visible)
        ::InvalidateRect(Window(), nullptr, FALSE);
}

void TGridPeer::Paint(HDC Dc, const RECT& Client) {
    const int width = Client.right - Client.left;
    const int height = Client.bottom - Client.top;
    if (width <= 0 || height <= 0)
        return;
    TMemoryDc buffer(::CreateCompatibleDC(Dc));
    TBitmapHandle bitmap(::CreateCompatibleBitmap(Dc, width, height));
    if (!buffer || !bitmap) {
        // Out of GDI resources: paint straight onto the window.
        TDcCanvas canvas(Dc, Backend().Fonts(), Ppi());
        canvas.BrushColor = FGrid.Color();
        canvas.FillRect(TRect{0, 0, width, height});
        FGrid.PaintCells(canvas);
        return;
    }
    {
        TSelection selected(buffer.Get(), bitmap.Get());
        TDcCanvas canvas(buffer.Get(), Backend().Fonts(), Ppi());
        canvas.Font().Assign(FGrid.Font());
        canvas.BrushColor = FGrid.Color();
        canvas.FillRect(TRect{0, 0, width, height});
        FGrid.PaintCells(canvas);
        ::BitBlt(Dc, 0, 0, width, height, buffer.Get(), 0, 0, SRCCOPY);
    }
}

void TGridPeer::MouseDown(int X, int Y) {
    ::SetFocus(Window());
    FGrid.MouseDown(X, Y);
}

} // namespace toolkit::win32
