#include "tests/toolkit/win32/Win32Ui.SampleForm.h"
#include "tests/toolkit/win32/Win32Ui.TestScene.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace toolkit::win32::testing {
namespace {

class Win32Form : public ::testing::Test {
protected:
    TScene Scene;
    TOwnedPtr<TSampleForm> Form{NewForm<TSampleForm>(static_cast<TComponent*>(&Scene.App))};
};

TEST_F(Win32Form, ChildWindowsSitWhereTheModelLaidThemOut) {
    HWND form = WindowOf(*Form);
    ASSERT_NE(form, nullptr);
    RECT client{};
    ::GetClientRect(form, &client);
    EXPECT_EQ(client.right, Form->ClientWidth())
        << "the frame the backend reports must be the window's frame";
    EXPECT_EQ(client.bottom, Form->ClientHeight());

    TControl* controls[] = {Form->TopPanel,  Form->Intro, Form->Hotkeys, Form->BottomPanel,
                            Form->AutoStart, Form->Grid,  Form->Log};
    for (TControl* control : controls) {
        HWND window = WindowOf(*control);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ChildRect(window), control->BoundsRect()) << "control at model bounds";
        EXPECT_EQ(::GetParent(window), WindowOf(*control->Parent()));
    }
    // The aligned layout itself: top panel at the top edge, the memo filling what is left.
    EXPECT_EQ(ChildRect(WindowOf(*Form->TopPanel)), RectOf(0, 0, client.right, 49));
    EXPECT_EQ(ChildRect(WindowOf(*Form->BottomPanel)), RectOf(0, client.bottom - 41, client.right, 41));
    EXPECT_EQ(ClassNameOf(WindowOf(*Form->Hotkeys)), WC_LISTVIEWW);
    EXPECT_EQ(ClassNameOf(WindowOf(*Form->AutoStart)), L"Button");
}

TEST_F(Win32Form, ResizingTheModelMovesTheWindowsAndTheUsersResizeReachesTheModel) {
    HWND form = WindowOf(*Form);
    Form->SetBounds(80, 90, 700, 520);
    RECT window{};
    ::GetWindowRect(form, &window);
    EXPECT_EQ(window.left, 80);
    EXPECT_EQ(window.right - window.left, 700);
    EXPECT_EQ(ChildRect(WindowOf(*Form->Log)), Form->Log->BoundsRect());

    // The user drags the frame: Windows sends WM_SIZE and WM_MOVE, the model follows and lays out.
    ::SetWindowPos(form, nullptr, 50, 40, 600, 450, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Form->BoundsRect(), RectOf(50, 40, 600, 450));
    RECT client{};
    ::GetClientRect(form, &client);
    EXPECT_EQ(Form->TopPanel->Width(), client.right);
    EXPECT_EQ(ChildRect(WindowOf(*Form->BottomPanel)), RectOf(0, client.bottom - 41, client.right, 41));
}

// The model keeps the normal bounds while maximised, but the controls are laid out in the client
// area the window really has, and back in the normal one once it is restored.
TEST_F(Win32Form, TheUsersMaximiseLaysTheControlsOutInTheWholeWindowAndRestoreBringsThemBack) {
    HWND form = WindowOf(*Form);
    Form->Show();
    const TRect normal = Form->BoundsRect();
    const int normalWidth = Form->TopPanel->Width();
    const auto realClient = [form] {
        RECT client{};
        ::GetClientRect(form, &client);
        return client;
    };
    const auto laidOutFor = [this](const RECT& Client) {
        return Form->TopPanel->Width() == Client.right &&
               Form->BottomPanel->BoundsRect() == RectOf(0, Client.bottom - 41, Client.right, 41);
    };

    ::SendMessageW(form, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(form) != FALSE && laidOutFor(realClient()); }))
        << "top panel " << Form->TopPanel->Width() << " wide in a client area " << realClient().right
        << " wide";
    EXPECT_GT(Form->TopPanel->Width(), normalWidth);
    EXPECT_EQ(Form->ClientWidth(), realClient().right);
    EXPECT_EQ(Form->ClientHeight(), realClient().bottom);
    EXPECT_EQ(ChildRect(WindowOf(*Form->TopPanel)), Form->TopPanel->BoundsRect());
    EXPECT_EQ(ChildRect(WindowOf(*Form->Log)), Form->Log->BoundsRect());
    EXPECT_EQ(Form->BoundsRect(), normal) << "the model keeps the bounds it is restored to";

    ::SendMessageW(form, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(form) == FALSE && laidOutFor(realClient()); }));
    EXPECT_EQ(Form->TopPanel->Width(), normalWidth);
    EXPECT_EQ(Form->BoundsRect(), normal);
    EXPECT_EQ(ChildRect(WindowOf(*Form->BottomPanel)), Form->BottomPanel->BoundsRect());
}

