#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Form.h"

#include <gtest/gtest.h>

#include <vector>

namespace toolkit::testing {
namespace {

// A parent control of 300 x 200 pixels on the application, outside any form.
struct TLayoutScene : TScene {
    TOwnedPtr<TControl> Parent{new TControl(App)};
    TLayoutScene() { Parent->SetBounds(0, 0, 300, 200); }

    TControl* AddChild(TAlign Align, int Width, int Height) {
        auto* child = new TControl(&App);
        child->SetBounds(0, 0, Width, Height);
        child->SetAlign(Align);
        child->SetParent(Parent.get());
        return child;
    }
};

struct TChildSetup {
    TAlign Align;
    int Width;
    int Height;
    bool Visible = true;
    bool WithMargins = false;
    TMargins Margins = {};
    TRect Expected = {};
};

struct TLayoutCase {
    const char* Name;
    std::vector<TChildSetup> Children;
};

TEST(ControlAlign, GroupsAndChildOrderAndMargins) {
    const TMargins three{3, 3, 3, 3};
    const TMargins uneven{1, 2, 3, 4};
    const TLayoutCase cases[] = {
        {"top, bottom and client with margins",
         {{TAlign::alTop, 10, 20, true, true, three, RectOf(3, 3, 294, 20)},
          {TAlign::alBottom, 10, 30, true, true, three, RectOf(3, 167, 294, 30)},
          {TAlign::alClient, 10, 10, true, true, three, RectOf(3, 29, 294, 132)}}},
        {"left without and right with uneven margins, then client",
         {{TAlign::alLeft, 50, 10, true, false, three, RectOf(0, 0, 50, 200)},
          {TAlign::alRight, 40, 10, true, true, uneven, RectOf(257, 2, 40, 194)},
          {TAlign::alClient, 10, 10, true, false, three, RectOf(50, 0, 206, 200)}}},
        {"top is placed before left whatever the child order",
         {{TAlign::alLeft, 60, 10, true, false, three, RectOf(0, 25, 60, 175)},
          {TAlign::alTop, 10, 25, true, false, three, RectOf(0, 0, 300, 25)}}},
        {"two tops stack in child order",
         {{TAlign::alTop, 10, 10, true, false, three, RectOf(0, 0, 300, 10)},
          {TAlign::alTop, 10, 20, true, false, three, RectOf(0, 10, 300, 20)}}},
        {"an invisible child takes no room",
         {{TAlign::alTop, 10, 40, false, false, three, RectOf(0, 0, 10, 40)},
          {TAlign::alTop, 10, 10, true, false, three, RectOf(0, 0, 300, 10)},
          {TAlign::alClient, 10, 10, true, false, three, RectOf(0, 10, 300, 190)}}},
        {"margins are ignored unless asked for",
         {{TAlign::alClient, 10, 10, true, false, uneven, RectOf(0, 0, 300, 200)}}},
        {"a client area smaller than the margins gives an empty child",
         {{TAlign::alTop, 10, 190, true, false, three, RectOf(0, 0, 300, 190)},
          {TAlign::alClient, 10, 10, true, true, TMargins{0, 8, 0, 8}, RectOf(0, 198, 300, 0)}}},
    };
    for (const TLayoutCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLayoutScene scene;
        std::vector<TControl*> children;
        for (const TChildSetup& setup : c.Children) {
            auto* child = new TControl(&scene.App);
            child->SetBounds(0, 0, setup.Width, setup.Height);
            child->SetVisible(setup.Visible);
            child->SetAlignWithMargins(setup.WithMargins);
            child->SetMargins(setup.Margins);
            child->SetAlign(setup.Align);
            child->SetParent(scene.Parent.get());
            children.push_back(child);
        }
        for (std::size_t i = 0; i < children.size(); ++i) {
            EXPECT_EQ(children[i]->BoundsRect(), c.Children[i].Expected) << "child " << i;
        }
    }
}

TEST(ControlAlign, FollowsChangesOfSizeVisibilityAndParentSize) {
    TLayoutScene scene;
    TControl* top = scene.AddChild(TAlign::alTop, 10, 20);
    TControl* client = scene.AddChild(TAlign::alClient, 10, 10);
    ASSERT_EQ(client->BoundsRect(), RectOf(0, 20, 300, 180));

    top->SetHeight(50);
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 50, 300, 150));

