#include "framework/ui/OrvelVcl.Common.IniFile.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.IO.h"
#include "framework/core/OrvelCore.h"
#include "toolkit/Toolkit.ActnList.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.ColorNames.h"
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.Dialogs.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.FileCtrl.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.NumberBox.h"
#include "toolkit/Toolkit.Spin.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.WinXCtrls.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace orvel {

using toolkit::TComponent;
using toolkit::TControl;
using toolkit::TForm;

namespace {

constexpr char16_t MainFormFontIdent[] = u"MainFormFont";
constexpr char16_t LastUsedFolderKey[] = u"LastUsedFolder";

std::u16string CheckedSection(const std::u16string& SectionName) {
    if (SectionName.empty()) {
        throw EOrvelException(u"TIniFileApp.Create: Empty SectionName");
    }
    return SectionName;
}

std::u16string ChosenFile(const std::u16string& ForcedName) {
    return ForcedName.empty() ? TAppDataCore::IniFile() : ForcedName;
}

bool IsMainForm(const TForm& Form) {
    return Form.Application().MainForm() == &Form;
}

// Forms whose border does not let the user resize them keep the size they were built with.
bool HasFixedSize(const TForm& Form) {
    using toolkit::TFormBorderStyle;
    const TFormBorderStyle style = Form.BorderStyle();
    return style == TFormBorderStyle::bsNone || style == TFormBorderStyle::bsDialog ||
           style == TFormBorderStyle::bsToolWindow;
}

int ToDpi96(const TControl& Control, int Pixels) {
    return MulDiv(Pixels, 96, Control.CurrentPPI());
}

int FromDpi96(const TControl& Control, int Units) {
    return MulDiv(Units, Control.CurrentPPI(), 96);
}

// A splitter stores the edge it moves along: Left when aligned left or right, Top when aligned
// top or bottom; nothing otherwise.
enum class TSplitterEdge { None, Left, Top };

TSplitterEdge SplitterEdge(const toolkit::TSplitter& Splitter) {
    using toolkit::TAlign;
    switch (Splitter.Align()) {
    case TAlign::alLeft:
    case TAlign::alRight:
        return TSplitterEdge::Left;
    case TAlign::alTop:
    case TAlign::alBottom:
        return TSplitterEdge::Top;
    default:
        return TSplitterEdge::None;
    }
}

std::u16string GrandparentName(const TControl& Control) {
    const TControl* parent = Control.Parent();
    if (parent == nullptr || parent->Parent() == nullptr) {
        return u"(no container)";
    }
    return parent->Parent()->Name();
}

// One row of the component table: how a class writes and restores its value. RowOf picks the row
// by the component's kind.
struct TCompRow {
    void (*WriteValue)(TIniFileApp& Ini, TComponent& Comp);
    void (*ReadValue)(TIniFileApp& Ini, TComponent& Comp);
};

template <class T> T& As(TComponent& Comp) {
    return dynamic_cast<T&>(Comp);
}

// Shorthands for the owner's section and the component's key.
struct TSlot {
    TIniFileApp& Ini;
    std::u16string Section;
    std::u16string Key;

    TSlot(TIniFileApp& AIni, const TComponent& Comp)
        : Ini(AIni), Section(Comp.Owner() != nullptr ? Comp.Owner()->Name() : std::u16string()),
          Key(Comp.Name()) {}

    void WriteBool(bool Value) { Ini.WriteBool(Section, Key, Value); }
    void WriteInt(int Value) { Ini.WriteInteger(Section, Key, Value); }
    void WriteText(const std::u16string& Value) { Ini.WriteString(Section, Key, Value); }
    void WriteFloat(double Value) { Ini.WriteFloat(Section, Key, Value); }
    bool ReadBool(bool Default = false) { return Ini.ReadBool(Section, Key, Default); }
    int ReadInt(int Default = 0) { return Ini.ReadInteger(Section, Key, Default); }
    std::u16string ReadText(const std::u16string& Default = {}) {
        return Ini.ReadString(Section, Key, Default);
    }
    double ReadFloat(double Default = 0) { return Ini.ReadFloat(Section, Key, Default); }
};

toolkit::TCheckBoxState CheckBoxStateOf(int Stored) {
    using toolkit::TCheckBoxState;
    switch (Stored) {
    case 1:
        return TCheckBoxState::cbChecked;
    case 2:
        return TCheckBoxState::cbGrayed;
    default:
        return TCheckBoxState::cbUnchecked;
    }
}

bool UsableFolder(const TIniFileApp& Ini, const std::u16string& Folder) {
    return !Folder.empty() && FolderExistsStrict(Ini.Services().Files, Folder);
}

const TCompRow ActionRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteBool(As<toolkit::TAction>(Comp).Checked());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TAction>(Comp).SetChecked(TSlot(Ini, Comp).ReadBool());
    },
};

