#pragma once
// A form with one of each control the main window and the log window use, laid out by alignment:
// a panel along the top holding a label, a list view below it, a grid along the bottom, a panel
// with a check box under the grid, and a memo filling the rest.
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Grids.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>

namespace toolkit::win32::testing {

class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* AOwner) : TForm(AOwner) {
        SetCaption(u"Toolkit sample");
        SetBounds(60, 60, 640, 480);
        Font().SetName(u"Tahoma");

        TopPanel = new TPanel(this);
        TopPanel->SetParent(this);
        TopPanel->SetAlign(TAlign::alTop);
        TopPanel->SetHeight(49);
        TopPanel->SetBevelOuter(TBevelCut::bvNone);

        Intro = new TLabel(this);
        Intro->SetParent(TopPanel);
        Intro->SetAutoSize(false);
        Intro->SetBounds(8, 8, 600, 34);
        Intro->SetWordWrap(true);
        Intro->SetCaption(
            u"Press one of the hotkeys below while a terminal has the focus and its prompt is empty.");

        Hotkeys = new TListView(this);
        Hotkeys->SetParent(this);
        Hotkeys->SetAlign(TAlign::alTop);
        Hotkeys->SetAlignWithMargins(true);
        Hotkeys->SetHeight(120);
        Hotkeys->SetViewStyle(TViewStyle::vsReport);
        Hotkeys->SetReadOnly(true);
        Hotkeys->SetRowSelect(true);
        const char16_t* columns[] = {u"Hotkey", u"Types", u"Status"};
        const int widths[] = {140, 200, 260};
        for (int c = 0; c < 3; ++c) {
            TListColumn& column = Hotkeys->Columns().Add();
            column.SetCaption(columns[c]);
            column.SetWidth(widths[c]);
        }
        for (int row = 1; row <= 3; ++row) {
            TListItem& item = Hotkeys->Items().Add();
            item.SetCaption(u"Ctrl+Alt+" + std::u16string(1, static_cast<char16_t>(u'0' + row)));
            item.SubItems().Add(u"/effort level " + std::u16string(1, static_cast<char16_t>(u'0' + row)));
            item.SubItems().Add(u"registered");
        }

        BottomPanel = new TPanel(this);
        BottomPanel->SetParent(this);
        BottomPanel->SetAlign(TAlign::alBottom);
        BottomPanel->SetHeight(41);
        BottomPanel->SetBevelOuter(TBevelCut::bvNone);

        AutoStart = new TCheckBox(this);
        AutoStart->SetParent(BottomPanel);
        AutoStart->SetBounds(8, 11, 220, 21);
        AutoStart->SetCaption(u"Start when Windows starts");

        Grid = new TDrawGrid(this);
        Grid->SetParent(this);
        Grid->SetAlign(TAlign::alBottom);
        Grid->SetHeight(120);
        Grid->SetFixedCols(0);
        Grid->SetFixedRows(0);
        Grid->SetColCount(2);
        Grid->SetRowCount(4);
        Grid->SetDefaultRowHeight(22);
        Grid->SetColWidths(0, 120);
        Grid->SetColWidths(1, 400);
        Grid->SetScrollBars(TScrollStyle::ssNone);
        Grid->SetOptions(goVertLine | goHorzLine | goRowSelect);
        Grid->OnDrawCell = [this](TComponent*, int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
            ++CellsDrawn;
            TCanvas& canvas = *Grid->Canvas();
            canvas.BrushColor =
                (State & gdSelected) != 0 ? clHighlight : (ARow % 2 == 0 ? clWhite : 0xF0F0F0);
            canvas.FillRect(Rect);
            canvas.Font().SetColor((State & gdSelected) != 0 ? clWhite : (ARow == 2 ? clRed : clBlack));
            const std::u16string text =
                ACol == 0 ? u"12:00:0" + std::u16string(1, static_cast<char16_t>(u'0' + ARow))
                          : u"Log line number " + std::u16string(1, static_cast<char16_t>(u'1' + ARow));
            canvas.TextRect(Rect, Rect.Left + 4, Rect.Top + 3, text);
        };

        Log = new TMemo(this);
        Log->SetParent(this);
        Log->SetAlign(TAlign::alClient);
        Log->SetAlignWithMargins(true);
        Log->SetReadOnly(true);
        Log->SetScrollBars(TScrollStyle::ssBoth);
        Log->SetWordWrap(false);
        Log->Lines().Add(u"Tarvin started.");
        Log->Lines().Add(u"Ctrl+Alt+1..5 are taken only while a terminal is in front.");
    }

    std::u16string ClassName() const override { return u"TSampleForm"; }

    TPanel* TopPanel = nullptr;
    TLabel* Intro = nullptr;
    TListView* Hotkeys = nullptr;
    TPanel* BottomPanel = nullptr;
    TCheckBox* AutoStart = nullptr;
    TDrawGrid* Grid = nullptr;
    TMemo* Log = nullptr;
    int CellsDrawn = 0;
};

} // namespace toolkit::win32::testing
