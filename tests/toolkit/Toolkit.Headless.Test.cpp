#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Form.h"

#include <gtest/gtest.h>

#include <set>

namespace toolkit::testing {
namespace {

TEST(HeadlessBackend, TextMetricsFollowTheFontHeight) {
    TScene scene;
    TFont font; // -11 pixels
    const TTextMetrics four = scene.Backend.MeasureText(font, u"abcd");
    EXPECT_EQ(four.Width, 24);
    EXPECT_EQ(four.Height, 14);
    EXPECT_EQ(four.Overhang, 0);
    font.SetHeight(-20);
    const TTextMetrics none = scene.Backend.MeasureText(font, u"");
    EXPECT_EQ(none.Width, 0);
    EXPECT_EQ(none.Height, 26);
}

TEST(HeadlessBackend, PicturesExistOnlyForFilesThatDo) {
    TScene scene;
    scene.Sim.Files.AddFile(u"C:\\Pictures\\Logo.png", "not decoded");
    const auto picture = scene.Backend.LoadPicture(u"c:\\pictures\\LOGO.png");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width * picture->Height, static_cast<int>(picture->Pixels.size()));
    EXPECT_GT(picture->Width, 0);
    EXPECT_FALSE(scene.Backend.LoadPicture(u"C:\\Pictures\\Missing.png").has_value());
}

TEST(HeadlessBackend, PeersHaveUniqueHandlesAndGoWithTheirControls) {
    TScene scene;
    std::set<platform::TWindowHandle> handles;
    auto* form = scene.App.CreateForm<TForm>();
    for (int i = 0; i < 5; ++i) {
        auto* control = new TControl(form);
        control->SetParent(form);
    }
    form->Show();
    for (TControl* control : form->Controls()) {
        handles.insert(control->Handle());
    }
    handles.insert(form->Handle());
    EXPECT_EQ(handles.size(), 6u);
    EXPECT_EQ(handles.count(0), 0u);
    EXPECT_EQ(scene.Backend.PeersCreated(), 6);

    form->Free();
    EXPECT_EQ(scene.Backend.PeersAlive(), 0);
}

TEST(HeadlessBackend, ReparentingMakesTheWindowAgainUnderTheNewParent) {
    TScene scene;
    auto* shown = scene.App.CreateForm<TForm>();
    auto* hidden = scene.App.CreateForm<TForm>();
    shown->Show();
    auto* control = new TControl(shown);
    control->SetParent(shown);
    const platform::TWindowHandle first = control->Handle();

    control->SetParent(hidden);
    EXPECT_FALSE(control->HandleAllocated());
    control->SetParent(shown);
    EXPECT_TRUE(control->HandleAllocated());
    EXPECT_NE(control->Handle(), first);
}

TEST(HeadlessBackend, RestoresMaximizedFollowsTheStateBeforeMinimising) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    form->Show();
    form->SetWindowState(TWindowState::wsMaximized);
    form->Perform(msgSysCommand, scMinimize);
    EXPECT_TRUE(form->RestoresMaximized());
    form->SetWindowState(TWindowState::wsNormal);
    form->SetWindowState(TWindowState::wsMinimized);
    EXPECT_FALSE(form->RestoresMaximized());
}

} // namespace
} // namespace toolkit::testing
