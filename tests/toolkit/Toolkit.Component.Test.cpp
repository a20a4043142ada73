#include "base/Base.Unicode.h"
#include "tests/toolkit/Toolkit.EveryKind.h"
#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.FileCtrl.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.Timer.h"
#include "toolkit/Toolkit.TrayIcon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

// A component that keeps a reference to another one and drops it when told.
class TReferrer : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* Target = nullptr;
    void Watch(TComponent* Value) {
        Target = Value;
        Value->FreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == TOperation::opRemove && AComponent == Target) {
            Target = nullptr;
        }
        TComponent::Notification(AComponent, Operation);
    }
};

TEST(ComponentOwnership, OwnerFreesWhatItOwnsLastFirstAndDepthFirst) {
    TScene scene;
    std::vector<std::u16string> journal;
    auto* root = new TJournaled(&scene.App, u"Root", journal);
    auto* first = new TJournaled(root, u"First", journal);
    new TJournaled(first, u"FirstChild", journal);
    new TJournaled(root, u"Second", journal);
    new TJournaled(root, u"Third", journal);
    ASSERT_EQ(root->ComponentCount(), 3);

    root->Free();

    // Each journals in its own destructor body, which runs before the components it owns go.
    EXPECT_THAT(journal, ElementsAre(u"Root", u"Third", u"Second", u"First", u"FirstChild"));
    EXPECT_EQ(scene.App.ComponentCount(), 0);
}

TEST(ComponentOwnership, FreedComponentLeavesItsOwnersList) {
    TScene scene;
    std::vector<std::u16string> journal;
    auto* root = new TJournaled(&scene.App, u"Root", journal);
    auto* a = new TJournaled(root, u"A", journal);
    auto* b = new TJournaled(root, u"B", journal);
    auto* c = new TJournaled(root, u"C", journal);

    b->Free();

    EXPECT_THAT(root->Components(), ElementsAre(a, c));
    EXPECT_EQ(root->FindComponent(u"b"), nullptr);
    EXPECT_EQ(root->FindComponent(u"c"), c);
    root->Free();
    EXPECT_THAT(journal, ElementsAre(u"B", u"Root", u"C", u"A"));
}

TEST(ComponentOwnership, ApplicationFreesItsComponentsAndForeignFormsWhenItGoes) {
    std::vector<std::u16string> journal;
    {
        TScene scene;
        new TJournaled(&scene.App, u"Owned", journal);
        auto* unowned = NewForm<TForm>(scene.App);
        new TJournaled(unowned, u"OnUnownedForm", journal);
    }
    EXPECT_THAT(journal, ElementsAre(u"Owned", u"OnUnownedForm"));
}

TEST(ComponentOwnership, ANullOwnerIsRefused) {
    TScene scene;
    EXPECT_THROW(TComponent(static_cast<TComponent*>(nullptr)), EInvalidOperation);
}

TEST(ComponentOwnership, AnErrorWhileAnOwnedPtrFreesReachesTheApplication) {
    TScene scene;
    std::vector<std::string> errors;
    scene.App.OnException = [&errors](const std::exception& Error) { errors.emplace_back(Error.what()); };
    {
        TOwnedPtr<TForm> form(NewForm<TForm>(scene.App));
        form->OnDestroy = [](TComponent*) { throw EInvalidOperation(u"the destroy hook failed"); };
    } // a destructor cannot pass the error on: it must not end the program either

    EXPECT_THAT(errors, ElementsAre("the destroy hook failed"));
    EXPECT_EQ(scene.App.Screen().FormCount(), 0) << "the form goes all the same";
}

TEST(ComponentQueue, CallsBoundToAComponentAreDroppedWhenItIsFreed) {
    TScene scene;
    auto* main = scene.App.CreateForm<TForm>();
    auto* other = NewForm<TForm>(scene.App);
    auto* freedDirectly = new TControl(main);
    auto* timer = new TTimer(main);
    auto* freedWithItsOwner = new TControl(other);
    auto* kept = new TControl(main);
    std::vector<std::u16string> ran;
    const std::pair<TComponent*, const char16_t*> bound[] = {
        {freedDirectly, u"FreedDirectly"},
        {timer, u"Timer"},
        {freedWithItsOwner, u"FreedWithItsOwner"},
        {kept, u"Kept"},
    };
    for (const auto& [component, name] : bound) {
        component->SetName(name);
        // The call reads the component, as a deferred update of a control does.
        scene.App.Queue([component, &ran] { ran.push_back(component->Name()); }, component);
    }

    freedDirectly->Free();
    timer->Free();
    other->Free();
    scene.Backend.Step();

    EXPECT_THAT(ran, ElementsAre(u"Kept"));
}

