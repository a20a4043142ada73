#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Menus.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

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

// As Windows places a maximised window: over the work area of its monitor with the frame past the
// edges, so the client area is the work area less the caption and the menu bar, unless MaxSize
// keeps the window smaller.
TEST(HeadlessBackend, AMaximisedFormIsShownWithTheWorkAreaOfItsMonitor) {
    TMonitor second;
    second.MonitorNum = 1;
    second.BoundsRect = TRect{1920, 0, 3200, 1024};
    second.WorkareaRect = TRect{1920, 0, 3200, 984};
    struct TCase {
        const char* Label;
        TFormBorderStyle Style;
        bool WithMenu;
        TRect NormalBounds;
        TSize MaxSize;
        TSize Client;
    };
    const TCase cases[] = {
        {"sizeable", TFormBorderStyle::bsSizeable, false, RectOf(100, 80, 416, 339), {}, {1920, 1017}},
        {"with a menu bar", TFormBorderStyle::bsSizeable, true, RectOf(100, 80, 416, 339), {}, {1920, 997}},
        {"single", TFormBorderStyle::bsSingle, false, RectOf(100, 80, 406, 329), {}, {1920, 1017}},
        {"borderless", TFormBorderStyle::bsNone, false, RectOf(100, 80, 400, 300), {}, {1920, 1040}},
        {"mostly on the second monitor", TFormBorderStyle::bsSizeable, false, RectOf(1800, 80, 416, 339), {},
         {1280, 961}},
        {"limited by MaxSize", TFormBorderStyle::bsSizeable, false, RectOf(100, 80, 416, 339), {800, 600},
         {784, 561}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TScene scene;
        std::vector<TMonitor> monitors = scene.Backend.Monitors();
        monitors.push_back(second);
        scene.Backend.SetMonitors(monitors);
        auto* form = scene.App.CreateForm<TForm>();
        form->SetBorderStyle(c.Style);
        if (c.WithMenu) {
            form->SetMenu(new TMainMenu(form));
        }
        form->SetMaxSize(c.MaxSize);
        form->SetBounds(c.NormalBounds.Left, c.NormalBounds.Top, c.NormalBounds.Width(), c.NormalBounds.Height());
        form->Show();
        form->SetWindowState(TWindowState::wsMaximized);
        EXPECT_EQ(form->ShownClientSize(), c.Client);
        EXPECT_EQ(form->ClientRect(), RectOf(0, 0, c.Client.Width, c.Client.Height));
        EXPECT_EQ(form->BoundsRect(), c.NormalBounds);
    }
}

} // namespace
} // namespace toolkit::testing
