#include "base/Base.Unicode.h"
#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.Dialogs.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.FileCtrl.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.NumberBox.h"
#include "toolkit/Toolkit.Spin.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.TrayIcon.h"
#include "toolkit/Toolkit.WinXCtrls.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

// A scene with one form to put controls on.
struct TFormScene : TScene {
    TForm* Form = NewForm<TForm>(&App);
};

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

TEST(CheckBox, ProgrammaticSetClicksOnlyOnAChange) {
    TFormScene scene;
    auto* box = new TCheckBox(scene.Form);
    int clicks = 0;
    box->OnClick = [&](TComponent*) { ++clicks; };

    box->SetChecked(false); // already unchecked
    EXPECT_EQ(clicks, 0);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box->Checked());
}

TEST(CheckBox, DetachedHandlerDoesNotRunButTheStateChanges) {
    TFormScene scene;
    auto* box = new TCheckBox(scene.Form);
    int clicks = 0;
    TNotifyEvent handler = [&](TComponent*) { ++clicks; };
    box->OnClick = handler;

    box->OnClick = nullptr;
    box->SetChecked(true);
    box->OnClick = handler;

    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 0);
}

TEST(CheckBox, UserClickCyclesThroughGrayedOnlyWhenAllowed) {
    struct TCase {
        bool AllowGrayed;
        std::vector<TCheckBoxState> Expected;
    };
    using enum TCheckBoxState;
    const TCase cases[] = {
        {false, {cbChecked, cbUnchecked, cbChecked}},
        {true, {cbChecked, cbGrayed, cbUnchecked}},
    };
    for (const TCase& c : cases) {
        TFormScene scene;
        auto* box = new TCheckBox(scene.Form);
        box->SetAllowGrayed(c.AllowGrayed);
        std::vector<TCheckBoxState> seen;
        box->OnClick = [&](TComponent*) { seen.push_back(box->State()); };
        for (std::size_t i = 0; i < c.Expected.size(); ++i) {
            box->Toggle();
        }
        EXPECT_EQ(seen, c.Expected) << "AllowGrayed " << c.AllowGrayed;
    }
}

TEST(CheckBox, StateChangeReachesThePeer) {
    TFormScene scene;
    auto* box = new TCheckBox(scene.Form);
    box->SetParent(scene.Form);
    scene.Form->HandleNeeded();
    box->HandleNeeded();
    const headless::THeadlessPeer* peer = scene.Backend.PeerOf(*box);
    ASSERT_NE(peer, nullptr);
    const int before = peer->SyncCount(TChange::State);

    box->SetChecked(true);
    box->SetChecked(true);

    EXPECT_EQ(peer->SyncCount(TChange::State), before + 1);
}

TEST(RadioButton, CheckingOneUnchecksItsSiblingsOnly) {
    TFormScene scene;
    auto* group = new TPanel(scene.Form);
    group->SetParent(scene.Form);
    auto* a = new TRadioButton(scene.Form);
    auto* b = new TRadioButton(scene.Form);
    auto* c = new TRadioButton(scene.Form);
    auto* elsewhere = new TRadioButton(scene.Form);
    for (TRadioButton* radio : {a, b, c}) {
        radio->SetParent(group);
    }
    elsewhere->SetParent(scene.Form);
    elsewhere->SetChecked(true);
    int clicksOfB = 0;
    b->OnClick = [&](TComponent*) { ++clicksOfB; };

    a->SetChecked(true);
    b->SetChecked(true);

    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
    EXPECT_TRUE(elsewhere->Checked()) << "another parent is another group";
    EXPECT_EQ(clicksOfB, 1);
    // Only the checked button is a tab stop.
    EXPECT_FALSE(a->TabStop());
    EXPECT_TRUE(b->TabStop());
}

TEST(RadioButton, UncheckingDoesNotClick) {
    TFormScene scene;
    auto* radio = new TRadioButton(scene.Form);
    radio->SetChecked(true);
    int clicks = 0;
    radio->OnClick = [&](TComponent*) { ++clicks; };
    radio->SetChecked(false);
    EXPECT_EQ(clicks, 0);
}

// ---------------------------------------------------------------------------------------------
// Labels (headless text: a character is half the pixel height wide, rounded up; a line is four
// thirds of it high, so an 11-pixel font gives 6 x 14 per character)