TEST_F(Win32Form, ShowAndHideFollowTheModel) {
    HWND form = WindowOf(*Form);
    EXPECT_FALSE(::IsWindowVisible(form));
    Form->Show();
    EXPECT_TRUE(::IsWindowVisible(form));
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*Form->AutoStart)));
    Form->AutoStart->Hide();
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*Form->AutoStart)));
    Form->Hide();
    EXPECT_FALSE(::IsWindowVisible(form));
}

TEST_F(Win32Form, ACloseRequestGoesThroughTheModelsClose) {
    int closes = 0;
    Form->OnClose = [&](TComponent*, TCloseAction& Action) {
        ++closes;
        Action = TCloseAction::caHide;
    };
    Form->Show();
    ::SendMessageW(WindowOf(*Form), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(::IsWindow(WindowOf(*Form))) << "the window is hidden, not destroyed";
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*Form)));
}

TEST_F(Win32Form, AClickOnTheCheckBoxTogglesTheModelWhichSetsTheMark) {
    int clicks = 0;
    Form->AutoStart->OnClick = [&](TComponent*) { ++clicks; };
    HWND box = WindowOf(*Form->AutoStart);
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Form->AutoStart->Checked());
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);

    // The program sets the state: the mark follows, the handler runs as the model says.
    Form->AutoStart->SetChecked(false);
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Win32Form, TheListViewShowsTheModelsRowsAndReportsTheUsersSelection) {
    HWND list = WindowOf(*Form->Hotkeys);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    wchar_t text[64] = {};
    ListView_GetItemText(list, 1, 1, text, 64);
    EXPECT_STREQ(text, L"/effort level 2");
    HWND header = ListView_GetHeader(list);
    EXPECT_EQ(Header_GetItemCount(header), 3);

    int selections = 0;
    Form->Hotkeys->OnSelectItem = [&](TComponent*) { ++selections; };
    ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Form->Hotkeys->ItemIndex(), 2);
    EXPECT_EQ(selections, 1);

    // Rows the model adds appear; the model's selection shows.
    TListItem& added = Form->Hotkeys->Items().Add();
    added.SetCaption(u"Ctrl+Alt+4");
    EXPECT_EQ(ListView_GetItemCount(list), 4);
    Form->Hotkeys->SetItemIndex(0);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
}

