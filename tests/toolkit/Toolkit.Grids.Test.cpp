#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Grids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

// Records what the grid paints.
class TRecordingCanvas : public TCanvas {
public:
    struct TFill {
        TRect Rect;
        TColor Color;
    };
    struct TText {
        TRect Rect;
        int X;
        int Y;
        std::u16string Text;
    };
    std::vector<TFill> Fills;
    std::vector<TText> Texts;

    void FillRect(const TRect& Rect) override { Fills.push_back({Rect, BrushColor}); }
    void TextRect(const TRect& Rect, int X, int Y, std::u16string_view Text) override {
        Texts.push_back({Rect, X, Y, std::u16string(Text)});
    }
    TTextMetrics Measure(std::u16string_view Text) override {
        return TTextMetrics{static_cast<int>(Text.size()) * 7, 16, 0};
    }
    bool Filled(const TRect& Rect) const {
        return std::any_of(Fills.begin(), Fills.end(), [&](const TFill& f) { return f.Rect == Rect; });
    }
};

struct TDrawCall {
    int Col;
    int Row;
    TRect Rect;
    TGridDrawState State;
    friend bool operator==(const TDrawCall&, const TDrawCall&) = default;
};

// The log viewer's layout: no border, two columns of 100 and 150 pixels, a header row, 22-pixel rows
// with 1-pixel lines, 300 x 100 pixels: the header and rows 1 to 4 (row 4 partly) are on screen.
struct TGridScene : TScene {
    TForm* Form = NewForm<TForm>(&App);
    TStringGrid* Grid = nullptr;
    std::vector<TDrawCall> Calls;

    TGridScene() {
        Grid = new TStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 300, 100);
        Grid->SetColCount(2);
        Grid->SetFixedCols(0);
        Grid->SetRowCount(20);
        Grid->SetDefaultRowHeight(22);
        Grid->SetColWidths(0, 100);
        Grid->SetColWidths(1, 150);
        Grid->SetCells(0, 0, u"Time");
        Grid->SetCells(1, 0, u"Message");
        Grid->OnDrawCell = [this](TComponent* Sender, int ACol, int ARow, const TRect& Rect,
                                  TGridDrawState State) {
            EXPECT_EQ(Sender, Grid);
            EXPECT_NE(Grid->Canvas(), nullptr) << "the canvas is reachable from the handler";
            Calls.push_back({ACol, ARow, Rect, State});
        };
    }
};

TEST(GridPaint, OnDrawCellRunsForExactlyTheVisibleDataCells) {
    TGridScene scene;
    scene.Grid->SetOptions(scene.Grid->Options() | goRowSelect);
    TRecordingCanvas canvas;

    scene.Grid->PaintCells(canvas);

    const TGridDrawState selected = gdSelected;
    const TGridDrawState current = gdSelected | gdFocused;
    // The current cell is column 0 of row 1; row selection marks the whole row.
    EXPECT_THAT(scene.Calls, ElementsAre(TDrawCall{0, 1, TRect{0, 23, 100, 45}, current},
                                         TDrawCall{1, 1, TRect{101, 23, 251, 45}, selected},
                                         TDrawCall{0, 2, TRect{0, 46, 100, 68}, 0},
                                         TDrawCall{1, 2, TRect{101, 46, 251, 68}, 0},
                                         TDrawCall{0, 3, TRect{0, 69, 100, 91}, 0},
                                         TDrawCall{1, 3, TRect{101, 69, 251, 91}, 0},
                                         TDrawCall{0, 4, TRect{0, 92, 100, 114}, 0},
                                         TDrawCall{1, 4, TRect{101, 92, 251, 114}, 0}));
    EXPECT_EQ(scene.Grid->Canvas(), nullptr) << "only valid while painting";
}

TEST(GridPaint, FixedRowShowsItsCaptionsAndCellsAreFilledFirst) {
    TGridScene scene;
    TRecordingCanvas canvas;

    scene.Grid->PaintCells(canvas);

    ASSERT_EQ(canvas.Texts.size(), 2u);
    EXPECT_EQ(canvas.Texts[0].Text, u"Time");
    EXPECT_EQ(canvas.Texts[0].X, 2);
    EXPECT_EQ(canvas.Texts[0].Y, 2);
    EXPECT_EQ(canvas.Texts[1].Text, u"Message");
    EXPECT_EQ(canvas.Texts[1].X, 103);
    EXPECT_TRUE(canvas.Filled(TRect{0, 0, 100, 22}));
    EXPECT_TRUE(canvas.Filled(TRect{101, 46, 251, 68}));
    // Without row selection only the current cell (0, 1) is highlighted.
    for (const auto& fill : canvas.Fills) {
        if (fill.Rect == TRect{0, 23, 100, 45}) {
            EXPECT_EQ(fill.Color, clHighlight);
        }
        if (fill.Rect == TRect{101, 23, 251, 45}) {
            EXPECT_EQ(fill.Color, scene.Grid->Color());
        }
    }
    // The background right of the last column is painted too.
    EXPECT_TRUE(canvas.Filled(TRect{252, 0, 300, 100}));
}

