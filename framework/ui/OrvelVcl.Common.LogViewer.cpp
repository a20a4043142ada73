#include "framework/ui/OrvelVcl.Common.LogViewer.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/ui/OrvelVcl.Common.LogColors.h"
#include "framework/ui/OrvelVcl.Common.LogFilter.h"
#include "framework/ui/OrvelVcl.Common.RtfWriter.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Clipboard.h"
#include "toolkit/Toolkit.Form.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>

namespace orvel {

namespace {

using namespace toolkit;

// Holds the container's read lock for a scope, also when the scope raises.
class TReadLock {
public:
    explicit TReadLock(const TAbstractLogLines& Lines) : FLines(Lines) { FLines.LockRead(); }
    ~TReadLock() { FLines.UnlockRead(); }
    TReadLock(const TReadLock&) = delete;
    TReadLock& operator=(const TReadLock&) = delete;

private:
    const TAbstractLogLines& FLines;
};

struct TCivilTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
};

// A time stamp (days since 1899-12-30) rounded to the millisecond, as the time cells show it.
TCivilTime DecodeDateTime(platform::TDateTime Value) {
    constexpr std::int64_t MsPerDay = 86400000;
    const auto totalMs = static_cast<std::int64_t>(std::llround(Value * static_cast<double>(MsPerDay)));
    std::int64_t days = totalMs / MsPerDay;
    std::int64_t ms = totalMs % MsPerDay;
    if (ms < 0) {
        ms += MsPerDay;
        --days;
    }
    // Days since 1970-01-01 to the proleptic Gregorian date (H. Hinnant's civil_from_days).
    const std::int64_t z = days - 25569 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    TCivilTime result;
    result.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    result.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    result.Year = static_cast<int>(yoe + era * 400 + (result.Month <= 2 ? 1 : 0));
    result.Hour = static_cast<int>(ms / 3600000);
    result.Minute = static_cast<int>(ms / 60000 % 60);
    return result;
}

std::u16string Digits(int Value, int Width) {
    std::u16string text;
    for (int i = 0; i < Width || Value > 0; ++i) {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + Value % 10));
        Value /= 10;
    }
    return text;
}

std::u16string IsoDate(platform::TDateTime Value) {
    const TCivilTime t = DecodeDateTime(Value);
    return Digits(t.Year, 4) + u"-" + Digits(t.Month, 2) + u"-" + Digits(t.Day, 2);
}

// "hh:nn": hours of the 24-hour clock and minutes, two digits each.
std::u16string HourMinute(platform::TDateTime Value) {
    const TCivilTime t = DecodeDateTime(Value);
    return Digits(t.Hour, 2) + u":" + Digits(t.Minute, 2);
}

} // namespace

TLogViewer::TLogViewer(toolkit::TComponent* AOwner, platform::TServices& Os)
    : TPanel(AOwner), FOs(Os), FOwnedLog(std::make_unique<TRamLog>(true, this, false, Os)),
      FRamLog(FOwnedLog.get()) {
    ClipboardRetryWait = [](int Ms) { std::this_thread::sleep_for(std::chrono::milliseconds(Ms)); };
    FormatShortDate = IsoDate;
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetParent(this);
    FGrid = new THackGrid(this);
    FGrid->SetParent(this);
}

TLogViewer::~TLogViewer() {
    // The log goes first, so that nothing reaches this viewer while its parts are being freed.
    ReleaseLog();
    FGrid->Free();
    FScrollBar->Free();
}

void TLogViewer::ReleaseLog() {
    if (FOwnedLog != nullptr) {
        FOwnedLog.reset();
    } else if (FRamLog != nullptr) {
        FRamLog->UnregisterLogObserver();
    }
    FRamLog = nullptr;
}

void TLogViewer::AssignExternalRamLog(TRamLog* ExternalLog) {
    if (ExternalLog == nullptr) {
        throw EOrvelException(u"AssignExternalRamLog: ExternalLog parameter cannot be nil");
    }
    if (ExternalLog != FRamLog) {
        // Registering first: a log that serves another observer refuses, and this viewer then
        // keeps the log it had.
        ExternalLog->RegisterLogObserver(this);
        // The rows point into the old log, which may be freed now.
        ClearRowLines();
        ReleaseLog();
        FRamLog = ExternalLog;
    }
    Populate();
}

