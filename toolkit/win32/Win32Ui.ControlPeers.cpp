#include "toolkit/win32/Win32Ui.ControlPeers.h"

#include "toolkit/win32/Win32Ui.ButtonPeers.h"
#include "toolkit/win32/Win32Ui.EditPeers.h"
#include "toolkit/win32/Win32Ui.GridPeer.h"
#include "toolkit/win32/Win32Ui.ImagePeer.h"
#include "toolkit/win32/Win32Ui.LabelPeer.h"
#include "toolkit/win32/Win32Ui.ListViewPeer.h"
#include "toolkit/win32/Win32Ui.Menus.h"
#include "toolkit/win32/Win32Ui.PanelPeer.h"
#include "toolkit/win32/Win32Ui.RangePeers.h"
#include "toolkit/win32/Win32Ui.TrayIconPeer.h"

namespace toolkit::win32 {

std::unique_ptr<IPeer> CreateControlPeer(TWin32Backend& Backend, TControl& Control) {
    if (auto* checkBox = dynamic_cast<TCheckBox*>(&Control))
        return std::make_unique<TCheckBoxPeer>(Backend, *checkBox);
    if (auto* radioButton = dynamic_cast<TRadioButton*>(&Control))
        return std::make_unique<TRadioButtonPeer>(Backend, *radioButton);
    if (auto* button = dynamic_cast<TButton*>(&Control))
        return std::make_unique<TButtonPeer>(Backend, *button);
    if (auto* label = dynamic_cast<TCustomLabel*>(&Control))
        return std::make_unique<TLabelPeer>(Backend, *label);
    if (auto* edit = dynamic_cast<TCustomEdit*>(&Control))
        return std::make_unique<TEditPeer>(Backend, *edit);
    if (auto* memo = dynamic_cast<TMemo*>(&Control))
        return std::make_unique<TMemoPeer>(Backend, *memo);
    if (auto* listView = dynamic_cast<TListView*>(&Control))
        return std::make_unique<TListViewPeer>(Backend, *listView);
    if (auto* grid = dynamic_cast<TCustomGrid*>(&Control))
        return std::make_unique<TGridPeer>(Backend, *grid);
    if (auto* scrollBar = dynamic_cast<TScrollBar*>(&Control))
        return std::make_unique<TScrollBarPeer>(Backend, *scrollBar);
    if (auto* trackBar = dynamic_cast<TTrackBar*>(&Control))
        return std::make_unique<TTrackBarPeer>(Backend, *trackBar);
    if (auto* image = dynamic_cast<TImage*>(&Control))
        return std::make_unique<TImagePeer>(Backend, *image);
    if (auto* panel = dynamic_cast<TCustomPanel*>(&Control))
        return std::make_unique<TPanelPeer>(Backend, *panel);
    return std::make_unique<TPaintedPeer>(Backend, Control);
}

std::unique_ptr<IPeer> CreateNonControlPeer(TWin32Backend& Backend, TComponent& Component) {
    if (auto* trayIcon = dynamic_cast<TTrayIcon*>(&Component))
        return std::make_unique<TTrayIconPeer>(Backend, *trayIcon);
    if (auto* menu = dynamic_cast<TMenu*>(&Component))
        return std::make_unique<TMenuPeer>(*menu);
    return nullptr;
}

} // namespace toolkit::win32
