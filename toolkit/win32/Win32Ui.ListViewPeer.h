#pragma once
// A list view on the common controls' WC_LISTVIEW: columns and rows copied from the model whenever
// they change, the selection reported back into the model.
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

class TListViewPeer final : public TWindowPeer {
public:
    TListViewPeer(TWin32Backend& Backend, TListView& ListView);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    void ApplyStyle();
    void Fill();
    void ShowSelection();

    TListView& FListView;
};

} // namespace toolkit::win32