// --- window ---

void TLogViewer::CreatePeer() {
    TPanel::CreatePeer();
    SetBevelOuter(TBevelCut::bvNone);
    SetShowCaption(false);

    FScrollBar->SetVisible(false);
    FScrollBar->SetAlign(TAlign::alRight);
    FScrollBar->SetKind(TScrollBarKind::sbVertical);
    FScrollBar->SetWidth(ScrollBarWidth);
    FScrollBar->OnChange = [this](TComponent* Sender) { ScrollBarChange(Sender); };

    FGrid->SetAlign(TAlign::alClient);
    FGrid->SetBorderStyle(TBorderStyle::bsNone);
    FGrid->SetScrollBars(TScrollStyle::ssNone);
    FGrid->SetRowCount(1);
    FGrid->SetColCount(1);
    FGrid->SetFixedCols(0);
    FGrid->SetDefaultRowHeight(RowHeight);
    FGrid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing |
                      goRowSelect);
    FGrid->OnDrawCell = [this](TComponent* Sender, int ACol, int ARow, const TRect& Rect,
                               TGridDrawState State) { GridDrawCell(Sender, ACol, ARow, Rect, State); };

    UpdateRowCount();
    LayoutColumns();
}

void TLogViewer::Resize() {
    TPanel::Resize();
    if (FGrid == nullptr || !HandleAllocated()) {
        return;
    }
    Populate();
    LayoutColumns();
}

int TLogViewer::VisibleDataRows() const {
    return std::max(ClientHeight() / RowHeight - 1, 1);
}

// --- refresh ---

void TLogViewer::Populate() {
    if (FFormDestroying) {
        return;
    }
    UpdateRowCount();
    if (FAutoScroll) {
        ScrollToEnd();
    }
    FGrid->Repaint();
}

void TLogViewer::UpdateRowCount() {
    if (!HandleAllocated()) {
        return;
    }
    Assert(FRamLog != nullptr, u"RamLog not assigned!");
    FGrid->BeginUpdate();
    try {
        FFilteredRowCount = FRamLog->Count(FVerbosity > lvDebug, FVerbosity);
        const int visibleRows = VisibleDataRows();
        FGrid->SetRowCount(visibleRows + 1);
        if (FGrid->RowCount() > 1) {
            FGrid->SetFixedRows(1);
        }
        FGrid->SetColCount(FShowDate || FShowTime ? 2 : 1);
        FGrid->SetFixedCols(0);

        TNotifyEvent handler = std::move(FScrollBar->OnChange);
        FScrollBar->OnChange = nullptr;
        try {
            const bool needed = visibleRows < FFilteredRowCount;
            if (needed) {
                FScrollBar->SetMax(FFilteredRowCount - visibleRows);
            } else {
                FScrollBar->SetParams(0, 0, 0);
            }
            ChangeScrollBarVisibility(needed);
            FScrollBar->SetLargeChange(visibleRows);
        } catch (...) {
            FScrollBar->OnChange = std::move(handler);
            throw;
        }
        FScrollBar->OnChange = std::move(handler);

        FillVisibleRows();
    } catch (...) {
        FGrid->EndUpdate();
        throw;
    }
    FGrid->EndUpdate();
}

void TLogViewer::ClearRowLines() {
    FPage.clear();
    if (FGrid == nullptr) {
        return;
    }
    for (int row = 1; row < FGrid->RowCount(); ++row) {
        FGrid->SetObjects(0, row, nullptr);
    }
}

void TLogViewer::FillVisibleRows() {
    if (!HandleAllocated()) {
        return;
    }
    ClearRowLines();
    const int dataRows = FGrid->RowCount() - 1;
    if (FRamLog == nullptr || dataRows < 1) {
        return;
    }
    const TAbstractLogLines& lines = FRamLog->Lines();
    const int skip = FScrollBar->Position();
    {
        TReadLock lock(lines);
        if (lines.Count() == 0) {
            return;
        }
        FPage.resize(static_cast<std::size_t>(dataRows));
        FPage.resize(static_cast<std::size_t>(lines.GetFilteredSlice(FVerbosity, skip, FPage)));
        // Drawing compares this with the container's generation to tell whether the page's lines
        // are still held (see LiveRowLine).
        FPageGeneration = lines.Generation();
    }
    for (std::size_t i = 0; i < FPage.size(); ++i) {
        FGrid->SetObjects(0, static_cast<int>(i) + 1, FPage[i]);
    }
}

