#pragma once
// A log viewer on a form of the headless backend, with the sim platform behind both, and a canvas
// that records what the grid paints.
#include "framework/core/OrvelCore.AppData.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/headless/Headless.Backend.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvel::testing {

class TRecordingCanvas : public toolkit::TCanvas {
public:
    struct TText {
        toolkit::TRect Rect;
        int X = 0;
        int Y = 0;
        std::u16string Text;
        toolkit::TColor Color = 0;
    };
    std::vector<toolkit::TRect> Fills;
    std::vector<TText> Texts;

    void FillRect(const toolkit::TRect& Rect) override { Fills.push_back(Rect); }
    void TextRect(const toolkit::TRect& Rect, int X, int Y, std::u16string_view Text) override {
        Texts.push_back({Rect, X, Y, std::u16string(Text), Font().Color()});
    }
    toolkit::TTextMetrics Measure(std::u16string_view Text) override {
        return toolkit::TTextMetrics{static_cast<int>(Text.size()) * 6, 15, 0};
    }
};

// The application "Tarvin" with its data folder, where the log's automatic saves go.
struct TIdentity {
    explicit TIdentity(platform::sim::TSimPlatform& Sim) {
        TAppDataCore::ClearIdentity();
        TAppDataCore::EstablishIdentity(u"Tarvin", Sim.Services());
        Sim.Files.AddFolder(u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\");
    }
    ~TIdentity() { TAppDataCore::ClearIdentity(); }
    TIdentity(const TIdentity&) = delete;
    TIdentity& operator=(const TIdentity&) = delete;
};

struct TViewerScene {
    platform::sim::TSimPlatform Sim;
    TIdentity Identity{Sim};
    toolkit::headless::THeadlessBackend Backend{Sim};
    toolkit::TApplication App{Backend, Sim.MainThread};
    platform::TServices Os = Sim.Services();
    toolkit::TForm* Form = toolkit::NewForm<toolkit::TForm>(&App);
    TLogViewer* Viewer = nullptr;
    std::vector<int> Waits; // the pauses between clipboard attempts

    explicit TViewerScene(int Height = 230, int Width = 400) {
        Viewer = new TLogViewer(Form, Os);
        Viewer->SetParent(Form);
        Viewer->SetBounds(0, 0, Width, Height);
        Viewer->ClipboardRetryWait = [this](int Ms) { Waits.push_back(Ms); };
        Viewer->HandleNeeded();
    }

    TRamLog& Log() { return *Viewer->RamLog(); }

    // "line 1", "line 2" ... at Level, continuing the numbering of earlier calls.
    void AddLines(int Count, TLogVerbLvl Level = lvInfos) { AddLinesTo(Log(), Count, Level); }
    void AddLinesTo(TRamLog& Target, int Count, TLogVerbLvl Level = lvInfos) {
        for (int i = 0; i < Count; ++i) {
            const std::u16string msg = u"line " + Number(++FAdded);
            switch (Level) {
            case lvDebug:
                Target.AddDebug(msg);
                break;
            case lvVerbose:
                Target.AddVerb(msg);
                break;
            case lvHints:
                Target.AddHint(msg);
                break;
            case lvInfos:
                Target.AddInfo(msg);
                break;
            case lvImportant:
                Target.AddImpo(msg);
                break;
            case lvWarnings:
                Target.AddWarn(msg);
                break;
            case lvErrors:
                Target.AddError(msg);
                break;
            }
        }
    }

    // The message each data row points at, "" for a row without a line.
    std::vector<std::u16string> RowMessages() {
        std::vector<std::u16string> rows;
        for (int row = 1; row < Viewer->Grid().RowCount(); ++row) {
            auto* line = static_cast<PLogLine>(Viewer->Grid().Objects(0, row));
            rows.push_back(line != nullptr ? line->Msg : u"");
        }
        return rows;
    }

    // Paints the grid; the texts kept are those below the header row.
    TRecordingCanvas Paint() {
        TRecordingCanvas canvas;
        Viewer->Grid().PaintCells(canvas);
        const int headerBottom = Viewer->Grid().CellRect(0, 1).Top;
        std::erase_if(canvas.Texts,
                      [&](const TRecordingCanvas::TText& Text) { return Text.Rect.Top < headerBottom; });
        return canvas;
    }

    std::u16string Clipboard() { return Backend.ClipboardText().value_or(u"<none>"); }

    static std::u16string Number(int Value) {
        std::u16string text;
        for (const char c : std::to_string(Value)) {
            text += static_cast<char16_t>(c);
        }
        return text;
    }
    static std::vector<std::u16string> Lines(int First, int Last) {
        std::vector<std::u16string> lines;
        for (int i = First; i <= Last; ++i) {
            lines.push_back(u"line " + Number(i));
        }
        return lines;
    }

private:
    int FAdded = 0;
};

} // namespace orvel::testing
