// The component table: what each supported class stores, where, and how it comes back.
#include "framework/ui/OrvelVcl.Common.IniFile.h"

#include "base/Base.Unicode.h"
#include "tests/framework/ui/OrvelVcl.IniFile.TestScene.h"
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

#include <initializer_list>
#include <string>
#include <type_traits>

namespace orvel {
namespace {

using testing::ExpectRaises;
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
    ExpectRaises<EOrvelException>([&] { ini.ReadComp(radio); },
                                  u"TabStop should not be true for rbSlow on frmAll");
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
