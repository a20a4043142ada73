#pragma once
// One-line edits and memos on the system's EDIT class. What the user types goes back into the
// model's text; the model's text comes in through Sync.
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

class TEditPeer final : public TWindowPeer {
public:
    TEditPeer(TWin32Backend& Backend, TCustomEdit& Edit);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    TCustomEdit& FEdit;
};

class TMemoPeer final : public TWindowPeer {
public:
    TMemoPeer(TWin32Backend& Backend, TMemo& Memo);
    void Sync(TChange What) override;
    bool HandleNotification(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

private:
    void ShowText();

    TMemo& FMemo;
};

} // namespace toolkit::win32
