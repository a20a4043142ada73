#include "framework/ui/OrvelVcl.Visual.INIFile.h"

#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.IniFile.TestScene.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <initializer_list>
#include <string>

namespace orvel {
namespace {

using testing::Missing;

class IniVclTest : public testing::TIniFormScene {
protected:
    IniVclTest() { Form = MakeForm(u"frmRamLog"); }

    TLogViewer* NewViewer(const std::u16string& Name) {
        auto* viewer = new TLogViewer(Form, Os);
        viewer->SetName(Name);
        viewer->SetParent(Form);
        return viewer;
    }
    void SaveVcl(TAutoState State) {
        TIniFileVCL ini(Form->Name(), u"");
        ini.SaveForm(Form, State);
    }
    void LoadVcl(TAutoState State) {
        TIniFileVCL ini(Form->Name(), u"");
        ini.LoadForm(Form, State);
    }

    toolkit::TForm* Form = nullptr;
};

TEST_F(IniVclTest, TheLogViewerKeepsItsVerbosityAsTheLevelsOrdinal) {
    TLogViewer* viewer = NewViewer(u"Log");
    viewer->SetVerbosity(lvWarnings);
    SaveVcl(asFull);
    EXPECT_EQ(Stored(u"frmRamLog", u"Log"), u"5");

    viewer->SetVerbosity(lvDebug);
    LoadVcl(asFull);
    EXPECT_EQ(viewer->Verbosity(), lvWarnings);
}

TEST_F(IniVclTest, AStoredVerbosityThatNamesNoLevelReadsAsTheFirstLevel) {
    TLogViewer* viewer = NewViewer(u"Log");
    for (const std::u16string& stored : std::initializer_list<std::u16string>{u"7", u"-1", u"many"}) {
        viewer->SetVerbosity(lvErrors);
        Store(u"frmRamLog", u"Log", stored);
        LoadVcl(asFull);
        EXPECT_EQ(viewer->Verbosity(), lvDebug);
    }
}

TEST_F(IniVclTest, TheBaseClassDoesNotKnowTheLogViewer) {
    TLogViewer* viewer = NewViewer(u"Log");
    viewer->SetVerbosity(lvImportant);
    TIniFileApp base(u"frmRamLog", u"");
    TIniFileVCL vcl(u"frmRamLog", u"");
    EXPECT_FALSE(base.IsSupported(viewer));
    EXPECT_TRUE(vcl.IsSupported(viewer));
    // The result stays the base's even though the row wrote the value.
    EXPECT_FALSE(vcl.WriteComp(viewer));
    EXPECT_EQ(Stored(u"frmRamLog", u"Log"), u"4");
    viewer->SetVerbosity(lvErrors);
    EXPECT_FALSE(vcl.ReadComp(viewer));
    EXPECT_EQ(viewer->Verbosity(), lvImportant);
}

TEST_F(IniVclTest, AClassKnownToNeitherTableIsRefused) {
    auto* label = new toolkit::TLabel(Form);
    label->SetName(u"lblTitle");
    TIniFileVCL ini(u"frmRamLog", u"");
    EXPECT_THROW_MSG(ini.WriteComp(label), EOrvelException, u"Unsupported control: TLabel, lblTitle");
    EXPECT_TRUE(ini.ReadComp(label)); // nothing stored: nothing to refuse
    Store(u"frmRamLog", u"lblTitle", u"x");
    EXPECT_THROW_MSG(ini.ReadComp(label), EOrvelException, u"Unsupported control: TLabel, lblTitle");
}

TEST_F(IniVclTest, TheBaseRowsStillApplyAndTheFormWalkSkipsUnsupportedClasses) {
    auto* check = new toolkit::TCheckBox(Form);
    check->SetName(u"chkAuto");
    check->SetParent(Form);
    auto* label = new toolkit::TLabel(Form);
    label->SetName(u"lblTitle");
    check->SetChecked(true);
    SaveVcl(asFull);
    EXPECT_EQ(Stored(u"frmRamLog", u"chkAuto"), u"1");
    EXPECT_EQ(Stored(u"frmRamLog", u"lblTitle"), Missing);
}

TEST_F(IniVclTest, AnUnnamedComponentFailsTheAssertionBeforeTheBaseIsAsked) {
    auto* check = new toolkit::TCheckBox(Form);
    TIniFileVCL ini(u"frmRamLog", u"");
    EXPECT_THROW_MSG(ini.ReadComp(check), EAssertionFailed, u"TIniFileVCL-The control has no name! Class: TCheckBox");
}

} // namespace
} // namespace orvel
