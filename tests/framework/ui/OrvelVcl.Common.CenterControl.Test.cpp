#include "framework/ui/OrvelVcl.Common.CenterControl.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvel {
namespace {

using namespace toolkit;

TMonitor Monitor(int Number, TRect Bounds, TRect WorkArea, bool Primary) {
    TMonitor monitor;
    monitor.MonitorNum = Number;
    monitor.BoundsRect = Bounds;
    monitor.WorkareaRect = WorkArea;
    monitor.Primary = Primary;
    return monitor;
}

// A 1920 x 1080 primary monitor whose taskbar takes the bottom 40 pixels, and a 1280 x 1024
// monitor on its right with its taskbar on the left.
class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        Backend.SetMonitors({Monitor(0, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true),
                             Monitor(1, {1920, 0, 3200, 1024}, {1980, 0, 3200, 1024}, false)});
    }
    TForm* NewPlainForm(int Left, int Top, int Width, int Height) {
        TForm* form = NewForm<TForm>(static_cast<TComponent*>(&App));
        form->SetBounds(Left, Top, Width, Height);
        return form;
    }

    platform::sim::TSimPlatform Sim;
    headless::THeadlessBackend Backend{Sim};
    TApplication App{Backend, Sim.MainThread};
};

TEST_F(Placement, CenterChildCentresInTheClientAreaButNeverLeftOfOrAboveIt) {
    struct TCase {
        int ChildWidth, ChildHeight, Left, Top;
    };
    // Client area 801 x 600: odd differences truncate.
    const TCase cases[] = {
        {400, 300, 200, 150}, {400, 301, 200, 149}, {900, 300, 0, 150}, // wider than the parent
        {400, 700, 200, 0},                                             // taller than the parent
        {1000, 900, 0, 0},
    };
    TForm* parent = NewPlainForm(50, 60, 900, 700);
    parent->SetClientSize(801, 600);
    auto* child = new TPanel(parent);
    child->SetParent(parent);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ChildWidth << " x " << c.ChildHeight);
        child->SetBounds(7, 7, c.ChildWidth, c.ChildHeight);
        CenterChild(child, parent);
        EXPECT_EQ(child->Left(), c.Left);
        EXPECT_EQ(child->Top(), c.Top);
        EXPECT_EQ(child->Width(), c.ChildWidth);
        EXPECT_EQ(child->Height(), c.ChildHeight);
    }
}

TEST_F(Placement, FormIsCentredOnThePrimaryWorkAreaWhileThereIsNoMainForm) {
    TForm* form = NewPlainForm(3000, 500, 800, 600);
    CenterFormOnMainFormMonitor(form);
    EXPECT_EQ(form->BoundsRect(), RectOf(560, 220, 800, 600));
}

TEST_F(Placement, FormIsCentredOnTheWorkAreaOfTheMainFormsMonitor) {
    TForm* mainForm = NewPlainForm(2200, 100, 600, 400);
    App.SetMainForm(mainForm);
    TForm* form = NewPlainForm(10, 10, 800, 600);
    CenterFormOnMainFormMonitor(form);
    EXPECT_EQ(form->BoundsRect(), RectOf(1980 + 210, 212, 800, 600));
}

TEST_F(Placement, FormLargerThanTheWorkAreaSticksOutOnBothSides) {
    struct TCase {
        int Width, Height, Left, Top;
    };
    const TCase cases[] = {
        {2020, 600, -50, 220}, // 100 pixels wider
        {2021, 1041, -50, 0},  // halves truncate toward zero, not down
        {1920, 1140, 0, -50},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
        TForm* form = NewPlainForm(0, 0, c.Width, c.Height);
        CenterFormOnMainFormMonitor(form);
        EXPECT_EQ(form->Left(), c.Left);
        EXPECT_EQ(form->Top(), c.Top);
        EXPECT_EQ(form->Width(), c.Width);
    }
}

TEST_F(Placement, FormIsPulledInsideTheVirtualDesktop) {
    Backend.SetMonitors({Monitor(0, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true)});
    struct TCase {
        const char* What;
        TRect Before, After;
    };
    const TCase cases[] = {
        {"inside stays", RectOf(100, 100, 800, 600), RectOf(100, 100, 800, 600)},
        {"wider than the desktop", RectOf(100, 100, 3000, 600), RectOf(0, 100, 1920, 600)},
        {"left of the desktop", RectOf(-500, 100, 800, 600), RectOf(0, 100, 800, 600)},
        {"past the right edge", RectOf(1500, 100, 800, 600), RectOf(1120, 100, 800, 600)},
        {"above the desktop", RectOf(100, -20, 800, 600), RectOf(100, 0, 800, 600)},
        {"past the bottom edge", RectOf(100, 900, 800, 600), RectOf(100, 480, 800, 600)},
        {"taller than the desktop", RectOf(100, 300, 800, 2000), RectOf(100, 0, 800, 1080)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TForm* form = NewPlainForm(c.Before.Left, c.Before.Top, c.Before.Width(), c.Before.Height());
        CorrectFormPositionDesktop(form);
        EXPECT_EQ(form->BoundsRect(), c.After);
    }
}

TEST_F(Placement, DesktopSpansAllMonitorsIncludingThoseLeftOfThePrimary) {
    Backend.SetMonitors({Monitor(0, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true),
                         Monitor(1, {-1280, -200, 0, 824}, {-1280, -200, 0, 824}, false)});
    TForm* farLeft = NewPlainForm(-2000, -300, 800, 600);
    CorrectFormPositionDesktop(farLeft);
    EXPECT_EQ(farLeft->BoundsRect(), RectOf(-1280, -200, 800, 600));
    TForm* onSecond = NewPlainForm(-1000, 100, 800, 600);
    CorrectFormPositionDesktop(onSecond);
    EXPECT_EQ(onSecond->BoundsRect(), RectOf(-1000, 100, 800, 600));
}

TEST_F(Placement, MissingArgumentsRaiseWithTheRoutinesName) {
    TForm* form = NewPlainForm(0, 0, 100, 100);
    EXPECT_THROW_MSG(CenterChild(nullptr, form), EOrvelException, u"CenterChild: Ctrl parameter cannot be nil");
    EXPECT_THROW_MSG(CenterChild(form, nullptr), EOrvelException, u"CenterChild: Parent parameter cannot be nil");
    EXPECT_THROW_MSG(CenterFormOnMainFormMonitor(nullptr), EOrvelException, u"CenterFormOnMainFormMonitor: Form parameter cannot be nil");
    EXPECT_THROW_MSG(CorrectFormPositionDesktop(nullptr), EOrvelException, u"CorrectFormPositionDesktop: Form parameter cannot be nil");
}

} // namespace
} // namespace orvel