struct TLabelScene : TFormScene {
    TLabel* Label = new TLabel(Form);
    TLabelScene() { Label->Font().SetHeight(-11); }
};

TEST(Label, AutoSizeFollowsCaptionAndFont) {
    TLabelScene scene;
    scene.Label->SetCaption(u"Hello");
    EXPECT_EQ(scene.Label->Width(), 30);
    EXPECT_EQ(scene.Label->Height(), 14);

    scene.Label->SetCaption(u"a\r\nbbb");
    EXPECT_EQ(scene.Label->Width(), 18);
    EXPECT_EQ(scene.Label->Height(), 28);

    scene.Label->Font().SetHeight(-20);
    EXPECT_EQ(scene.Label->Width(), 30);
    EXPECT_EQ(scene.Label->Height(), 52);
}

TEST(Label, WordWrapKeepsTheWidthAndGrowsDown) {
    TLabelScene scene;
    scene.Label->SetWordWrap(true);
    scene.Label->SetWidth(60);
    scene.Label->SetCaption(u"one two three four");

    EXPECT_THAT(scene.Label->WrappedLines(), ElementsAre(u"one two", u"three four"));
    EXPECT_EQ(scene.Label->Width(), 60);
    EXPECT_EQ(scene.Label->Height(), 28);

    scene.Label->SetWidth(30);
    EXPECT_THAT(scene.Label->WrappedLines(), ElementsAre(u"one", u"two", u"three", u"four"));
    EXPECT_EQ(scene.Label->Height(), 56);
}

TEST(Label, WithoutAutoSizeOrAlignedTheSizeStays) {
    TLabelScene scene;
    scene.Label->SetAutoSize(false);
    scene.Label->SetBounds(0, 0, 200, 40);
    scene.Label->SetCaption(u"Hello");
    EXPECT_EQ(scene.Label->BoundsRect(), RectOf(0, 0, 200, 40));

    scene.Label->SetAutoSize(true);
    scene.Label->SetAlign(TAlign::alTop);
    scene.Label->SetWidth(200);
    scene.Label->SetCaption(u"Hi");
    EXPECT_EQ(scene.Label->Width(), 200) << "a top-aligned label keeps its width";
    EXPECT_EQ(scene.Label->Height(), 14);
}

// ---------------------------------------------------------------------------------------------
// Buttons

TEST(Button, ClickWithModalResultSetsTheFormsModalResult) {
    TFormScene scene;
    auto* panel = new TPanel(scene.Form);
    panel->SetParent(scene.Form);
    auto* ok = new TButton(scene.Form);
    ok->SetParent(panel);
    ok->SetModalResult(mrOk);
    auto* plain = new TButton(scene.Form);
    plain->SetParent(panel);
    int clicks = 0;
    ok->OnClick = [&](TComponent*) {
        ++clicks;
        EXPECT_EQ(scene.Form->ModalResult(), mrOk) << "set before the handler runs";
    };

    plain->Click();
    EXPECT_EQ(scene.Form->ModalResult(), mrNone);
    ok->Click();
    EXPECT_EQ(scene.Form->ModalResult(), mrOk);
    EXPECT_EQ(clicks, 1);
}

TEST(Button, ModalResultEndsShowModal) {
    TFormScene scene;
    auto* dialog = NewForm<TForm>(&scene.App);
    auto* cancel = new TButton(dialog);
    cancel->SetParent(dialog);
    cancel->SetModalResult(mrCancel);
    scene.App.Queue([&] { cancel->Click(); });

    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST(Button, ButtonWithoutFormIsHarmless) {
    TFormScene scene;
    auto* button = new TButton(scene.Form);
    button->SetModalResult(mrOk);
    button->Click();
    EXPECT_EQ(scene.Form->ModalResult(), mrNone);
}

// ---------------------------------------------------------------------------------------------
// Scroll bar and track bar

TEST(ScrollBar, PositionHeldWithinAShrinkingMaximumAndChangeOnlyOnChange) {
    TFormScene scene;
    auto* bar = new TScrollBar(scene.Form);
    std::vector<int> changes;
    bar->OnChange = [&](TComponent*) { changes.push_back(bar->Position()); };

    bar->SetParams(80, 0, 91);
    bar->SetMax(50); // position 80 no longer fits
    bar->SetMax(60); // 50 still fits: no change
    bar->SetPosition(50);
    bar->SetPosition(-5);
    bar->SetMin(10);

    EXPECT_THAT(changes, ElementsAre(80, 50, 0, 10));
    EXPECT_EQ(bar->Max(), 60);
}

TEST(ScrollBar, MaximumBelowMinimumRaisesAndChangesNothing) {
    TFormScene scene;
    auto* bar = new TScrollBar(scene.Form);
    bar->SetParams(5, 0, 10);
    EXPECT_THROW(bar->SetParams(5, 10, 3), EInvalidOperation);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 10);
    EXPECT_EQ(bar->Position(), 5);
}

