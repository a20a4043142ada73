#pragma once
// TAppData: the application object, the visual half on top of the application data core. It sets
// the application-wide look, owns the translator and the log window, creates the main form and
// every other form with the same font, hints and opacity, runs the message loop, detects a copy
// that runs already, and adds the program to the per-user start-up list.
//
// A program is put together like this:
//
//     TAppData app(u"Tarvin", u"TarvinWndClass", false, Os, Application);
//     if (app.InstanceRunning()) {                       // a first copy runs: bring it forward
//         RestoreWindowByName(Os.WindowControl, app.SingleInstClassName());
//         return;
//     }
//     app.CreateMainForm<TMainForm>(asPosOnly);          // the log window first, then the main form
//     app.Run();                                         // until the main form closes
//                                                        // ~TAppData saves the forms and settings
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/ui/OrvelVcl.Visual.LogForm.h"
#include "platform/Platform.Services.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Form.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace orvel {

class TTranslator;

// One per process, reached through AppData (and, as the core, through AppDataCore).
class TAppData : public TAppDataCore {
public:
    static constexpr toolkit::TColor AppHintColor = 0xC0C090;
    static constexpr int AppHintShortPause = 40;
    static constexpr char16_t DefaultFontName[] = u"Segoe UI";
    static constexpr int DefaultFontSize = 10;
    // Windows 8 and later snap windows themselves; the forms' own snapping stays close.
    static constexpr int Windows8SnapBuffer = 4;
    static constexpr char16_t RunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr char16_t UninstallKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    static constexpr char16_t UninstallerName[] = u"Uninstall.exe";
    static constexpr char16_t MakerKey[] = u"Software\\Halvorn\\";

    // A second object fails an assertion before the core is touched. Runs the core's start-up,
    // publishes the object in AppData and AppDataCore, sets the application's title, hint colour
    // and pauses, default font and hints, creates the translator (applying the remembered language
    // except on the developer's machine) and logs "{name} v{version} started.". Os and App must
    // outlive the object.
    TAppData(const std::u16string& aAppName, const std::u16string& WindowClassName, bool MultiThreaded,
             platform::TServices& Os, toolkit::TApplication& App);
    // Saves every form on the screen, last first (a form that fails is logged and the others go
    // on), frees the log window and the translator, then the core saves the framework settings.
    ~TAppData() override;

    toolkit::TApplication& Application() const { return FApplication; }

    // --- forms ---

    // Builds the main form: the log window first (hidden), then T(owner, Args...) owned by the
    // application, its saved state unless AutoState is asNone, the shared look, shown (or the
    // application minimised when StartMinim), its settled caption, and its post-initialization
    // queued. On the first run the program is registered once. A second main form, a shared font
    // set already, or the log window as main form fail assertions.
    template <class T, class... TArgs> T* CreateMainForm(TAutoState AutoState, TArgs&&... Args) {
        if constexpr (std::is_base_of_v<TfrmRamLog, T>) {
            Assert(false, u"Sanity check! The Log should not be the MainForm!");
        }
        BeginMainForm();
        T* form = FApplication.CreateForm<T>(std::forward<TArgs>(Args)...);
        FinishMainForm(form, AutoState);
        return form;
    }

    // Builds any other form: owned by Owner, or by the application when Owner is null (the log
    // window is owned by nobody); placed and centred inside Owner when Parented; the shared look;
    // its saved state unless AutoState is asNone; shown when Show; post-initialized at once and
    // translated. Without CreateBeforeMainForm a main form must exist already, otherwise
    // EOrvelException "Probably you forgot to create the main form with AppData.CreateMainForm!".
    template <class T>
    T* CreateForm(bool Show, TAutoState AutoState, toolkit::TComponent* Owner = nullptr,
                  bool Parented = false, bool CreateBeforeMainForm = false) {
        if (!CreateBeforeMainForm) {
            RequireMainForm();
        }
        T* form = nullptr;
        if constexpr (std::is_base_of_v<TfrmRamLog, T>) {
            form = toolkit::NewForm<T>(FApplication);
        } else {
            form = toolkit::NewForm<T>(Owner != nullptr ? Owner
                                                        : static_cast<toolkit::TComponent*>(&FApplication));
        }
        FinishForm(form, Show, AutoState, Owner, Parented);
        return form;
    }