const TCompRow CheckBoxRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(static_cast<int>(As<toolkit::TCheckBox>(Comp).State()));
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TCheckBox>(Comp).SetState(CheckBoxStateOf(TSlot(Ini, Comp).ReadInt()));
    },
};

const TCompRow RadioButtonRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteBool(As<toolkit::TRadioButton>(Comp).Checked());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        auto& button = As<toolkit::TRadioButton>(Comp);
        // A tab stop on an unchecked button of a group is a design fault worth stopping for.
        if (button.TabStop() && !button.Checked()) {
            throw EOrvelException(u"TabStop should not be true for " + button.Name() + u" on " +
                                  GrandparentName(button));
        }
        button.SetChecked(TSlot(Ini, Comp).ReadBool());
    },
};

void WriteComboBox(TIniFileApp& Ini, TComponent& Comp) {
    TSlot(Ini, Comp).WriteInt(As<toolkit::TCustomComboBox>(Comp).ItemIndex());
}

void ReadComboBox(TIniFileApp& Ini, TComponent& Comp) {
    As<toolkit::TCustomComboBox>(Comp).SetItemIndex(TSlot(Ini, Comp).ReadInt());
}

const TCompRow ComboBoxRow{WriteComboBox, ReadComboBox};

const TCompRow FilterComboBoxRow{
    WriteComboBox,
    [](TIniFileApp& Ini, TComponent& Comp) {
        ReadComboBox(Ini, Comp);
        // A restored filter must reach the file list it filters, as a user's choice would.
        auto& filter = As<toolkit::TFilterComboBox>(Comp);
        if (filter.FileList() != nullptr) {
            filter.FileList()->SetMask(filter.Mask());
        }
    },
};

const TCompRow NumberBoxRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteFloat(As<toolkit::TNumberBox>(Comp).Value());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TNumberBox>(Comp).SetValue(TSlot(Ini, Comp).ReadFloat());
    },
};

const TCompRow LabeledEditRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteText(As<toolkit::TCustomLabeledEdit>(Comp).Text());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TCustomLabeledEdit>(Comp).SetText(TSlot(Ini, Comp).ReadText());
    },
};

const TCompRow EditRow{
    [](TIniFileApp& Ini, TComponent& Comp) { TSlot(Ini, Comp).WriteText(As<toolkit::TEdit>(Comp).Text()); },
    [](TIniFileApp& Ini, TComponent& Comp) { As<toolkit::TEdit>(Comp).SetText(TSlot(Ini, Comp).ReadText()); },
};

const TCompRow SpinEditRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(As<toolkit::TSpinEdit>(Comp).Value());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TSpinEdit>(Comp).SetValue(TSlot(Ini, Comp).ReadInt());
    },
};

const TCompRow PageControlRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(As<toolkit::TPageControl>(Comp).ActivePageIndex());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TPageControl>(Comp).SetActivePageIndex(TSlot(Ini, Comp).ReadInt());
    },
};

const TCompRow HotKeyRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(As<toolkit::THotKey>(Comp).HotKey());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        const int stored = TSlot(Ini, Comp).ReadInt();
        if (stored < 0 || stored > 0xFFFF) {
            throw ERangeError(
                base::Format(u"Range check error: hot key {0} of {1} is outside 0 to 65535", stored, Comp.Name()));
        }
        As<toolkit::THotKey>(Comp).SetHotKey(static_cast<toolkit::TShortCut>(stored));
    },
};

const TCompRow RadioGroupRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(As<toolkit::TCustomRadioGroup>(Comp).ItemIndex());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TCustomRadioGroup>(Comp).SetItemIndex(TSlot(Ini, Comp).ReadInt());
    },
};

