#pragma once
// One component of every kind, for the tests that go through all kinds: the switch has no default,
// so a kind added to the toolkit stops the build here until the tests can make one.
#include "toolkit/Toolkit.ActnList.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.Dialogs.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.FileCtrl.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Frames.h"
#include "toolkit/Toolkit.Grids.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.NumberBox.h"
#include "toolkit/Toolkit.Spin.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.Timer.h"
#include "toolkit/Toolkit.TrayIcon.h"
#include "toolkit/Toolkit.WinXCtrls.h"

#include <vector>

namespace toolkit::testing {

inline std::vector<TComponentKind> AllComponentKinds() {
    std::vector<TComponentKind> kinds;
    for (int kind = 0; kind < ComponentKindCount; ++kind) {
        kinds.push_back(static_cast<TComponentKind>(kind));
    }
    return kinds;
}

// A new component of Kind owned by Form; a control is placed on Form. The application is the
// one of Form, and a form of that kind is owned by Form too.
inline TComponent* NewComponentOfKind(TComponentKind Kind, TForm& Form) {
    auto placed = [&Form](auto* Control) {
        Control->SetParent(&Form);
        return Control;
    };
    switch (Kind) {
    case TComponentKind::ckComponent:
        return new TComponent(&Form);
    case TComponentKind::ckApplication:
        return &Form.Application();
    case TComponentKind::ckTimer:
        return new TTimer(&Form);
    case TComponentKind::ckAction:
        return new TAction(&Form);
    case TComponentKind::ckMenuItem:
        return new TMenuItem(&Form);
    case TComponentKind::ckMenu:
        return new TMenu(&Form);
    case TComponentKind::ckMainMenu:
        return new TMainMenu(&Form);
    case TComponentKind::ckPopupMenu:
        return new TPopupMenu(&Form);
    case TComponentKind::ckTrayIcon:
        return new TTrayIcon(&Form);
    case TComponentKind::ckCommonDialog:
        return new TCommonDialog(&Form);
    case TComponentKind::ckOpenDialog:
        return new TOpenDialog(&Form);
    case TComponentKind::ckSaveDialog:
        return new TSaveDialog(&Form);
    case TComponentKind::ckFontDialog:
        return new TFontDialog(&Form);
    case TComponentKind::ckColorDialog:
        return new TColorDialog(&Form);
    case TComponentKind::ckControl:
        return placed(new TControl(&Form));
    case TComponentKind::ckForm:
        return NewForm<TForm>(static_cast<TComponent*>(&Form));
    case TComponentKind::ckFrame:
        return placed(new TFrame(&Form));
    case TComponentKind::ckCustomLabel:
        return placed(new TCustomLabel(&Form));
    case TComponentKind::ckLabel:
        return placed(new TLabel(&Form));
    case TComponentKind::ckBoundLabel:
        return placed(new TLabeledEdit(&Form))->EditLabel();
    case TComponentKind::ckButtonControl:
        return placed(new TButtonControl(&Form));
    case TComponentKind::ckButton:
        return placed(new TButton(&Form));
    case TComponentKind::ckCheckBox:
        return placed(new TCheckBox(&Form));
    case TComponentKind::ckRadioButton:
        return placed(new TRadioButton(&Form));
    case TComponentKind::ckCustomEdit:
        return placed(new TCustomEdit(&Form));
    case TComponentKind::ckEdit:
        return placed(new TEdit(&Form));
    case TComponentKind::ckCustomLabeledEdit:
        return placed(new TCustomLabeledEdit(&Form));
    case TComponentKind::ckLabeledEdit:
        return placed(new TLabeledEdit(&Form));
    case TComponentKind::ckSpinEdit:
        return placed(new TSpinEdit(&Form));
    case TComponentKind::ckNumberBox:
        return placed(new TNumberBox(&Form));
    case TComponentKind::ckMemo:
        return placed(new TMemo(&Form));
    case TComponentKind::ckCustomComboBox:
        return placed(new TCustomComboBox(&Form));
    case TComponentKind::ckComboBox:
        return placed(new TComboBox(&Form));
    case TComponentKind::ckFilterComboBox:
        return placed(new TFilterComboBox(&Form));
    case TComponentKind::ckCustomListBox:
        return placed(new TCustomListBox(&Form));
    case TComponentKind::ckListBox:
        return placed(new TListBox(&Form));
    case TComponentKind::ckFileListBox:
        return placed(new TFileListBox(&Form));
    case TComponentKind::ckDirectoryListBox:
        return placed(new TDirectoryListBox(&Form));
    case TComponentKind::ckCustomGroupBox:
        return placed(new TCustomGroupBox(&Form));
    case TComponentKind::ckGroupBox:
        return placed(new TGroupBox(&Form));
    case TComponentKind::ckCustomRadioGroup:
        return placed(new TCustomRadioGroup(&Form));
    case TComponentKind::ckRadioGroup:
        return placed(new TRadioGroup(&Form));
    case TComponentKind::ckScrollBar:
        return placed(new TScrollBar(&Form));
    case TComponentKind::ckCustomPanel:
        return placed(new TCustomPanel(&Form));
    case TComponentKind::ckPanel:
        return placed(new TPanel(&Form));
    case TComponentKind::ckImage:
        return placed(new TImage(&Form));
    case TComponentKind::ckShape:
        return placed(new TShape(&Form));
    case TComponentKind::ckSplitter:
        return placed(new TSplitter(&Form));
    case TComponentKind::ckListView:
        return placed(new TListView(&Form));
    case TComponentKind::ckTrackBar:
        return placed(new TTrackBar(&Form));
    case TComponentKind::ckTabSheet:
        return placed(new TTabSheet(&Form));
    case TComponentKind::ckPageControl:
        return placed(new TPageControl(&Form));
    case TComponentKind::ckHotKey:
        return placed(new THotKey(&Form));
    case TComponentKind::ckCustomGrid:
        return placed(new TCustomGrid(&Form));
    case TComponentKind::ckDrawGrid:
        return placed(new TDrawGrid(&Form));
    case TComponentKind::ckStringGrid:
        return placed(new TStringGrid(&Form));
    case TComponentKind::ckToggleSwitch:
        return placed(new TToggleSwitch(&Form));
    }
    return nullptr;
}

} // namespace toolkit::testing
