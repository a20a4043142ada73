#pragma once
// TLogVerbFilter: a caption and a track bar with which the user picks the verbosity of one log
// viewer.
#include "framework/core/OrvelCore.LogTypes.h"
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>

namespace orvel {

class TLogViewer;

class TLogVerbFilter : public toolkit::TPanel {
public:
    static constexpr int DefaultWidth = 260;
    static constexpr int DefaultHeight = 27;
    static constexpr int TrackBarWidth = 120;
    static constexpr TLogVerbLvl InitialLevel = lvInfos;

    explicit TLogVerbFilter(toolkit::TComponent* AOwner);
    ~TLogVerbFilter() override;
    std::u16string ClassName() const override { return u"TLogVerbFilter"; }

    TLogViewer* Log() const { return FLog; }
    // Follows Value's verbosity and registers with it; null unlinks.
    void SetLog(TLogViewer* Value);
    // Whether the lowest position (debug messages) can be picked.
    bool ShowDebugMsg() const { return FShowDebugMsg; }
    void SetShowDebugMsg(bool Value);
    // The track bar's position.
    int Verbosity() const;
    void SetVerbosity(int Value);

    toolkit::TTrackBar& TrackBar() { return *FTrackBar; }
    toolkit::TLabel& VerboLabel() { return *FVerboLabel; }
    bool Initialized() const { return FInitialized; }

    // The track bar's change handler: applies the position to the linked viewer.
    void TrackBarChange(toolkit::TComponent* Sender);

protected:
    void CreatePeer() override;

private:
    void FirstTimeSetup();
    void ShowLevelCaption(TLogVerbLvl Level);

    toolkit::TComponentRef<TLogViewer> FLog;
    toolkit::TLabel* FVerboLabel = nullptr;
    toolkit::TTrackBar* FTrackBar = nullptr;
    bool FInitialized = false;
    bool FShowDebugMsg = false;
};

} // namespace orvel
