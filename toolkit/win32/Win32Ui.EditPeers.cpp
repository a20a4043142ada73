#include "toolkit/win32/Win32Ui.EditPeers.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Backend.h"

#include <commctrl.h>

namespace toolkit::win32 {

namespace {

using platform::win32::AsWide;
using platform::win32::WindowText;

DWORD ScrollStyle(TScrollStyle Style) {
    switch (Style) {
    case TScrollStyle::ssHorizontal:
        return WS_HSCROLL | ES_AUTOHSCROLL;
    case TScrollStyle::ssVertical:
        return WS_VSCROLL | ES_AUTOVSCROLL;
    case TScrollStyle::ssBoth:
        return WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    default:
        return 0;
    }
}

void SetCueBanner(HWND Window, const std::u16string& Hint) {
    ::SendMessageW(Window, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(AsWide(Hint)));
}

} // namespace

TEditPeer::TEditPeer(TWin32Backend& Backend, TCustomEdit& Edit) : TWindowPeer(Backend, Edit), FEdit(Edit) {
    CreateChild(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (Edit.ReadOnly() ? ES_READONLY : 0),
                Edit.BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0);
    ::SendMessageW(Window(), EM_LIMITTEXT, static_cast<WPARAM>(Edit.MaxLength()), 0);
    SetCueBanner(Window(), Edit.TextHint());
}

void TEditPeer::Sync(TChange What) {
    switch (What) {
    case TChange::Text:
        // Typing reported into the model comes back here; the window has that text already.
        if (WindowText(Window()) != FEdit.Text())
            TWindowPeer::Sync(What);
        return;
    case TChange::Style:
        ::SendMessageW(Window(), EM_SETREADONLY, FEdit.ReadOnly() ? TRUE : FALSE, 0);
        ::SendMessageW(Window(), EM_LIMITTEXT, static_cast<WPARAM>(FEdit.MaxLength()), 0);
        SetCueBanner(Window(), FEdit.TextHint());
        return;
    default:
        TWindowPeer::Sync(What);
        return;
    }
}

bool TEditPeer::HandleNotification(UINT Message, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Message == WM_COMMAND && HIWORD(WParam) == EN_CHANGE && !FSyncing) {
        FEdit.SetText(WindowText(Window()));
        Result = 0;
        return true;
    }
    return false;
}

TMemoPeer::TMemoPeer(TWin32Backend& Backend, TMemo& Memo) : TWindowPeer(Backend, Memo), FMemo(Memo) {
    DWORD style = WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL | ScrollStyle(Memo.ScrollBars());
    // Without word wrap a line runs on to the right instead of breaking.
    if (!Memo.WordWrap())
        style |= ES_AUTOHSCROLL;
    if (Memo.ReadOnly())
        style |= ES_READONLY;
    CreateChild(L"EDIT", style, Memo.BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0);
    // An edit control holds 32 K characters unless told otherwise; a log grows beyond that.
    ::SendMessageW(Window(), EM_LIMITTEXT, 0, 0);
    ShowText();
}

void TMemoPeer::ShowText() {
    const std::u16string text = FMemo.Text();
    if (WindowText(Window()) == text)
        return;
    TSyncScope syncing(FSyncing);
    ::SetWindowTextW(Window(), AsWide(text));
    // The newest line stays in view, as a log reader expects.
    const auto end = static_cast<WPARAM>(text.size());
    ::SendMessageW(Window(), EM_SETSEL, end, static_cast<LPARAM>(end));
    ::SendMessageW(Window(), EM_SCROLLCARET, 0, 0);
}

void TMemoPeer::Sync(TChange What) {
    switch (What) {
    case TChange::Text:
    case TChange::Items:
        ShowText();
        return;
    case TChange::Style:
        ::SendMessageW(Window(), EM_SETREADONLY, FMemo.ReadOnly() ? TRUE : FALSE, 0);
        return;
    default:
        TWindowPeer::Sync(What);
        return;
    }
}

bool TMemoPeer::HandleNotification(UINT Message, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Message == WM_COMMAND && HIWORD(WParam) == EN_CHANGE && !FSyncing) {
        TSyncScope syncing(FSyncing);
        FMemo.SetText(WindowText(Window()));
        Result = 0;
        return true;
    }
    return false;
}

} // namespace toolkit::win32
