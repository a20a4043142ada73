#pragma once
// TOrvelForm: the base of every window of the application. It adds a start-up step that runs once
// the message loop runs, a save-before-exit sequence that runs once per form whichever way the
// form goes, loading of the form's saved state, and the main window's caption.
#include "framework/core/OrvelCore.AppData.h"
#include "toolkit/Toolkit.Form.h"

#include <cstdint>
#include <string>

namespace orvel {

// Posted by whoever holds the form's window to request its post-initialization.
inline constexpr std::uint32_t WM_POST_INITIALIZE = toolkit::msgApp + 745; // 0x82E9

class TOrvelForm : public toolkit::TForm {
public:
    // The toolkit's plain constructors: the form's own set-up decides snapping, position mode and
    // hints, and AutoState starts as asUndefined until the creator sets it.
    using toolkit::TForm::TForm;
    // Turns screen snapping and hints on and keeps the position the form is given (poDesigned),
    // which the saved position needs to be loaded.
    TOrvelForm(toolkit::TComponent* AOwner, TAutoState AutoSaveForm);

    std::u16string ClassName() const override { return u"TOrvelForm"; }

    TAutoState AutoState() const { return FAutoSaveForm; }
    void SetAutoState(TAutoState Value) { FAutoSaveForm = Value; }
    bool PostInitDone() const { return FPostInitDone; }
    bool FormSaved() const { return FFormSaved; }
    bool SavingInProgress() const { return FSavingInProgress; }

    // Start-up work of a descendant (settings, controls, timers); call the inherited one first.
    virtual void FormPostInitialize() {}
    // Shutdown work of a descendant (stop, save own data) before the form's state is written;
    // call the inherited one last.
    virtual void FormPreRelease() {}
    // The form's state from the application's INI file, then pulled inside the desktop. An INI
    // file that cannot be read is only logged as a warning.
    virtual void LoadForm();
    // The form's state into the application's INI file. A refused write is only logged as a
    // warning: losing a window position must not stop the program from closing.
    virtual void SaveForm();

    // Queues the post-initialization on the main thread's queue and returns at once; the queued
    // call is bound to this form and dropped when it is destroyed.
    void SchedulePostInitialize();
    // Runs FormPreRelease and SaveForm at most once in the form's life, never while the
    // application is starting (a later call can then still save). The form counts as saved even
    // when either raises; the error goes on to the caller.
    void saveBeforeExit();
    // Sets the main form's caption to the application name, its version and, when given, " - "
    // and Caption. Fails an assertion while there is no main form.
    void MainFormCaption(const std::u16string& Caption);

    // Centres a form other than the main form on the main form's monitor.
    void Loaded() override;
    // An accepted close query saves the form.
    bool CloseQuery() override;
    // A close that frees the form saves it.
    void DoClose(toolkit::TCloseAction& Action) override;
    // Drops a still queued post-initialization, then saves the form.
    void DoDestroy() override;
    // WM_POST_INITIALIZE runs the post-initialization; the end of the session saves the form.
    void Dispatch(toolkit::TMessage& Msg) override;

private:
    // Runs at most once: ends the application's start-up phase when this is the main form, then
    // FormPostInitialize, then the translation of the form.
    void RunPostInitialize();

    TAutoState FAutoSaveForm = asUndefined;
    bool FPostInitDone = false;
    bool FFormSaved = false;
    bool FSavingInProgress = false;
};

} // namespace orvel