TEST(TrackBar, PositionClampedAndChangeOnlyOnChange) {
    TFormScene scene;
    auto* track = new TTrackBar(scene.Form);
    std::vector<int> changes;
    track->OnChange = [&](TComponent*) { changes.push_back(track->Position()); };

    track->SetMax(6);
    track->SetMin(1); // position 0 moves up to 1
    track->SetPosition(3);
    track->SetPosition(3);
    track->SetPosition(99);
    track->SetMax(4);
    track->SetMin(9); // above the maximum: ignored

    EXPECT_THAT(changes, ElementsAre(1, 3, 6, 4));
    EXPECT_EQ(track->Min(), 1);
}

// What both share through TRangeControl: their defaults, a new range alone reaches the peer but
// runs no OnChange, and a reversed range leaves everything as it was, peer included.
TEST(RangeControl, BothBarsKeepOneContractApartFromAReversedRange) {
    TFormScene scene;
    scene.Form->HandleNeeded();
    struct TCase {
        TRangeControl* Bar;
        int DefaultMax;
        bool ReversedRaises;
    };
    const TCase cases[] = {
        {new TScrollBar(scene.Form), 100, true},
        {new TTrackBar(scene.Form), 10, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Bar->ClassName()));
        c.Bar->SetParent(scene.Form);
        c.Bar->HandleNeeded();
        const headless::THeadlessPeer* peer = scene.Backend.PeerOf(*c.Bar);
        ASSERT_NE(peer, nullptr);
        EXPECT_EQ(c.Bar->Min(), 0);
        EXPECT_EQ(c.Bar->Max(), c.DefaultMax);
        EXPECT_EQ(c.Bar->Position(), 0);
        int changes = 0;
        c.Bar->OnChange = [&](TComponent* Sender) {
            EXPECT_EQ(Sender, c.Bar);
            ++changes;
        };
        const int before = peer->SyncCount(TChange::State);

        c.Bar->SetParams(0, -5, 5); // the range moves, the position stays
        EXPECT_EQ(peer->SyncCount(TChange::State), before + 1);
        EXPECT_EQ(changes, 0);
        c.Bar->SetParams(0, -5, 5); // nothing at all
        EXPECT_EQ(peer->SyncCount(TChange::State), before + 1);

        if (c.ReversedRaises) {
            EXPECT_THROW(c.Bar->SetParams(2, 4, 3), EInvalidOperation);
        } else {
            EXPECT_NO_THROW(c.Bar->SetParams(2, 4, 3));
        }
        EXPECT_EQ(c.Bar->Min(), -5);
        EXPECT_EQ(c.Bar->Max(), 5);
        EXPECT_EQ(c.Bar->Position(), 0);
        EXPECT_EQ(peer->SyncCount(TChange::State), before + 1);
        EXPECT_EQ(changes, 0);
    }
}

// ---------------------------------------------------------------------------------------------
// Text properties by name