TEST_F(Win32Form, TheMemoShowsTheModelsLines) {
    HWND memo = WindowOf(*Form->Log);
    Form->Log->Lines().Add(u"third line");
    const int length = ::GetWindowTextLengthW(memo);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetWindowTextW(memo, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    EXPECT_EQ(text,
              L"Tarvin started.\r\nCtrl+Alt+1..5 are taken only while a terminal is in front.\r\nthird line");
    EXPECT_NE(::GetWindowLongPtrW(memo, GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(Win32Form, TheGridPaintsThroughTheModelAndAPressSelectsTheRowUnderIt) {
    Form->Show();
    HWND grid = WindowOf(*Form->Grid);
    ::UpdateWindow(grid);
    ASSERT_TRUE(WaitUntil([&] { return Form->CellsDrawn > 0; })) << "WM_PAINT must reach PaintCells";

    const TRect third = Form->Grid->CellRect(1, 2);
    ASSERT_GT(third.Height(), 0);
    const LPARAM point = MAKELPARAM(third.Left + 5, third.Top + 5);
    ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(grid, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(Form->Grid->Row(), 2);
}

// A form that renames its window class, as the main form does so that a second copy finds it.
class TRenamedForm : public TForm {
public:
    using TForm::TForm;
    void CreateParams(TCreateParams& Params) override {
        TForm::CreateParams(Params);
        Params.WinClassName = u"TarvinWndClass";
    }
};

TEST(Win32FormClass, CreateParamsNamesTheWindowClassWhichAnotherProgramCanFind) {
    TScene scene;
    TOwnedPtr<TRenamedForm> form{NewForm<TRenamedForm>(static_cast<TComponent*>(&scene.App))};
    form->SetCaption(u"Renamed");
    HWND window = WindowOf(*form);
    EXPECT_EQ(ClassNameOf(window), L"TarvinWndClass");
    EXPECT_EQ(::FindWindowW(L"TarvinWndClass", nullptr), window);
}

TEST(Win32FormStyle, BorderStayOnTopAlphaAndOwnerReachTheWindow) {
    TScene scene;
    TOwnedPtr<TForm> owner{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    TOwnedPtr<TForm> form{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(200);
    form->SetPopupParent(owner.get());
    HWND window = WindowOf(*form);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_THICKFRAME, 0u);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0u);
    EXPECT_NE(exStyle & WS_EX_LAYERED, 0u);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), WindowOf(*owner));

    // A sizeable window again: the frame comes back, the window stays where it was.
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    EXPECT_NE(::GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME, 0);
}

TEST(Win32FormStyle, TheMinimumSizeLimitsTheUsersResize) {
    TScene scene;
    TOwnedPtr<TForm> form{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    form->SetBounds(100, 100, 600, 400);
    form->SetMinSize(TSize{480, 320});
    MINMAXINFO info{};
    ::SendMessageW(WindowOf(*form), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 480);
    EXPECT_EQ(info.ptMinTrackSize.y, 320);
}

// The tooltip text of a control's window, or "<none>" when it has no tool.
std::wstring TipOf(HWND Tips, HWND Window) {
    if (Tips == nullptr)
        return L"<none>";
    wchar_t text[512] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = Window;
    info.uId = reinterpret_cast<UINT_PTR>(Window);
    info.lpszText = text;
    if (::SendMessageW(Tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) == 0)
        return L"<none>";
    ::SendMessageW(Tips, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST_F(Win32Form, HintsBecomeTooltipsWhileTheFormOrTheControlTurnsThemOn) {
    Form->SetShowHint(true);
    Form->AutoStart->SetHint(u"Writes Tarvin into the Run key");
    Form->Show();
    HWND box = WindowOf(*Form->AutoStart);
    HWND tips = Scene.Backend.Hints().Tips();
    EXPECT_EQ(TipOf(tips, box), L"Writes Tarvin into the Run key");
    EXPECT_EQ(TipOf(tips, WindowOf(*Form->BottomPanel)), L"<none>"); // no hint, no tool

    Form->AutoStart->SetHint(u"Changed");
    EXPECT_EQ(TipOf(tips, box), L"Changed");
    Form->SetShowHint(false);
    EXPECT_EQ(TipOf(tips, box), L"<none>");
    Form->AutoStart->SetShowHint(true);
    EXPECT_EQ(TipOf(tips, box), L"Changed");
    Form->AutoStart->SetHint(u"");
    EXPECT_EQ(TipOf(tips, box), L"<none>");
}

TEST(Win32FormState, MinimisedFromMaximisedKeepsTheNormalBoundsAndNormalMeansNormal) {
    TScene scene;
    TOwnedPtr<TForm> form{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
    form->SetBounds(100, 120, 600, 400);
    form->Show();
    HWND window = WindowOf(*form);
    form->SetWindowState(TWindowState::wsMaximized);
    ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(window) != FALSE; }));

    // The user minimises it: the model follows, and keeps the bounds the window is restored to.
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return form->WindowState() == TWindowState::wsMinimized; }));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(window, &placement));
    const RECT& normal = placement.rcNormalPosition;
    EXPECT_EQ(form->BoundsRect(), (TRect{normal.left, normal.top, normal.right, normal.bottom}));

    // Windows would restore it maximised; the model asks for normal and gets it.
    form->SetWindowState(TWindowState::wsNormal);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(window) && !::IsZoomed(window); }));
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
}

// The caption buttons send system commands; whatever they do to the window, the model's bounds
// stay the ones it is restored to.
TEST(Win32FormState, TheUsersCaptionButtonsChangeTheStateButNotTheNormalBounds) {
    struct TCase {
        const char* Label;
        WPARAM Command;
        TWindowState State;
    };
    const TCase cases[] = {
        {"maximise box", SC_MAXIMIZE, TWindowState::wsMaximized},
        {"minimise box", SC_MINIMIZE, TWindowState::wsMinimized},
    };
    const TRect normal = RectOf(100, 120, 600, 400);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TScene scene;
        TOwnedPtr<TForm> form{NewForm<TForm>(static_cast<TComponent*>(&scene.App))};
        form->SetBounds(normal.Left, normal.Top, normal.Width(), normal.Height());
        form->Show();
        HWND window = WindowOf(*form);

        ::SendMessageW(window, WM_SYSCOMMAND, c.Command, 0);
        ASSERT_TRUE(WaitUntil([&] { return form->WindowState() == c.State; }));
        EXPECT_EQ(form->BoundsRect(), normal);

        ::SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        ASSERT_TRUE(WaitUntil([&] { return form->WindowState() == TWindowState::wsNormal; }));
        EXPECT_EQ(form->BoundsRect(), normal);
        RECT shown{};
        ::GetWindowRect(window, &shown);
        EXPECT_EQ((TRect{shown.left, shown.top, shown.right, shown.bottom}), normal);
    }
}

} // namespace
} // namespace toolkit::win32::testing
