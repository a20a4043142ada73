#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.ActnList.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.TrayIcon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

struct TMenuScene : TScene {
    TForm* Form = NewForm<TForm>(&App);
    TPopupMenu* Menu = new TPopupMenu(Form);

    TMenuItem* Item(const std::u16string& Name, const std::u16string& Caption, TMenuItem* Parent = nullptr) {
        auto* item = new TMenuItem(Form);
        item->SetName(Name);
        item->SetCaption(Caption);
        (Parent != nullptr ? Parent : Menu->Items())->Add(item);
        return item;
    }
};

std::vector<std::u16string> Captions(const TMenuItem& Parent) {
    std::vector<std::u16string> result;
    for (int i = 0; i < Parent.Count(); ++i) {
        result.push_back(Parent.Items(i)->Caption());
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Structure

TEST(MenuStructure, TrayMenuItemsAreFormComponentsAndChildrenOfTheRoot) {
    TMenuScene scene;
    TMenuItem* show = scene.Item(u"mnuShow", u"Show Tarvin");
    TMenuItem* about = scene.Item(u"mnuAbout", u"About Tarvin");
    TMenuItem* sep = scene.Item(u"mnuSep", u"-");
    TMenuItem* exitItem = scene.Item(u"mnuExit", u"Exit");
    show->SetDefault(true);

    EXPECT_THAT(Captions(*scene.Menu->Items()), ElementsAre(u"Show Tarvin", u"About Tarvin", u"-", u"Exit"));
    EXPECT_EQ(scene.Form->FindComponent(u"mnuExit"), exitItem);
    EXPECT_EQ(exitItem->Parent(), scene.Menu->Items());
    EXPECT_EQ(exitItem->GetParentMenu(), scene.Menu);
    EXPECT_EQ(exitItem->MenuIndex(), 3);
    EXPECT_EQ(scene.Menu->Items()->DefaultItem(), show);
    EXPECT_TRUE(sep->IsLine());
    EXPECT_FALSE(about->IsLine());
    about->SetCaption(u"--");
    EXPECT_FALSE(about->IsLine());
}

TEST(MenuStructure, InsertMovesDeleteDetachesAndFreeLeavesTheParent) {
    TMenuScene scene;
    TMenuItem* file = scene.Item(u"File", u"File");
    TMenuItem* open = scene.Item(u"Open", u"Open", file);
    TMenuItem* close = scene.Item(u"Close", u"Close", file);
    TMenuItem* help = scene.Item(u"Help", u"Help");

    file->Insert(0, help); // moves it out of the root
    EXPECT_THAT(Captions(*file), ElementsAre(u"Help", u"Open", u"Close"));
    EXPECT_THAT(Captions(*scene.Menu->Items()), ElementsAre(u"File"));
    EXPECT_EQ(open->GetParentMenu(), scene.Menu);

    file->Delete(0);
    EXPECT_EQ(help->Parent(), nullptr);
    EXPECT_EQ(help->GetParentMenu(), nullptr);
    EXPECT_EQ(scene.Form->FindComponent(u"Help"), help) << "Delete does not free";

    close->Free();
    EXPECT_THAT(Captions(*file), ElementsAre(u"Open"));

    file->Free();
    EXPECT_EQ(open->Parent(), nullptr) << "the child stays, owned by the form";
    EXPECT_EQ(scene.Menu->Items()->Count(), 0);

    EXPECT_THROW(open->Items(0), EListError);
    EXPECT_THROW(open->Add(open), EInvalidOperation);
}

TEST(MenuStructure, RadioItemsOfOneGroupExcludeEachOther) {
    TMenuScene scene;
    TMenuItem* low = scene.Item(u"Low", u"Low");
    TMenuItem* high = scene.Item(u"High", u"High");
    TMenuItem* other = scene.Item(u"Other", u"Other");
    for (TMenuItem* item : {low, high, other}) {
        item->SetRadioItem(true);
    }
    other->SetGroupIndex(2);
    other->SetChecked(true);

    low->SetChecked(true);
    high->SetChecked(true);

    EXPECT_FALSE(low->Checked());
    EXPECT_TRUE(high->Checked());
    EXPECT_TRUE(other->Checked());
}

TEST(MenuClick, AutoCheckThenHandlerAndNothingWhenDisabled) {
    TMenuScene scene;
    TMenuItem* item = scene.Item(u"Trace", u"Trace");
    item->SetAutoCheck(true);
    std::vector<bool> seen;
    item->OnClick = [&](TComponent*) { seen.push_back(item->Checked()); };

    item->Click();
    item->SetEnabled(false);
    item->Click();

    EXPECT_THAT(seen, ElementsAre(true));
}

TEST(MenuPeer, ChangesOfAnyItemReachTheMenusPeer) {
    TMenuScene scene;
    TMenuItem* file = scene.Item(u"File", u"File");
    TMenuItem* open = scene.Item(u"Open", u"Open", file);
    scene.Menu->HandleNeeded();
    ASSERT_NE(scene.Menu->Peer(), nullptr);
    const auto* peer = dynamic_cast<const headless::THeadlessPeer*>(scene.Menu->Peer());
    ASSERT_NE(peer, nullptr);
    const int before = peer->SyncCount(TChange::Items);

    open->SetCaption(u"Open...");
    open->SetCaption(u"Open...");
    file->SetEnabled(false);

    EXPECT_EQ(peer->SyncCount(TChange::Items), before + 2);
}

TEST(PopupMenu, OnPopupRunsBeforeTheBackendShowsIt) {
    TMenuScene scene;
    TMenuItem* item = scene.Item(u"Copy", u"Copy");
    scene.Menu->OnPopup = [&](TComponent*) {
        EXPECT_TRUE(scene.Backend.Popups().empty());
        item->SetEnabled(false);
    };

    scene.Menu->Popup(300, 200);

    ASSERT_EQ(scene.Backend.Popups().size(), 1u);
    EXPECT_EQ(scene.Backend.Popups()[0].Menu, scene.Menu);
    EXPECT_EQ(scene.Backend.Popups()[0].ScreenPos, (TPoint{300, 200}));
    EXPECT_FALSE(item->Enabled());
}

TEST(PopupMenu, PopupComponentIsClearedWhenItIsFreed) {
    TMenuScene scene;
    auto* memo = new TMemo(scene.Form);
    scene.Menu->SetPopupComponent(memo);
    memo->Free();
    EXPECT_EQ(scene.Menu->PopupComponent(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Action links

struct TActionScene : TMenuScene {
    TAction* Action = new TAction(Form);
    TActionScene() {
        Action->SetCaption(u"Copy line");
        Action->SetHint(u"Copies the selected line");
        Action->SetChecked(true);
    }
};

TEST(ActionLink, ClientsTakeTheActionsStateAndFollowItsChanges) {
    TActionScene scene;
    TMenuItem* item = scene.Item(u"mnuCopy", u"old");
    auto* box = new TCheckBox(scene.Form);
    auto* button = new TButton(scene.Form);
    int boxClicks = 0;
    box->OnClick = [&](TComponent*) { ++boxClicks; };

    item->SetAction(scene.Action);
    box->SetAction(scene.Action);
    button->SetAction(scene.Action);
    EXPECT_EQ(item->Caption(), u"Copy line");
    EXPECT_EQ(item->Hint(), u"Copies the selected line");
    EXPECT_TRUE(item->Checked());
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(button->Caption(), u"Copy line");
    EXPECT_EQ(scene.Action->ClientCount(), 3);

    scene.Action->SetCaption(u"Copy");
    scene.Action->SetHint(u"");
    scene.Action->SetChecked(false);
    scene.Action->SetEnabled(false);

    EXPECT_EQ(item->Caption(), u"Copy");
    EXPECT_EQ(item->Hint(), u"");
    EXPECT_FALSE(item->Checked());
    EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(box->Caption(), u"Copy");
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(boxClicks, 0) << "showing the action's state is no click";
}

TEST(ActionLink, PublishedActionPropertyForTheTranslator) {
    TActionScene scene;
    TMenuItem* item = scene.Item(u"mnuCopy", u"Copy");
    auto* button = new TButton(scene.Form);
    auto* label = new TLabel(scene.Form);

    EXPECT_TRUE(item->HasActionProperty());
    EXPECT_TRUE(button->HasActionProperty());
    EXPECT_FALSE(label->HasActionProperty());
    EXPECT_EQ(item->Action(), nullptr);
    item->SetAction(scene.Action);
    EXPECT_EQ(static_cast<TComponent*>(item)->Action(), scene.Action);
}

TEST(ActionLink, FreeingTheActionClearsEveryLink) {
    TActionScene scene;
    TMenuItem* item = scene.Item(u"mnuCopy", u"old");
    auto* button = new TButton(scene.Form);
    item->SetAction(scene.Action);
    button->SetAction(scene.Action);

    scene.Action->Free();

    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(item->Caption(), u"Copy line") << "the last state stays";
    item->Click(); // no action to run any more
}

TEST(ActionLink, FreeingAClientUnlinksItFromTheAction) {
    TActionScene scene;
    auto* button = new TButton(scene.Form);
    auto* other = new TButton(scene.Form);
    button->SetAction(scene.Action);
    other->SetAction(scene.Action);

    button->Free();
    EXPECT_EQ(scene.Action->ClientCount(), 1);
    scene.Action->SetCaption(u"still fine");
    EXPECT_EQ(other->Caption(), u"still fine");

    other->SetAction(nullptr);
    EXPECT_EQ(scene.Action->ClientCount(), 0);
}

TEST(ActionLink, ClickRunsTheActionUnlessTheClientHasItsOwnHandler) {
    TActionScene scene;
    int executed = 0;
    scene.Action->OnExecute = [&](TComponent* Sender) {
        EXPECT_EQ(Sender, scene.Action);
        ++executed;
    };
    TMenuItem* item = scene.Item(u"mnuCopy", u"Copy");
    auto* button = new TButton(scene.Form);
    item->SetAction(scene.Action);
    button->SetAction(scene.Action);

    item->Click();
    button->Click();
    EXPECT_EQ(executed, 2);

    int own = 0;
    button->OnClick = [&](TComponent*) { ++own; };
    button->Click();
    EXPECT_EQ(executed, 2);
    EXPECT_EQ(own, 1);
}

// ---------------------------------------------------------------------------------------------
// Tray icon

TEST(TrayIcon, PeerComesWithVisibilityAndFollowsChanges) {
    TMenuScene scene;
    auto* tray = new TTrayIcon(scene.Form);
    tray->SetHint(u"Tarvin - click to bring the window back");
    EXPECT_EQ(tray->Peer(), nullptr) << "nothing in the notification area yet";

    tray->SetIcon(TIcon::ApplicationIcon());
    tray->SetVisible(true);
    const auto* peer = dynamic_cast<const headless::THeadlessPeer*>(tray->Peer());
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(&peer->Component(), tray);
    tray->SetHint(u"new hint");
    tray->SetPopupMenu(scene.Menu);

    EXPECT_EQ(peer->SyncCount(TChange::Visible), 1);
    EXPECT_EQ(peer->SyncCount(TChange::Hint), 1);
    EXPECT_EQ(peer->SyncCount(TChange::Items), 1);

    scene.Menu->Free();
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    const int alive = scene.Backend.PeersAlive();
    tray->Free();
    EXPECT_EQ(scene.Backend.PeersAlive(), alive - 1) << "the icon leaves the notification area";
}

TEST(TrayIcon, ClicksRunTheirHandlers) {
    TMenuScene scene;
    auto* tray = new TTrayIcon(scene.Form);
    std::vector<std::string> seen;
    tray->OnClick = [&](TComponent* Sender) {
        EXPECT_EQ(Sender, tray);
        seen.push_back("click");
    };
    tray->OnDblClick = [&](TComponent*) { seen.push_back("double"); };
    tray->Click();
    tray->DblClick();
    EXPECT_THAT(seen, ElementsAre("click", "double"));
}

} // namespace
} // namespace toolkit::testing