PLogLine TLogViewer::LiveRowLine(int ARow) const {
    if (FRamLog == nullptr || ARow < 1 || ARow >= FGrid->RowCount()) {
        return nullptr;
    }
    const auto slot = static_cast<std::size_t>(ARow - 1);
    auto* line = static_cast<PLogLine>(FGrid->Objects(0, ARow));
    if (line == nullptr || slot >= FPage.size() || FPage[slot] != line) {
        return nullptr;
    }
    return FRamLog->Lines().Generation() == FPageGeneration ? line : nullptr;
}

void TLogViewer::ScrollToEnd() {
    const int visibleRows = FGrid->RowCount() - 1;
    const int position = visibleRows >= FFilteredRowCount ? 0 : FFilteredRowCount - visibleRows;
    FScrollBar->SetPosition(position);
}

void TLogViewer::ScrollBarChange(toolkit::TComponent*) {
    FillVisibleRows();
    FGrid->Repaint();
}

void TLogViewer::ChangeScrollBarVisibility(bool aVisible) {
    if (FScrollBar->Visible() == aVisible) {
        return;
    }
    FScrollBar->SetVisible(aVisible);
    LayoutColumns();
}

// --- columns and drawing ---

std::u16string TLogViewer::TimeText(const RLogLine& Line) const {
    std::u16string text;
    if (FShowDate) {
        text = FormatShortDate ? FormatShortDate(Line.Time) : IsoDate(Line.Time);
    }
    if (FShowTime) {
        text += u" " + HourMinute(Line.Time);
    }
    return text;
}

void TLogViewer::LayoutColumns() {
    if (!HandleAllocated()) {
        return;
    }
    if (FGrid->ColCount() == 1) {
        FGrid->SetCells(0, 0, u"Message");
        FGrid->SetColWidths(0, FGrid->ClientWidth());
        return;
    }
    FGrid->SetCells(0, 0, u"Time");
    FGrid->SetCells(1, 0, u"Message");
    RLogLine sample;
    sample.Time = FOs.Clock.Now();
    const std::u16string sampleText = TimeText(sample);
    const int timeWidth = FGrid->CalculateColWidth(static_cast<int>(sampleText.size()), sampleText);
    FGrid->SetColWidths(0, timeWidth);
    FGrid->SetColWidths(1, FGrid->ClientWidth() - timeWidth - FGrid->GridLineWidth());
}

void TLogViewer::GridDrawCell(toolkit::TComponent*, int ACol, int ARow, const toolkit::TRect& Rect,
                              toolkit::TGridDrawState State) {
    TCanvas* canvas = FGrid->Canvas();
    if (canvas == nullptr) {
        return;
    }
    if (Loading() || !FGrid->DefaultDrawing()) {
        canvas->FillRect(Rect);
        return;
    }
    if (ARow < FGrid->FixedRows()) {
        return;
    }
    std::u16string text;
    TColor color = clBlack;
    {
        TReadLock lock(FRamLog->Lines());
        const PLogLine line = LiveRowLine(ARow);
        if (line == nullptr) {
            canvas->FillRect(Rect);
            return;
        }
        if (FGrid->ColCount() == 1 || ACol == 1) {
            text = line->Msg;
        } else if (ACol == 0) {
            text = TimeText(*line);
        } else {
            throw EOrvelException(u"GridDrawCell: Invalid column index");
        }
        // The level colours are chosen for the window background; on the selection bar only
        // the system's highlight text stays readable.
        color = (State & gdSelected) != 0 ? clHighlightText : Verbosity2Color(line->Level, DarkPalette());
    }
    canvas->Font().SetColor(color);
    canvas->TextRect(Rect, Rect.Left + 5, Rect.Top + 2, text);
}

bool TLogViewer::DarkPalette() const {
    return IsDarkBackground(Application().Backend().WindowColor());
}

// --- settings ---

void TLogViewer::SetVerbosity(TLogVerbLvl Value) {
    if (Value == FVerbosity) {
        return;
    }
    FVerbosity = Value;
    if (FVerbTrackBar != nullptr && FVerbTrackBar->Verbosity() != Value) {
        FVerbTrackBar->SetVerbosity(Value);
    }
    if (OnVerbChanged) {
        OnVerbChanged(this);
    }
    UpdateRowCount();
    FGrid->Repaint();
}

