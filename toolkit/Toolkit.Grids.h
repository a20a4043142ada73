#pragma once
// Grids: TCustomGrid lays out and paints cells, TDrawGrid hands each data cell to OnDrawCell,
// TStringGrid keeps a text and a pointer per cell. Painting is model code (PaintCells) so that
// every backend paints the same cells through its own canvas.
#include "toolkit/Toolkit.Classes.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>
#include <vector>

namespace toolkit {

enum TGridOption : std::uint32_t {
    goFixedVertLine = 0x0001,
    goFixedHorzLine = 0x0002,
    goVertLine = 0x0004,
    goHorzLine = 0x0008,
    goRangeSelect = 0x0010,
    goDrawFocusSelected = 0x0020,
    goRowSizing = 0x0040,
    goColSizing = 0x0080,
    goRowMoving = 0x0100,
    goColMoving = 0x0200,
    goEditing = 0x0400,
    goTabs = 0x0800,
    goRowSelect = 0x1000,
    goThumbTracking = 0x2000
};
using TGridOptions = std::uint32_t;

enum TGridDrawStateBit : std::uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = std::uint8_t;

// A cell address; -1 for "no cell".
struct TGridCoord {
    int X = -1; // column
    int Y = -1; // row
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

using TDrawCellEvent =
    std::function<void(TComponent* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;

// Layout: the fixed columns and rows stay at the left and top; the data columns from LeftCol and the
// data rows from TopRow follow. Every column is ColWidths(c) wide and every row DefaultRowHeight
// high, each followed by a grid line of GridLineWidth pixels when the lines are on (goVertLine,
// goHorzLine). A cell's rectangle excludes its grid line.
class TCustomGrid : public TControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomGrid"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomGrid; }

    // --- size ---
    int ColCount() const { return FColCount; }
    // At least 1; fewer columns than fixed ones lowers FixedCols.
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    // At least 1; fewer rows than fixed ones lowers FixedRows.
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    // Raises EInvalidGridOperation unless 0 <= Value < ColCount; the first data column becomes the
    // current and the leftmost one.
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    // Raises EInvalidGridOperation unless 0 <= Value < RowCount; the first data row becomes the
    // current and the top one.
    void SetFixedRows(int Value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    // Every column takes the new width.
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    // Raises EInvalidGridOperation for a column out of range.
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);

    // --- look ---
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // A single border takes 2 pixels from every side (as a client edge does).
    TRect ClientRect() const override;

    // --- selection and scrolling ---
    int Row() const { return FRow; }
    // Raises EInvalidGridOperation unless FixedRows <= Value < RowCount.
    void SetRow(int Value);
    int Col() const { return FCol; }
    // Raises EInvalidGridOperation unless FixedCols <= Value < ColCount.
    void SetCol(int Value);
    // First data row shown; clamped into [FixedRows, RowCount - 1].
    int TopRow() const { return FTopRow; }
    void SetTopRow(int Value);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int Value);
    // Whole data rows that fit below the fixed rows (at least 0).
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // --- geometry ---
    // Client coordinates of a cell; empty when the cell is not on screen.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point, or {-1, -1} (also on a grid line).
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

    // --- painting ---
    // Paints the cells visible in the client area: fixed ones first, then data ones, then the grid
    // lines. With DefaultDrawing each cell is filled first (fixed: FixedColor, selected: clHighlight,
    // others: Color) and fixed cells show their text; every visible data cell goes to DrawCell
    // (OnDrawCell) whether or not DefaultDrawing is on.
    void PaintCells(TCanvas& Canvas);
    // The canvas being painted on, valid only inside PaintCells (null otherwise).
    TCanvas* Canvas() const { return FCanvas; }

    // --- update bracket: changes inside it repaint once, at the closing EndUpdate ---
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // The user pressed the mouse at a client point: the data cell there becomes the current one.
    void MouseDown(int X, int Y);

protected:
    // A data cell to draw; TDrawGrid passes it to OnDrawCell.
    virtual void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    // The text a fixed cell shows (none in this class).
    virtual std::u16string FixedCellText(int ACol, int ARow) const;
    // The column or row counts changed (descendants resize their storage).
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    // A column wide enough for TextLength digits of the font, or for Caption, whichever is wider:
    // max(TextLength * (width of "0" - overhang) + overhang + 4, width of Caption + 4), measured by
    // the backend in the grid's font.
    int DefaultColWidthRule(int TextLength, std::u16string_view Caption) const;
    // Repaints unless inside the update bracket.
    void InvalidateGrid();

private:
    int VertLineWidth() const;
    int HorzLineWidth() const;
    // Left edge of a column, or -1 when it is scrolled out of view.
    int ColumnLeft(int ACol) const;
    int RowTop(int ARow) const;
    void ClampSelection();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    std::vector<int> FColWidths;
    int FGridLineWidth = 1;
    TGridOptions FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TColor FGridLineColor = clSilver;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    TScrollStyle FScrollBars = TScrollStyle::ssBoth;
    int FRow = 1;
    int FCol = 1;
    int FTopRow = 1;
    int FLeftCol = 1;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
    TCanvas* FCanvas = nullptr;
};

class TDrawGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;
    std::u16string ClassName() const override { return u"TDrawGrid"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckDrawGrid; }

    TDrawCellEvent OnDrawCell;

protected:
    void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) override;
};

// A text and a pointer per cell. Without OnDrawCell (and with DefaultDrawing) a data cell shows its
// text; fixed cells always show theirs.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TStringGrid"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckStringGrid; }

    // Raise EInvalidGridOperation for a cell out of range.
    const std::u16string& Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const std::u16string& Value);
    void* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, void* Value);

protected:
    void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) override;
    std::u16string FixedCellText(int ACol, int ARow) const override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    std::size_t CellIndex(int ACol, int ARow) const;

    std::vector<std::u16string> FCells;
    std::vector<void*> FObjects;
};

} // namespace toolkit
