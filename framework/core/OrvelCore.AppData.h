#pragma once
// The application data core: the application's identity and folders, the framework's own settings
// (INI section "AppData Settings"), the in-memory log, and the logging facade that every unit
// writes through without holding the core.
#include "framework/core/OrvelCore.LogRam.h"
#include "platform/Platform.Services.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orvel {

// How hints are shown.
enum THintType : std::uint8_t { htOff, htTooltips, htStatBar };

// How much of a form's state the INI file keeps.
enum TAutoState : std::uint8_t { asUndefined, asNone, asPosOnly, asFull };

// An opacity as a window can take it: below 0 is 0, above 255 (opaque) is 255.
std::uint8_t ClampedOpacity(std::int32_t Value);

// The non-visual half of the application object; one per process. The application object derives
// from it and sets AppDataCore once it is built.
class TAppDataCore {
public:
    static constexpr char16_t SettingsSection[] = u"AppData Settings";

    // Runs the start-up steps: marks the start-up phase, refuses a second core in the process
    // ("Error! AppDataCore already constructed!"), checks and stores the name, decides the portable
    // mode, creates the data folder, decides the first run, creates the RAM log (switch off, no
    // observer) and loads or defaults the settings. An empty WindowClassName means the application
    // name. The objects behind Os must outlive the core.
    //
    // The settings operations are virtual, but while this constructor runs they are this class's
    // own: a descendant that overrides SetHideHint or SetHintType re-applies HideHint() and
    // HintType() once its own construction is done.
    TAppDataCore(const std::u16string& aAppName, const std::u16string& WindowClassName, bool MultiThreaded,
                 platform::TServices& Os);
    // A bare core: no identity, settings or log, and the one-core rule is not involved. The
    // application never makes one; it stands in where only the facade's reach matters.
    TAppDataCore() = default;
    // Saves the settings when they were loaded or defaulted, then frees the log. A settings file
    // that cannot be written is reported to the debug output, since nothing at that point of
    // shutdown could handle the error.
    virtual ~TAppDataCore();
    TAppDataCore(const TAppDataCore&) = delete;
    TAppDataCore& operator=(const TAppDataCore&) = delete;

    // --- start-up phase: nothing may be saved while it lasts ---
    static bool Initializing();
    static void EndInitialization();

    // --- settings ---
    virtual void SetHideHint(std::int32_t Value);
    virtual void LoadSettings();
    virtual void SaveSettings();
    virtual void DefaultSettings();
    virtual void SetHintType(THintType Value);
    // Nothing to do here; the application object minimises its window.
    virtual void Minimize();

    const std::u16string& SingleInstClassName() const { return FSingleInstClassName; }
    // FLastFolder when it names an existing folder, else the user's Documents folder.
    std::u16string GetLastUsedFolder() const;
    std::u16string LastUsedFolder() const { return GetLastUsedFolder(); }
    void SetLastUsedFolder(const std::u16string& Value) { FLastFolder = Value; }
    std::int32_t HideHint() const { return FHideHint; }
    THintType HintType() const { return FHintType; }
    bool RunningFirstTime() const { return FRunningFirstTime; }
    bool ShowLogOnError() const { return FShowOnError; }
    // Also switches the RAM log's ShowOnError when the log exists.
    void SetShowLogOnError(bool Value);

    std::u16string LastFile;
    std::unique_ptr<TRamLog> RamLog;
    std::u16string CompanyName;
    std::u16string CompanyHome;
    std::u16string ProductHome;
    std::u16string ProductSupport;
    std::u16string ProductWelcome;
    std::u16string ProductUninstal;
    std::u16string UserPath;
    bool AutoStartUp = false;
    bool StartMinim = false;
    bool Minimize2Tray = false;
    // 0 to 255, 255 opaque; a hand-edited value outside is clamped when loaded.
    std::int32_t Opacity = 255;

    // Only for test programs, which build several cores in one process: forgets that a core was
    // constructed, so that the next constructor is allowed. The application never calls it.
    static void ResetConstructionFlagForTests();

    // --- logging facade ---
    // Callable at any moment of the process: before the core exists and after it is gone every
    // call does nothing.
    static void LogVerb(const std::u16string& Msg);
    static void LogHint(const std::u16string& Msg);
    static void LogInfo(const std::u16string& Msg);
    static void LogMsg(const std::u16string& Msg);
    static void LogBold(const std::u16string& Msg);
    static void LogImpo(const std::u16string& Msg);
    static void LogWarn(const std::u16string& Msg);
    static void LogError(const std::u16string& Msg);
    static void LogEmptyRow();
    static void LogClear();

    // --- identity and folders ---
    // Folders end in a backslash. Everything but the name and the portable mode is computed
    // afresh on each call from the services given to EstablishIdentity.
    static std::u16string AppName();
    static bool Portable();
    static std::u16string AppFolder();
    // With ForceDir the folder is created with its parents; a refusal is not reported here, the
    // first write into the folder fails instead.
    static std::u16string AppDataFolder(bool ForceDir);
    static std::u16string IniFile();
    static std::u16string AppSysDir();
    static bool RunningHome();

    // Checks and stores the application name, remembers the OS services for the queries above
    // and decides the portable mode. The core's constructor calls it once; the objects behind
    // `Os` must live until ClearIdentity.
    static void EstablishIdentity(const std::u16string& aAppName, const platform::TServices& Os);
    // Forgets name, portable mode and services, as at process end.
    static void ClearIdentity();
    // The services given to EstablishIdentity, for framework units that reach the system through
    // the application's identity (the form persistence opens the INI file with them). Fails an
    // assertion before EstablishIdentity.
    static const platform::TServices& Services();

protected:
    // The services given to the constructor; a bare core has none and fails an assertion.
    const platform::TServices& Os() const;

private:
    bool FShowOnError = true;
    std::int32_t FHideHint = 2500;
    std::u16string FLastFolder;
    std::u16string FSingleInstClassName;
    bool FRunningFirstTime = false;
    bool FSettingsLoaded = false;
    THintType FHintType = htOff;
    std::optional<platform::TServices> FOs; // a copy of the bundle; the objects live elsewhere

    enum class TLogOp { Verb, Hint, Info, Msg, Bold, Impo, Warn, Error, EmptyRow, Clear };
    // The single road from the facade to the core's log.
    static void ForwardToLog(TLogOp Op, const std::u16string& Msg);

    static void CheckNameIsFileName();
};

// The one application data core of the process; nullptr until the application object exists and
// again after it is freed. The logging facade reads it.
extern TAppDataCore* AppDataCore;

} // namespace orvel