const TCompRow TrackBarRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(As<toolkit::TTrackBar>(Comp).Position());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TTrackBar>(Comp).SetPosition(TSlot(Ini, Comp).ReadInt());
    },
};

const TCompRow ShapeRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        Ini.WriteColor(Comp.Name(), As<toolkit::TShape>(Comp).Brush().Color());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TShape>(Comp).Brush().SetColor(Ini.ReadColor(Comp.Name(), toolkit::clBlack));
    },
};

const TCompRow ColorDialogRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        Ini.WriteColor(Comp.Name(), As<toolkit::TColorDialog>(Comp).Color());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TColorDialog>(Comp).SetColor(Ini.ReadColor(Comp.Name(), toolkit::clBlack));
    },
};

const TCompRow SplitterRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        auto& splitter = As<toolkit::TSplitter>(Comp);
        switch (SplitterEdge(splitter)) {
        case TSplitterEdge::Left:
            TSlot(Ini, Comp).WriteInt(splitter.Left());
            break;
        case TSplitterEdge::Top:
            TSlot(Ini, Comp).WriteInt(splitter.Top());
            break;
        case TSplitterEdge::None:
            break;
        }
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        auto& splitter = As<toolkit::TSplitter>(Comp);
        switch (SplitterEdge(splitter)) {
        case TSplitterEdge::Left:
            splitter.SetLeft(TSlot(Ini, Comp).ReadInt(splitter.Left()));
            break;
        case TSplitterEdge::Top:
            splitter.SetTop(TSlot(Ini, Comp).ReadInt(splitter.Top()));
            break;
        case TSplitterEdge::None:
            break;
        }
    },
};

const TCompRow FileListBoxRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteText(As<toolkit::TFileListBox>(Comp).FileName());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TFileListBox>(Comp).ApplyFilePath(TSlot(Ini, Comp).ReadText());
    },
};

const TCompRow ScrollBarRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteInt(As<toolkit::TScrollBar>(Comp).Position());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TScrollBar>(Comp).SetPosition(TSlot(Ini, Comp).ReadInt());
    },
};

const TCompRow MenuItemRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteBool(As<toolkit::TMenuItem>(Comp).Checked());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        As<toolkit::TMenuItem>(Comp).SetChecked(TSlot(Ini, Comp).ReadBool());
    },
};

const TCompRow ToggleSwitchRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteBool(As<toolkit::TToggleSwitch>(Comp).IsOn());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        using toolkit::TToggleSwitchState;
        As<toolkit::TToggleSwitch>(Comp).SetState(TSlot(Ini, Comp).ReadBool() ? TToggleSwitchState::tssOn
                                                                              : TToggleSwitchState::tssOff);
    },
};

const TCompRow OpenDialogRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        // Kept to Latin-1 (characters above U+00FF become "_"); an empty name keeps what was
        // stored before.
        const std::u16string& fileName = As<toolkit::TOpenDialog>(Comp).FileName();
        if (!fileName.empty()) {
            TSlot(Ini, Comp).WriteText(ReplaceWideChars(fileName, u'_'));
        }
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        const std::u16string documents = WithTrailingDelimiter(DocumentsFolder(Ini.Services().Shell));
        const std::u16string folder = ExtractFolder(TSlot(Ini, Comp).ReadText(documents), true);
        if (UsableFolder(Ini, folder)) {
            As<toolkit::TOpenDialog>(Comp).SetInitialDir(folder);
        }
    },
};

const TCompRow FontDialogRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        Ini.Write(Comp.Name(), &As<toolkit::TFontDialog>(Comp).Font());
    },
    [](TIniFileApp& Ini, TComponent& Comp) { Ini.Read(Comp.Name(), &As<toolkit::TFontDialog>(Comp).Font()); },
};

const TCompRow DirectoryListBoxRow{
    [](TIniFileApp& Ini, TComponent& Comp) {
        TSlot(Ini, Comp).WriteText(As<toolkit::TDirectoryListBox>(Comp).Directory());
    },
    [](TIniFileApp& Ini, TComponent& Comp) {
        const std::u16string folder = TSlot(Ini, Comp).ReadText();
        if (UsableFolder(Ini, folder)) {
            As<toolkit::TDirectoryListBox>(Comp).SetDirectory(folder);
        }
    },
};