void TLogViewer::SetShowDate(bool Value) {
    if (Value == FShowDate) {
        return;
    }
    FShowDate = Value;
    UpdateRowCount();
    LayoutColumns();
}

void TLogViewer::SetShowTime(bool Value) {
    if (Value == FShowTime) {
        return;
    }
    FShowTime = Value;
    UpdateRowCount();
    LayoutColumns();
}

void TLogViewer::RegisterVerbFilter(TLogVerbFilter* TrackBar) {
    FVerbTrackBar = TrackBar;
}

// --- log operations ---

void TLogViewer::Clear() {
    Assert(FRamLog != nullptr, u"Clear: RamLog not assigned!");
    // The rows let go of the lines before the log frees them.
    ClearRowLines();
    FGrid->SetRowCount(1);
    FRamLog->Clear();
    LayoutColumns();
}

int TLogViewer::Count() const {
    return FRamLog == nullptr ? 0 : FRamLog->Count(FVerbosity > lvDebug, FVerbosity);
}

void TLogViewer::PopUpWindow() {
    if (FFormDestroying) {
        return;
    }
    TForm* form = ParentForm();
    if (form == nullptr) {
        return;
    }
    // A line logged while the user types elsewhere (into a terminal, mid-burst) must not take the
    // keyboard from that window.
    form->ShowWithoutFocus();
}

// --- clipboard and file ---

void TLogViewer::PutOnClipboard(const std::u16string& Text) {
    TClipboard clipboard(Application());
    for (int attempt = 1;; ++attempt) {
        try {
            clipboard.SetAsText(Text);
            return;
        } catch (const EClipboardException&) {
            // Another program holds the clipboard; it usually lets go within moments. Giving up
            // stays silent: nothing the user did failed, the clipboard is just unchanged.
            if (attempt >= ClipboardAttempts) {
                return;
            }
            if (ClipboardRetryWait) {
                ClipboardRetryWait(ClipboardRetryMs);
            }
        }
    }
}

void TLogViewer::CopyCurLine() {
    if (FRamLog == nullptr) {
        return;
    }
    std::u16string text;
    {
        TReadLock lock(FRamLog->Lines());
        const PLogLine line = LiveRowLine(FGrid->Row());
        if (line == nullptr) {
            return;
        }
        text = line->Msg;
    }
    PutOnClipboard(text);
}

void TLogViewer::CopyVisible() {
    std::u16string text;
    if (FRamLog != nullptr) {
        TReadLock lock(FRamLog->Lines());
        for (int row = 1; row < FGrid->RowCount(); ++row) {
            if (const PLogLine line = LiveRowLine(row)) {
                text += line->Msg;
                text += u"\r\n";
            }
        }
    }
    PutOnClipboard(text);
}

void TLogViewer::CopyAll() {
    PutOnClipboard(FRamLog == nullptr ? std::u16string(u"No RAM log assigned!") : FRamLog->GetAsText());
}

void TLogViewer::SaveAsRtf(const std::u16string& FullPath) {
    if (FullPath.empty()) {
        throw EOrvelException(u"SaveAsRtf: FullPath parameter cannot be empty");
    }
    if (FRamLog == nullptr) {
        throw EOrvelException(u"SaveAsRtf: RamLog is not assigned");
    }
    const bool dark = DarkPalette();
    std::vector<TRtfLine> snapshot;
    snapshot.reserve(256);
    // Only the copying happens under the lock; the document is built after it.
    FRamLog->Lines().ForEachLocked([&snapshot](PLogLine Line) {
        if (snapshot.size() == snapshot.capacity()) {
            snapshot.reserve(snapshot.capacity() * 2);
        }
        snapshot.push_back(TRtfLine{Line->Msg.Str(), Line->Level, Line->Bold});
    });
    const std::string document = BuildLogRtf(snapshot, dark);
    const platform::TFsResult result = FOs.Files.WriteFileAtomic(FullPath, document);
    // A file that was not written is not a saved log.
    if (!result.Ok) {
        throw EOrvelException(u"Error writing to file " + FullPath + u": " + result.Message);
    }
}

} // namespace orvel
