#include "toolkit/win32/Win32Ui.ListViewPeer.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/win32/Win32Ui.Backend.h"

#include <commctrl.h>

namespace toolkit::win32 {

namespace {

using platform::win32::AsWide;

DWORD ViewStyle(TViewStyle Style) {
    switch (Style) {
    case TViewStyle::vsReport:
        return LVS_REPORT;
    case TViewStyle::vsList:
        return LVS_LIST;
    case TViewStyle::vsSmallIcon:
        return LVS_SMALLICON;
    default:
        return LVS_ICON;
    }
}

int ColumnFormat(TAlignment Alignment) {
    switch (Alignment) {
    case TAlignment::taRightJustify:
        return LVCFMT_RIGHT;
    case TAlignment::taCenter:
        return LVCFMT_CENTER;
    default:
        return LVCFMT_LEFT;
    }
}

} // namespace

TListViewPeer::TListViewPeer(TWin32Backend& Backend, TListView& ListView)
    : TWindowPeer(Backend, ListView), FListView(ListView) {
    CreateChild(WC_LISTVIEWW,
                WS_TABSTOP | LVS_SHOWSELALWAYS | LVS_SINGLESEL | ViewStyle(ListView.ViewStyle()),
                WS_EX_CLIENTEDGE);
    ApplyStyle();
    Fill();
}

void TListViewPeer::ApplyStyle() {
    HWND window = Window();
    const DWORD keep = ~static_cast<DWORD>(LVS_TYPEMASK | LVS_NOCOLUMNHEADER | LVS_EDITLABELS);
    auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)) & keep;
    style |= ViewStyle(FListView.ViewStyle());
    if (!FListView.ShowColumnHeaders())
        style |= LVS_NOCOLUMNHEADER;
    if (!FListView.ReadOnly())
        style |= LVS_EDITLABELS;
    ::SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    const DWORD extended = (FListView.RowSelect() ? LVS_EX_FULLROWSELECT : 0) |
                           (FListView.GridLines() ? LVS_EX_GRIDLINES : 0) | LVS_EX_DOUBLEBUFFER;
    ListView_SetExtendedListViewStyleEx(window, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER,
                                        extended);
}

void TListViewPeer::Fill() {
    HWND window = Window();
    TSyncScope syncing(FSyncing);
    ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(window);
    while (ListView_DeleteColumn(window, 0) != FALSE) {
    }
    const TListColumns& columns = FListView.Columns();
    for (int c = 0; c < columns.Count(); ++c) {
        std::u16string caption = columns[c].Caption();
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = ColumnFormat(columns[c].Alignment());
        column.cx = columns[c].Width();
        column.pszText = AsWide(caption);
        column.iSubItem = c;
        ListView_InsertColumn(window, c, &column);
    }
    const TListItems& items = FListView.Items();
    for (int r = 0; r < items.Count(); ++r) {
        std::u16string caption = items[r].Caption();
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = AsWide(caption);
        const int index = ListView_InsertItem(window, &item);
        const TStrings& subItems = items[r].SubItems();
        for (int s = 0; s < subItems.Count(); ++s) {
            std::u16string text = subItems[s];
            ListView_SetItemText(window, index, s + 1, AsWide(text));
        }
    }
    ShowSelection();
    ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(window, nullptr, TRUE);
}

void TListViewPeer::ShowSelection() {
    TSyncScope syncing(FSyncing);
    HWND window = Window();
    ListView_SetItemState(window, -1, 0, LVIS_SELECTED);
    if (FListView.ItemIndex() >= 0) {
        ListView_SetItemState(window, FListView.ItemIndex(), LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(window, FListView.ItemIndex(), FALSE);
    }
}

void TListViewPeer::Sync(TChange What) {
    switch (What) {
    case TChange::Items:
        Fill();
        return;
    case TChange::State:
        ShowSelection();
        return;
    case TChange::Style:
        ApplyStyle();
        return;
    default:
        TWindowPeer::Sync(What);
        return;
    }
}

bool TListViewPeer::HandleNotification(UINT Message, WPARAM, LPARAM LParam, LRESULT& Result) {
    if (Message != WM_NOTIFY || FSyncing)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(LParam);
    if (header->code != LVN_ITEMCHANGED)
        return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(LParam);
    const bool nowSelected =
        (change->uNewState & LVIS_SELECTED) != 0 && (change->uOldState & LVIS_SELECTED) == 0;
    if ((change->uChanged & LVIF_STATE) != 0 && nowSelected && change->iItem != FListView.ItemIndex()) {
        TSyncScope syncing(FSyncing);
        FListView.SelectByUser(change->iItem);
    }
    Result = 0;
    return true;
}

} // namespace toolkit::win32
