#include "toolkit/win32/Win32Ui.Menus.h"

#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

namespace toolkit::win32 {

namespace {

void AddItems(HMENU Menu, const TMenuItem& Parent, UINT& NextId) {
    for (int i = 0; i < Parent.Count(); ++i) {
        TMenuItem* item = Parent.Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            ::AppendMenuW(Menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::u16string caption = item->Caption();
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_FTYPE;
        info.fType = item->RadioItem() ? MFT_RADIOCHECK : MFT_STRING;
        info.fState = (item->Checked() ? MFS_CHECKED : 0u) | (item->Enabled() ? 0u : MFS_DISABLED) |
                      (item->Default() ? MFS_DEFAULT : 0u);
        info.wID = NextId++;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        info.dwTypeData = platform::win32::AsWide(caption);
        TMenuHandle submenu;
        if (item->Count() > 0) {
            submenu.Reset(::CreatePopupMenu());
            AddItems(submenu.Get(), *item, NextId);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = submenu.Get();
        }
        if (::InsertMenuItemW(Menu, ::GetMenuItemCount(Menu), TRUE, &info) != FALSE)
            submenu.Release(); // the parent menu destroys it now
    }
}

} // namespace

TMenuHandle BuildMenu(const TMenuItem& Root, bool Popup) {
    TMenuHandle menu(Popup ? ::CreatePopupMenu() : ::CreateMenu());
    // Command 0 means "nothing chosen" to TrackPopupMenu, so numbering starts at 1.
    UINT nextId = 1;
    if (menu)
        AddItems(menu.Get(), Root, nextId);
    return menu;
}

TMenuItem* MenuItemOf(HMENU Menu, UINT Id) {
    if (Menu == nullptr || Id == 0)
        return nullptr;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (::GetMenuItemInfoW(Menu, Id, FALSE, &info) == FALSE)
        return nullptr;
    return reinterpret_cast<TMenuItem*>(info.dwItemData);
}

void TMenuPeer::Sync(TChange What) {
    if (What != TChange::Items || !FMenu.Is<TMainMenu>())
        return;
    for (TForm* form : FMenu.Application().Screen().Forms())
        if (form->Menu() == &FMenu && form->HandleAllocated())
            form->Peer()->Sync(TChange::Items);
}

} // namespace toolkit::win32
