#include "framework/ui/OrvelVcl.Common.LogViewer.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.Common.LogViewer.Scene.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

namespace orvel::testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::u16string> Concat(std::vector<std::u16string> A, const std::vector<std::u16string>& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

// --- page geometry and scrolling ---

TEST(LogViewerRows, TheGridHoldsOnePageOfRowsBelowAFixedHeader) {
    struct Case {
        int Height;
        int DataRows;
    };
    const Case cases[] = {{230, 9}, {40, 1}, {10, 1}, {44, 1}, {66, 2}, {242, 10}};
    for (const Case& c : cases) {
        TViewerScene scene(c.Height);
        EXPECT_EQ(scene.Viewer->Grid().RowCount(), c.DataRows + 1) << c.Height;
        EXPECT_EQ(scene.Viewer->Grid().FixedRows(), 1) << c.Height;
        EXPECT_EQ(scene.Viewer->Grid().DefaultRowHeight(), 22) << c.Height;
    }
}

TEST(LogViewerRows, ResizingFetchesANewPage) {
    TViewerScene scene(230);
    scene.AddLines(30);
    scene.Viewer->SetHeight(120); // 5 rows: header + 4
    EXPECT_EQ(scene.RowMessages(), TViewerScene::Lines(27, 30));
    EXPECT_EQ(scene.Viewer->ScrollBar().Max(), 26);
}

TEST(LogViewerRows, AHundredLinesOnNineRowsScrollToTheLastNine) {
    TViewerScene scene(230);
    scene.AddLines(100);
    EXPECT_TRUE(scene.Viewer->ScrollBar().Visible());
    EXPECT_EQ(scene.Viewer->ScrollBar().Max(), 91);
    EXPECT_EQ(scene.Viewer->ScrollBar().Position(), 91);
    EXPECT_EQ(scene.Viewer->ScrollBar().LargeChange(), 9);
    EXPECT_EQ(scene.RowMessages(), TViewerScene::Lines(92, 100));
    EXPECT_EQ(scene.Viewer->Count(), 100);
    // The single column fills the grid beside the scroll bar.
    EXPECT_EQ(scene.Viewer->Grid().ColWidths(0), 400 - TLogViewer::ScrollBarWidth);
}

TEST(LogViewerRows, FiveLinesLeaveNoScrollBarAndTheLastRowsEmpty) {
    TViewerScene scene(230);
    scene.AddLines(5);
    EXPECT_FALSE(scene.Viewer->ScrollBar().Visible());
    EXPECT_EQ(scene.Viewer->ScrollBar().Max(), 0);
    EXPECT_EQ(scene.Viewer->ScrollBar().Position(), 0);
    EXPECT_EQ(scene.RowMessages(), Concat(TViewerScene::Lines(1, 5), {u"", u"", u"", u""}));
    EXPECT_EQ(scene.Viewer->Grid().ColWidths(0), 400);
}

TEST(LogViewerRows, MovingTheScrollBarShowsThatPage) {
    TViewerScene scene(230);
    scene.AddLines(100);
    scene.Viewer->ScrollBar().SetPosition(10);
    EXPECT_EQ(scene.RowMessages(), TViewerScene::Lines(11, 19));
    scene.Viewer->ScrollBar().SetPosition(0);
    EXPECT_EQ(scene.RowMessages(), TViewerScene::Lines(1, 9));
}

TEST(LogViewerRows, WithoutAutoScrollNewLinesKeepThePage) {
    TViewerScene scene(230);
    scene.Viewer->SetAutoScroll(false);
    scene.AddLines(50);
    EXPECT_EQ(scene.RowMessages(), TViewerScene::Lines(1, 9));
    EXPECT_EQ(scene.Viewer->ScrollBar().Max(), 41);
}

TEST(LogViewerRows, RaisingTheVerbosityWhileScrolledKeepsThePositionInRangeAndFilters) {
    TViewerScene scene(230);
    scene.Viewer->SetAutoScroll(false);
    // 200 lines: line 10, 20 ... 200 are warnings, the others infos.
    for (int block = 0; block < 20; ++block) {
        scene.AddLines(9, lvInfos);
        scene.AddLines(1, lvWarnings);
    }
    scene.Viewer->ScrollBar().SetPosition(150);
    ASSERT_EQ(scene.RowMessages(), TViewerScene::Lines(151, 159));

    scene.Viewer->SetVerbosity(lvWarnings);
    EXPECT_EQ(scene.Viewer->FilteredRowCount(), 20);
    EXPECT_EQ(scene.Viewer->ScrollBar().Max(), 11);
    EXPECT_EQ(scene.Viewer->ScrollBar().Position(), 11);
    EXPECT_THAT(scene.RowMessages(),
                ElementsAre(u"line 120", u"line 130", u"line 140", u"line 150", u"line 160", u"line 170",
                            u"line 180", u"line 190", u"line 200"));
    // Drawing finds each of those lines, skipped ones in between, where the page put it.
    const TRecordingCanvas canvas = scene.Paint();
    ASSERT_EQ(canvas.Texts.size(), 9u);
    EXPECT_EQ(canvas.Texts.front().Text, u"line 120");
    EXPECT_EQ(canvas.Texts.back().Text, u"line 200");
}

TEST(LogViewerRows, DebugLinesPassOnlyTheDebugFilter) {
    TViewerScene scene(230);
    scene.AddLines(3, lvDebug);
    scene.AddLines(2, lvVerbose);
    EXPECT_EQ(scene.Viewer->Verbosity(), lvVerbose);
    EXPECT_EQ(scene.Viewer->Count(), 2);
    EXPECT_EQ(scene.RowMessages()[0], u"line 4");
    scene.Viewer->SetVerbosity(lvDebug);
    EXPECT_EQ(scene.Viewer->Count(), 5);
    EXPECT_EQ(scene.RowMessages()[0], u"line 1");
}

TEST(LogViewerRows, VerbosityChangesNotifyOnceAndOnlyOnAChange) {
    TViewerScene scene(230);
    int calls = 0;
    scene.Viewer->OnVerbChanged = [&](toolkit::TComponent* Sender) {
        EXPECT_EQ(Sender, scene.Viewer);
        ++calls;
    };
    scene.Viewer->SetVerbosity(lvVerbose);
    EXPECT_EQ(calls, 0);
    scene.Viewer->SetVerbosity(lvErrors);
    EXPECT_EQ(calls, 1);
}

TEST(LogViewerRows, ClearEmptiesTheRowsAndTheLog) {
    TViewerScene scene(230);
    scene.AddLines(100);
    scene.Viewer->Clear();
    EXPECT_EQ(scene.Log().Lines().Count(), 0);
    EXPECT_EQ(scene.Viewer->Count(), 0);
    // The log's notification brought the page back.
    EXPECT_EQ(scene.Viewer->Grid().RowCount(), 10);
    EXPECT_THAT(scene.RowMessages(), Each(u""));
    EXPECT_FALSE(scene.Viewer->ScrollBar().Visible());
}

// --- columns and drawing ---

TEST(LogViewerColumns, TimeColumnWidthAndHeaders) {
    TViewerScene scene(230);
    EXPECT_EQ(scene.Viewer->Grid().ColCount(), 1);
    EXPECT_EQ(scene.Viewer->Grid().Cells(0, 0), u"Message");

    scene.Viewer->SetShowTime(true);
    THackGrid& grid = scene.Viewer->Grid();
    ASSERT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.Cells(0, 0), u"Time");
    EXPECT_EQ(grid.Cells(1, 0), u"Message");
    // " 12:00" is 6 characters; the headless font is 11 pixels high, so "0" is 6 wide: 6 * 6 + 4.
    EXPECT_EQ(grid.CalculateColWidth(6, u" 12:00"), 40);
    EXPECT_EQ(grid.ColWidths(0), 40);
    EXPECT_EQ(grid.ColWidths(1), 400 - 40 - grid.GridLineWidth());
    // A caption wider than the digits wins.
    EXPECT_EQ(grid.CalculateColWidth(1, u"Message"), 7 * 6 + 4);

    scene.Viewer->SetShowTime(false);
    EXPECT_EQ(grid.ColCount(), 1);
    EXPECT_EQ(grid.ColWidths(0), 400);
}