TEST(GridPaint, WithoutDefaultDrawingTheHandlerPaintsAlone) {
    TGridScene scene;
    scene.Grid->SetDefaultDrawing(false);
    scene.Grid->SetCells(1, 2, u"text the grid would draw");
    TRecordingCanvas canvas;

    scene.Grid->PaintCells(canvas);

    EXPECT_EQ(scene.Calls.size(), 8u) << "the handler still gets every data cell";
    EXPECT_TRUE(canvas.Texts.empty());
    for (const TDrawCall& call : scene.Calls) {
        EXPECT_FALSE(canvas.Filled(call.Rect)) << call.Col << "," << call.Row;
    }
    EXPECT_FALSE(canvas.Filled(TRect{0, 0, 100, 22}));
}

TEST(GridPaint, ScrolledGridStartsAtTopRowBelowTheFixedRow) {
    TGridScene scene;
    scene.Grid->SetTopRow(17);
    TRecordingCanvas canvas;

    scene.Grid->PaintCells(canvas);

    std::vector<int> rows;
    for (const TDrawCall& call : scene.Calls) {
        if (call.Col == 0) {
            rows.push_back(call.Row);
        }
    }
    EXPECT_THAT(rows, ElementsAre(17, 18, 19));
    EXPECT_EQ(scene.Calls.front().Rect, (TRect{0, 23, 100, 45}));
}

TEST(GridPaint, StringGridDrawsCellTextWithoutAHandler) {
    TGridScene scene;
    scene.Grid->OnDrawCell = nullptr;
    scene.Grid->SetCells(1, 2, u"hello");
    TRecordingCanvas canvas;

    scene.Grid->PaintCells(canvas);

    ASSERT_EQ(canvas.Texts.size(), 3u);
    EXPECT_EQ(canvas.Texts[2].Text, u"hello");
    EXPECT_EQ(canvas.Texts[2].X, 103);
    EXPECT_EQ(canvas.Texts[2].Y, 48);
}

TEST(GridGeometry, CellRectAndMouseToCellAgree) {
    TGridScene scene;
    struct TCase {
        int X, Y;
        int Col, Row;
    };
    const TCase cases[] = {
        {0, 0, 0, 0},      {99, 21, 0, 0},  {100, 10, -1, -1}, // the vertical line
        {101, 22, -1, -1},                                     // the horizontal line
        {101, 23, 1, 1},   {250, 99, 1, 4}, {251, 30, -1, -1}, // right of the last column
        {10, 100, -1, -1},                                     // below the client area
        {-1, 5, -1, -1},
    };
    for (const TCase& c : cases) {
        int col = 99;
        int row = 99;
        scene.Grid->MouseToCell(c.X, c.Y, col, row);
        EXPECT_EQ(std::tie(col, row), std::tie(c.Col, c.Row)) << c.X << "," << c.Y;
        if (c.Col >= 0) {
            EXPECT_TRUE(scene.Grid->CellRect(c.Col, c.Row).Contains(TPoint{c.X, c.Y}));
        }
    }
    EXPECT_EQ(scene.Grid->CellRect(1, 5), TRect{}) << "below the client area";
    scene.Grid->SetTopRow(10);
    EXPECT_EQ(scene.Grid->CellRect(0, 5), TRect{}) << "scrolled out";
    EXPECT_EQ(scene.Grid->CellRect(0, 10), (TRect{0, 23, 100, 45}));
    EXPECT_EQ(scene.Grid->MouseCoord(5, 30), (TGridCoord{0, 10}));
}

TEST(GridGeometry, BorderAndGridLineWidthShapeTheLayout) {
    TGridScene scene;
    scene.Grid->SetBorderStyle(TBorderStyle::bsSingle);
    EXPECT_EQ(scene.Grid->ClientWidth(), 296);
    scene.Grid->SetGridLineWidth(3);
    EXPECT_EQ(scene.Grid->CellRect(1, 1), (TRect{103, 25, 253, 47}));
    scene.Grid->SetOptions(scene.Grid->Options() & ~(goVertLine | goHorzLine));
    EXPECT_EQ(scene.Grid->CellRect(1, 1), (TRect{100, 22, 250, 44}));
}

TEST(GridSelection, MouseDownSelectsTheDataRowUnderIt) {
    TGridScene scene;
    scene.Grid->MouseDown(120, 70);
    EXPECT_EQ(scene.Grid->Row(), 3);
    EXPECT_EQ(scene.Grid->Col(), 1);
    scene.Grid->MouseDown(10, 5); // the header row
    EXPECT_EQ(scene.Grid->Row(), 3);
}

