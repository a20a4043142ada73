#pragma once
// An image: the model's picture drawn into the rectangle the model computes.
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/win32/Win32Ui.PaintedPeer.h"

namespace toolkit::win32 {

class TImagePeer final : public TPaintedPeer {
public:
    TImagePeer(TWin32Backend& Backend, TImage& Image) : TPaintedPeer(Backend, Image), FImage(Image) {}
    void Sync(TChange What) override;

protected:
    void Paint(HDC Dc, const RECT& Client) override;

private:
    TImage& FImage;
};

} // namespace toolkit::win32