TEST(TextProperties, EachClassPublishesItsOwnNames) {
    TFormScene scene;
    struct TCase {
        TComponent* Component;
        bool Caption;
        bool Hint;
        bool TextHint;
    };
    auto* labeled = new TLabeledEdit(scene.Form);
    const TCase cases[] = {
        {new TLabel(scene.Form), true, true, false},      {new TButton(scene.Form), true, true, false},
        {new TCheckBox(scene.Form), true, true, false},   {new TRadioButton(scene.Form), true, true, false},
        {new TEdit(scene.Form), false, true, true},       {labeled, false, true, true},
        {labeled->EditLabel(), true, true, false},        {new TMemo(scene.Form), false, true, true},
        {new TComboBox(scene.Form), false, true, true},   {new TPanel(scene.Form), true, true, false},
        {new TGroupBox(scene.Form), true, true, false},   {new TMenuItem(scene.Form), true, true, false},
        {new TAction(scene.Form), true, true, false},     {new TTrayIcon(scene.Form), false, true, false},
        {new TScrollBar(scene.Form), false, true, false},
    };
    for (const TCase& c : cases) {
        const std::u16string name = c.Component->ClassName();
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_EQ(c.Component->HasTextProperty(u"Caption"), c.Caption);
        EXPECT_EQ(c.Component->HasTextProperty(u"Hint"), c.Hint);
        EXPECT_EQ(c.Component->HasTextProperty(u"TextHint"), c.TextHint);
        for (const char16_t* property : {u"Caption", u"Hint", u"TextHint"}) {
            if (c.Component->HasTextProperty(property)) {
                const std::u16string value = std::u16string(u"new ") + property;
                c.Component->SetTextProperty(property, value);
                EXPECT_EQ(c.Component->GetTextProperty(property), value);
            } else {
                EXPECT_ANY_THROW(c.Component->SetTextProperty(property, u"x"));
            }
        }
    }
}

TEST(TextProperties, NamedSetsReachTheTypedProperties) {
    TFormScene scene;
    auto* edit = new TEdit(scene.Form);
    auto* item = new TMenuItem(scene.Form);
    auto* button = new TButton(scene.Form);

    edit->SetTextProperty(u"TextHint", u"type here");
    item->SetTextProperty(u"Caption", u"Exit");
    item->SetTextProperty(u"Hint", u"Ends the program");
    button->SetTextProperty(u"Caption", u"About");

    EXPECT_EQ(edit->TextHint(), u"type here");
    EXPECT_EQ(edit->Text(), u"") << "an edit's text is not its caption to translate";
    EXPECT_EQ(item->Caption(), u"Exit");
    EXPECT_EQ(item->Hint(), u"Ends the program");
    EXPECT_EQ(button->Caption(), u"About");
}

// ---------------------------------------------------------------------------------------------
// Class relations the persistence table relies on

TEST(ClassRelations, DerivedClassesAreTheirBases) {
    TFormScene scene;
    TComponent* filter = new TFilterComboBox(scene.Form);
    TComponent* save = new TSaveDialog(scene.Form);
    TComponent* labeled = new TLabeledEdit(scene.Form);
    TComponent* edit = new TEdit(scene.Form);
    TComponent* spin = new TSpinEdit(scene.Form);
    TComponent* files = new TFileListBox(scene.Form);

    EXPECT_TRUE(filter->Is<TCustomComboBox>());
    EXPECT_FALSE(filter->Is<TComboBox>());
    EXPECT_TRUE(save->Is<TOpenDialog>());
    EXPECT_TRUE(labeled->Is<TCustomLabeledEdit>());
    EXPECT_FALSE(labeled->Is<TEdit>()) << "a labeled edit must not be taken for a plain edit";
    EXPECT_FALSE(edit->Is<TCustomLabeledEdit>());
    EXPECT_TRUE(spin->Is<TCustomEdit>());
    EXPECT_TRUE(files->Is<TCustomListBox>());
}

TEST(ClassRelations, EachClassReportsItsOwnName) {
    TFormScene scene;
    const std::vector<std::pair<TComponent*, std::u16string>> cases = {
        {new TLabel(scene.Form), u"TLabel"},
        {new TCheckBox(scene.Form), u"TCheckBox"},
        {new TLabeledEdit(scene.Form), u"TLabeledEdit"},
        {new TFilterComboBox(scene.Form), u"TFilterComboBox"},
        {new TSaveDialog(scene.Form), u"TSaveDialog"},
        {new TToggleSwitch(scene.Form), u"TToggleSwitch"},
        {new TNumberBox(scene.Form), u"TNumberBox"},
        {new THotKey(scene.Form), u"THotKey"},
        {new TSplitter(scene.Form), u"TSplitter"},
        {new TShape(scene.Form), u"TShape"},
        {new TColorDialog(scene.Form), u"TColorDialog"},
        {new TDirectoryListBox(scene.Form), u"TDirectoryListBox"},
    };
    for (const auto& [component, name] : cases) {
        EXPECT_EQ(component->ClassName(), name);
    }
}

