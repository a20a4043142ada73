#include "framework/ui/OrvelVcl.Visual.LogForm.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "framework/ui/OrvelVcl.Common.LogFilter.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "toolkit/Toolkit.Application.h"

namespace orvel {

using namespace toolkit;

namespace {

// The verbosity stored as its ordinal; a hand-edited number outside the seven levels counts as
// missing.
TLogVerbLvl VerbosityFromOrdinal(std::int32_t Ordinal, TLogVerbLvl Default) {
    return Ordinal >= lvDebug && Ordinal <= lvErrors ? static_cast<TLogVerbLvl>(Ordinal) : Default;
}

} // namespace

TfrmRamLog::TfrmRamLog(toolkit::TApplication& App) : TOrvelForm(App) {
    BuildLayout();
}

TfrmRamLog::TfrmRamLog(toolkit::TComponent* AOwner) : TOrvelForm(AOwner) {
    BuildLayout();
}

void TfrmRamLog::BuildLayout() {
    SetName(FormName);
    SetCaption(u"Log");
    SetClientSize(ClientWidthPx, ClientHeightPx);
    SetColor(clBtnFace);
    Font().SetName(u"Segoe UI");
    Font().SetHeight(-13);
    SetPosition(TPosition::poDesigned);
    SetBorderIcons(biSystemMenu | biMaximize);
    SetScreenSnap(true);
    SetSnapBuffer(3);
    SetShowHint(true);
    SetDoubleBuffered(true);
    SetAlphaBlend(true);
    SetAlphaBlendValue(OwnAlphaBlendValue);

    Container = new TPanel(this);
    Container->SetName(u"Container");
    Container->SetParent(this);
    Container->SetCaption(u"");
    Container->SetAlign(TAlign::alClient);
    Container->SetBevelOuter(TBevelCut::bvNone);

    pnlBottom = new TPanel(this);
    pnlBottom->SetName(u"pnlBottom");
    pnlBottom->SetParent(Container);
    pnlBottom->SetCaption(u"");
    pnlBottom->SetHeight(BottomHeight);
    pnlBottom->SetAlign(TAlign::alBottom);
    pnlBottom->SetBevelOuter(TBevelCut::bvNone);

    chkShowDate = NewOptionBox(u"chkShowDate", u"Show date", 94);
    chkShowTime = NewOptionBox(u"chkShowTime", u"Show time", 95);
    chkLogOnError = NewOptionBox(u"chkLogOnError", u"Show log on error", 138);
    chkLogOnError->SetHint(u"Show this Log window when it displays error or warning messages.");
    chkLogOnError->SetChecked(true);
    chkScrollDown = NewOptionBox(u"chkScrollDown", u"Scroll down", 109);
    chkScrollDown->SetHint(u"This will take a tiny bit more CPU if you have lots of messages.");
    chkScrollDown->SetChecked(true);

    btnClear = new TButton(this);
    btnClear->SetName(u"btnClear");
    btnClear->SetParent(pnlBottom);
    btnClear->SetCaption(u"Clear");
    btnClear->SetHint(u"Clear log");
    btnClear->SetWidth(68);
    btnClear->SetMargins(TMargins{3, 1, 3, 1});
    btnClear->SetAlignWithMargins(true);
    btnClear->SetAlign(TAlign::alRight);

    PopupMenu = new TPopupMenu(this);
    PopupMenu->SetName(u"PopupMenu");
    mnuCopy = NewMenuItem(u"mnuCopy", u"Copy line");
    mnuCopyFiltered = NewMenuItem(u"mnuCopyFiltered", u"Copy all (filtered)");
    mnuCopyAll = NewMenuItem(u"mnuCopyAll", u"Copy all (unfiltered)");
    mnuCopyAll->SetHint(u"Returns all lines, even if a filter is applied.");

    // The handlers go on last, so that building the form runs none of them.
    chkShowDate->OnClick = [this](TComponent* Sender) { chkShowDateClick(Sender); };
    chkShowTime->OnClick = [this](TComponent* Sender) { chkShowTimeClick(Sender); };
    chkLogOnError->OnClick = [this](TComponent* Sender) { chkLogOnErrorClick(Sender); };
    chkScrollDown->OnClick = [this](TComponent* Sender) { chkScrollDownClick(Sender); };
    btnClear->OnClick = [this](TComponent* Sender) { btnClearClick(Sender); };
    mnuCopy->OnClick = [this](TComponent* Sender) { mnuCopyClick(Sender); };
    mnuCopyFiltered->OnClick = [this](TComponent* Sender) { mnuCopyFilteredClick(Sender); };
    mnuCopyAll->OnClick = [this](TComponent* Sender) { mnuCopyAllClick(Sender); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    OnDestroy = [this](TComponent* Sender) { FormDestroy(Sender); };
}

toolkit::TCheckBox* TfrmRamLog::NewOptionBox(const std::u16string& AName, const std::u16string& ACaption,
                                             int AWidth) {
    auto* box = new TCheckBox(this);
    box->SetName(AName);
    box->SetParent(pnlBottom);
    box->SetCaption(ACaption);
    box->SetWidth(AWidth);
    box->SetAlignWithMargins(true);
    box->SetAlign(TAlign::alLeft);
    return box;
}

toolkit::TMenuItem* TfrmRamLog::NewMenuItem(const std::u16string& AName, const std::u16string& ACaption) {
    auto* item = new TMenuItem(this);
    item->SetName(AName);
    item->SetCaption(ACaption);
    PopupMenu->Items()->Add(item);
    return item;
}

// --- life ---

void TfrmRamLog::FormPostInitialize() {
    TOrvelForm::FormPostInitialize();

    platform::TServices os = TAppDataCore::Services();
    Log = new TLogViewer(this, os);
    Log->SetName(u"Log");
    Log->SetParent(Container);
    Log->SetAlign(TAlign::alClient);
    Log->SetPopupMenu(PopupMenu);

    LogFilter = new TLogVerbFilter(this);
    LogFilter->SetName(u"LogFilter");
    LogFilter->SetParent(pnlBottom);
    LogFilter->SetAlign(TAlign::alRight);

    LogFilter->SetLog(Log);
    LoadLogSettings();

    chkLogOnError->SetChecked(AppDataCore != nullptr && AppDataCore->RamLog != nullptr &&
                              AppDataCore->RamLog->ShowOnError);
    chkScrollDown->SetChecked(Log->AutoScroll());
}

void TfrmRamLog::DoShow() {
    KeepBottomStripWhole();
    TOrvelForm::DoShow();
}

// The option boxes and the filter are laid side by side: a narrower window would slide the
// filter's caption under the boxes. A saved narrower size is widened as well. Measured once the
// window exists, since the filter takes its size when its own window is made.
void TfrmRamLog::KeepBottomStripWhole() {
    int stripWidth = 0;
    for (const TControl* control : pnlBottom->Controls()) {
        stripWidth += control->Width();
        if (control->AlignWithMargins()) {
            stripWidth += control->Margins().Left + control->Margins().Right;
        }
    }
    const int frameWidth = Width() - ClientWidth();
    SetMinSize(TSize{stripWidth + frameWidth, MinSize().Height});
}

void TfrmRamLog::FormClose(toolkit::TComponent*, toolkit::TCloseAction& Action) {
    Action = TCloseAction::caHide;
}

void TfrmRamLog::FormDestroy(toolkit::TComponent*) {
    Assert(Owner() == nullptr, u"Assertion failure");
    if (Log == nullptr) {
        return;
    }
    Log->SetFormDestroying(true);
    if (Log->RamLog() != nullptr) {
        Log->RamLog()->UnregisterLogObserver();
    }
    SaveLogSettings();
}

// --- options ---

void TfrmRamLog::LoadLogSettings() {
    TIniFileEx ini(SettingsSection, TAppDataCore::IniFile(), TAppDataCore::Services().Files);
    const bool showOnError = ini.Read(u"ShowOnError", DefaultShowOnError);
    if (AppDataCore != nullptr) {
        AppDataCore->SetShowLogOnError(showOnError);
    }
    if (Log != nullptr) {
        Log->SetShowTime(ini.Read(u"ShowTime", DefaultShowTime));
        Log->SetShowDate(ini.Read(u"ShowDate", DefaultShowDate));
        Log->SetAutoScroll(ini.Read(u"AutoScroll", DefaultAutoScroll));
        Log->SetVerbosity(
            VerbosityFromOrdinal(ini.Read(u"Verbosity", std::int32_t{DefaultVerbosity}), DefaultVerbosity));
        chkShowDate->SetChecked(Log->ShowDate());
        chkShowTime->SetChecked(Log->ShowTime());
    }
}

void TfrmRamLog::SaveLogSettings() {
    if (AppData == nullptr || Log == nullptr) {
        return;
    }
    TIniFileEx ini(SettingsSection, TAppDataCore::IniFile(), TAppDataCore::Services().Files);
    ini.Write(u"ShowOnError", AppData->ShowLogOnError());
    ini.Write(u"ShowTime", Log->ShowTime());
    ini.Write(u"ShowDate", Log->ShowDate());
    ini.Write(u"AutoScroll", Log->AutoScroll());
    ini.Write(u"Verbosity", static_cast<std::int32_t>(Log->Verbosity()));
}

// --- handlers ---

void TfrmRamLog::chkShowDateClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->SetShowDate(chkShowDate->Checked());
    }
}

void TfrmRamLog::chkShowTimeClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->SetShowTime(chkShowTime->Checked());
    }
}

void TfrmRamLog::chkLogOnErrorClick(toolkit::TComponent*) {
    // Through the core, so that its own switch and the log's answer the same.
    if (AppDataCore != nullptr) {
        AppDataCore->SetShowLogOnError(chkLogOnError->Checked());
    }
}

void TfrmRamLog::chkScrollDownClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->SetAutoScroll(chkScrollDown->Checked());
    }
}

void TfrmRamLog::btnClearClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->Clear();
    }
}

void TfrmRamLog::mnuCopyClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->CopyCurLine();
    }
}

void TfrmRamLog::mnuCopyFilteredClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->CopyVisible();
    }
}

void TfrmRamLog::mnuCopyAllClick(toolkit::TComponent*) {
    if (Log != nullptr) {
        Log->CopyAll();
    }
}

} // namespace orvel