TEST(LogViewerColumns, TheTimeCellShowsDateAndOrTime) {
    struct Case {
        bool ShowDate;
        bool ShowTime;
        std::u16string Text;
    };
    const Case cases[] = {
        {false, true, u" 06:07"},
        {true, true, u"2025-12-09 06:07"},
        {true, false, u"2025-12-09"},
    };
    for (const Case& c : cases) {
        TViewerScene scene(230);
        // 9 December 2025, 06:07:59.
        scene.Sim.Desktop.SetNow(46000.0 + (6 * 3600 + 7 * 60 + 59) / 86400.0);
        scene.AddLines(1, lvInfos);
        scene.Viewer->SetShowDate(c.ShowDate);
        scene.Viewer->SetShowTime(c.ShowTime);
        const TRecordingCanvas canvas = scene.Paint();
        ASSERT_EQ(canvas.Texts.size(), 2u);
        EXPECT_EQ(canvas.Texts[0].Text, c.Text) << c.ShowDate << c.ShowTime;
        EXPECT_EQ(canvas.Texts[1].Text, u"line 1");
    }
}

TEST(LogViewerColumns, AnInstalledShortDateFormatIsUsed) {
    TViewerScene scene(230);
    scene.Viewer->FormatShortDate = [](platform::TDateTime) { return std::u16string(u"07.12.25"); };
    scene.AddLines(1);
    scene.Viewer->SetShowDate(true);
    scene.Viewer->SetShowTime(true);
    EXPECT_EQ(scene.Paint().Texts.at(0).Text, u"07.12.25 12:00");
}

