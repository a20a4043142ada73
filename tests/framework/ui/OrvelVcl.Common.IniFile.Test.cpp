#include "framework/ui/OrvelVcl.Common.IniFile.h"

#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.IniFile.TestScene.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.Frames.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <climits>
#include <initializer_list>
#include <vector>

namespace orvel {
namespace {

using testing::Missing;
using toolkit::TFormBorderStyle;
using toolkit::TWindowState;

// --- the 96-dpi conversion ---

TEST(MulDivTest, RoundsHalvesAwayFromZeroInEverySignCombination) {
    struct TCase {
        int Number, Numerator, Denominator, Expected;
    };
    const std::vector<TCase> cases{
        {900, 96, 144, 600}, {600, 120, 96, 750}, {1, 1, 3, 0},
        {2, 1, 3, 1},        {1, 1, 2, 1},        {-1, 1, 2, -1},
        {3, 1, 2, 2},        {-3, 1, 2, -2},      {5, -1, 2, -3},
        {-5, -1, 2, 3},      {-7, 96, 144, -5},   {INT_MAX, 2, 2, INT_MAX},
        {7, 1, 0, -1},       {INT_MAX, 2, 1, -1}, {INT_MIN, 1, 1, INT_MIN},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(MulDiv(c.Number, c.Numerator, c.Denominator), c.Expected)
            << c.Number << " * " << c.Numerator << " / " << c.Denominator;
    }
}

class IniFormTest : public testing::TIniFormScene {};

TEST_F(IniFormTest, SizesAreStoredIn96DpiUnitsAndComeBackAtTheCurrentDensity) {
    SetPpi(144);
    toolkit::TForm* form = MakeForm(u"frmLog", 300, 150, 900, 601);
    Save(form, asPosOnly);
    EXPECT_EQ(Stored(u"frmLog", u"Width"), u"600");
    EXPECT_EQ(Stored(u"frmLog", u"Height"), u"401"); // 400.67
    EXPECT_EQ(Stored(u"frmLog", u"Left"), u"200");
    EXPECT_EQ(Stored(u"frmLog", u"Top"), u"100");
    EXPECT_EQ(Stored(u"frmLog", u"WindowState"), u"0");

    SetPpi(96);
    Load(form, asPosOnly);
    EXPECT_EQ(form->Width(), 600);
    EXPECT_EQ(form->Left(), 200);

    SetPpi(120);
    Load(form, asPosOnly);
    EXPECT_EQ(form->Width(), 750);
    EXPECT_EQ(form->Height(), 501); // 401 * 1.25 = 501.25
    EXPECT_EQ(form->Left(), 250);
    EXPECT_EQ(form->Top(), 125);
}

TEST_F(IniFormTest, AMaximisedFormStoresStateTwoWithItsNormalBoundsAndIsLeftNormal) {
    toolkit::TForm* form = MakeForm(u"frmMain", 10, 20, 640, 480);
    form->SetWindowState(TWindowState::wsMaximized);
    Save(form, asPosOnly);
    EXPECT_EQ(Stored(u"frmMain", u"WindowState"), u"2");
    EXPECT_EQ(Stored(u"frmMain", u"Width"), u"640");
    EXPECT_EQ(Stored(u"frmMain", u"Left"), u"10");
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
}

TEST_F(IniFormTest, AMinimisedFormStoresTheStateItWouldComeBackInAndNeverOne) {
    struct TCase {
        const char* Label;
        bool HasWindow;
        std::vector<TWindowState> States; // set in this order, the last one minimised
        std::u16string Expected;
    };
    const std::vector<TCase> cases{
        {"maximised, then minimised", true, {TWindowState::wsMaximized, TWindowState::wsMinimized}, u"2"},
        {"normal, then minimised", true, {TWindowState::wsMinimized}, u"0"},
        {"maximised, restored, minimised",
         true,
         {TWindowState::wsMaximized, TWindowState::wsNormal, TWindowState::wsMinimized},
         u"0"},
        {"minimised, maximised, minimised again",
         true,
         {TWindowState::wsMinimized, TWindowState::wsMaximized, TWindowState::wsMinimized},
         u"2"},
        {"no window yet", false, {TWindowState::wsMaximized, TWindowState::wsMinimized}, u"0"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        toolkit::TForm* form = MakeForm(u"frmMin");
        if (c.HasWindow) {
            form->HandleNeeded();
        }
        for (const TWindowState state : c.States) {
            form->SetWindowState(state);
        }
        Save(form, asPosOnly);
        EXPECT_EQ(Stored(u"frmMin", u"WindowState"), c.Expected);
        EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
        form->Free();
    }
}

TEST_F(IniFormTest, StoredWindowStateTwoMaximisesAndAnyOtherValueGivesNormal) {
    const std::vector<std::pair<std::u16string, TWindowState>> cases{
        {u"2", TWindowState::wsMaximized},
        {u"1", TWindowState::wsNormal},
        {u"0", TWindowState::wsNormal},
        {u"junk", TWindowState::wsNormal},
    };
    for (const auto& [stored, expected] : cases) {
        toolkit::TForm* form = MakeForm(u"frmState");
        form->SetWindowState(TWindowState::wsMinimized);
        Store(u"frmState", u"WindowState", stored);
        Load(form, asPosOnly);
        EXPECT_EQ(form->WindowState(), expected) << "stored " << std::string(stored.begin(), stored.end());
        form->Free();
    }
    toolkit::TForm* untouched = MakeForm(u"frmNoState");
    untouched->SetWindowState(TWindowState::wsMaximized);
    Load(untouched, asPosOnly);
    EXPECT_EQ(untouched->WindowState(), TWindowState::wsMaximized);
}

TEST_F(IniFormTest, FixedBorderStylesKeepTheirSizeAndOthersTakeTheStoredOne) {
    const std::vector<std::pair<TFormBorderStyle, bool>> cases{
        {TFormBorderStyle::bsNone, true},       {TFormBorderStyle::bsSingle, false},
        {TFormBorderStyle::bsSizeable, false},  {TFormBorderStyle::bsDialog, true},
        {TFormBorderStyle::bsToolWindow, true}, {TFormBorderStyle::bsSizeToolWin, false},
    };
    Store(u"frmFixed", u"Top", u"70");
    Store(u"frmFixed", u"Left", u"80");
    Store(u"frmFixed", u"Width", u"700");
    Store(u"frmFixed", u"Height", u"500");
    for (const auto& [style, keepsSize] : cases) {
        SCOPED_TRACE(static_cast<int>(style));
        toolkit::TForm* form = MakeForm(u"frmFixed", 1, 2, 300, 200);
        form->SetBorderStyle(style);
        Load(form, asPosOnly);
        EXPECT_EQ(form->Left(), 80);
        EXPECT_EQ(form->Top(), 70);
        EXPECT_EQ(form->Width(), keepsSize ? 300 : 700);
        EXPECT_EQ(form->Height(), keepsSize ? 200 : 500);
        form->Free();
    }
}

TEST_F(IniFormTest, MissingWidthKeepsTheWidthAndMissingHeightKeepsTheHeightUpToRounding) {
    Store(u"frmPart", u"Top", u"10");
    Store(u"frmPart", u"Left", u"10");
    toolkit::TForm* form = MakeForm(u"frmPart", 0, 0, 333, 301);
    Load(form, asPosOnly);
    EXPECT_EQ(form->Width(), 333);
    EXPECT_EQ(form->Height(), 301);

    // At 144 dpi the height goes through both conversions: 301 -> 201 (200.67) -> 302 (301.5).
    SetPpi(144);
    Load(form, asPosOnly);
    EXPECT_EQ(form->Width(), 333);
    EXPECT_EQ(form->Height(), 302);
}

// Two monitors; the second, right of the first, has its own work area.
class IniFormCentringTest : public IniFormTest {
protected:
    IniFormCentringTest() {
        toolkit::TMonitor first;
        first.BoundsRect = toolkit::TRect{0, 0, 1920, 1080};
        first.WorkareaRect = toolkit::TRect{0, 0, 1920, 1040};
        first.Primary = true;
        toolkit::TMonitor second;
        second.MonitorNum = 1;
        second.BoundsRect = toolkit::TRect{1920, 100, 3200, 1124};
        second.WorkareaRect = toolkit::TRect{1920, 100, 3200, 1084};
        Backend.SetMonitors({first, second});
    }
};

TEST_F(IniFormCentringTest, WithoutTopOrLeftTheFormIsCentredInTheMainFormsWorkArea) {
    toolkit::TForm* mainForm = MakeForm(u"frmMain", 2000, 200, 800, 600);
    App.SetMainForm(mainForm);
    for (const std::u16string& onlyKey : std::initializer_list<std::u16string>{u"Top", u"Left"}) {
        SCOPED_TRACE(std::string(onlyKey.begin(), onlyKey.end()));
        Sim.Files.RemoveFile(TAppDataCore::IniFile());
        Store(u"frmDialog", onlyKey, u"5");
        toolkit::TForm* form = MakeForm(u"frmDialog", 0, 0, 401, 301);
        Load(form, asPosOnly);
        EXPECT_EQ(form->Top(), (984 - 301) / 2 + 100);    // 441: 341.5 truncated, plus the area's top
        EXPECT_EQ(form->Left(), (1280 - 401) / 2 + 1920); // 2359
        form->Free();
    }
}

TEST_F(IniFormCentringTest, AFormLargerThanTheWorkAreaIsCentredWithTruncationTowardZero) {
    App.SetMainForm(MakeForm(u"frmMain", 10, 10, 800, 600));
    toolkit::TForm* form = MakeForm(u"frmHuge", 0, 0, 1925, 1101);
    Load(form, asPosOnly);
    EXPECT_EQ(form->Top(), -30); // (1040 - 1101) / 2 = -30.5
    EXPECT_EQ(form->Left(), -2); // (1920 - 1925) / 2 = -2.5
}

TEST_F(IniFormCentringTest, WithoutAMainFormTheFormIsCentredOnTheScreen) {
    ASSERT_EQ(App.MainForm(), nullptr);
    toolkit::TForm* form = MakeForm(u"frmLog", 0, 0, 401, 301);
    Load(form, asPosOnly);
    EXPECT_EQ(form->Top(), (1080 - 301) / 2);
    EXPECT_EQ(form->Left(), (1920 - 401) / 2);
}

TEST_F(IniFormTest, AStoredPositionIsAppliedEvenOffEveryMonitor) {
    Store(u"frmAway", u"Top", u"-5000");
    Store(u"frmAway", u"Left", u"9000");
    toolkit::TForm* form = MakeForm(u"frmAway");
    Load(form, asPosOnly);
    EXPECT_EQ(form->Top(), -5000);
    EXPECT_EQ(form->Left(), 9000);
}

TEST_F(IniFormTest, APositionModeOtherThanDesignedRaisesAfterTheBoundsAndBeforeTheWindowState) {
    Store(u"frmWild", u"WindowState", u"2");
    Store(u"frmWild", u"Top", u"11");
    Store(u"frmWild", u"Left", u"22");
    Store(u"frmWild", u"Width", u"555");
    Store(u"frmWild", u"Height", u"444");
    toolkit::TForm* form = MakeForm(u"frmWild");
    form->SetPosition(toolkit::TPosition::poScreenCenter);
    EXPECT_THROW_MSG(Load(form, asPosOnly), EOrvelException, u"Form.Position is not 'poDesigned' for form frmWild!");
    EXPECT_EQ(form->BoundsRect(), toolkit::RectOf(22, 11, 555, 444));
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);

    TIniFileApp quiet(u"frmWild", u"");
    quiet.ShowPositionWarn = false;
    quiet.LoadForm(form, asPosOnly);
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
}

TEST_F(IniFormTest, ABorderlessDialogWithAMainMenuIsLoggedAsAWarning) {
    toolkit::TForm* form = MakeForm(u"frmMenu");
    auto* menu = new toolkit::TMainMenu(form);
    form->SetMenu(menu);
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    Load(form, asPosOnly);
    ASSERT_NE(Core->RamLog, nullptr);
    const std::u16string expected =
        u"TIniFileApp.ReadComp: frmMenu: the main menu will not appear because the form is set to bsDialog.";
    bool found = false;
    Core->RamLog->Lines().ForEachLocked([&](PLogLine line) { found = found || line->Msg == expected; });
    EXPECT_TRUE(found);
}

// --- what asPosOnly and asFull walk ---

// A form with a check box on a panel (owned by the form), one on a frame (owned by the frame), an
// unnamed check box, and an unsupported named panel that owns a check box of its own.
class IniWalkTest : public IniFormTest {
protected:
    IniWalkTest() {
        Form = MakeForm(u"frmOptions");
        auto* panel = new toolkit::TPanel(Form);
        panel->SetName(u"pnlTop");
        panel->SetParent(Form);
        OnPanel = NewCheckBox(Form, panel, u"chkOnPanel");
        auto* frame = new toolkit::TFrame(Form);
        frame->SetName(u"fraPaths");
        frame->SetParent(Form);
        OnFrame = NewCheckBox(frame, frame, u"chkOnFrame");
        Unnamed = NewCheckBox(Form, Form, u"");
        auto* holder = new toolkit::TPanel(Form);
        holder->SetName(u"pnlHolder");
        holder->SetParent(Form);
        InHolder = NewCheckBox(holder, holder, u"chkInHolder");
    }
    static toolkit::TCheckBox* NewCheckBox(toolkit::TComponent* Owner, toolkit::TControl* Parent,
                                           const std::u16string& Name) {
        auto* box = new toolkit::TCheckBox(Owner);
        box->SetName(Name);
        box->SetParent(Parent);
        box->SetAllowGrayed(true);
        return box;
    }
    void SetStates(toolkit::TCheckBoxState Panel, toolkit::TCheckBoxState Frame,
                   toolkit::TCheckBoxState Holder) {
        OnPanel->SetState(Panel);
        OnFrame->SetState(Frame);
        InHolder->SetState(Holder);
    }

