#include "framework/ui/OrvelVcl.Common.LogFilter.h"

#include "framework/ui/OrvelVcl.Common.LogViewer.h"

namespace orvel {

using namespace toolkit;

TLogVerbFilter::TLogVerbFilter(toolkit::TComponent* AOwner) : TPanel(AOwner) {
    FVerboLabel = new TLabel(this);
    FVerboLabel->SetParent(this);
    FTrackBar = new TTrackBar(this);
    FTrackBar->SetParent(this);
}

TLogVerbFilter::~TLogVerbFilter() {
    if (FLog != nullptr) {
        FLog->RegisterVerbFilter(nullptr);
    }
}

void TLogVerbFilter::SetLog(TLogViewer* Value) {
    if (FLog != nullptr && FLog != Value) {
        FLog->RegisterVerbFilter(nullptr);
    }
    FLog = Value;
    if (FLog == nullptr) {
        return;
    }
    // The viewer is told of the filter only afterwards, so moving the bar here cannot change it.
    FTrackBar->SetPosition(FLog->Verbosity());
    FLog->RegisterVerbFilter(this);
}

void TLogVerbFilter::SetShowDebugMsg(bool Value) {
    FShowDebugMsg = Value;
    FTrackBar->SetMin(Value ? lvDebug : lvVerbose);
}

int TLogVerbFilter::Verbosity() const {
    return FTrackBar->Position();
}

void TLogVerbFilter::SetVerbosity(int Value) {
    FTrackBar->SetPosition(Value);
}

void TLogVerbFilter::ShowLevelCaption(TLogVerbLvl Level) {
    FVerboLabel->SetCaption(u"Verbosity: " + VerbosityName(Level));
}

void TLogVerbFilter::TrackBarChange(toolkit::TComponent*) {
    if (Loading() || FLog == nullptr) {
        return;
    }
    const auto level = static_cast<TLogVerbLvl>(FTrackBar->Position());
    FLog->SetVerbosity(level);
    ShowLevelCaption(level);
    FLog->Populate();
}

void TLogVerbFilter::CreatePeer() {
    TPanel::CreatePeer();
    SetShowCaption(false);
    if (!FInitialized) {
        FirstTimeSetup();
    }
}

// Without a linked viewer the bar starts on "Info". A viewer linked before the first window
// (the log window links them early) keeps its verbosity, and the bar and caption show that level
// instead: the level shown is always the one in force.
void TLogVerbFilter::FirstTimeSetup() {
    FInitialized = true;
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
    SetBevelOuter(TBevelCut::bvNone);
    SetAlignWithMargins(true);

    FVerboLabel->SetAlign(TAlign::alLeft);
    FVerboLabel->SetLayout(TTextLayout::tlCenter);
    FVerboLabel->SetHint(u"Log verbosity\r\n(Hide all messages below this level.)");
    const TLogVerbLvl level = FLog != nullptr ? FLog->Verbosity() : InitialLevel;
    ShowLevelCaption(level);

    FTrackBar->SetAlign(TAlign::alRight);
    FTrackBar->SetWidth(TrackBarWidth);
    FTrackBar->SetName(u"VerbosityTrackbar");
    FTrackBar->SetParams(level, FShowDebugMsg ? lvDebug : lvVerbose, lvErrors);
    FTrackBar->SetHint(u"Hide all messages below this level");
    // Attached last, so that the setup notifies nobody.
    FTrackBar->OnChange = [this](TComponent* Sender) { TrackBarChange(Sender); };
}

} // namespace orvel