TEST(LogViewerDrawing, TextIsDrawnInsetAndRowsWithoutALineAreFilled) {
    TViewerScene scene(230);
    scene.AddLines(2);
    const TRecordingCanvas canvas = scene.Paint();
    ASSERT_EQ(canvas.Texts.size(), 2u);
    const toolkit::TRect row1 = scene.Viewer->Grid().CellRect(0, 1);
    EXPECT_EQ(canvas.Texts[0].Rect, row1);
    EXPECT_EQ(canvas.Texts[0].X, row1.Left + 5);
    EXPECT_EQ(canvas.Texts[0].Y, row1.Top + 2);
    const toolkit::TRect row3 = scene.Viewer->Grid().CellRect(0, 3);
    EXPECT_NE(std::find(canvas.Fills.begin(), canvas.Fills.end(), row3), canvas.Fills.end());
}

TEST(LogViewerDrawing, InfoLinesAreWhiteOnADarkBackgroundAndBlackOnALightOneTheSelectedRowInHighlightText) {
    struct Case {
        toolkit::TColor Window;
        toolkit::TColor Expected;
    };
    for (const Case c : {Case{0x202020, 0xFFFFFF}, Case{0xFFFFFF, 0x000000}}) {
        TViewerScene scene(230);
        scene.Backend.SetWindowColor(c.Window);
        scene.AddLines(1, lvErrors); // on the selected first row
        scene.AddLines(1, lvInfos);
        scene.AddLines(1, lvErrors);
        const TRecordingCanvas canvas = scene.Paint();
        ASSERT_EQ(canvas.Texts.size(), 3u);
        EXPECT_EQ(canvas.Texts[0].Color, toolkit::clHighlightText) << "readable on the selection bar";
        EXPECT_EQ(canvas.Texts[1].Color, c.Expected);
        EXPECT_EQ(canvas.Texts[2].Color, 0x0000FF);
    }
}

TEST(LogViewerDrawing, AThirdColumnRaises) {
    TViewerScene scene(230);
    scene.AddLines(1);
    scene.Viewer->SetShowTime(true);
    THackGrid& grid = scene.Viewer->Grid();
    grid.SetColCount(3);
    grid.SetColWidths(0, 50);
    grid.SetColWidths(1, 50);
    TRecordingCanvas canvas;
    EXPECT_THROW_MSG(grid.PaintCells(canvas), EOrvelException, u"GridDrawCell: Invalid column index");
}

TEST(LogViewerDrawing, WithoutDefaultDrawingCellsAreOnlyFilled) {
    TViewerScene scene(230);
    scene.AddLines(1);
    scene.Viewer->Grid().SetDefaultDrawing(false);
    EXPECT_TRUE(scene.Paint().Texts.empty());
}

// --- clipboard ---

TEST(LogViewerClipboard, CopyVisibleCopiesOnlyThePage) {
    TViewerScene scene(230);
    scene.AddLines(1000);
    scene.Viewer->CopyVisible();
    std::u16string expected;
    for (const std::u16string& line : TViewerScene::Lines(992, 1000)) {
        expected += line + u"\r\n";
    }
    EXPECT_EQ(scene.Clipboard(), expected);
}

TEST(LogViewerClipboard, CopyVisibleSkipsRowsWithoutALine) {
    TViewerScene scene(230);
    scene.AddLines(2);
    scene.Viewer->CopyVisible();
    EXPECT_EQ(scene.Clipboard(), u"line 1\r\nline 2\r\n");
}

TEST(LogViewerClipboard, CopyAllCopiesLinesTheFilterHides) {
    TViewerScene scene(230);
    scene.AddLines(1, lvDebug);
    scene.AddLines(1, lvInfos);
    scene.Viewer->SetVerbosity(lvErrors);
    scene.Viewer->CopyAll();
    EXPECT_EQ(scene.Clipboard(), u"line 1\r\nline 2");
}

