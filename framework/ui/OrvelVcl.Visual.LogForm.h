#pragma once
// TfrmRamLog: the window that shows the application's in-memory log: a log viewer filling it, along
// the bottom four option boxes, the verbosity filter and a Clear button, and a context menu that
// copies lines. It keeps its viewing options in the INI section "Log Settings"; closing it only
// hides it.
#include "framework/core/OrvelCore.LogTypes.h"
#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>

namespace orvel {

class TLogViewer;
class TLogVerbFilter;

class TfrmRamLog : public TOrvelForm {
public:
    static constexpr char16_t SettingsSection[] = u"Log Settings";
    static constexpr char16_t FormName[] = u"frmRamLog";
    static constexpr int ClientWidthPx = 643;
    static constexpr int ClientHeightPx = 507;
    static constexpr int BottomHeight = 31;
    static constexpr std::uint8_t OwnAlphaBlendValue = 251;
    // First-run values of the options, which a first run shows rather than the viewer's own.
    static constexpr bool DefaultShowOnError = true;
    static constexpr bool DefaultShowTime = true;
    static constexpr bool DefaultShowDate = true;
    static constexpr bool DefaultAutoScroll = true;
    static constexpr TLogVerbLvl DefaultVerbosity = lvHints;

    // The application object makes the one log window without an owner; a window with one fails
    // an assertion when it is destroyed.
    explicit TfrmRamLog(toolkit::TApplication& App);
    explicit TfrmRamLog(toolkit::TComponent* AOwner);

    std::u16string ClassName() const override { return u"TfrmRamLog"; }

    // The base's step, then the viewer and the filter, linked, and the options from the INI file.
    void FormPostInitialize() override;

    // The options from "Log Settings": the application log's show-on-error switch and the
    // viewer's time, date, scrolling and verbosity; a missing or unreadable value takes its
    // first-run default.
    void LoadLogSettings();
    // The same options into "Log Settings", while the application object exists.
    void SaveLogSettings();

    // --- components of the layout ---
    toolkit::TPanel* Container = nullptr;
    toolkit::TPanel* pnlBottom = nullptr;
    toolkit::TCheckBox* chkShowDate = nullptr;
    toolkit::TCheckBox* chkShowTime = nullptr;
    toolkit::TCheckBox* chkLogOnError = nullptr;
    toolkit::TCheckBox* chkScrollDown = nullptr;
    toolkit::TButton* btnClear = nullptr;
    toolkit::TPopupMenu* PopupMenu = nullptr;
    toolkit::TMenuItem* mnuCopy = nullptr;
    toolkit::TMenuItem* mnuCopyFiltered = nullptr;
    toolkit::TMenuItem* mnuCopyAll = nullptr;
    // Made at post-initialization.
    TLogViewer* Log = nullptr;
    TLogVerbFilter* LogFilter = nullptr;

protected:
    void DoShow() override;

private:
    void BuildLayout();
    void KeepBottomStripWhole();
    toolkit::TCheckBox* NewOptionBox(const std::u16string& AName, const std::u16string& ACaption, int AWidth);
    toolkit::TMenuItem* NewMenuItem(const std::u16string& AName, const std::u16string& ACaption);

    void FormClose(toolkit::TComponent* Sender, toolkit::TCloseAction& Action);
    void FormDestroy(toolkit::TComponent* Sender);
    void chkShowDateClick(toolkit::TComponent* Sender);
    void chkShowTimeClick(toolkit::TComponent* Sender);
    void chkLogOnErrorClick(toolkit::TComponent* Sender);
    void chkScrollDownClick(toolkit::TComponent* Sender);
    void btnClearClick(toolkit::TComponent* Sender);
    void mnuCopyClick(toolkit::TComponent* Sender);
    void mnuCopyFilteredClick(toolkit::TComponent* Sender);
    void mnuCopyAllClick(toolkit::TComponent* Sender);
};

} // namespace orvel