    // The log window. The first call creates it (hidden, position loaded, linked to the
    // application's log); every later call shows it.
    TfrmRamLog* FormLog();
    // The log window as it is, without creating or showing it; null before the first FormLog.
    TfrmRamLog* LogWindow() const { return FFormLog; }

    // The shared font of all forms: the main form's own font object, null before it exists.
    toolkit::TFont* Font() const { return FFont; }
    // Once a shared font exists, a new one is given to every form on the screen.
    void SetFont(toolkit::TFont* Value);
    // The application-wide look of one form: main-form caption while it is built, hints, font,
    // snap distance and opacity.
    void ApplyAppearance(toolkit::TForm* Form);

    // Minimises first when StartMinim, then runs the message loop until the main form closes.
    void Run();

    // --- single instance ---

    // The main window's class becomes SingleInstClassName (at most 255 characters); its
    // CreateParams calls this.
    void SetSingleInstanceName(toolkit::TCreateParams& Params) const;
    // True when another copy runs or is starting: the per-session mutex named after the
    // single-instance class exists already, or a top-level window of that class (hidden ones
    // too) exists. The first call that finds no other copy keeps the mutex for this process, so
    // that a copy started a moment later is refused even before this one has a window.
    bool InstanceRunning();
    // The mutex name for a class name: no backslash, which the system's object names refuse.
    static std::u16string InstanceMutexName(const std::u16string& ClassName);

    // --- start-up entry ---

    // Adds (Active) or removes the per-user start-up value for FilePath, named after its file name
    // without folder and extension, holding the quoted path. A missing value is no failure. False
    // when the key cannot be opened, the system refuses the change, or FilePath names no file.
    bool RunFileAtStartUp(const std::u16string& FilePath, bool Active);
    // RunFileAtStartUp for the running executable.
    bool RunSelfAtStartUp(bool Active);

    // --- version texts of the running executable ---
    // "major.minor.release", with ".build" when ShowBuildNo; "N/A" without a version resource.
    static std::u16string GetVersionInfo(bool ShowBuildNo);
    // " v2.1.0", as captions show it.
    static std::u16string GetVersionInfoV();

    // --- the core's settings, applied to the application as well ---
    // Also the application's hint hide pause.
    void SetHideHint(std::int32_t Value) override;
    // Also switches the application's hints on exactly when Value is not htOff.
    void SetHintType(THintType Value) override;
    // Minimises the application and remembers to start minimised.
    void Minimize() override;

    std::unique_ptr<TTranslator> Translator;

private:
    // Fails the one-object assertion; returns aAppName so that it can run before the core's
    // constructor.
    static const std::u16string& RequireFirstObject(const std::u16string& aAppName);
    void SetUpApplication(const std::u16string& aAppName);
    void BeginMainForm();
    void FinishMainForm(toolkit::TForm* Form, TAutoState AutoState);
    void RequireMainForm() const;
    void FinishForm(toolkit::TForm* Form, bool Show, TAutoState AutoState, toolkit::TComponent* Owner,
                    bool Parented);
    void RegisterFirstRun();
    void SaveFormsBeforeExit();
    void FreeLogWindow();
    void ForgetFont() { FFont = nullptr; }

    toolkit::TApplication& FApplication;
    toolkit::TFont* FFont = nullptr;
    TfrmRamLog* FFormLog = nullptr;
    // The form that holds the shared font; when it goes, the font goes with it.
    toolkit::TComponentRef<toolkit::TForm> FFontForm{[this] { ForgetFont(); }};
    std::unique_ptr<platform::INamedMutexHold> FInstanceMutex;
};

// The application object; nullptr before it is created and after it is freed.
extern TAppData* AppData;

} // namespace orvel
