#include "toolkit/Toolkit.Grids.h"

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"

#include <algorithm>

namespace toolkit {

namespace {

// Text of a cell starts this far right and below the cell's corner.
constexpr int CellTextMargin = 2;

} // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TControl(AOwner) {
    FColWidths.assign(static_cast<std::size_t>(FColCount), FDefaultColWidth);
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
}

// ---------------------------------------------------------------------------------------------
// size

void TCustomGrid::SetColCount(int Value) {
    Value = std::max(Value, 1);
    if (Value == FColCount) {
        return;
    }
    const int oldCols = FColCount;
    FColCount = Value;
    FFixedCols = std::min(FFixedCols, FColCount - 1);
    FColWidths.resize(static_cast<std::size_t>(FColCount), FDefaultColWidth);
    SizeChanged(oldCols, FRowCount);
    ClampSelection();
    InvalidateGrid();
}

void TCustomGrid::SetRowCount(int Value) {
    Value = std::max(Value, 1);
    if (Value == FRowCount) {
        return;
    }
    const int oldRows = FRowCount;
    FRowCount = Value;
    FFixedRows = std::min(FFixedRows, FRowCount - 1);
    SizeChanged(FColCount, oldRows);
    ClampSelection();
    InvalidateGrid();
}

void TCustomGrid::SetFixedCols(int Value) {
    if (Value < 0 || Value >= FColCount) {
        throw EInvalidGridOperation(u"Fixed column count must be less than column count");
    }
    if (Value != FFixedCols) {
        // The first data column becomes the current and the leftmost one.
        FFixedCols = Value;
        FCol = Value;
        FLeftCol = Value;
        ClampSelection();
        InvalidateGrid();
    }
}

void TCustomGrid::SetFixedRows(int Value) {
    if (Value < 0 || Value >= FRowCount) {
        throw EInvalidGridOperation(u"Fixed row count must be less than row count");
    }
    if (UpdateField(FFixedRows, Value)) {
        FRow = Value;
        FTopRow = Value;
        ClampSelection();
        InvalidateGrid();
    }
}

void TCustomGrid::SetDefaultColWidth(int Value) {
    FDefaultColWidth = std::max(Value, 0);
    FColWidths.assign(static_cast<std::size_t>(FColCount), FDefaultColWidth);
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    Value = std::max(Value, 1);
    if (UpdateField(FDefaultRowHeight, Value)) {
        InvalidateGrid();
    }
}

int TCustomGrid::ColWidths(int ACol) const {
    if (ACol < 0 || ACol >= FColCount) {
        throw EInvalidGridOperation(u"Grid index out of range");
    }
    return FColWidths[static_cast<std::size_t>(ACol)];
}

void TCustomGrid::SetColWidths(int ACol, int Value) {
    ColWidths(ACol);
    Value = std::max(Value, 0);
    if (FColWidths[static_cast<std::size_t>(ACol)] != Value) {
        FColWidths[static_cast<std::size_t>(ACol)] = Value;
        InvalidateGrid();
    }
}

void TCustomGrid::SetGridLineWidth(int Value) {
    Value = std::max(Value, 0);
    if (UpdateField(FGridLineWidth, Value)) {
        InvalidateGrid();
    }
}

// ---------------------------------------------------------------------------------------------
// look

void TCustomGrid::SetOptions(TGridOptions Value) {
    if (UpdateField(FOptions, Value)) {
        Changed(TChange::Style);
        InvalidateGrid();
    }
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
    if (UpdateField(FDefaultDrawing, Value)) {
        InvalidateGrid();
    }
}

void TCustomGrid::SetFixedColor(TColor Value) {
    if (UpdateField(FFixedColor, Value)) {
        InvalidateGrid();
    }
}

void TCustomGrid::SetGridLineColor(TColor Value) {
    if (UpdateField(FGridLineColor, Value)) {
        InvalidateGrid();
    }
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    SetField(FBorderStyle, Value, TChange::Style);
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    SetField(FScrollBars, Value, TChange::Style);
}

TRect TCustomGrid::ClientRect() const {
    const int edge = FBorderStyle == TBorderStyle::bsSingle ? 2 : 0;
    return TRect{0, 0, std::max(Width() - 2 * edge, 0), std::max(Height() - 2 * edge, 0)};
}

