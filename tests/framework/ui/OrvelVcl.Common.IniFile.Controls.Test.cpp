// The component table: what each supported class stores, where, and how it comes back.
#include "framework/ui/OrvelVcl.Common.IniFile.h"

#include "base/Base.Unicode.h"
#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.IniFile.TestScene.h"
#include "tests/toolkit/Toolkit.EveryKind.h"
#include "toolkit/Toolkit.ActnList.h"
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

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <type_traits>

namespace orvel {
namespace {

using testing::Missing;

template <class T> T* Named(toolkit::TComponent* Owner, const std::u16string& Name) {
    auto* comp = new T(Owner);
    comp->SetName(Name);
    if constexpr (std::is_base_of_v<toolkit::TControl, T>) {
        if (auto* parent = dynamic_cast<toolkit::TControl*>(Owner)) {
            comp->SetParent(parent);
        }
    }
    return comp;
}

class IniControlsTest : public testing::TIniFormScene {
protected:
    IniControlsTest() { Form = MakeForm(u"frmAll"); }
    toolkit::TForm* Form = nullptr;
};

// Every row once: set a value, save, disturb it, load, and find the value again.
TEST_F(IniControlsTest, EveryRowStoresItsValueAndRestoresIt) {
    using namespace toolkit;
    auto* action = Named<TAction>(Form, u"actWrap");
    auto* check = Named<TCheckBox>(Form, u"chkWrap");
    auto* radioGroupPanel = Named<TPanel>(Form, u"pnlRadios");
    auto* radio = Named<TRadioButton>(radioGroupPanel, u"rbFast");
    auto* combo = Named<TComboBox>(Form, u"cmbLevel");
    combo->Items().Assign({u"low", u"medium", u"high"});
    auto* number = Named<TNumberBox>(Form, u"nbRatio");
    number->SetMode(TNumberBoxMode::nbmFloat);
    auto* labeled = Named<TLabeledEdit>(Form, u"ledTitle");
    auto* edit = Named<TEdit>(Form, u"edtName");
    auto* spin = Named<TSpinEdit>(Form, u"spnCount");
    auto* pages = Named<TPageControl>(Form, u"pgcMain");
    for (int i = 0; i < 3; ++i) {
        auto* sheet = new TTabSheet(Form);
        sheet->SetPageControl(pages);
    }
    auto* hotKey = Named<THotKey>(Form, u"hkLow");
    auto* radioGroup = Named<TRadioGroup>(Form, u"rgMode");
    radioGroup->Items().Assign({u"a", u"b", u"c"});
    auto* track = Named<TTrackBar>(Form, u"trkSpeed");
    track->SetParams(0, 0, 10);
    auto* scroll = Named<TScrollBar>(Form, u"sbZoom");
    scroll->SetParams(0, 0, 100);
    auto* menuItem = Named<TMenuItem>(Form, u"mnuShowDate");
    auto* toggle = Named<TToggleSwitch>(Form, u"tsSound");
    auto* directories = Named<TDirectoryListBox>(Form, u"dlbFolders");
    Sim.Files.AddFolder(u"C:\\Data\\Logs");

    action->SetChecked(true);
    check->SetChecked(true);
    radio->SetChecked(true);
    combo->SetItemIndex(2);
    number->SetValue(2.5);
    labeled->SetText(u"Effort ünïcode");
    edit->SetText(u"x=y; [z]");
    spin->SetValue(42);
    pages->SetActivePageIndex(1);
    hotKey->SetHotKey(static_cast<TShortCut>(scCtrl | scAlt | 0x31));
    radioGroup->SetItemIndex(2);
    track->SetPosition(7);
    scroll->SetPosition(63);
    menuItem->SetChecked(true);
    toggle->SetState(TToggleSwitchState::tssOn);
    directories->SetDirectory(u"C:\\Data\\Logs");
    Save(Form, asFull);

    EXPECT_EQ(Stored(u"frmAll", u"actWrap"), u"1");
    EXPECT_EQ(Stored(u"frmAll", u"chkWrap"), u"1");
    EXPECT_EQ(Stored(u"pnlRadios", u"rbFast"), u"1");
    EXPECT_EQ(Stored(u"frmAll", u"cmbLevel"), u"2");
    EXPECT_EQ(Stored(u"frmAll", u"nbRatio"), u"2.5");
    EXPECT_EQ(Stored(u"frmAll", u"ledTitle"), u"Effort ünïcode");
    EXPECT_EQ(Stored(u"frmAll", u"spnCount"), u"42");
    EXPECT_EQ(Stored(u"frmAll", u"pgcMain"), u"1");
    EXPECT_EQ(Stored(u"frmAll", u"hkLow"), u"49201");
    EXPECT_EQ(Stored(u"frmAll", u"tsSound"), u"1");
    EXPECT_EQ(Stored(u"frmAll", u"dlbFolders"), u"C:\\Data\\Logs");

    action->SetChecked(false);
    check->SetChecked(false);
    combo->SetItemIndex(0);
    number->SetValue(0);
    labeled->SetText(u"");
    edit->SetText(u"");
    spin->SetValue(1);
    pages->SetActivePageIndex(0);
    hotKey->SetHotKey(0);
    radioGroup->SetItemIndex(0);
    track->SetPosition(0);
    scroll->SetPosition(0);
    menuItem->SetChecked(false);
    toggle->SetState(TToggleSwitchState::tssOff);
    directories->SetDirectory(u"");
    Load(Form, asFull);

    EXPECT_TRUE(action->Checked());
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_DOUBLE_EQ(number->Value(), 2.5);
    EXPECT_EQ(labeled->Text(), u"Effort ünïcode");
    EXPECT_EQ(edit->Text(), u"x=y; [z]");
    EXPECT_EQ(spin->Value(), 42);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(hotKey->HotKey(), scCtrl | scAlt | 0x31);
    EXPECT_EQ(radioGroup->ItemIndex(), 2);
    EXPECT_EQ(track->Position(), 7);
    EXPECT_EQ(scroll->Position(), 63);
    EXPECT_TRUE(menuItem->Checked());
    EXPECT_TRUE(toggle->IsOn());
    EXPECT_EQ(directories->Directory(), u"C:\\Data\\Logs");
}

// What a component of one kind stores: nothing (no Give), or the text Give's value is written as
// under its name plus KeySuffix. Fit prepares a component of the kind before its value is given
// or read back (items to choose from, a range, a file system).
struct TKindStorage {
    toolkit::TComponentKind Kind;
    void (*Give)(toolkit::TComponent& Comp) = nullptr;
    const char16_t* Stored = nullptr;
    void (*Fit)(toolkit::TComponent& Comp, platform::IFileSystem& Files) = nullptr;
    const char16_t* KeySuffix = u"";
};

template <class T> T& As(toolkit::TComponent& Comp) {
    return dynamic_cast<T&>(Comp);
}

void ThreeItems(toolkit::TComponent& Comp, platform::IFileSystem&) {
    if (auto* combo = dynamic_cast<toolkit::TCustomComboBox*>(&Comp)) {
        combo->Items().Assign({u"a", u"b", u"c"});
    } else {
        As<toolkit::TCustomRadioGroup>(Comp).Items().Assign({u"a", u"b", u"c"});
    }
}

void SecondItem(toolkit::TComponent& Comp) {
    if (auto* combo = dynamic_cast<toolkit::TCustomComboBox*>(&Comp)) {
        combo->SetItemIndex(1);
    } else {
        As<toolkit::TCustomRadioGroup>(Comp).SetItemIndex(1);
    }
}

void Checked(toolkit::TComponent& Comp) {
    if (auto* action = dynamic_cast<toolkit::TAction*>(&Comp)) {
        action->SetChecked(true);
    } else if (auto* item = dynamic_cast<toolkit::TMenuItem*>(&Comp)) {
        item->SetChecked(true);
    } else {
        As<toolkit::TRadioButton>(Comp).SetChecked(true);
    }
}

void EditText(toolkit::TComponent& Comp) {
    As<toolkit::TCustomEdit>(Comp).SetText(u"Effort ünïcode");
}

void ExportName(toolkit::TComponent& Comp) {
    As<toolkit::TOpenDialog>(Comp).SetFileName(u"C:\\Exports\\run.log");
}

using enum toolkit::TComponentKind;

// One row per kind, in the order of the enumeration. A kind derived from another is stored as
// itself: a number box is an edit but keeps its value, a file list box is a list box (which
// keeps nothing) but keeps its file, a save dialog keeps what an open dialog does.
const TKindStorage KindStorage[] = {
    {ckComponent},
    {ckApplication},
    {ckTimer},
    {ckAction, Checked, u"1"},
    {ckMenuItem, Checked, u"1"},
    {ckMenu},
    {ckMainMenu},
    {ckPopupMenu},
    {ckTrayIcon},
    {ckCommonDialog},
    {ckOpenDialog, ExportName, u"C:\\Exports\\run.log"},
    {ckSaveDialog, ExportName, u"C:\\Exports\\run.log"},
    {ckFontDialog,
     [](toolkit::TComponent& Comp) { As<toolkit::TFontDialog>(Comp).Font().SetName(u"Consolas"); },
     u"Consolas", nullptr, u"Name"},
    {ckColorDialog, [](toolkit::TComponent& Comp) { As<toolkit::TColorDialog>(Comp).SetColor(0x123456); },
     u"$00123456"},
    {ckControl},
    {ckForm},
    {ckFrame},
    {ckCustomLabel},
    {ckLabel},
    {ckBoundLabel},
    {ckButtonControl},
    {ckButton},
    {ckCheckBox,
     [](toolkit::TComponent& Comp) {
         As<toolkit::TCheckBox>(Comp).SetState(toolkit::TCheckBoxState::cbGrayed);
     },
     u"2"},
    {ckRadioButton, Checked, u"1"},
    {ckCustomEdit},
    {ckEdit, EditText, u"Effort ünïcode"},
    {ckCustomLabeledEdit, EditText, u"Effort ünïcode"},
    {ckLabeledEdit, EditText, u"Effort ünïcode"},
    {ckSpinEdit, [](toolkit::TComponent& Comp) { As<toolkit::TSpinEdit>(Comp).SetValue(42); }, u"42"},
    {ckNumberBox,
     [](toolkit::TComponent& Comp) {
         As<toolkit::TNumberBox>(Comp).SetMode(toolkit::TNumberBoxMode::nbmFloat);
         As<toolkit::TNumberBox>(Comp).SetValue(2.5);
     },
     u"2.5",
     [](toolkit::TComponent& Comp, platform::IFileSystem&) {
         As<toolkit::TNumberBox>(Comp).SetMode(toolkit::TNumberBoxMode::nbmFloat);
     }},
    {ckMemo},
    {ckCustomComboBox, SecondItem, u"1", ThreeItems},
    {ckComboBox, SecondItem, u"1", ThreeItems},
    {ckFilterComboBox, SecondItem, u"1",
     [](toolkit::TComponent& Comp, platform::IFileSystem&) {
         As<toolkit::TFilterComboBox>(Comp).SetFilter(u"Logs|*.logbin|Text|*.txt");
     }},
    {ckCustomListBox},
    {ckListBox},
    {ckFileListBox,
     [](toolkit::TComponent& Comp) {
         ASSERT_TRUE(As<toolkit::TFileListBox>(Comp).ApplyFilePath(u"C:\\Logs\\a.logbin"));
     },
     u"C:\\Logs\\a.logbin",
     [](toolkit::TComponent& Comp, platform::IFileSystem& Files) {
         As<toolkit::TFileListBox>(Comp).SetFileSystem(&Files);
     }},
    {ckDirectoryListBox,
     [](toolkit::TComponent& Comp) { As<toolkit::TDirectoryListBox>(Comp).SetDirectory(u"C:\\Data\\Logs"); },
     u"C:\\Data\\Logs"},
    {ckCustomGroupBox},
    {ckGroupBox},
    {ckCustomRadioGroup, SecondItem, u"1", ThreeItems},
    {ckRadioGroup, SecondItem, u"1", ThreeItems},
    {ckScrollBar, [](toolkit::TComponent& Comp) { As<toolkit::TScrollBar>(Comp).SetPosition(63); }, u"63",
     [](toolkit::TComponent& Comp, platform::IFileSystem&) {
         As<toolkit::TScrollBar>(Comp).SetParams(0, 0, 100);
     }},
    {ckCustomPanel},
    {ckPanel},
    {ckImage},
    {ckShape, [](toolkit::TComponent& Comp) { As<toolkit::TShape>(Comp).Brush().SetColor(toolkit::clRed); },
     u"clRed"},
    // A splitter along the top edge keeps its top.
    {ckSplitter, [](toolkit::TComponent&) {}, u"0",
     [](toolkit::TComponent& Comp, platform::IFileSystem&) {
         As<toolkit::TSplitter>(Comp).SetAlign(toolkit::TAlign::alTop);
     }},
    {ckListView},
    {ckTrackBar, [](toolkit::TComponent& Comp) { As<toolkit::TTrackBar>(Comp).SetPosition(7); }, u"7",
     [](toolkit::TComponent& Comp, platform::IFileSystem&) {
         As<toolkit::TTrackBar>(Comp).SetParams(0, 0, 10);
     }},
    {ckTabSheet},
    {ckPageControl, [](toolkit::TComponent& Comp) { As<toolkit::TPageControl>(Comp).SetActivePageIndex(1); },
     u"1",
     [](toolkit::TComponent& Comp, platform::IFileSystem&) {
         for (int i = 0; i < 3; ++i) {
             (new toolkit::TTabSheet(&Comp))->SetPageControl(&As<toolkit::TPageControl>(Comp));
         }
     }},
    {ckHotKey, [](toolkit::TComponent& Comp) { As<toolkit::THotKey>(Comp).SetHotKey(0x4031); }, u"16433"},
    {ckCustomGrid},
    {ckDrawGrid},
    {ckStringGrid},
    {ckToggleSwitch,
     [](toolkit::TComponent& Comp) {
         As<toolkit::TToggleSwitch>(Comp).SetState(toolkit::TToggleSwitchState::tssOn);
     },
     u"1"},
};

// Each kind is written as its own row says and a fresh component of the kind reads the value
// back (written again, it stores the same text).
TEST_F(IniControlsTest, EveryKindIsStoredAsItsOwnKindNotAsItsBase) {
    const auto kinds = toolkit::testing::AllComponentKinds();
    ASSERT_EQ(std::size(KindStorage), kinds.size()) << "one row per kind";
    Sim.Files.AddFile(u"C:\\Logs\\a.logbin", "x");
    Sim.Files.AddFolder(u"C:\\Data\\Logs");
    Sim.Files.AddFolder(u"C:\\Exports");
    TIniFileApp ini(u"frmAll", u"");
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const TKindStorage& row = KindStorage[i];
        ASSERT_EQ(row.Kind, kinds[i]) << "the rows follow the enumeration";
        auto make = [&] {
            toolkit::TComponent* comp = toolkit::testing::NewComponentOfKind(row.Kind, *Form);
            if (row.Fit != nullptr) {
                row.Fit(*comp, Sim.Files);
            }
            return comp;
        };
        toolkit::TComponent* comp = make();
        SCOPED_TRACE(base::Utf16ToUtf8(comp->ClassName()));
        EXPECT_EQ(ini.IsSupported(comp), row.Give != nullptr);
        if (row.Give == nullptr) {
            continue;
        }
        const std::u16string name = u"c" + base::AsciiToUtf16(std::to_string(i));
        const std::u16string key = name + row.KeySuffix;
        comp->SetName(name);
        row.Give(*comp);
        EXPECT_TRUE(ini.WriteComp(comp));
        EXPECT_EQ(Stored(u"frmAll", key), row.Stored);
        comp->Free();

        toolkit::TComponent* fresh = make();
        fresh->SetName(name);
        EXPECT_TRUE(ini.ReadComp(fresh));
        EXPECT_TRUE(ini.WriteComp(fresh));
        EXPECT_EQ(Stored(u"frmAll", key), row.Stored) << "read back";
    }
}

// A class derived outside the toolkit is stored as the toolkit class it is built on.
TEST_F(IniControlsTest, AClassDerivedElsewhereIsStoredAsItsToolkitBase) {
    struct TPercentBox : toolkit::TNumberBox {
        using TNumberBox::TNumberBox;
        std::u16string ClassName() const override { return u"TPercentBox"; }
    };
    auto* percent = Named<TPercentBox>(Form, u"nbPercent");
    percent->SetValue(40);
    Save(Form, asFull);
    EXPECT_EQ(Stored(u"frmAll", u"nbPercent"), u"40");
    percent->SetValue(0);
    Load(Form, asFull);
    EXPECT_EQ(percent->Value(), 40);
}

TEST_F(IniControlsTest, NothingStoredLeavesAControlAsItIs) {
    auto* spin = Named<toolkit::TSpinEdit>(Form, u"spnCount");
    spin->SetValue(9);
    TIniFileApp ini(u"frmAll", u"");
    EXPECT_TRUE(ini.ReadComp(spin));
    EXPECT_EQ(spin->Value(), 9);
}

TEST_F(IniControlsTest, AnUnsupportedClassWritesNothingAndIsRefusedOnlyWithAStoredValue) {
    auto* label = Named<toolkit::TLabel>(Form, u"lblInfo");
    TIniFileApp ini(u"frmAll", u"");
    EXPECT_FALSE(ini.IsSupported(label));
    EXPECT_FALSE(ini.IsSupported(Form));
    EXPECT_FALSE(ini.WriteComp(label));
    EXPECT_EQ(Stored(u"frmAll", u"lblInfo"), Missing);
    EXPECT_TRUE(ini.ReadComp(label));
    Store(u"frmAll", u"lblInfo", u"1");
    EXPECT_FALSE(ini.ReadComp(label));
}

TEST_F(IniControlsTest, ASplitterStoresTheEdgeItMovesAlongInPixels) {
    SetPpi(144); // no density conversion for splitters
    auto* vertical = Named<toolkit::TSplitter>(Form, u"splLeft");
    vertical->SetAlign(toolkit::TAlign::alRight);
    auto* horizontal = Named<toolkit::TSplitter>(Form, u"splTop");
    auto* loose = Named<toolkit::TSplitter>(Form, u"splLoose");
    loose->SetAlign(toolkit::TAlign::alClient);
    horizontal->SetAlign(toolkit::TAlign::alBottom);
    horizontal->SetHeight(5);
    vertical->SetWidth(5);
    Save(Form, asFull);
    ASSERT_GT(vertical->Left(), 0);
    ASSERT_GT(horizontal->Top(), 0);
    EXPECT_EQ(Stored(u"frmAll", u"splLeft"), base::AsciiToUtf16(std::to_string(vertical->Left())));
    EXPECT_EQ(Stored(u"frmAll", u"splTop"), base::AsciiToUtf16(std::to_string(horizontal->Top())));
    EXPECT_EQ(Stored(u"frmAll", u"splLoose"), Missing);

    Store(u"frmAll", u"splLoose", u"77");
    const toolkit::TRect looseBefore = loose->BoundsRect();
    TIniFileApp ini(u"frmAll", u"");
    EXPECT_TRUE(ini.ReadComp(loose));
    EXPECT_EQ(loose->BoundsRect(), looseBefore);
}

TEST_F(IniControlsTest, ARestoredFilterReachesItsFileList) {
    auto* files = Named<toolkit::TFileListBox>(Form, u"flbLogs");
    auto* filter = Named<toolkit::TFilterComboBox>(Form, u"fcbLogs");
    filter->SetFilter(u"Logs (*.logbin)|*.logbin|Text (*.txt)|*.txt");
    filter->SetFileList(files);
    Store(u"frmAll", u"fcbLogs", u"1");
    Load(Form, asFull);
    EXPECT_EQ(filter->ItemIndex(), 1);
    EXPECT_EQ(files->Mask(), u"*.txt");
}

TEST_F(IniControlsTest, AFileListSelectsTheStoredFileOnlyWhenItExists) {
    auto* files = Named<toolkit::TFileListBox>(Form, u"flbLogs");
    files->SetFileSystem(&Sim.Files);
    Sim.Files.AddFile(u"C:\\Logs\\a.logbin", "x");
    Store(u"frmAll", u"flbLogs", u"C:\\Logs\\gone.logbin");
    Load(Form, asFull);
    EXPECT_EQ(files->FileName(), u"");
    Store(u"frmAll", u"flbLogs", u"C:\\Logs\\a.logbin");
    Load(Form, asFull);
    EXPECT_EQ(files->FileName(), u"C:\\Logs\\a.logbin");
    Save(Form, asFull);
    EXPECT_EQ(Stored(u"frmAll", u"flbLogs"), u"C:\\Logs\\a.logbin");
}

TEST_F(IniControlsTest, AFolderIsRestoredOnlyWhenItExistsAndDoesNotEndInABlank) {
    auto* directories = Named<toolkit::TDirectoryListBox>(Form, u"dlbFolders");
    directories->SetDirectory(u"C:\\Start");
    Sim.Files.AddFolder(u"C:\\Blank ");
    for (const std::u16string& stored :
         std::initializer_list<std::u16string>{u"C:\\Nowhere", u"C:\\Blank ", u""}) {
        Store(u"frmAll", u"dlbFolders", stored);
        Load(Form, asFull);
        EXPECT_EQ(directories->Directory(), u"C:\\Start");
    }
}

TEST_F(IniControlsTest, AnOpenDialogKeepsALatin1NameAndRestoresItsFolder) {
    auto* dialog = Named<toolkit::TSaveDialog>(Form, u"dlgExport");
    Sim.Files.AddFolder(u"C:\\Exports");
    dialog->SetFileName(u"C:\\Exports\\caf\u00E9 \u65E5\u672C.log");
    Save(Form, asFull);
    EXPECT_EQ(Stored(u"frmAll", u"dlgExport"), u"C:\\Exports\\caf\u00E9 __.log");

    dialog->SetFileName(u"");
    Save(Form, asFull); // an empty name keeps what was stored
    EXPECT_EQ(Stored(u"frmAll", u"dlgExport"), u"C:\\Exports\\caf\u00E9 __.log");

    dialog->SetInitialDir(u"");
    Load(Form, asFull);
    EXPECT_EQ(dialog->InitialDir(), u"C:\\Exports\\");
    EXPECT_EQ(dialog->FileName(), u"");

    Store(u"frmAll", u"dlgExport", u"C:\\Missing\\x.log");
    dialog->SetInitialDir(u"C:\\Before\\");
    Load(Form, asFull);
    EXPECT_EQ(dialog->InitialDir(), u"C:\\Before\\");
}

TEST_F(IniControlsTest, ColoursAndDialogFontsGoToTheDefaultSection) {
    auto* shape = Named<toolkit::TShape>(Form, u"shpMark");
    auto* colors = Named<toolkit::TColorDialog>(Form, u"dlgColor");
    auto* fonts = Named<toolkit::TFontDialog>(Form, u"dlgFont");
    shape->Brush().SetColor(toolkit::clRed);
    colors->SetColor(0x123456);
    fonts->Font().SetName(u"Consolas");
    fonts->Font().SetSize(12);
    Save(Form, asFull);
    EXPECT_EQ(Stored(u"frmAll", u"shpMark"), u"clRed");
    EXPECT_EQ(Stored(u"frmAll", u"dlgColor"), u"$00123456");
    EXPECT_EQ(Stored(u"frmAll", u"dlgFontName"), u"Consolas");

    shape->Brush().SetColor(toolkit::clWhite);
    colors->SetColor(0);
    fonts->Font().SetName(u"Arial");
    Load(Form, asFull);
    EXPECT_EQ(shape->Brush().Color(), toolkit::clRed);
    EXPECT_EQ(colors->Color(), 0x123456);
    EXPECT_EQ(fonts->Font().Name(), u"Consolas");
    EXPECT_EQ(fonts->Font().Size(), 12);
}

TEST_F(IniControlsTest, ADialogFontIsFoundOnlyWhenTheDefaultSectionIsTheOwnersName) {
    auto* fonts = Named<toolkit::TFontDialog>(Form, u"dlgFont");
    fonts->Font().SetName(u"Consolas");
    {
        TIniFileApp elsewhere(u"Other", u"");
        elsewhere.SaveForm(Form, asFull);
    }
    EXPECT_EQ(Stored(u"Other", u"dlgFontName"), u"Consolas");
    fonts->Font().SetName(u"Arial");
    TIniFileApp ini(u"Other", u"");
    ini.LoadForm(Form, asFull); // the marker is looked for in the owner's section "frmAll"
    EXPECT_EQ(fonts->Font().Name(), u"Arial");
}

TEST_F(IniControlsTest, UnreadableColourTextRaisesTheConversionError) {
    auto* shape = Named<toolkit::TShape>(Form, u"shpMark");
    Store(u"frmAll", u"shpMark", u"reddish");
    TIniFileApp ini(u"frmAll", u"");
    EXPECT_THROW(ini.ReadComp(shape), toolkit::EConvertError);
}

TEST_F(IniControlsTest, AStoredHotKeyOutside16BitsIsARangeError) {
    auto* hotKey = Named<toolkit::THotKey>(Form, u"hkLow");
    hotKey->SetHotKey(0x4031);
    TIniFileApp ini(u"frmAll", u"");
    for (const std::u16string& stored : std::initializer_list<std::u16string>{u"65536", u"-1"}) {
        Store(u"frmAll", u"hkLow", stored);
        EXPECT_THROW(ini.ReadComp(hotKey), ERangeError);
        EXPECT_EQ(hotKey->HotKey(), 0x4031);
    }
    Store(u"frmAll", u"hkLow", u"65535");
    ini.ReadComp(hotKey);
    EXPECT_EQ(hotKey->HotKey(), 0xFFFF);
}

TEST_F(IniControlsTest, ARadioButtonWithATabStopButUncheckedIsADesignFault) {
    auto* group = Named<toolkit::TGroupBox>(Form, u"grpSpeed");
    auto* radio = Named<toolkit::TRadioButton>(Form, u"rbSlow");
    radio->SetParent(group);
    radio->SetTabStop(true);
    Store(u"frmAll", u"rbSlow", u"1");
    TIniFileApp ini(u"frmAll", u"");
    EXPECT_THROW_MSG(ini.ReadComp(radio), EOrvelException, u"TabStop should not be true for rbSlow on frmAll");
    EXPECT_FALSE(radio->Checked());
}

TEST_F(IniControlsTest, ACheckBoxStateOutsideTheThreeStatesReadsAsUnchecked) {
    auto* check = Named<toolkit::TCheckBox>(Form, u"chkOdd");
    check->SetChecked(true);
    Store(u"frmAll", u"chkOdd", u"7");
    Load(Form, asFull);
    EXPECT_EQ(check->State(), toolkit::TCheckBoxState::cbUnchecked);
}

} // namespace
} // namespace orvel