    top->Hide();
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 0, 300, 200));
    top->Show();

    scene.Parent->SetBounds(0, 0, 400, 100);
    EXPECT_EQ(top->BoundsRect(), RectOf(0, 0, 400, 50));
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 50, 400, 50));

    top->SetAlign(TAlign::alNone);
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 0, 400, 100));
    EXPECT_EQ(top->BoundsRect(), RectOf(0, 0, 400, 50)); // keeps where it was put last
}

TEST(ControlAlign, DisabledAlignIsDoneOnceWhenEnabled) {
    TLayoutScene scene;
    TControl* client = scene.AddChild(TAlign::alClient, 10, 10);
    scene.Parent->DisableAlign();
    TControl* top = scene.AddChild(TAlign::alTop, 10, 30);
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 0, 300, 200));
    EXPECT_EQ(top->BoundsRect(), RectOf(0, 0, 10, 30));

    scene.Parent->EnableAlign();
    EXPECT_EQ(top->BoundsRect(), RectOf(0, 0, 300, 30));
    EXPECT_EQ(client->BoundsRect(), RectOf(0, 30, 300, 170));
}

TEST(ControlAnchors, ChildrenFollowTheParentsSizeChange) {
    struct TCase {
        const char* Name;
        TAnchors Anchors;
        TRect Expected;
    };
    // The child sits at (200, 150) 50 x 20; the parent grows from 300 x 200 to 400 x 260.
    const TCase cases[] = {
        {"left and top stay", akLeft | akTop, RectOf(200, 150, 50, 20)},
        {"right moves", akRight | akTop, RectOf(300, 150, 50, 20)},
        {"left and right stretch", akLeft | akRight | akTop, RectOf(200, 150, 150, 20)},
        {"bottom moves", akLeft | akBottom, RectOf(200, 210, 50, 20)},
        {"top and bottom stretch", akLeft | akTop | akBottom, RectOf(200, 150, 50, 80)},
        {"all four stretch both ways", akLeft | akTop | akRight | akBottom, RectOf(200, 150, 150, 80)},
        {"none keeps the centre", 0, RectOf(250, 180, 50, 20)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLayoutScene scene;
        TControl* child = scene.AddChild(TAlign::alNone, 50, 20);
        child->SetBounds(200, 150, 50, 20);
        child->SetAnchors(c.Anchors);

        scene.Parent->SetBounds(10, 10, 400, 260);

        EXPECT_EQ(child->BoundsRect(), c.Expected);
    }
}

TEST(ControlAnchors, ShrinkingBackRestoresTheOriginalPlace) {
    TLayoutScene scene;
    TControl* child = scene.AddChild(TAlign::alNone, 50, 20);
    child->SetBounds(200, 150, 50, 20);
    child->SetAnchors(akRight | akBottom | akLeft);
    scene.Parent->SetBounds(0, 0, 500, 400);
    scene.Parent->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(child->BoundsRect(), RectOf(200, 150, 50, 20));
}

// While its form is being built, a control's place is final as set: the form's own size change
// in the constructor must not move it.
TEST(ControlAnchors, NothingFollowsWhileTheFormIsBuilt) {
    struct TBuiltForm : TForm {
        explicit TBuiltForm(TComponent* AOwner) : TForm(AOwner) {
            Button = new TControl(this);
            Button->SetParent(this);
            Button->SetBounds(300, 250, 80, 25);
            Button->SetAnchors(akRight | akBottom);
            SetClientSize(400, 300);
        }
        TControl* Button = nullptr;
    };
    TScene scene;
    auto* form = scene.App.CreateForm<TBuiltForm>();
    EXPECT_EQ(form->Button->BoundsRect(), RectOf(300, 250, 80, 25));

    form->SetClientSize(500, 320);
    EXPECT_EQ(form->Button->BoundsRect(), RectOf(400, 270, 80, 25));
}

TEST(ControlParent, ChildListFollowsSetParentAndFree) {
    TLayoutScene scene;
    TOwnedPtr<TControl> other{new TControl(scene.App)};
    TControl* a = scene.AddChild(TAlign::alNone, 1, 1);
    TControl* b = scene.AddChild(TAlign::alNone, 1, 1);

    a->SetParent(other.get());
    EXPECT_EQ(scene.Parent->Controls(), std::vector<TControl*>{b});
    EXPECT_EQ(other->Controls(), std::vector<TControl*>{a});
    EXPECT_THROW(other->SetParent(a), EInvalidOperation);

    a->Free();
    EXPECT_TRUE(other->Controls().empty());
    EXPECT_EQ(scene.App.ComponentCount(), 1);
}

TEST(ControlParent, ClientToScreenAddsTheFormFrame) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    form->SetBounds(100, 50, 416, 339); // sizeable: 8 pixels at each side, 31 above the client
    auto* panel = new TControl(form);
    panel->SetParent(form);
    panel->SetBounds(10, 20, 100, 100);

    EXPECT_EQ(form->ClientOrigin(), (TPoint{8, 31}));
    EXPECT_EQ(panel->ClientToScreen(TPoint{1, 2}), (TPoint{100 + 8 + 10 + 1, 50 + 31 + 20 + 2}));
}