// ---------------------------------------------------------------------------------------------
// selection and scrolling

void TCustomGrid::SetRow(int Value) {
    if (Value < FFixedRows || Value >= FRowCount) {
        throw EInvalidGridOperation(u"Grid index out of range");
    }
    if (!UpdateField(FRow, Value)) {
        return;
    }
    // Scroll the new row into view.
    if (FRow < FTopRow) {
        FTopRow = FRow;
    } else if (const int visible = std::max(VisibleRowCount(), 1); FRow >= FTopRow + visible) {
        FTopRow = FRow - visible + 1;
    }
    Changed(TChange::State);
    InvalidateGrid();
}

void TCustomGrid::SetCol(int Value) {
    if (Value < FFixedCols || Value >= FColCount) {
        throw EInvalidGridOperation(u"Grid index out of range");
    }
    if (!UpdateField(FCol, Value)) {
        return;
    }
    if (FCol < FLeftCol) {
        FLeftCol = FCol;
    } else if (const int visible = std::max(VisibleColCount(), 1); FCol >= FLeftCol + visible) {
        FLeftCol = FCol - visible + 1;
    }
    Changed(TChange::State);
    InvalidateGrid();
}

void TCustomGrid::SetTopRow(int Value) {
    Value = std::clamp(Value, FFixedRows, FRowCount - 1);
    if (UpdateField(FTopRow, Value)) {
        Changed(TChange::State);
        InvalidateGrid();
    }
}

void TCustomGrid::SetLeftCol(int Value) {
    Value = std::clamp(Value, FFixedCols, FColCount - 1);
    if (UpdateField(FLeftCol, Value)) {
        Changed(TChange::State);
        InvalidateGrid();
    }
}

int TCustomGrid::VisibleRowCount() const {
    const int clientHeight = ClientRect().Height();
    int top = 0;
    for (int r = 0; r < FFixedRows; ++r) {
        top += FDefaultRowHeight + HorzLineWidth();
    }
    int count = 0;
    for (int r = FTopRow; r < FRowCount && top + FDefaultRowHeight <= clientHeight; ++r) {
        top += FDefaultRowHeight + HorzLineWidth();
        ++count;
    }
    return count;
}

int TCustomGrid::VisibleColCount() const {
    const int clientWidth = ClientRect().Width();
    int left = 0;
    for (int c = 0; c < FFixedCols; ++c) {
        left += ColWidths(c) + VertLineWidth();
    }
    int count = 0;
    for (int c = FLeftCol; c < FColCount && left + ColWidths(c) <= clientWidth; ++c) {
        left += ColWidths(c) + VertLineWidth();
        ++count;
    }
    return count;
}

void TCustomGrid::ClampSelection() {
    const int firstRow = std::min(FFixedRows, FRowCount - 1);
    const int firstCol = std::min(FFixedCols, FColCount - 1);
    FRow = std::clamp(FRow, firstRow, FRowCount - 1);
    FCol = std::clamp(FCol, firstCol, FColCount - 1);
    FTopRow = std::clamp(FTopRow, firstRow, FRowCount - 1);
    FLeftCol = std::clamp(FLeftCol, firstCol, FColCount - 1);
}

// ---------------------------------------------------------------------------------------------
// geometry

int TCustomGrid::VertLineWidth() const {
    return (FOptions & goVertLine) != 0 ? FGridLineWidth : 0;
}
int TCustomGrid::HorzLineWidth() const {
    return (FOptions & goHorzLine) != 0 ? FGridLineWidth : 0;
}

int TCustomGrid::ColumnLeft(int ACol) const {
    if (ACol < 0 || ACol >= FColCount || (ACol >= FFixedCols && ACol < FLeftCol)) {
        return -1;
    }
    int left = 0;
    for (int c = 0; c < std::min(ACol, FFixedCols); ++c) {
        left += ColWidths(c) + VertLineWidth();
    }
    for (int c = FLeftCol; c < ACol; ++c) {
        left += ColWidths(c) + VertLineWidth();
    }
    return left;
}