// ---------------------------------------------------------------------------------------------
// Labeled edit

TEST(LabeledEdit, SubLabelIsOwnedNamedAndFollowsTheEdit) {
    TFormScene scene;
    auto* edit = new TLabeledEdit(scene.Form);
    edit->SetParent(scene.Form);
    edit->SetBounds(20, 50, 120, 21);
    TBoundLabel* label = edit->EditLabel();
    ASSERT_NE(label, nullptr);

    EXPECT_EQ(label->Name(), u"SubLabel");
    EXPECT_EQ(label->Owner(), edit);
    EXPECT_EQ(label->Parent(), scene.Form);
    EXPECT_EQ(label->Left(), 20);
    EXPECT_EQ(label->Top() + label->Height() + edit->LabelSpacing(), 50);

    edit->SetLabelPosition(TLabelPosition::lpLeft);
    EXPECT_EQ(label->Left() + label->Width() + edit->LabelSpacing(), 20);

    edit->Hide();
    EXPECT_FALSE(label->Visible());

    auto* panel = new TPanel(scene.Form);
    panel->SetParent(scene.Form);
    edit->SetParent(panel);
    EXPECT_EQ(label->Parent(), panel) << "the label moves with the edit";
}

TEST(Edit, OnChangeRunsForEveryNewText) {
    TFormScene scene;
    auto* edit = new TEdit(scene.Form);
    std::vector<std::u16string> seen;
    edit->OnChange = [&](TComponent*) { seen.push_back(edit->Text()); };

    edit->SetText(u"a");
    edit->SetText(u"a");
    edit->SetCaption(u"b");

    EXPECT_THAT(seen, ElementsAre(u"a", u"b"));
}

// ---------------------------------------------------------------------------------------------
// Memo, combo box, list view

TEST(Memo, LinesTextAndChangeNotification) {
    TFormScene scene;
    auto* memo = new TMemo(scene.Form);
    memo->SetParent(scene.Form);
    scene.Form->HandleNeeded();
    memo->HandleNeeded();
    const headless::THeadlessPeer* peer = scene.Backend.PeerOf(*memo);
    ASSERT_NE(peer, nullptr);
    int changes = 0;
    memo->OnChange = [&](TComponent*) { ++changes; };

    memo->Append(u"one");
    memo->Append(u"two");
    EXPECT_EQ(memo->Text(), u"one\r\ntwo");
    memo->SetText(u"a\r\nb\nc\rd\r\n");
    EXPECT_THAT(memo->Lines().Lines(), ElementsAre(u"a", u"b", u"c", u"d"));
    memo->Clear();
    memo->Clear();

    EXPECT_EQ(changes, 4);
    EXPECT_GE(peer->SyncCount(TChange::Text), 4);
    EXPECT_EQ(memo->Text(), u"");
}

TEST(ComboBox, ItemIndexStaysValidAndSetsTheText) {
    TFormScene scene;
    auto* combo = new TComboBox(scene.Form);
    combo->Items().Assign({u"red", u"green", u"blue"});

    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), u"blue");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(2);
    combo->Items().Delete(2);
    EXPECT_EQ(combo->ItemIndex(), -1) << "the selected line is gone";
}