TEST(LogViewerClipboard, CopyCurLineCopiesTheSelectedMessageOnly) {
    TViewerScene scene(230);
    scene.Viewer->SetShowTime(true);
    scene.AddLines(5);
    scene.Viewer->Grid().SetRow(3);
    scene.Viewer->CopyCurLine();
    EXPECT_EQ(scene.Clipboard(), u"line 3");
    // A selected row without a line copies nothing.
    scene.Viewer->Grid().SetRow(8);
    scene.Viewer->CopyCurLine();
    EXPECT_EQ(scene.Clipboard(), u"line 3");
}

TEST(LogViewerClipboard, ABusyClipboardIsTriedTwentyTimesThirtyMillisecondsApart) {
    struct Case {
        int BusyFor;
        int Attempts;
        bool Copied;
    };
    const Case cases[] = {{0, 1, true}, {1, 2, true}, {19, 20, true}, {20, 20, false}, {50, 20, false}};
    for (const Case& c : cases) {
        TViewerScene scene(230);
        scene.AddLines(1);
        scene.Backend.SetClipboardBusyFor(c.BusyFor);
        const int before = scene.Backend.ClipboardAttempts();
        EXPECT_NO_THROW(scene.Viewer->CopyAll()) << c.BusyFor;
        EXPECT_EQ(scene.Backend.ClipboardAttempts() - before, c.Attempts) << c.BusyFor;
        EXPECT_EQ(scene.Waits, std::vector<int>(static_cast<std::size_t>(c.Attempts - 1), 30)) << c.BusyFor;
        scene.Backend.SetClipboardBusyFor(0);
        EXPECT_EQ(scene.Clipboard(), c.Copied ? u"line 1" : u"<none>") << c.BusyFor;
    }
}

// --- lifetime and the log ---

TEST(LogViewerLifetime, ANewViewerOwnsALogThatPopsUpOnErrors) {
    TViewerScene scene(230);
    EXPECT_TRUE(scene.Viewer->OwnsRamLog());
    EXPECT_TRUE(scene.Log().ShowOnError);
    EXPECT_EQ(scene.Viewer->Verbosity(), lvVerbose);
    EXPECT_TRUE(scene.Viewer->AutoScroll());
    EXPECT_FALSE(scene.Viewer->ShowTime());
    EXPECT_FALSE(scene.Viewer->ShowDate());
}

TEST(LogViewerLifetime, AfterFormDestroyingALateNotificationChangesNothing) {
    TViewerScene scene(230);
    scene.AddLines(3);
    scene.Form->Hide();
    scene.Viewer->SetFormDestroying(true);
    scene.AddLines(20);
    scene.Log().AddError(u"boom"); // would pop the window up
    EXPECT_EQ(scene.RowMessages(), Concat(TViewerScene::Lines(1, 3), std::vector<std::u16string>(6, u"")));
    EXPECT_EQ(scene.Viewer->FilteredRowCount(), 3);
    EXPECT_FALSE(scene.Viewer->ScrollBar().Visible());
    EXPECT_FALSE(scene.Form->Visible());
}

// A log line comes while the user types into another program: the window comes up without taking
// the keyboard from it.
TEST(LogViewerLifetime, PopUpWindowShowsRestoresAndRaisesTheFormWithoutTakingTheFocus) {
    TViewerScene scene(230);
    scene.Form->Hide();
    scene.Form->SetWindowState(toolkit::TWindowState::wsMinimized);
    scene.Viewer->PopUpWindow();
    EXPECT_TRUE(scene.Form->Visible());
    EXPECT_EQ(scene.Form->WindowState(), toolkit::TWindowState::wsNormal);
    const auto* peer = scene.Backend.PeerOf(*scene.Form);
    ASSERT_NE(peer, nullptr);
    EXPECT_GE(peer->QuietRaises(), 1);
    EXPECT_EQ(peer->FocusingRaises(), 0);
    EXPECT_FALSE(scene.Form->ShowingWithoutFocus()) << "the quiet mode ends with the call";
}

TEST(LogViewerLifetime, PopUpWindowOfAViewerOnNoFormDoesNothing) {
    TViewerScene scene(230);
    scene.Form->Hide();
    toolkit::TOwnedPtr<TLogViewer> loose(new TLogViewer(scene.Form, scene.Os));
    loose->PopUpWindow();
    EXPECT_FALSE(scene.Form->Visible());
}

} // namespace
} // namespace orvel::testing