int TCustomGrid::RowTop(int ARow) const {
    if (ARow < 0 || ARow >= FRowCount || (ARow >= FFixedRows && ARow < FTopRow)) {
        return -1;
    }
    const int shown = ARow < FFixedRows ? ARow : FFixedRows + (ARow - FTopRow);
    return shown * (FDefaultRowHeight + HorzLineWidth());
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    const int left = ColumnLeft(ACol);
    const int top = RowTop(ARow);
    const TRect client = ClientRect();
    if (left < 0 || top < 0 || left >= client.Right || top >= client.Bottom) {
        return TRect{};
    }
    return TRect{left, top, left + ColWidths(ACol), top + FDefaultRowHeight};
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    const TRect client = ClientRect();
    if (!client.Contains(TPoint{X, Y})) {
        return TGridCoord{};
    }
    TGridCoord result;
    for (int c = 0; c < FColCount; ++c) {
        const int left = ColumnLeft(c);
        if (left >= 0 && X >= left && X < left + ColWidths(c)) {
            result.X = c;
            break;
        }
    }
    for (int r = 0; r < FRowCount; ++r) {
        const int top = RowTop(r);
        if (top >= 0 && Y >= top && Y < top + FDefaultRowHeight) {
            result.Y = r;
            break;
        }
    }
    if (result.X < 0 || result.Y < 0) {
        return TGridCoord{};
    }
    return result;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    const TGridCoord coord = MouseCoord(X, Y);
    ACol = coord.X;
    ARow = coord.Y;
}

void TCustomGrid::MouseDown(int X, int Y) {
    const TGridCoord coord = MouseCoord(X, Y);
    if (coord.X < FFixedCols || coord.Y < FFixedRows) {
        return;
    }
    SetCol(coord.X);
    SetRow(coord.Y);
}

// ---------------------------------------------------------------------------------------------
// painting

void TCustomGrid::PaintCells(TCanvas& Canvas) {
    struct TCanvasScope {
        TCanvas*& Slot;
        ~TCanvasScope() { Slot = nullptr; }
    } scope{FCanvas};
    FCanvas = &Canvas;
    Canvas.Font().Assign(Font());

    const TRect client = ClientRect();
    std::vector<int> rows;
    for (int r = 0; r < FFixedRows; ++r) {
        rows.push_back(r);
    }
    for (int r = FTopRow; r < FRowCount && RowTop(r) < client.Bottom; ++r) {
        rows.push_back(r);
    }
    std::vector<int> cols;
    for (int c = 0; c < FFixedCols; ++c) {
        cols.push_back(c);
    }
    for (int c = FLeftCol; c < FColCount && ColumnLeft(c) < client.Right; ++c) {
        cols.push_back(c);
    }

    const bool rowSelect = (FOptions & goRowSelect) != 0;
    int right = 0;
    int bottom = 0;
    for (int r : rows) {
        for (int c : cols) {
            const TRect rect = CellRect(c, r);
            if (rect.Width() <= 0 && rect.Height() <= 0) {
                continue;
            }
            right = std::max(right, rect.Right);
            bottom = std::max(bottom, rect.Bottom);
            if (r < FFixedRows || c < FFixedCols) {
                if (FDefaultDrawing) {
                    Canvas.BrushColor = FFixedColor;
                    Canvas.FillRect(rect);
                    const std::u16string text = FixedCellText(c, r);
                    if (!text.empty()) {
                        Canvas.TextRect(rect, rect.Left + CellTextMargin, rect.Top + CellTextMargin, text);
                    }
                }
                continue;
            }
            TGridDrawState state = 0;
            if (r == FRow && (rowSelect || c == FCol)) {
                state |= gdSelected;
            }
            if (r == FRow && c == FCol) {
                state |= gdFocused;
            }
            if (FDefaultDrawing) {
                Canvas.BrushColor = (state & gdSelected) != 0 ? clHighlight : Color();
                Canvas.FillRect(rect);
            }
            DrawCell(c, r, rect, state);
        }
    }

    // Grid lines after each painted column and row, then the background beyond the cells.
    Canvas.BrushColor = FGridLineColor;
    if (VertLineWidth() > 0) {
        for (int c : cols) {
            const int left = ColumnLeft(c);
            const TRect line{left + ColWidths(c), 0, left + ColWidths(c) + VertLineWidth(), bottom};
            if (line.Left < client.Right) {
                Canvas.FillRect(line);
            }
        }
    }
    if (HorzLineWidth() > 0) {
        for (int r : rows) {
            const int top = RowTop(r) + FDefaultRowHeight;
            if (top < client.Bottom) {
                Canvas.FillRect(TRect{0, top, right + VertLineWidth(), top + HorzLineWidth()});
            }
        }
    }
    right += cols.empty() ? 0 : VertLineWidth();
    bottom += rows.empty() ? 0 : HorzLineWidth();
    Canvas.BrushColor = Color();
    if (right < client.Right) {
        Canvas.FillRect(TRect{right, 0, client.Right, client.Bottom});
    }
    if (bottom < client.Bottom) {
        Canvas.FillRect(TRect{0, bottom, std::min(right, client.Right), client.Bottom});
    }
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

std::u16string TCustomGrid::FixedCellText(int, int) const {
    return {};
}

void TCustomGrid::SizeChanged(int, int) {}

int TCustomGrid::DefaultColWidthRule(int TextLength, std::u16string_view Caption) const {
    IBackend& backend = Application().Backend();
    const TTextMetrics digit = backend.MeasureText(Font(), u"0");
    const int byDigits = TextLength * (digit.Width - digit.Overhang) + digit.Overhang + 4;
    const int byCaption = backend.MeasureText(Font(), Caption).Width + 4;
    return std::max(byDigits, byCaption);
}

void TCustomGrid::EndUpdate() {
    if (FUpdateCount == 0) {
        return;
    }
    if (--FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Changed(TChange::Paint);
    }
}

void TCustomGrid::InvalidateGrid() {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    Changed(TChange::Paint);
}

// ---------------------------------------------------------------------------------------------
// TDrawGrid and TStringGrid

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    if (OnDrawCell) {
        OnDrawCell(this, ACol, ARow, Rect, State);
    }
}

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {
    const auto size = static_cast<std::size_t>(ColCount() * RowCount());
    FCells.resize(size);
    FObjects.resize(size, nullptr);
}