TEST(ComboBox, OnlyTheUsersChoiceRunsOnChange) {
    TFormScene scene;
    auto* combo = new TComboBox(scene.Form);
    combo->Items().Assign({u"a", u"b"});
    int changes = 0;
    combo->OnChange = [&](TComponent*) { ++changes; };
    combo->SetItemIndex(1);
    combo->SelectByUser(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST(ListView, UpdateBracketSendsOneChangeAndSelectionFollowsRows) {
    TFormScene scene;
    auto* list = new TListView(scene.Form);
    list->SetParent(scene.Form);
    scene.Form->HandleNeeded();
    list->HandleNeeded();
    const headless::THeadlessPeer* peer = scene.Backend.PeerOf(*list);
    ASSERT_NE(peer, nullptr);
    const int before = peer->SyncCount(TChange::Items);

    list->BeginUpdate();
    list->Columns().Add().SetCaption(u"Hotkey");
    list->Columns().Add().SetWidth(200);
    for (const char16_t* key : {u"Ctrl+Alt+1", u"Ctrl+Alt+2", u"Ctrl+Alt+3"}) {
        TListItem& item = list->Items().Add();
        item.SetCaption(key);
        item.SubItems().Add(u"/effort low");
    }
    EXPECT_EQ(peer->SyncCount(TChange::Items), before);
    list->EndUpdate();
    EXPECT_EQ(peer->SyncCount(TChange::Items), before + 1);

    EXPECT_EQ(list->Columns()[0].Caption(), u"Hotkey");
    EXPECT_EQ(list->Columns()[1].Width(), 200);
    EXPECT_EQ(list->Items()[2].SubItems()[0], u"/effort low");
    EXPECT_EQ(list->Items()[2].Index(), 2);

    list->SetItemIndex(2);
    EXPECT_EQ(list->Selected(), &list->Items()[2]);
    list->Items().Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_THROW(list->Items().Item(0), EListError);
}

// ---------------------------------------------------------------------------------------------
// Page control, image, toggle switch, spin edit, number box, file controls

TEST(PageControl, ActivePageIsTheOnlyVisibleOne) {
    TFormScene scene;
    auto* pages = new TPageControl(scene.Form);
    pages->SetParent(scene.Form);
    EXPECT_EQ(pages->ActivePageIndex(), -1);
    auto* first = new TTabSheet(scene.Form);
    auto* second = new TTabSheet(scene.Form);
    first->SetPageControl(pages);
    second->SetPageControl(pages);

    EXPECT_EQ(pages->ActivePageIndex(), 0);
    pages->SetActivePageIndex(1);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_FALSE(first->Visible());
    EXPECT_TRUE(second->Visible());
    EXPECT_EQ(second->PageIndex(), 1);

    second->Free();
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_TRUE(first->Visible());
    pages->SetActivePageIndex(5);
    EXPECT_EQ(pages->ActivePageIndex(), -1);
}

TEST(Image, PictureLoadsThroughTheBackendOrRaises) {
    TFormScene scene;
    auto* image = new TImage(scene.Form);
    ASSERT_TRUE(scene.Sim.Files.CreateFolder(u"C:\\App").Ok);
    ASSERT_TRUE(scene.Sim.Files.WriteFileAtomic(u"C:\\App\\Logo.png", "png").Ok);

    EXPECT_TRUE(image->Picture().Empty());
    EXPECT_THROW(image->Picture().LoadFromFile(u"C:\\App\\Missing.png"), EInvalidGraphic);
    EXPECT_TRUE(image->Picture().Empty());
    image->Picture().LoadFromFile(u"C:\\App\\Logo.png");
    EXPECT_FALSE(image->Picture().Empty());
    EXPECT_EQ(image->Picture().Width(), 16);
}

TEST(Image, DestRectPlacesThePicture) {
    TFormScene scene;
    auto* image = new TImage(scene.Form);
    image->SetBounds(0, 0, 200, 100);
    TBitmapData bitmap;
    bitmap.Width = 40;
    bitmap.Height = 20;
    bitmap.Pixels.assign(40 * 20, 0);
    image->Picture().Assign(bitmap);

    struct TCase {
        bool Center, Stretch, Proportional;
        TRect Expected;
    };
    const TCase cases[] = {
        {false, false, false, RectOf(0, 0, 40, 20)},
        {true, false, false, RectOf(80, 40, 40, 20)},
        {false, true, false, RectOf(0, 0, 200, 100)},
        {true, true, true, RectOf(0, 0, 200, 100)},  // 2:1 fills 200 x 100 exactly
        {true, false, true, RectOf(80, 40, 40, 20)}, // proportional alone never enlarges
    };
    for (const TCase& c : cases) {
        image->SetCenter(c.Center);
        image->SetStretch(c.Stretch);
        image->SetProportional(c.Proportional);
        EXPECT_EQ(image->DestRect(), c.Expected) << c.Center << c.Stretch << c.Proportional;
    }
    image->SetBounds(0, 0, 100, 100);
    image->SetStretch(true);
    image->SetProportional(true);
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), RectOf(0, 25, 100, 50));
}