TEST(ComponentFreeNotification, ReferenceIsDroppedWhenTheTargetGoes) {
    TScene scene;
    auto* holder = new TReferrer(&scene.App);
    auto* other = new TReferrer(&scene.App);
    auto* target = new TComponent(other);
    holder->Watch(target);

    target->Free();
    EXPECT_EQ(holder->Target, nullptr);

    // The registration works both ways: the watcher going first must not leave a dangling entry
    // in the target, which would be told about a dead object later.
    auto* second = new TComponent(other);
    holder->Watch(second);
    holder->Free();
    second->Free();
    other->Free();
}

TEST(ComponentFreeNotification, SiblingsHearThroughTheirOwner) {
    TScene scene;
    auto* form = NewForm<TForm>(&scene.App);
    auto* referrer = new TReferrer(form);
    auto* sibling = new TComponent(form);
    referrer->Target = sibling; // no registration: the owner passes its removal on

    sibling->Free();

    EXPECT_EQ(referrer->Target, nullptr);
    form->Free();
}

TEST(ComponentFreeNotification, MainFormReferenceIsClearedWhenTheFormGoes) {
    TScene scene;
    auto* owned = scene.App.CreateForm<TForm>();
    ASSERT_EQ(scene.App.MainForm(), owned);
    owned->Free();
    EXPECT_EQ(scene.App.MainForm(), nullptr);

    auto* unowned = NewForm<TForm>(scene.App);
    scene.App.SetMainForm(unowned);
    unowned->Free();
    EXPECT_EQ(scene.App.MainForm(), nullptr);
}

TEST(ComponentFreeNotification, PopupParentIsClearedWhenItGoes) {
    TScene scene;
    auto* parent = scene.App.CreateForm<TForm>();
    auto* popup = scene.App.CreateForm<TForm>();
    popup->SetPopupParent(parent);

    parent->Free();

    EXPECT_EQ(popup->PopupParent(), nullptr);
    EXPECT_THROW(popup->SetPopupParent(popup), EInvalidOperation);
}

// A reference that clears itself: what it reads, and what its OnFreed saw, after each step.
TEST(ComponentRef, BecomesNullWhenItsComponentIsFreedAndTellsOnlyThen) {
    TScene scene;
    auto* form = NewForm<TForm>(&scene.App);
    auto* target = new TControl(form);
    std::vector<TControl*> seenWhenFreed;
    TComponentRef<TControl> ref{[&] { seenWhenFreed.push_back(ref.Get()); }};
    EXPECT_EQ(ref.Get(), nullptr);

    ref = target;
    ref = target; // the same again: still watched once
    EXPECT_EQ(ref.Get(), target);
    EXPECT_EQ(static_cast<TControl*>(ref), target);
    EXPECT_EQ(ref->Owner(), form);

    target->Free();
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_THAT(seenWhenFreed, ElementsAre(nullptr)) << "told once, and null by then";
    form->Free();
}

TEST(ComponentRef, AReassignedReferenceNoLongerWatchesTheOldComponent) {
    TScene scene;
    auto* form = NewForm<TForm>(&scene.App);
    auto* first = new TComponent(form);
    auto* second = new TComponent(form);
    int freed = 0;
    TComponentRef<TComponent> ref{[&] { ++freed; }};

    ref = first;
    ref = second;
    first->Free();
    EXPECT_EQ(ref.Get(), second);
    EXPECT_EQ(freed, 0);

    ref = nullptr; // null stops watching as well
    second->Free();
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_EQ(freed, 0);
    form->Free();
}

TEST(ComponentRef, AReferenceThatGoesFirstLeavesNoWatchBehind) {
    TScene scene;
    auto* form = NewForm<TForm>(&scene.App);
    auto* target = new TComponent(form);
    int freed = 0;
    {
        TComponentRef<TComponent> gone{[&] { ++freed; }};
        gone = target;
    }
    // One on the heap, as a member of a freed holder is.
    auto* watching = new TComponentRef<TComponent>([&] { ++freed; });
    *watching = target;
    delete watching;

    target->Free(); // would reach the freed references under the sanitizer if they had stayed
    EXPECT_EQ(freed, 0);
    form->Free();
}

TEST(ComponentRef, EveryReferenceClearsAlsoWhenOneOfThemEndsAnother) {
    TScene scene;
    auto* form = NewForm<TForm>(&scene.App);
    auto* target = new TComponent(form);
    auto later = std::make_unique<TComponentRef<TComponent>>();
    TComponentRef<TComponent> first{[&] { later.reset(); }};
    TComponentRef<TComponent> last;
    *later = target;
    first = target;
    last = target;

    // Freeing the owner frees the target with it.
    form->Free();
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_EQ(last.Get(), nullptr);
    EXPECT_EQ(later, nullptr);
}

