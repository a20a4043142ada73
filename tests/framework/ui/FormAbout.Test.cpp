#include "framework/ui/FormAbout.h"

#include "tests/framework/ui/OrvelVcl.Visual.AppData.Scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace toolkit;
using testing::ExeFolder;

// The program's icon as the backend gives it: a 256-pixel square.
TBitmapData Icon256() {
    return TBitmapData{256, 256, std::vector<std::uint32_t>(256 * 256, 0xFF3040A0u)};
}

class AboutBox : public testing::ShellScene {
protected:
    AboutBox() {
        Backend.SetApplicationIcon(Icon256());
        MakeApplication();
        MakeMainForm();
        Backend.Step();
    }
    // Opens the box modally; once the loop runs, the user presses Key in it.
    TfrmAboutApp* OpenAndPress(char16_t Key) {
        App.Queue([this, Key] {
            char16_t key = Key;
            App.Screen().Forms().back()->KeyPress(key);
        });
        return TfrmAboutApp::CreateFormModal();
    }
};

TEST_F(AboutBox, ShowsNameVersionWithTheDpiModeTheHomePageLinkAndTheLogo) {
    TfrmAboutApp* box = OpenAndPress(u'\x1B');
    EXPECT_EQ(box->Caption(), u"About");
    EXPECT_EQ(box->lblAppName->Caption(), u"Tarvin");
    EXPECT_EQ(box->lblVersion->Caption(), u" v1.4.0   |   High-DPI: Per-Monitor Aware V2");
    EXPECT_EQ(box->lblCompany->Caption(), Application->CompanyName);
    EXPECT_EQ(box->lblCompany->Link(), Application->ProductHome);
    EXPECT_FALSE(box->lblCompany->Link().empty());
    EXPECT_EQ(box->lblChildren->Caption(),
              u" We have not inherited the earth from our parents, we've borrowed it from our children");
    ASSERT_FALSE(box->imgLogo->Picture().Empty()) << "the program's icon is the logo";
    EXPECT_EQ(box->imgLogo->Picture().Width(), 256);
}

TEST_F(AboutBox, ReadsFromTheTopNameVersionLinkLogoMotto) {
    TfrmAboutApp* box = OpenAndPress(u'\r');
    EXPECT_EQ(box->ClientWidth(), 535);
    EXPECT_EQ(box->ClientHeight(), 445);
    EXPECT_EQ(box->Container->BoundsRect(), RectOf(15, 15, 535 - 30, 445 - 30));
    EXPECT_EQ(box->lblAppName->Top(), 12);
    EXPECT_EQ(box->lblAppName->Height(), 24);
    EXPECT_LT(box->lblAppName->Top(), box->lblVersion->Top());
    EXPECT_LT(box->lblVersion->Top(), box->lblCompany->Top());
    EXPECT_LT(box->lblCompany->Top(), box->imgLogo->Top());
    EXPECT_LT(box->imgLogo->Top(), box->lblChildren->Top());
    EXPECT_EQ(box->lblChildren->Top() + box->lblChildren->Height(), box->Container->ClientHeight());
    // The logo is square and never stretched out of shape.
    const TRect logo = box->imgLogo->DestRect();
    EXPECT_EQ(logo.Width(), logo.Height());
}

TEST_F(AboutBox, LabelsWithAFontOfTheirOwnKeepItTheRestTakeTheSharedFont) {
    TfrmAboutApp* box = OpenAndPress(u'\r');
    EXPECT_EQ(box->Font().Name(), u"Segoe UI");
    EXPECT_EQ(box->lblVersion->Font().Name(), u"Segoe UI");
    EXPECT_EQ(box->lblAppName->Font().Name(), u"MS UI Gothic");
    EXPECT_EQ(box->lblAppName->Font().Style(), fsBold);
    EXPECT_EQ(box->lblAppName->Font().Color(), clNavy);
    EXPECT_EQ(box->lblCompany->Font().Name(), u"MS Sans Serif");
    EXPECT_EQ(box->lblCompany->Font().Style(), fsUnderline);
    EXPECT_EQ(box->lblChildren->Font().Color(), clTeal);
}

TEST_F(AboutBox, EnterOrEscapeClosesTheModalBoxWhichStaysHiddenAndOpeningAgainMakesAnother) {
    TfrmAboutApp* first = OpenAndPress(u'\r');
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(first->Owner(), &App);
    EXPECT_NE(IniValue(u"frmAboutApp", u"Width"), std::nullopt) << "its state was saved on closing";
    TfrmAboutApp* second = OpenAndPress(u'\x1B');
    EXPECT_NE(first, second);
    EXPECT_FALSE(second->Visible());
    int boxes = 0;
    for (const TForm* form : App.Screen().Forms()) {
        boxes += form->Is<TfrmAboutApp>() ? 1 : 0;
    }
    EXPECT_EQ(boxes, 2);
}

TEST_F(AboutBox, OtherKeysLeaveTheBoxOpen) {
    int presses = 0;
    App.Queue([&] {
        TForm* box = App.Screen().Forms().back();
        char16_t key = u'a';
        box->KeyPress(key);
        ++presses;
        EXPECT_TRUE(box->Visible());
        key = u'\x1B';
        box->KeyPress(key);
    });
    TfrmAboutApp::CreateFormModal();
    EXPECT_EQ(presses, 1);
}

TEST_F(AboutBox, LogoFileInTheSystemFolderWinsOverTheIcon) {
    Sim.Files.AddFile(ExeFolder + u"System\\Logo.png", "\x89PNG");
    TfrmAboutApp* box = OpenAndPress(u'\r');
    EXPECT_EQ(box->imgLogo->Picture().Width(), 16) << "the headless backend's picture of the file";
}

TEST_F(AboutBox, WithoutLogoFileOrIconTheLogoAreaStaysEmptyWithoutError) {
    Backend.SetApplicationIcon(std::nullopt);
    TfrmAboutApp* box = OpenAndPress(u'\r');
    EXPECT_TRUE(box->imgLogo->Picture().Empty());
}

TEST_F(AboutBox, NeedsTheMainForm) {
    Application.reset();
    Forget();
    App.MainForm()->Free();
    MakeApplication();
    EXPECT_THROW(TfrmAboutApp::CreateFormModal(), EOrvelException);
}

TEST(AboutBoxDpi, EveryModeHasItsText) {
    using platform::TDpiAwareness;
    const struct {
        TDpiAwareness Awareness;
        const char16_t* Text;
    } cases[] = {{TDpiAwareness::PerMonitorV2, u"Per-Monitor Aware V2"},
                 {TDpiAwareness::PerMonitor, u"Per-Monitor Aware"},
                 {TDpiAwareness::System, u"System Aware"},
                 {TDpiAwareness::UnawareGdiScaled, u"Unaware (GDI-scaled)"},
                 {TDpiAwareness::Unaware, u"Unaware"},
                 {TDpiAwareness::AwareLegacy, u"Aware (legacy)"},
                 {TDpiAwareness::Unknown, u"Unknown"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DpiAwarenessName(c.Awareness), c.Text);
    }
}

} // namespace
} // namespace orvel