TEST(ToggleSwitch, StateChangeClicksOnce) {
    TFormScene scene;
    auto* toggle = new TToggleSwitch(scene.Form);
    int clicks = 0;
    toggle->OnClick = [&](TComponent*) { ++clicks; };
    toggle->SetState(TToggleSwitchState::tssOff);
    toggle->Toggle();
    EXPECT_TRUE(toggle->IsOn());
    EXPECT_EQ(clicks, 1);
}

TEST(SpinEdit, ValueLivesInTheTextWithinTheLimits) {
    TFormScene scene;
    auto* spin = new TSpinEdit(scene.Form);
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    EXPECT_EQ(spin->Value(), 1) << "0 was below the new minimum";
    spin->SetValue(42);
    EXPECT_EQ(spin->Value(), 10);
    EXPECT_EQ(spin->Text(), u"10");
    spin->SetText(u" 7 ");
    EXPECT_EQ(spin->Value(), 7);
    spin->SetText(u"seven");
    EXPECT_EQ(spin->Value(), 1);
}

TEST(NumberBox, ValueClampedAndShown) {
    TFormScene scene;
    auto* box = new TNumberBox(scene.Form);
    box->SetMode(TNumberBoxMode::nbmFloat);
    box->SetValue(2.5);
    EXPECT_EQ(box->Text(), u"2.5");
    box->SetMaxValue(2);
    EXPECT_EQ(box->Value(), 2);
}

// A file system that answers "exists" for a fixed set of paths.
class TFixedFiles : public platform::IFileSystem {
public:
    std::vector<std::u16string> Files;
    bool FileExists(const std::u16string& path) const override {
        return std::find(Files.begin(), Files.end(), path) != Files.end();
    }
    bool FolderExists(const std::u16string&, bool) const override { return true; }
    platform::TFsResult CreateFolder(const std::u16string&) override { return {}; }
    std::optional<std::string> ReadFile(const std::u16string&) const override { return std::nullopt; }
    platform::TFsResult WriteFileAtomic(const std::u16string&, std::string_view) override { return {}; }
    platform::TFsResult RemoveFile(const std::u16string&) override { return {}; }
};

TEST(FileListBox, ApplyFilePathSelectsOnlyAnExistingFile) {
    TFormScene scene;
    TFixedFiles files;
    files.Files = {u"C:\\Data\\notes.txt"};
    auto* list = new TFileListBox(scene.Form);

    EXPECT_FALSE(list->ApplyFilePath(u"C:\\Data\\notes.txt")) << "no file system yet";
    list->SetFileSystem(&files);
    EXPECT_FALSE(list->ApplyFilePath(u"C:\\Data\\gone.txt"));
    EXPECT_EQ(list->FileName(), u"");
    EXPECT_TRUE(list->ApplyFilePath(u"C:\\Data\\notes.txt"));
    EXPECT_EQ(list->Directory(), u"C:\\Data");
    EXPECT_EQ(list->FileName(), u"C:\\Data\\notes.txt");
}

TEST(FilterComboBox, MasksFollowTheFilterAndReachTheLinkedList) {
    TFormScene scene;
    auto* combo = new TFilterComboBox(scene.Form);
    auto* list = new TFileListBox(scene.Form);
    combo->SetFilter(u"Text files (*.txt)|*.txt|Logs|*.log;*.old");
    combo->SetFileList(list);

    EXPECT_THAT(combo->Items().Lines(), ElementsAre(u"Text files (*.txt)", u"Logs"));
    EXPECT_EQ(combo->Mask(), u"*.txt");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Mask(), u"*.log;*.old");
    EXPECT_EQ(list->Mask(), u"*.*") << "a programmatic selection leaves the list alone";
    combo->SelectByUser(1);
    EXPECT_EQ(list->Mask(), u"*.log;*.old");

    list->Free();
    EXPECT_EQ(combo->FileList(), nullptr);
    combo->SelectByUser(0);
}

} // namespace
} // namespace toolkit::testing