std::size_t TStringGrid::CellIndex(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) {
        throw EInvalidGridOperation(u"Grid index out of range");
    }
    return static_cast<std::size_t>(ARow) * static_cast<std::size_t>(ColCount()) +
           static_cast<std::size_t>(ACol);
}

const std::u16string& TStringGrid::Cells(int ACol, int ARow) const {
    return FCells[CellIndex(ACol, ARow)];
}

void TStringGrid::SetCells(int ACol, int ARow, const std::u16string& Value) {
    std::u16string& cell = FCells[CellIndex(ACol, ARow)];
    if (cell != Value) {
        cell = Value;
        InvalidateGrid();
    }
}

void* TStringGrid::Objects(int ACol, int ARow) const {
    return FObjects[CellIndex(ACol, ARow)];
}

void TStringGrid::SetObjects(int ACol, int ARow, void* Value) {
    FObjects[CellIndex(ACol, ARow)] = Value;
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    if (DefaultDrawing()) {
        const std::u16string& text = Cells(ACol, ARow);
        if (!text.empty() && Canvas() != nullptr) {
            Canvas()->TextRect(Rect, Rect.Left + CellTextMargin, Rect.Top + CellTextMargin, text);
        }
    }
    TDrawGrid::DrawCell(ACol, ARow, Rect, State);
}

std::u16string TStringGrid::FixedCellText(int ACol, int ARow) const {
    return Cells(ACol, ARow);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    const auto cols = static_cast<std::size_t>(ColCount());
    const auto rows = static_cast<std::size_t>(RowCount());
    std::vector<std::u16string> cells(cols * rows);
    std::vector<void*> objects(cols * rows, nullptr);
    const auto keepCols = std::min(cols, static_cast<std::size_t>(OldColCount));
    const auto keepRows = std::min(rows, static_cast<std::size_t>(OldRowCount));
    for (std::size_t r = 0; r < keepRows; ++r) {
        for (std::size_t c = 0; c < keepCols; ++c) {
            const std::size_t from = r * static_cast<std::size_t>(OldColCount) + c;
            cells[r * cols + c] = std::move(FCells[from]);
            objects[r * cols + c] = FObjects[from];
        }
    }
    FCells = std::move(cells);
    FObjects = std::move(objects);
}

} // namespace toolkit