// Every kind is listed and there is no default: a new kind has to be placed here, in a row or
// among those that store nothing. A class derived elsewhere has its base's kind, so a row covers
// its class and every class derived from it.
const TCompRow* RowOf(const TComponent& Comp) {
    using toolkit::TComponentKind;
    switch (Comp.ComponentKind()) {
    case TComponentKind::ckAction:
        return &ActionRow;
    case TComponentKind::ckCheckBox:
        return &CheckBoxRow;
    case TComponentKind::ckRadioButton:
        return &RadioButtonRow;
    case TComponentKind::ckCustomComboBox:
    case TComponentKind::ckComboBox:
        return &ComboBoxRow;
    case TComponentKind::ckFilterComboBox:
        return &FilterComboBoxRow;
    case TComponentKind::ckNumberBox:
        return &NumberBoxRow;
    case TComponentKind::ckCustomLabeledEdit:
    case TComponentKind::ckLabeledEdit:
        return &LabeledEditRow;
    case TComponentKind::ckEdit:
        return &EditRow;
    case TComponentKind::ckSpinEdit:
        return &SpinEditRow;
    case TComponentKind::ckPageControl:
        return &PageControlRow;
    case TComponentKind::ckHotKey:
        return &HotKeyRow;
    case TComponentKind::ckCustomRadioGroup:
    case TComponentKind::ckRadioGroup:
        return &RadioGroupRow;
    case TComponentKind::ckTrackBar:
        return &TrackBarRow;
    case TComponentKind::ckShape:
        return &ShapeRow;
    case TComponentKind::ckColorDialog:
        return &ColorDialogRow;
    case TComponentKind::ckSplitter:
        return &SplitterRow;
    case TComponentKind::ckFileListBox:
        return &FileListBoxRow;
    case TComponentKind::ckScrollBar:
        return &ScrollBarRow;
    case TComponentKind::ckMenuItem:
        return &MenuItemRow;
    case TComponentKind::ckToggleSwitch:
        return &ToggleSwitchRow;
    case TComponentKind::ckOpenDialog:
    case TComponentKind::ckSaveDialog:
        return &OpenDialogRow;
    case TComponentKind::ckFontDialog:
        return &FontDialogRow;
    case TComponentKind::ckDirectoryListBox:
        return &DirectoryListBoxRow;
    // Nothing of these is stored (a form's own entry is written apart from the table); an
    // edit that is none of the edit classes above is not in the table either.
    case TComponentKind::ckComponent:
    case TComponentKind::ckApplication:
    case TComponentKind::ckTimer:
    case TComponentKind::ckMenu:
    case TComponentKind::ckMainMenu:
    case TComponentKind::ckPopupMenu:
    case TComponentKind::ckTrayIcon:
    case TComponentKind::ckCommonDialog:
    case TComponentKind::ckControl:
    case TComponentKind::ckForm:
    case TComponentKind::ckFrame:
    case TComponentKind::ckCustomLabel:
    case TComponentKind::ckLabel:
    case TComponentKind::ckBoundLabel:
    case TComponentKind::ckButtonControl:
    case TComponentKind::ckButton:
    case TComponentKind::ckCustomEdit:
    case TComponentKind::ckMemo:
    case TComponentKind::ckCustomListBox:
    case TComponentKind::ckListBox:
    case TComponentKind::ckCustomGroupBox:
    case TComponentKind::ckGroupBox:
    case TComponentKind::ckCustomPanel:
    case TComponentKind::ckPanel:
    case TComponentKind::ckImage:
    case TComponentKind::ckListView:
    case TComponentKind::ckTabSheet:
    case TComponentKind::ckCustomGrid:
    case TComponentKind::ckDrawGrid:
    case TComponentKind::ckStringGrid:
        return nullptr;
    }
    return nullptr;
}
} // namespace

int MulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(Number) * Numerator;
    const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(Denominator));
    const std::int64_t magnitude = (std::llabs(product) + divisor / 2) / divisor;
    const std::int64_t result = ((product < 0) != (Denominator < 0)) ? -magnitude : magnitude;
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max()) {
        return -1;
    }
    return static_cast<int>(result);
}

// --- construction ---

