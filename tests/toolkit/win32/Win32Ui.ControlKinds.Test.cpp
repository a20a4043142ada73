// Which native counterpart each kind of component gets from the Windows backend.
#include "tests/toolkit/win32/Win32Ui.TestScene.h"

#include "base/Base.Unicode.h"
#include "tests/toolkit/Toolkit.EveryKind.h"
#include "toolkit/win32/Win32Ui.WindowClasses.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <iterator>
#include <string>

namespace toolkit::win32::testing {
namespace {

using toolkit::testing::AllComponentKinds;
using toolkit::testing::NewComponentOfKind;

// A control's window class, or, for a component that is not a control (no class), whether it
// has a native counterpart of its own. Painted kinds get our own control class. Where one class
// serves several kinds (a button, a check box and a radio button are all "Button"), the style bits
// under StyleMask tell them apart.
struct TKindRow {
    TComponentKind Kind;
    const wchar_t* WindowClass;
    bool ComponentPeer;
    DWORD StyleMask = 0;
    DWORD Style = 0;
};

using enum TComponentKind;
constexpr const wchar_t* Painted = ControlClassName;

// One row per kind, in the order of the enumeration.
const TKindRow KindTable[] = {
    {ckComponent, nullptr, false},
    {ckApplication, nullptr, false},
    {ckTimer, nullptr, false},
    {ckAction, nullptr, false},
    {ckMenuItem, nullptr, false},
    {ckMenu, nullptr, true},
    {ckMainMenu, nullptr, true},
    {ckPopupMenu, nullptr, true},
    {ckTrayIcon, nullptr, true},
    {ckCommonDialog, nullptr, false},
    {ckOpenDialog, nullptr, false},
    {ckSaveDialog, nullptr, false},
    {ckFontDialog, nullptr, false},
    {ckColorDialog, nullptr, false},
    {ckControl, Painted, false},
    {ckForm, FormClassName, false},
    {ckFrame, Painted, false},
    {ckCustomLabel, Painted, false},
    {ckLabel, Painted, false},
    {ckBoundLabel, Painted, false},
    {ckButtonControl, Painted, false},
    {ckButton, L"Button", false, BS_TYPEMASK, BS_PUSHBUTTON},
    {ckCheckBox, L"Button", false, BS_TYPEMASK, BS_CHECKBOX},
    {ckRadioButton, L"Button", false, BS_TYPEMASK, BS_RADIOBUTTON},
    {ckCustomEdit, L"Edit", false, ES_MULTILINE, 0},
    {ckEdit, L"Edit", false, ES_MULTILINE, 0},
    {ckCustomLabeledEdit, L"Edit", false, ES_MULTILINE, 0},
    {ckLabeledEdit, L"Edit", false, ES_MULTILINE, 0},
    {ckSpinEdit, L"Edit", false, ES_MULTILINE, 0},
    {ckNumberBox, L"Edit", false, ES_MULTILINE, 0},
    {ckMemo, L"Edit", false, ES_MULTILINE, ES_MULTILINE},
    {ckCustomComboBox, Painted, false},
    {ckComboBox, Painted, false},
    {ckFilterComboBox, Painted, false},
    {ckCustomListBox, Painted, false},
    {ckListBox, Painted, false},
    {ckFileListBox, Painted, false},
    {ckDirectoryListBox, Painted, false},
    {ckCustomGroupBox, Painted, false},
    {ckGroupBox, Painted, false},
    {ckCustomRadioGroup, Painted, false},
    {ckRadioGroup, Painted, false},
    {ckScrollBar, L"ScrollBar", false},
    {ckCustomPanel, Painted, false},
    {ckPanel, Painted, false},
    {ckImage, Painted, false},
    {ckShape, Painted, false},
    {ckSplitter, Painted, false},
    {ckListView, WC_LISTVIEWW, false},
    {ckTrackBar, TRACKBAR_CLASSW, false},
    {ckTabSheet, Painted, false},
    {ckPageControl, Painted, false},
    {ckHotKey, Painted, false},
    {ckCustomGrid, Painted, false},
    {ckDrawGrid, Painted, false},
    {ckStringGrid, Painted, false},
    {ckToggleSwitch, Painted, false},
};

TEST(Win32ControlKinds, EveryKindGetsTheNativeCounterpartOfItsTable) {
    const auto kinds = AllComponentKinds();
    ASSERT_EQ(std::size(KindTable), kinds.size()) << "one row per kind";
    TScene scene;
    TOwnedPtr<TForm> form(NewForm<TForm>(scene.App));
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const TKindRow& row = KindTable[i];
        ASSERT_EQ(row.Kind, kinds[i]) << "the rows follow the enumeration";
        TComponent* component = NewComponentOfKind(row.Kind, *form);
        SCOPED_TRACE(base::Utf16ToUtf8(component->ClassName()));
        if (row.WindowClass != nullptr) {
            auto* control = static_cast<TControl*>(component);
            HWND window = WindowOf(*control);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(ClassNameOf(window), std::wstring(row.WindowClass));
            const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
            EXPECT_EQ(style & row.StyleMask, row.Style);
        } else {
            EXPECT_EQ(scene.Backend.CreateComponentPeer(*component) != nullptr, row.ComponentPeer);
        }
    }
    EXPECT_TRUE(scene.Errors.empty());
}

} // namespace
} // namespace toolkit::win32::testing