TEST(ComponentRef, TheToolkitsReferencesClearThemselves) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    auto* control = new TControl(form);
    control->SetParent(form);
    auto* withMenu = new TControl(form);
    auto* label = new TLabel(form);
    auto* edit = new TLabeledEdit(form);
    auto* menu = new TMainMenu(form);
    auto* popup = new TPopupMenu(form);
    auto* tray = new TTrayIcon(form);
    auto* filter = new TFilterComboBox(form);
    auto* files = new TFileListBox(form);
    form->SetActiveControl(control);
    label->SetFocusControl(control);
    form->SetMenu(menu);
    withMenu->SetPopupMenu(popup);
    tray->SetPopupMenu(popup);
    popup->SetPopupComponent(control);
    filter->SetFileList(files);

    control->Free();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(popup->PopupComponent(), nullptr);
    popup->Free();
    EXPECT_EQ(withMenu->PopupMenu(), nullptr);
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    menu->Free();
    EXPECT_EQ(form->Menu(), nullptr);
    files->Free();
    EXPECT_EQ(filter->FileList(), nullptr);
    edit->EditLabel()->Free();
    EXPECT_EQ(edit->EditLabel(), nullptr);
    form->Free();
    EXPECT_EQ(scene.App.MainForm(), nullptr);
}

TEST(ComponentClass, IsATestsFollowTheHierarchy) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    auto* control = new TControl(form);
    auto* timer = new TTimer(form);

    EXPECT_TRUE(form->Is<TForm>());
    EXPECT_TRUE(form->Is<TControl>());
    EXPECT_TRUE(control->Is<TControl>());
    EXPECT_FALSE(control->Is<TForm>());
    EXPECT_FALSE(timer->Is<TControl>());

    EXPECT_EQ(scene.App.ClassName(), u"TApplication");
    EXPECT_EQ(form->ClassName(), u"TForm");
    EXPECT_EQ(control->ClassName(), u"TControl");
    EXPECT_EQ(timer->ClassName(), u"TTimer");
}

// A class that forgot to report its own kind would get its base's native counterpart and
// persistence row without a word: every kind comes from the one class that names it.
TEST(ComponentClass, EveryKindIsReportedByTheClassItNames) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    std::set<std::u16string> classNames;
    for (TComponentKind kind : AllComponentKinds()) {
        TComponent* component = NewComponentOfKind(kind, *form);
        SCOPED_TRACE(base::Utf16ToUtf8(component->ClassName()));
        EXPECT_EQ(component->ComponentKind(), kind);
        EXPECT_TRUE(classNames.insert(component->ClassName()).second) << "one class per kind";
    }
    EXPECT_EQ(classNames.size(), static_cast<std::size_t>(ComponentKindCount));

    // A class derived outside the toolkit is its base's kind.
    struct TOwnCheckBox : TCheckBox {
        using TCheckBox::TCheckBox;
        std::u16string ClassName() const override { return u"TOwnCheckBox"; }
    };
    EXPECT_EQ(TOwnedPtr<TOwnCheckBox>(new TOwnCheckBox(form))->ComponentKind(), TComponentKind::ckCheckBox);
}

TEST(ComponentTextProperties, PublishedNamesByClass) {
    TScene scene;
    auto* form = scene.App.CreateForm<TForm>();
    auto* control = new TControl(form);
    auto* plain = new TComponent(form);

    struct TCase {
        TComponent* Component;
        const char16_t* Name;
        bool Published;
    };
    const TCase cases[] = {
        {form, u"Caption", true},   {form, u"Hint", true},    {form, u"caption", true},
        {form, u"TextHint", false}, {control, u"Hint", true}, {control, u"Caption", false},
        {plain, u"Hint", false},    {form, u"Name", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Component->ClassName() + u" " + c.Name));
        EXPECT_EQ(c.Component->HasTextProperty(c.Name), c.Published);
        if (c.Published) {
            c.Component->SetTextProperty(c.Name, u"value of " + std::u16string(c.Name));
            EXPECT_EQ(c.Component->GetTextProperty(c.Name), u"value of " + std::u16string(c.Name));
        } else {
            EXPECT_THROW(c.Component->GetTextProperty(c.Name), EInvalidOperation);
            EXPECT_THROW(c.Component->SetTextProperty(c.Name, u"x"), EInvalidOperation);
        }
    }
    EXPECT_EQ(form->Caption(), u"value of caption");
    EXPECT_EQ(form->Hint(), u"value of Hint");
    EXPECT_EQ(control->Hint(), u"value of Hint");
}

TEST(ComponentLoading, OwnedComponentsAskTheirForm) {
    TScene scene;
    struct TProbeForm : TForm {
        explicit TProbeForm(TComponent* AOwner) : TForm(AOwner) {
            Child = new TComponent(this);
            LoadingWhileBuilt = Child->Loading();
        }
        TComponent* Child = nullptr;
        bool LoadingWhileBuilt = false;
    };
    auto* form = scene.App.CreateForm<TProbeForm>();
    EXPECT_TRUE(form->LoadingWhileBuilt);
    EXPECT_FALSE(form->Child->Loading());
    EXPECT_FALSE(scene.App.Loading());
    EXPECT_THROW(form->FinishConstruction(), EInvalidOperation);
}

} // namespace
} // namespace toolkit::testing