TEST(GridSelection, RowOutOfRangeRaisesAndSelectedRowScrollsIntoView) {
    TGridScene scene;
    EXPECT_THROW(scene.Grid->SetRow(0), EInvalidGridOperation) << "the fixed row";
    EXPECT_THROW(scene.Grid->SetRow(20), EInvalidGridOperation);
    scene.Grid->SetRow(15);
    EXPECT_EQ(scene.Grid->TopRow(), 13) << "three whole data rows fit";
    scene.Grid->SetRow(2);
    EXPECT_EQ(scene.Grid->TopRow(), 2);
}

TEST(GridSize, ShrinkingKeepsSelectionAndFixedRowsValid) {
    TGridScene scene;
    scene.Grid->SetRow(15);
    scene.Grid->SetRowCount(5);
    EXPECT_EQ(scene.Grid->Row(), 4);
    EXPECT_LE(scene.Grid->TopRow(), 4);

    scene.Grid->SetRowCount(1);
    EXPECT_EQ(scene.Grid->FixedRows(), 0) << "a single row cannot be a fixed one";
    EXPECT_THROW(scene.Grid->SetFixedRows(1), EInvalidGridOperation);
    scene.Grid->SetRowCount(10);
    scene.Grid->SetFixedRows(1);
    EXPECT_EQ(scene.Grid->Row(), 1);
    EXPECT_THROW(scene.Grid->SetFixedCols(2), EInvalidGridOperation);
}

TEST(GridSize, CellsAndObjectsSurviveResizingWhereTheyStillFit) {
    TGridScene scene;
    int line = 7;
    scene.Grid->SetObjects(0, 3, &line);
    scene.Grid->SetCells(1, 3, u"kept");
    scene.Grid->SetCells(1, 19, u"dropped");

    scene.Grid->SetRowCount(5);
    scene.Grid->SetColCount(3);
    scene.Grid->SetRowCount(20);

    EXPECT_EQ(scene.Grid->Objects(0, 3), &line);
    EXPECT_EQ(scene.Grid->Cells(1, 3), u"kept");
    EXPECT_EQ(scene.Grid->Cells(1, 19), u"");
    EXPECT_EQ(scene.Grid->Objects(2, 3), nullptr);
    EXPECT_EQ(scene.Grid->ColWidths(2), scene.Grid->DefaultColWidth());
    EXPECT_THROW(scene.Grid->Cells(3, 0), EInvalidGridOperation);
    EXPECT_THROW(scene.Grid->SetObjects(0, 20, nullptr), EInvalidGridOperation);
}

TEST(GridUpdate, ChangesInsideTheBracketRepaintOnceAtTheEnd) {
    TGridScene scene;
    scene.Form->HandleNeeded();
    scene.Grid->HandleNeeded();
    const headless::THeadlessPeer* peer = scene.Backend.PeerOf(*scene.Grid);
    ASSERT_NE(peer, nullptr);
    const int before = peer->SyncCount(TChange::Paint);

    scene.Grid->BeginUpdate();
    scene.Grid->BeginUpdate();
    scene.Grid->SetRowCount(8);
    scene.Grid->SetCells(0, 1, u"x");
    scene.Grid->SetColWidths(1, 40);
    scene.Grid->EndUpdate();
    EXPECT_EQ(scene.Grid->UpdateCount(), 1);
    EXPECT_EQ(peer->SyncCount(TChange::Paint), before);
    scene.Grid->EndUpdate();

    EXPECT_EQ(scene.Grid->UpdateCount(), 0);
    EXPECT_EQ(peer->SyncCount(TChange::Paint), before + 1);
    scene.Grid->SetCells(0, 2, u"y");
    EXPECT_EQ(peer->SyncCount(TChange::Paint), before + 2);
    scene.Grid->EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(scene.Grid->UpdateCount(), 0);
}

// Exposes the column-width rule, as the framework's grid does.
class TWidthGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    int Rule(int TextLength, std::u16string_view Caption) const {
        return DefaultColWidthRule(TextLength, Caption);
    }
};

TEST(GridColumnWidth, LargerOfDigitsAndCaptionInTheGridsFont) {
    TScene scene;
    auto* form = NewForm<TForm>(&scene.App);
    auto* grid = new TWidthGrid(form);
    grid->Font().SetHeight(-11); // headless: a character is 6 pixels wide

    EXPECT_EQ(grid->Rule(16, u"Time"), 16 * 6 + 4);
    EXPECT_EQ(grid->Rule(2, u"Message"), 7 * 6 + 4);
    grid->Font().SetHeight(-20);
    EXPECT_EQ(grid->Rule(16, u"Time"), 16 * 10 + 4);
}

} // namespace
} // namespace toolkit::testing