TIniFileApp::TIniFileApp(const std::u16string& SectionName, const std::u16string& ForcedName)
    : TIniFileApp(SectionName, ForcedName, TAppDataCore::Services()) {}

TIniFileApp::TIniFileApp(const std::u16string& SectionName, const std::u16string& ForcedName,
                         const platform::TServices& Os)
    : TIniFileEx(CheckedSection(SectionName), ChosenFile(ForcedName), Os.Files), FOs(Os) {}

std::u16string TIniFileApp::OwnerSection(const TComponent& Comp) {
    return Comp.Owner() != nullptr ? Comp.Owner()->Name() : std::u16string();
}

// --- forms ---

void TIniFileApp::SaveForm(TForm* Form, TAutoState AutoState) {
    if (Form == nullptr) {
        throw EOrvelException(u"TIniFileApp.SaveForm: Form is nil");
    }
    if (AutoState == asNone) {
        throw EOrvelException(u"TIniFileApp - SaveForm called when AutoState = asNone");
    }
    WriteComp(Form);
    if (AutoState == asFull) {
        WriteOwned(*Form);
    }
}

void TIniFileApp::LoadForm(TForm* Form, TAutoState AutoState) {
    if (Form == nullptr) {
        throw EOrvelException(u"TIniFileApp.LoadForm: Form parameter cannot be nil");
    }
    if (AutoState == asNone) {
        throw EOrvelException(u"TIniFileApp - LoadForm called when AutoState = asNone");
    }
    ReadComp(Form);
    if (AutoState == asFull) {
        ReadOwned(*Form);
    }
}

// Depth first, each component before the ones it owns; an unsupported or unnamed component is
// skipped, but what it owns is still visited (a frame holds its own controls).
void TIniFileApp::WriteOwned(const TComponent& Owner) {
    const std::vector<TComponent*> owned = Owner.Components();
    for (TComponent* comp : owned) {
        if (IsSupported(comp) && !comp->Name().empty()) {
            WriteComp(comp);
        }
        if (comp->ComponentCount() > 0) {
            WriteOwned(*comp);
        }
    }
}

void TIniFileApp::ReadOwned(const TComponent& Owner) {
    const std::vector<TComponent*> owned = Owner.Components();
    for (TComponent* comp : owned) {
        if (IsSupported(comp) && !comp->Name().empty()) {
            ReadComp(comp);
        }
        if (comp->ComponentCount() > 0) {
            ReadOwned(*comp);
        }
    }
}

void TIniFileApp::WriteGroup(TControl* WinCtrl) {
    if (WinCtrl == nullptr) {
        throw EOrvelException(u"TIniFileApp.WriteGroup: WinCtrl parameter cannot be nil");
    }
    const std::vector<TControl*> children = WinCtrl->Controls();
    for (TControl* child : children) {
        if (IsSupported(child) && !child->Name().empty()) {
            WriteComp(child);
        }
    }
}

void TIniFileApp::ReadGroup(TControl* WinCtrl) {
    if (WinCtrl == nullptr) {
        throw EOrvelException(u"TIniFileApp.ReadGroup: WinCtrl parameter cannot be nil");
    }
    const std::vector<TControl*> children = WinCtrl->Controls();
    for (TControl* child : children) {
        if (IsSupported(child) && !child->Name().empty()) {
            ReadComp(child);
        }
    }
}

// --- one component ---

bool TIniFileApp::IsSupported(const TComponent* WinCtrl) const {
    return WinCtrl != nullptr && RowOf(*WinCtrl) != nullptr;
}

bool TIniFileApp::WriteComp(TComponent* Comp) {
    Assert(AppDataCore != nullptr, u"TIniFileApp.WriteComp: AppDataCore is not initialized");
    Assert(Comp != nullptr, u"TIniFileApp.WriteComp: Comp parameter cannot be nil");
    if (Comp->Name().empty()) {
        std::u16string message =
            u"TIniFileApp.WriteComp: The control has no name! Class: " + Comp->ClassName();
        if (const auto* control = dynamic_cast<const TControl*>(Comp); control && control->Parent()) {
            message += u". Parent: " + control->Parent()->Name();
        }
        throw EOrvelException(message);
    }
    if (auto* form = dynamic_cast<TForm*>(Comp)) {
        WriteCtrlPos(*form);
        if (IsMainForm(*form)) {
            Write(MainFormFontIdent, &form->Font());
            WriteString(form->Name(), LastUsedFolderKey, AppDataCore->LastUsedFolder());
        }
        return true;
    }
    const TCompRow* row = RowOf(*Comp);
    if (row == nullptr) {
        return false;
    }
    row->WriteValue(*this, *Comp);
    return true;
}

