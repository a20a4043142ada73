#pragma once
// A form's top-level window: style from the border settings, owner from the popup parent, alpha
// blending, size limits, the main menu; moves and resizes by the user go back into the model, a
// close request becomes TForm::Close, and the messages a form may handle itself go to Dispatch.
#include "toolkit/Toolkit.Form.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

struct TFormWindowStyle {
    DWORD Style = 0;
    DWORD ExStyle = 0;
};

// The window styles a form's settings ask for.
TFormWindowStyle FormWindowStyle(const TForm& Form);

class TFormPeer final : public TWindowPeer {
public:
    TFormPeer(TWin32Backend& Backend, TForm& Form);

    void Sync(TChange What) override;
    LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) override;

    // Whether the form hands this message to TForm::Dispatch.
    static bool IsDispatched(UINT Message);

private:
    TForm& Form() const { return static_cast<TForm&>(Control()); }
    void Create();
    void ApplyVisibility();
    void ApplyWindowState();
    void ApplyStyle();
    void ApplyAlpha();
    void ApplyMenu();
    void ReportBounds();
    void ReportNormalBounds();
    void ReportWindowState(WPARAM SizeKind);
    void ReportShownSize(WPARAM SizeKind, LPARAM ClientSize);
    void FillMinMaxInfo(MINMAXINFO& Info) const;

    // The menu bar, rebuilt when the main menu's items change.
    TMenuHandle FMenu;
};

} // namespace toolkit::win32