    toolkit::TForm* Form = nullptr;
    toolkit::TCheckBox* OnPanel = nullptr;
    toolkit::TCheckBox* OnFrame = nullptr;
    toolkit::TCheckBox* Unnamed = nullptr;
    toolkit::TCheckBox* InHolder = nullptr;
};

TEST_F(IniWalkTest, FullSavesEachValueInItsOwnersSectionAndLoadsItBack) {
    using toolkit::TCheckBoxState;
    SetStates(TCheckBoxState::cbChecked, TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked);
    Unnamed->SetState(TCheckBoxState::cbChecked);
    Save(Form, asFull);
    EXPECT_EQ(Stored(u"frmOptions", u"chkOnPanel"), u"1");
    EXPECT_EQ(Stored(u"fraPaths", u"chkOnFrame"), u"2");
    EXPECT_EQ(Stored(u"pnlHolder", u"chkInHolder"), u"1");
    EXPECT_EQ(Stored(u"frmOptions", u"pnlHolder"), Missing);
    EXPECT_EQ(Stored(u"frmOptions", u"chkOnFrame"), Missing);

    SetStates(TCheckBoxState::cbUnchecked, TCheckBoxState::cbUnchecked, TCheckBoxState::cbUnchecked);
    Load(Form, asFull);
    EXPECT_EQ(OnPanel->State(), TCheckBoxState::cbChecked);
    EXPECT_EQ(OnFrame->State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(InHolder->State(), TCheckBoxState::cbChecked);
}

TEST_F(IniWalkTest, PosOnlyAndUndefinedNeitherWriteNorReadTheControls) {
    using toolkit::TCheckBoxState;
    Store(u"frmOptions", u"chkOnPanel", u"1");
    Store(u"fraPaths", u"chkOnFrame", u"1");
    for (const TAutoState state : {asPosOnly, asUndefined}) {
        Load(Form, state);
        EXPECT_EQ(OnPanel->State(), TCheckBoxState::cbUnchecked);
        EXPECT_EQ(OnFrame->State(), TCheckBoxState::cbUnchecked);
    }
    Sim.Files.RemoveFile(TAppDataCore::IniFile());
    Save(Form, asUndefined);
    EXPECT_EQ(Stored(u"frmOptions", u"Width"), u"400");
    EXPECT_EQ(Stored(u"frmOptions", u"chkOnPanel"), Missing);
    EXPECT_EQ(Stored(u"fraPaths", u"chkOnFrame"), Missing);
}

TEST_F(IniWalkTest, GroupOperationsTakeOnlyTheDirectChildren) {
    auto* panel = new toolkit::TPanel(Form);
    panel->SetName(u"pnlGroup");
    panel->SetParent(Form);
    toolkit::TCheckBox* direct = NewCheckBox(Form, panel, u"chkDirect");
    auto* groupBox = new toolkit::TGroupBox(Form);
    groupBox->SetName(u"grpInner");
    groupBox->SetParent(panel);
    toolkit::TCheckBox* nested = NewCheckBox(Form, groupBox, u"chkNested");
    NewCheckBox(Form, panel, u""); // unnamed: skipped, not an error
    direct->SetChecked(true);
    nested->SetChecked(true);

    TIniFileApp ini(u"frmOptions", u"");
    ini.WriteGroup(panel);
    EXPECT_EQ(Stored(u"frmOptions", u"chkDirect"), u"1");
    EXPECT_EQ(Stored(u"frmOptions", u"chkNested"), Missing);

    Store(u"frmOptions", u"chkNested", u"0");
    direct->SetChecked(false);
    ini.ReadGroup(panel);
    EXPECT_TRUE(direct->Checked());
    EXPECT_TRUE(nested->Checked());
}

// --- the main form ---

TEST_F(IniFormTest, TheMainFormAlsoKeepsItsFontAndTheLastUsedFolder) {
    const std::u16string folder = u"C:\\Work\\Projects\\";
    Sim.Files.AddFolder(folder);
    toolkit::TForm* form = MakeForm(u"MainForm");
    App.SetMainForm(form);
    form->Font().SetName(u"Consolas");
    form->Font().SetSize(11);
    form->Font().SetStyle(toolkit::fsBold | toolkit::fsItalic);
    form->Font().SetColor(toolkit::clNavy);
    Core->SetLastUsedFolder(folder);
    Save(form, asPosOnly);
    EXPECT_EQ(Stored(u"MainForm", u"MainFormFont"), u"");
    EXPECT_EQ(Stored(u"MainForm", u"MainFormFontName"), u"Consolas");
    EXPECT_EQ(Stored(u"MainForm", u"MainFormFontSize"), u"11");
    EXPECT_EQ(Stored(u"MainForm", u"MainFormFontStyle"), u"3");
    EXPECT_EQ(Stored(u"MainForm", u"MainFormFontColor"), u"8388608");
    EXPECT_EQ(Stored(u"MainForm", u"MainFormFontCharSet"), u"1");
    EXPECT_EQ(Stored(u"MainForm", u"LastUsedFolder"), folder);

    form->Font().SetName(u"Tahoma");
    form->Font().SetSize(8);
    form->Font().SetStyle(0);
    Core->SetLastUsedFolder(u"");
    Load(form, asPosOnly);
    EXPECT_EQ(form->Font().Name(), u"Consolas");
    EXPECT_EQ(form->Font().Size(), 11);
    EXPECT_EQ(form->Font().Style(), toolkit::fsBold | toolkit::fsItalic);
    EXPECT_EQ(form->Font().Color(), toolkit::clNavy);
    EXPECT_EQ(Core->LastUsedFolder(), folder);
}

TEST_F(IniFormTest, OtherFormsKeepNeitherFontNorFolder) {
    App.SetMainForm(MakeForm(u"MainForm"));
    toolkit::TForm* form = MakeForm(u"frmRamLog");
    Save(form, asPosOnly);
    EXPECT_EQ(Stored(u"frmRamLog", u"MainFormFont"), Missing);
    EXPECT_EQ(Stored(u"frmRamLog", u"LastUsedFolder"), Missing);
    EXPECT_EQ(Stored(u"frmRamLog", u"Height"), u"300");
}

// --- fonts ---

TEST_F(IniFormTest, AFontIsReadOnlyWhenItsNameKeyExists) {
    TIniFileApp ini(u"Fonts", u"");
    toolkit::TFont font;
    font.SetName(u"Segoe UI");
    ini.Write(u"Size", u"14"); // a key that looks like a font key but is no font
    ini.Write(u"LogSize", u"20");
    EXPECT_FALSE(ini.Read(u"Log", &font));
    EXPECT_EQ(font.Name(), u"Segoe UI");

    ini.Write(u"LogName", u"");
    EXPECT_TRUE(ini.Read(u"Log", &font));
    EXPECT_EQ(font.Name(), u"");
    EXPECT_EQ(font.Size(), 20);
    EXPECT_EQ(font.Charset(), 0);
    EXPECT_EQ(font.Color(), 0);
    EXPECT_EQ(font.Style(), 0);
}

// --- failures ---

TEST_F(IniFormTest, EachMisuseRaisesItsOwnMessage) {
    toolkit::TForm* form = MakeForm(u"frmErr");
    auto* unnamedOnForm = new toolkit::TCheckBox(form);
    unnamedOnForm->SetParent(form);
    auto* unnamedLoose = new toolkit::TCheckBox(form);
    TIniFileApp ini(u"frmErr", u"");
    toolkit::TFont font;

    struct TCase {
        const char* Label;
        std::function<void()> Action;
        std::u16string Message;
    };
    const std::vector<TCase> cases{
        {"empty section", [] { TIniFileApp empty(u"", u""); }, u"TIniFileApp.Create: Empty SectionName"},
        {"save nil", [&] { ini.SaveForm(nullptr, asFull); }, u"TIniFileApp.SaveForm: Form is nil"},
        {"load nil", [&] { ini.LoadForm(nullptr, asFull); },
         u"TIniFileApp.LoadForm: Form parameter cannot be nil"},
        {"save asNone", [&] { ini.SaveForm(form, asNone); },
         u"TIniFileApp - SaveForm called when AutoState = asNone"},
        {"load asNone", [&] { ini.LoadForm(form, asNone); },
         u"TIniFileApp - LoadForm called when AutoState = asNone"},
        {"write unnamed with parent", [&] { ini.WriteComp(unnamedOnForm); },
         u"TIniFileApp.WriteComp: The control has no name! Class: TCheckBox. Parent: frmErr"},
        {"write unnamed without parent", [&] { ini.WriteComp(unnamedLoose); },
         u"TIniFileApp.WriteComp: The control has no name! Class: TCheckBox"},
        {"read unnamed", [&] { ini.ReadComp(unnamedOnForm); },
         u"TIniFileApp.ReadComp: The control has no name! Class: TCheckBox"},
        {"write font ident", [&] { ini.Write(u"", &font); },
         u"TIniFileApp.Write(Font): Ident parameter cannot be empty"},
        {"read font ident", [&] { ini.Read(u"", &font); },
         u"TIniFileApp.Read(Font): Ident parameter cannot be empty"},
        {"write nil font", [&] { ini.Write(u"F", static_cast<const toolkit::TFont*>(nullptr)); },
         u"TIniFileApp.Write(Font): Font parameter cannot be nil"},
        {"read nil font", [&] { ini.Read(u"F", static_cast<toolkit::TFont*>(nullptr)); },
         u"TIniFileApp.Read(Font): Font parameter cannot be nil"},
        {"write colour ident", [&] { ini.WriteColor(u"", 0); },
         u"TIniFileApp.WriteColor: Ident parameter cannot be empty"},
        {"read colour ident", [&] { ini.ReadColor(u"", 0); },
         u"TIniFileApp.ReadColor: Ident parameter cannot be empty"},
        {"write group nil", [&] { ini.WriteGroup(nullptr); },
         u"TIniFileApp.WriteGroup: WinCtrl parameter cannot be nil"},
        {"read group nil", [&] { ini.ReadGroup(nullptr); },
         u"TIniFileApp.ReadGroup: WinCtrl parameter cannot be nil"},
        {"no INI file", [&] { ini.AsString(); },
         u"TIniFileApp.AsString: INI file does not exist: " + TAppDataCore::IniFile()},
    };
    Sim.Files.RemoveFile(TAppDataCore::IniFile());
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        EXPECT_THROW_MSG(c.Action(), EOrvelException, c.Message);
    }
}

TEST_F(IniFormTest, WritingWithoutTheApplicationDataCoreFailsAnAssertion) {
    toolkit::TForm* form = MakeForm(u"frmEarly");
    AppDataCore = nullptr;
    TIniFileApp ini(u"frmEarly", u"");
    EXPECT_THROW_MSG(ini.SaveForm(form, asPosOnly), EAssertionFailed, u"TIniFileApp.WriteComp: AppDataCore is not initialized");
    EXPECT_EQ(Stored(u"frmEarly", u"Width"), Missing);
}

TEST_F(IniFormTest, LoadingTheMainFormWithoutTheCoreRestoresItsEntryAndFontOnly) {
    toolkit::TForm* form = MakeForm(u"MainForm");
    App.SetMainForm(form);
    Store(u"MainForm", u"Width", u"640");
    Store(u"MainForm", u"MainFormFontName", u"Consolas");
    Store(u"MainForm", u"LastUsedFolder", u"C:\\Work\\");
    AppDataCore = nullptr;
    Load(form, asPosOnly);
    EXPECT_EQ(form->Width(), 640);
    EXPECT_EQ(form->Font().Name(), u"Consolas");
}

TEST_F(IniFormTest, AsStringGivesTheApplicationsFileWhateverFileTheObjectWasOpenedOn) {
    Sim.Files.AddFile(TAppDataCore::IniFile(), "\xEF\xBB\xBF[MainForm]\r\nCaption=Gr\xC3\xBC\xC3\x9F"
                                               "e\r\n");
    TIniFileApp other(u"Other", u"C:\\Elsewhere\\other.ini");
    EXPECT_EQ(other.AsString(), u"[MainForm]\r\nCaption=Grüße\r\n");
}

TEST_F(IniFormTest, ARefusedWriteRaisesTheIniFileError) {
    Sim.Files.DenyWritesUnder(u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\");
    toolkit::TForm* form = MakeForm(u"frmLocked");
    EXPECT_THROW(Save(form, asPosOnly), EIniFileException);
}

} // namespace
} // namespace orvel
