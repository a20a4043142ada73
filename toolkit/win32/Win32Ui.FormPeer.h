#pragma once
// A form's top-level window: style from the border settings, owner from the popup parent, alpha
// blending, size limits, the main menu. Every message the window receives goes to the form's
// Dispatch, so a form can handle any of them; what the form leaves to its DefaultHandler comes back
// here to DefaultMessage, which does the toolkit's work (moves and resizes by the user go back into
// the model, a close request becomes TForm::Close, menu commands, size limits, the children's
// notifications) and hands the rest to Windows' default.
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
    // Hands the message to TForm::Dispatch and answers with its result.
    LRESULT HandleMessage(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) override;
    // What a message the form did not handle does: the toolkit's work, then Windows' default.
    void DefaultMessage(TMessage& Msg);

    // The peer of a form, also while its window is being created, or null.
    static TFormPeer* Of(const TForm& Form);
    ~TFormPeer() override;

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
