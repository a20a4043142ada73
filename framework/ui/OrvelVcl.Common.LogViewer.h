#pragma once
// TLogViewer: shows a RAM log as a grid of one screen of rows, each line in its level's colour,
// lines below the chosen verbosity hidden. The log is never copied into the grid: every refresh
// asks the log for the page of passing lines to show, and a separate scroll bar says how many
// passing lines lie above the first row shown.
#include "framework/core/OrvelCore.LogRam.h"
#include "framework/core/OrvelCore.LogTypes.h"
#include "platform/Platform.Services.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.Grids.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

class TLogVerbFilter;

// The string grid with its column-width rule callable from outside.
class THackGrid : public toolkit::TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::u16string ClassName() const override { return u"THackGrid"; }

    // max(ATextLength * (width of "0" - overhang) + overhang + 4, width of ACaption + 4), in the
    // grid's font.
    int CalculateColWidth(int ATextLength, std::u16string_view ACaption) const {
        return DefaultColWidthRule(ATextLength, ACaption);
    }
    // Repaints unless inside the update bracket.
    void Repaint() { InvalidateGrid(); }
};

class TLogViewer : public toolkit::TPanel, public ILogObserver {
public:
    static constexpr int RowHeight = 22;
    static constexpr int ScrollBarWidth = 12;
    static constexpr int ClipboardAttempts = 20;
    static constexpr int ClipboardRetryMs = 30;

    // Creates its own log (pop-up on errors, single-threaded, this viewer as its observer) on Os;
    // the objects behind Os must outlive the viewer.
    TLogViewer(toolkit::TComponent* AOwner, platform::TServices& Os);
    ~TLogViewer() override;
    std::u16string ClassName() const override { return u"TLogViewer"; }

    // Shows ExternalLog from now on; it stays its owner's. An own log is freed, a foreign one only
    // loses this observer. A null ExternalLog raises and changes nothing.
    void AssignExternalRamLog(TRamLog* ExternalLog);
    TRamLog* RamLog() const { return FRamLog; }
    bool OwnsRamLog() const { return FOwnedLog != nullptr; }

    // --- ILogObserver; both do nothing once FormDestroying is set ---
    void Populate() override;
    void PopUpWindow() override;

    // Empties the rows, then the log, and lays the columns out again.
    void Clear();
    // Lines that pass the verbosity filter (0 without a log).
    int Count() const;

    TLogVerbLvl Verbosity() const { return FVerbosity; }
    void SetVerbosity(TLogVerbLvl Value);
    bool ShowDate() const { return FShowDate; }
    void SetShowDate(bool Value);
    bool ShowTime() const { return FShowTime; }
    void SetShowTime(bool Value);
    // Read at each refresh only.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }
    // Set by the owning form when its destruction starts: late notifications are ignored.
    bool FormDestroying() const { return FFormDestroying; }
    void SetFormDestroying(bool Value) { FFormDestroying = Value; }
    // Passing lines as of the last refresh.
    int FilteredRowCount() const { return FFilteredRowCount; }

    // The filter panel to keep in step with the verbosity (null: none).
    void RegisterVerbFilter(TLogVerbFilter* TrackBar);
    void ChangeScrollBarVisibility(bool aVisible);

    // --- clipboard: up to ClipboardAttempts tries while another program holds it, then silence ---
    void CopyCurLine();
    // The rows shown now, top to bottom, each followed by CR LF.
    void CopyVisible();
    // The whole log, unfiltered.
    void CopyAll();
    // Every line of the log, unfiltered, as RTF; replaces an existing file.
    void SaveAsRtf(const std::u16string& FullPath);

    // Whether the window background in force asks for the dark palette.
    bool DarkPalette() const;

    THackGrid& Grid() { return *FGrid; }
    toolkit::TScrollBar& ScrollBar() { return *FScrollBar; }
    // Data rows on the page (grid rows without the header).
    int VisibleDataRows() const;

    toolkit::TNotifyEvent OnVerbChanged;
    // The pause between clipboard attempts; a real sleep unless replaced (tests do).
    std::function<void(int Ms)> ClipboardRetryWait;
    // The date part of a time cell; "yyyy-mm-dd" unless the application installs the user's
    // short date format.
    std::function<std::u16string(platform::TDateTime)> FormatShortDate;

protected:
    void CreatePeer() override;
    void Resize() override;

private:
    void UpdateRowCount();
    void FillVisibleRows();
    void ClearRowLines();
    void ScrollToEnd();
    void ScrollBarChange(toolkit::TComponent* Sender);
    void LayoutColumns();
    void GridDrawCell(toolkit::TComponent* Sender, int ACol, int ARow, const toolkit::TRect& Rect,
                      toolkit::TGridDrawState State);
    std::u16string TimeText(const RLogLine& Line) const;
    // Frees an own log or unregisters from a foreign one.
    void ReleaseLog();
    void PutOnClipboard(const std::u16string& Text);
    // The line of a data row, or null. Call only while the container's read lock is held: the
    // line is given only while the container's generation is the one noted at the last fill (no
    // line has left it since), so a clear made by another thread before its queued refresh never
    // paints a freed line.
    PLogLine LiveRowLine(int ARow) const;

    platform::TServices FOs;
    THackGrid* FGrid = nullptr;
    toolkit::TScrollBar* FScrollBar = nullptr;
    std::unique_ptr<TRamLog> FOwnedLog; // set while the viewer owns the log it shows
    TRamLog* FRamLog = nullptr;
    TLogVerbLvl FVerbosity = lvVerbose;
    bool FAutoScroll = true;
    bool FShowTime = false;
    bool FShowDate = false;
    int FFilteredRowCount = 0;
    TLogVerbFilter* FVerbTrackBar = nullptr;
    bool FFormDestroying = false;
    std::vector<PLogLine> FPage;       // reused buffer for one page, never a copy of the lines
    std::uint64_t FPageGeneration = 0; // the container's generation when FPage was filled
};

} // namespace orvel
