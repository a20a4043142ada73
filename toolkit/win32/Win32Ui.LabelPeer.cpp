#include "toolkit/win32/Win32Ui.LabelPeer.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Backend.h"
#include "toolkit/win32/Win32Ui.Colors.h"

namespace toolkit::win32 {

void TLabelPeer::Sync(TChange What) {
    TPaintedPeer::Sync(What);
    if (What == TChange::Style || What == TChange::Text || What == TChange::Font || What == TChange::Enabled)
        ::InvalidateRect(Window(), nullptr, FALSE);
}

void TLabelPeer::Paint(HDC Dc, const RECT& Client) {
    // A child window cannot show its parent through; a transparent label takes the parent's colour.
    TColor background = FLabel.Color();
    if (FLabel.Transparent() && FLabel.Parent() != nullptr)
        background = FLabel.Parent()->Color();
    ::FillRect(Dc, &Client, Backend().Brush(ToColorRef(background, clBtnFace)));

    TSelection font(Dc, ControlFont());
    const int oldMode = ::SetBkMode(Dc, TRANSPARENT);
    ::SetTextColor(Dc, FLabel.Enabled() ? ToColorRef(FLabel.Font().Color(), clWindowText)
                                        : ::GetSysColor(COLOR_GRAYTEXT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(Dc, &metrics);
    const std::vector<std::u16string> lines = FLabel.WrappedLines();
    const int lineHeight = metrics.tmHeight;
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    int top = 0;
    if (FLabel.Layout() == TTextLayout::tlCenter)
        top = (Client.bottom - textHeight) / 2;
    else if (FLabel.Layout() == TTextLayout::tlBottom)
        top = Client.bottom - textHeight;
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    format |= FLabel.Alignment() == TAlignment::taCenter         ? DT_CENTER
              : FLabel.Alignment() == TAlignment::taRightJustify ? DT_RIGHT
                                                                 : DT_LEFT;
    for (const auto& line : lines) {
        RECT row{Client.left, top, Client.right, top + lineHeight};
        ::DrawTextW(Dc, platform::win32::WideUnits(line), static_cast<int>(line.size()), &row, format);
        top += lineHeight;
    }
    ::SetBkMode(Dc, oldMode);
}

} // namespace toolkit::win32
