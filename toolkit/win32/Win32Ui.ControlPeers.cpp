#include "toolkit/win32/Win32Ui.ControlPeers.h"

#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/win32/Win32Ui.ButtonPeers.h"
#include "toolkit/win32/Win32Ui.EditPeers.h"
#include "toolkit/win32/Win32Ui.FormPeer.h"
#include "toolkit/win32/Win32Ui.GridPeer.h"
#include "toolkit/win32/Win32Ui.ImagePeer.h"
#include "toolkit/win32/Win32Ui.LabelPeer.h"
#include "toolkit/win32/Win32Ui.ListViewPeer.h"
#include "toolkit/win32/Win32Ui.Menus.h"
#include "toolkit/win32/Win32Ui.PanelPeer.h"
#include "toolkit/win32/Win32Ui.RangePeers.h"
#include "toolkit/win32/Win32Ui.TrayIconPeer.h"

namespace toolkit::win32 {

namespace {

// Every kind is listed and there is no default: a new kind has to be given its peer here. A kind
// names the class the component is or is built on, so the casts below are to a base of the object.
std::unique_ptr<IPeer> PeerOfKind(TWin32Backend& Backend, TComponent& Component) {
    switch (Component.ComponentKind()) {
    case TComponentKind::ckForm:
        return std::make_unique<TFormPeer>(Backend, static_cast<TForm&>(Component));
    case TComponentKind::ckCheckBox:
        return std::make_unique<TCheckBoxPeer>(Backend, static_cast<TCheckBox&>(Component));
    case TComponentKind::ckRadioButton:
        return std::make_unique<TRadioButtonPeer>(Backend, static_cast<TRadioButton&>(Component));
    case TComponentKind::ckButton:
        return std::make_unique<TButtonPeer>(Backend, static_cast<TButton&>(Component));
    case TComponentKind::ckCustomLabel:
    case TComponentKind::ckLabel:
    case TComponentKind::ckBoundLabel:
        return std::make_unique<TLabelPeer>(Backend, static_cast<TCustomLabel&>(Component));
    case TComponentKind::ckCustomEdit:
    case TComponentKind::ckEdit:
    case TComponentKind::ckCustomLabeledEdit:
    case TComponentKind::ckLabeledEdit:
    case TComponentKind::ckSpinEdit:
    case TComponentKind::ckNumberBox:
        return std::make_unique<TEditPeer>(Backend, static_cast<TCustomEdit&>(Component));
    case TComponentKind::ckMemo:
        return std::make_unique<TMemoPeer>(Backend, static_cast<TMemo&>(Component));
    case TComponentKind::ckListView:
        return std::make_unique<TListViewPeer>(Backend, static_cast<TListView&>(Component));
    case TComponentKind::ckCustomGrid:
    case TComponentKind::ckDrawGrid:
    case TComponentKind::ckStringGrid:
        return std::make_unique<TGridPeer>(Backend, static_cast<TCustomGrid&>(Component));
    case TComponentKind::ckScrollBar:
        return std::make_unique<TScrollBarPeer>(Backend, static_cast<TScrollBar&>(Component));
    case TComponentKind::ckTrackBar:
        return std::make_unique<TTrackBarPeer>(Backend, static_cast<TTrackBar&>(Component));
    case TComponentKind::ckImage:
        return std::make_unique<TImagePeer>(Backend, static_cast<TImage&>(Component));
    case TComponentKind::ckCustomPanel:
    case TComponentKind::ckPanel:
        return std::make_unique<TPanelPeer>(Backend, static_cast<TCustomPanel&>(Component));
    // No native counterpart of their own yet: a plain painted window, so that their children
    // still have a parent window.
    case TComponentKind::ckControl:
    case TComponentKind::ckFrame:
    case TComponentKind::ckButtonControl:
    case TComponentKind::ckCustomComboBox:
    case TComponentKind::ckComboBox:
    case TComponentKind::ckFilterComboBox:
    case TComponentKind::ckCustomListBox:
    case TComponentKind::ckListBox:
    case TComponentKind::ckFileListBox:
    case TComponentKind::ckDirectoryListBox:
    case TComponentKind::ckCustomGroupBox:
    case TComponentKind::ckGroupBox:
    case TComponentKind::ckCustomRadioGroup:
    case TComponentKind::ckRadioGroup:
    case TComponentKind::ckShape:
    case TComponentKind::ckSplitter:
    case TComponentKind::ckTabSheet:
    case TComponentKind::ckPageControl:
    case TComponentKind::ckHotKey:
    case TComponentKind::ckToggleSwitch:
        return std::make_unique<TPaintedPeer>(Backend, static_cast<TControl&>(Component));
    case TComponentKind::ckTrayIcon:
        return std::make_unique<TTrayIconPeer>(Backend, static_cast<TTrayIcon&>(Component));
    case TComponentKind::ckMenu:
    case TComponentKind::ckMainMenu:
    case TComponentKind::ckPopupMenu:
        return std::make_unique<TMenuPeer>(static_cast<TMenu&>(Component));
    // Nothing native: the value lives in the model (a timer runs on the backend's own window).
    case TComponentKind::ckComponent:
    case TComponentKind::ckApplication:
    case TComponentKind::ckTimer:
    case TComponentKind::ckAction:
    case TComponentKind::ckMenuItem:
    case TComponentKind::ckCommonDialog:
    case TComponentKind::ckOpenDialog:
    case TComponentKind::ckSaveDialog:
    case TComponentKind::ckFontDialog:
    case TComponentKind::ckColorDialog:
        return nullptr;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<IPeer> CreateControlPeer(TWin32Backend& Backend, TControl& Control) {
    std::unique_ptr<IPeer> peer = PeerOfKind(Backend, Control);
    if (peer == nullptr) {
        throw EInvalidOperation(Control.ClassName() +
                                u" is a control but reports the kind of a component that is not");
    }
    return peer;
}

std::unique_ptr<IPeer> CreateNonControlPeer(TWin32Backend& Backend, TComponent& Component) {
    // A control's window comes from CreateControlPeer, made once when it gets a parent.
    if (Component.Is<TControl>()) {
        return nullptr;
    }
    return PeerOfKind(Backend, Component);
}

} // namespace toolkit::win32
