#pragma once
// Native menus built from menu item trees. Each command item carries its TMenuItem in the item
// data, so a chosen command leads straight back to the item without a table on the side.
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/win32/Win32Ui.Handles.h"

namespace toolkit::win32 {

// The visible children of Root as a menu bar (Popup false) or a pop-up menu.
TMenuHandle BuildMenu(const TMenuItem& Root, bool Popup);
// The item behind a command of Menu or of one of its submenus, or null.
TMenuItem* MenuItemOf(HMENU Menu, UINT Id);

// The counterpart of a menu component. Pop-up menus are built when they open; a main menu's
// changes rebuild the bars of the forms that show it.
class TMenuPeer final : public IPeer {
public:
    explicit TMenuPeer(TMenu& Menu) : FMenu(Menu) {}
    platform::TWindowHandle Handle() const override { return 0; }
    void Sync(TChange What) override;

private:
    TMenu& FMenu;
};

} // namespace toolkit::win32