bool TIniFileApp::ReadComp(TComponent* Comp) {
    Assert(Comp != nullptr, u"TIniFileApp.ReadComp: Comp parameter cannot be nil");
    if (Comp->Name().empty()) {
        throw EOrvelException(u"TIniFileApp.ReadComp: The control has no name! Class: " + Comp->ClassName());
    }
    if (auto* form = dynamic_cast<TForm*>(Comp)) {
        if (form->Menu() != nullptr && form->BorderStyle() == toolkit::TFormBorderStyle::bsDialog &&
            AppDataCore != nullptr) {
            TAppDataCore::LogWarn(u"TIniFileApp.ReadComp: " + form->Name() +
                                  u": the main menu will not appear because the form is set to bsDialog.");
        }
        ReadCtrlPos(*form);
        if (IsMainForm(*form)) {
            Read(MainFormFontIdent, &form->Font());
            const std::u16string lastFolder = ReadString(form->Name(), LastUsedFolderKey, u"");
            if (AppDataCore != nullptr) {
                AppDataCore->SetLastUsedFolder(lastFolder);
            }
        }
        return true;
    }
    if (!ValueExists(OwnerSection(*Comp), Comp->Name())) {
        return true;
    }
    const TCompRow* row = RowOf(*Comp);
    if (row == nullptr) {
        return false;
    }
    row->ReadValue(*this, *Comp);
    return true;
}

// --- a form's own entry ---

void TIniFileApp::WriteCtrlPos(TForm& Form) {
    using toolkit::TWindowState;
    // A minimised form is stored as the state it comes back in; never as minimised, so that the
    // next start does not open an invisible window.
    int state = static_cast<int>(Form.WindowState());
    if (Form.WindowState() == TWindowState::wsMinimized) {
        state = Form.RestoresMaximized() ? static_cast<int>(TWindowState::wsMaximized) : 0;
    }
    // The normal bounds are the ones worth keeping; the maximised ones follow from the screen.
    if (Form.WindowState() == TWindowState::wsMaximized) {
        Form.SetWindowState(TWindowState::wsNormal);
    }
    const std::u16string& section = Form.Name();
    WriteInteger(section, u"WindowState", state);
    WriteInteger(section, u"Top", ToDpi96(Form, Form.Top()));
    WriteInteger(section, u"Left", ToDpi96(Form, Form.Left()));
    WriteInteger(section, u"Width", ToDpi96(Form, Form.Width()));
    WriteInteger(section, u"Height", ToDpi96(Form, Form.Height()));
}

void TIniFileApp::ReadCtrlPos(TForm& Form) {
    using toolkit::TWindowState;
    const std::u16string section = Form.Name();
    const bool fixedSize = HasFixedSize(Form);

    if (ValueExists(section, u"Top") && ValueExists(section, u"Left")) {
        Form.SetTop(FromDpi96(Form, ReadInteger(section, u"Top", 0)));
        Form.SetLeft(FromDpi96(Form, ReadInteger(section, u"Left", 0)));
    } else {
        CentreForm(Form);
    }

    if (!fixedSize) {
        if (ValueExists(section, u"Width")) {
            Form.SetWidth(FromDpi96(Form, ReadInteger(section, u"Width", 0)));
        }
        // The default goes through both conversions, so a missing key keeps the height up to
        // their rounding.
        Form.SetHeight(FromDpi96(Form, ReadInteger(section, u"Height", ToDpi96(Form, Form.Height()))));
    }

    if (ShowPositionWarn && Form.Position() != toolkit::TPosition::poDesigned) {
        throw EOrvelException(u"Form.Position is not 'poDesigned' for form " + Form.Name() + u"!");
    }

    if (ValueExists(section, u"WindowState")) {
        const int stored = ReadInteger(section, u"WindowState", 0);
        Form.SetWindowState(stored == static_cast<int>(TWindowState::wsMaximized) ? TWindowState::wsMaximized
                                                                                  : TWindowState::wsNormal);
    }
}