TEST(ControlFont, ChildrenFollowTheParentFontUntilTheyGetTheirOwn) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    auto* panel = new TControl(form);
    panel->SetParent(form);
    auto* label = new TControl(form);
    label->SetParent(panel);

    form->Font().SetName(u"Verdana");
    EXPECT_EQ(panel->Font().Name(), u"Verdana");
    EXPECT_EQ(label->Font().Name(), u"Verdana");
    EXPECT_TRUE(label->ParentFont());

    label->Font().SetStyle(fsBold);
    EXPECT_FALSE(label->ParentFont());
    form->Font().SetSize(12);
    EXPECT_EQ(panel->Font().Height(), -16);
    EXPECT_EQ(label->Font().Height(), -11);
    EXPECT_EQ(label->Font().Name(), u"Verdana");

    label->SetParentFont(true);
    EXPECT_TRUE(label->Font().SameAs(panel->Font()));

    // A control put on a parent takes its font as it arrives.
    auto* late = new TControl(form);
    late->SetParent(form);
    EXPECT_TRUE(late->Font().SameAs(form->Font()));
}

TEST(ControlFont, PointsAndPixelsConvertAtTheFontsDensity) {
    TFont font;
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Size(), 10);
    font.SetPixelsPerInch(144);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -20);
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetSize(10);
    font.SetName(u"Tahoma");
    EXPECT_EQ(changes, 0);
}

TEST(ControlPPI, FromTheMonitorHoldingMostOfTheForm) {
    TScene scene;
    scene.Backend.SetMonitors({
        TMonitor{0, RectOf(0, 0, 1920, 1080), RectOf(0, 0, 1920, 1040), 96, true},
        TMonitor{1, RectOf(1920, 0, 2560, 1440), RectOf(1920, 0, 2560, 1400), 144, false},
    });
    auto* form = scene.App.CreateForm<TForm>();
    auto* control = new TControl(form);
    control->SetParent(form);
    TOwnedPtr<TControl> loose{new TControl(scene.App)};

    form->SetBounds(1500, 100, 800, 600); // 420 pixels on the first, 380 on the second
    EXPECT_EQ(control->CurrentPPI(), 96);
    form->SetBounds(1700, 100, 800, 600);
    EXPECT_EQ(control->CurrentPPI(), 144);
    EXPECT_EQ(form->CurrentPPI(), 144);
    form->SetBounds(5000, 100, 800, 600); // off every monitor: the nearest
    EXPECT_EQ(form->Monitor().MonitorNum, 1);
    form->SetBounds(-900, -700, 800, 600);
    EXPECT_EQ(form->Monitor().MonitorNum, 0);
    EXPECT_EQ(loose->CurrentPPI(), 96);
}

TEST(ControlPeer, ShowingAFormGivesItAndItsChildrenPeersThatHearOfChanges) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    auto* panel = new TControl(form);
    panel->SetParent(form);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(panel->HandleAllocated());

    form->Show();
    ASSERT_TRUE(form->HandleAllocated());
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_NE(form->Handle(), 0u);
    EXPECT_NE(form->Handle(), panel->Handle());

    const auto* peer = scene.Backend.PeerOf(*panel);
    panel->SetHint(u"tip");
    panel->SetHint(u"tip");
    panel->SetBounds(1, 2, 3, 4);
    panel->SetEnabled(false);
    EXPECT_EQ(peer->SyncCount(TChange::Hint), 1);
    EXPECT_EQ(peer->SyncCount(TChange::Bounds), 1);
    EXPECT_EQ(peer->SyncCount(TChange::Enabled), 1);

    // A control added to a form that has a window gets its own at once.
    auto* late = new TControl(form);
    late->SetParent(form);
    EXPECT_TRUE(late->HandleAllocated());

    const int alive = scene.Backend.PeersAlive();
    panel->Free();
    EXPECT_EQ(scene.Backend.PeersAlive(), alive - 1);
    form->Free();
    EXPECT_EQ(scene.Backend.PeersAlive(), 0);
}

} // namespace
} // namespace toolkit::testing
