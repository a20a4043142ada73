#include "toolkit/win32/Win32Ui.PanelPeer.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Colors.h"

namespace toolkit::win32 {

namespace {

UINT EdgeOf(TBevelCut Cut, UINT Raised, UINT Sunken) {
    switch (Cut) {
    case TBevelCut::bvRaised:
        return Raised;
    case TBevelCut::bvLowered:
        return Sunken;
    default:
        return 0;
    }
}

} // namespace

void TPanelPeer::Sync(TChange What) {
    TPaintedPeer::Sync(What);
    if (What == TChange::Style || What == TChange::Text || What == TChange::Font)
        ::InvalidateRect(Window(), nullptr, FALSE);
}

void TPanelPeer::Paint(HDC Dc, const RECT& Client) {
    TColor background = FPanel.Color();
    if (FPanel.ParentBackground() && FPanel.Parent() != nullptr)
        background = FPanel.Parent()->Color();
    ::FillRect(Dc, &Client, Backend().Brush(ToColorRef(background, clBtnFace)));

    RECT inner = Client;
    const UINT outer = EdgeOf(FPanel.BevelOuter(), BDR_RAISEDOUTER, BDR_SUNKENOUTER);
    const UINT innerEdge = EdgeOf(FPanel.BevelInner(), BDR_RAISEDINNER, BDR_SUNKENINNER);
    for (int i = 0; i < FPanel.BevelWidth() && outer != 0; ++i)
        ::DrawEdge(Dc, &inner, outer, BF_RECT | BF_ADJUST);
    for (int i = 0; i < FPanel.BevelWidth() && innerEdge != 0; ++i)
        ::DrawEdge(Dc, &inner, innerEdge, BF_RECT | BF_ADJUST);

    if (!FPanel.ShowCaption() || FPanel.Caption().empty())
        return;
    TSelection font(Dc, ControlFont());
    const int oldMode = ::SetBkMode(Dc, TRANSPARENT);
    ::SetTextColor(Dc, ToColorRef(FPanel.Font().Color(), clBtnText));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    format |= FPanel.Alignment() == TAlignment::taCenter         ? DT_CENTER
              : FPanel.Alignment() == TAlignment::taRightJustify ? DT_RIGHT
                                                                 : DT_LEFT;
    const std::u16string& text = FPanel.Caption();
    ::DrawTextW(Dc, platform::win32::WideUnits(text), static_cast<int>(text.size()), &inner, format);
    ::SetBkMode(Dc, oldMode);
}

} // namespace toolkit::win32