// In the work area of the main form's monitor when there is a main form; else on the screen.
void TIniFileApp::CentreForm(TForm& Form) {
    const TForm* mainForm = Form.Application().MainForm();
    int top = 0;
    int left = 0;
    if (mainForm != nullptr) {
        const toolkit::TRect work = mainForm->Monitor().WorkareaRect;
        top = (work.Height() - Form.Height()) / 2 + work.Top;
        left = (work.Width() - Form.Width()) / 2 + work.Left;
    } else {
        const toolkit::TScreen& screen = Form.Application().Screen();
        top = (screen.Height() - Form.Height()) / 2;
        left = (screen.Width() - Form.Width()) / 2;
    }
    Form.SetTop(top);
    Form.SetLeft(left);
}

// --- fonts and colours ---

void TIniFileApp::Write(const std::u16string& Ident, const toolkit::TFont* Font) {
    if (Ident.empty()) {
        throw EOrvelException(u"TIniFileApp.Write(Font): Ident parameter cannot be empty");
    }
    if (Font == nullptr) {
        throw EOrvelException(u"TIniFileApp.Write(Font): Font parameter cannot be nil");
    }
    Write(Ident, u"");
    Write(Ident + u"Name", Font->Name());
    Write(Ident + u"CharSet", static_cast<std::int32_t>(Font->Charset()));
    Write(Ident + u"Color", static_cast<std::int32_t>(Font->Color()));
    Write(Ident + u"Size", static_cast<std::int32_t>(Font->Size()));
    Write(Ident + u"Style", static_cast<std::int32_t>(Font->Style()));
}

bool TIniFileApp::Read(const std::u16string& Ident, toolkit::TFont* Font) {
    if (Ident.empty()) {
        throw EOrvelException(u"TIniFileApp.Read(Font): Ident parameter cannot be empty");
    }
    if (Font == nullptr) {
        throw EOrvelException(u"TIniFileApp.Read(Font): Font parameter cannot be nil");
    }
    if (!ValueExists(Ident + u"Name")) {
        return false;
    }
    Font->SetName(ReadString(Section(), Ident + u"Name", u"Arial"));
    Font->SetCharset(static_cast<std::uint8_t>(Read(Ident + u"CharSet", std::int32_t{0}) & 0xFF));
    Font->SetColor(Read(Ident + u"Color", std::int32_t{0}));
    Font->SetSize(Read(Ident + u"Size", std::int32_t{8}));
    Font->SetStyle(static_cast<toolkit::TFontStyles>(Read(Ident + u"Style", std::int32_t{0}) & 0x0F));
    return true;
}

void TIniFileApp::WriteColor(const std::u16string& Ident, toolkit::TColor Value) {
    if (Ident.empty()) {
        throw EOrvelException(u"TIniFileApp.WriteColor: Ident parameter cannot be empty");
    }
    Write(Ident, toolkit::ColorToString(Value));
}

toolkit::TColor TIniFileApp::ReadColor(const std::u16string& Ident, toolkit::TColor Default) {
    if (Ident.empty()) {
        throw EOrvelException(u"TIniFileApp.ReadColor: Ident parameter cannot be empty");
    }
    return toolkit::StringToColor(ReadString(Section(), Ident, toolkit::ColorToString(Default)));
}

// --- the whole file ---

std::u16string TIniFileApp::AsString() {
    const std::u16string path = TAppDataCore::IniFile();
    if (!FOs.Files.FileExists(path)) {
        throw EOrvelException(u"TIniFileApp.AsString: INI file does not exist: " + path);
    }
    std::optional<std::string> bytes = FOs.Files.ReadFile(path);
    if (!bytes) {
        throw EReadError(u"TIniFileApp.AsString: cannot read the INI file: " + path);
    }
    // The INI layer keeps a byte-order mark but does not count it as text.
    constexpr std::string_view Bom = "\xEF\xBB\xBF";
    std::string_view text = *bytes;
    if (text.substr(0, Bom.size()) == Bom) {
        text.remove_prefix(Bom.size());
    }
    return base::Utf8ToUtf16(text);
}

} // namespace orvel
