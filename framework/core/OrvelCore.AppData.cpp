#include "framework/core/OrvelCore.AppData.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "framework/core/OrvelCore.IO.h"

#include <algorithm>
#include <atomic>
#include <optional>

namespace orvel {

TAppDataCore* AppDataCore = nullptr;

namespace {

// The application's identity: set once by the core's constructor, read by the class-level
// queries from anywhere in the process.
struct TIdentity {
    std::u16string AppName;
    bool Portable = false;
    std::optional<platform::TServices> Os;
};

TIdentity& Identity() {
    static TIdentity identity;
    return identity;
}

constexpr char16_t PortableMarker[] = u"portable.marker";

// The start-up phase and the one-core rule; process-wide like the identity.
std::atomic<bool> InitializingFlag{false};
std::atomic<bool> CoreConstructed{false};

// Neutral maker fields: nothing in the program depends on them.
constexpr char16_t MakerName[] = u"Tarvin developers";
constexpr char16_t MakerHome[] = u"https://example.org/";

// Characters Windows refuses in a file name; the name becomes a folder and a file name.
bool IsFileNameChar(char16_t C) {
    return C >= 32 && C != u'"' && C != u'*' && C != u'/' && C != u':' && C != u'<' && C != u'>' &&
           C != u'?' && C != u'\\' && C != u'|';
}

bool IsFileName(const std::u16string& Name) {
    for (const char16_t c : Name) {
        if (!IsFileNameChar(c)) {
            return false;
        }
    }
    return true;
}

std::u16string InvalidNameMessage(const std::u16string& Name) {
    return u"Invalid chars in AppName: " + Name;
}

// Path with the extension of its file name replaced by Ext (or Ext appended when it has none).
std::u16string ChangeFileExt(const std::u16string& Path, const std::u16string& Ext) {
    const std::size_t dot = Path.rfind(u'.');
    const std::size_t cut = Path.find_last_of(u"\\:");
    if (dot == std::u16string::npos || (cut != std::u16string::npos && dot < cut)) {
        return Path + Ext;
    }
    return Path.substr(0, dot) + Ext;
}

} // namespace

std::uint8_t ClampedOpacity(std::int32_t Value) {
    return static_cast<std::uint8_t>(std::clamp<std::int32_t>(Value, 0, 255));
}

// --- logging facade ---

void TAppDataCore::ForwardToLog(TLogOp Op, const std::u16string& Msg) {
    TAppDataCore* core = AppDataCore;
    if (core == nullptr || !core->RamLog) {
        return;
    }
    TRamLog& log = *core->RamLog;
    switch (Op) {
    case TLogOp::Verb:
        log.AddVerb(Msg, false);
        break;
    case TLogOp::Hint:
        log.AddHint(Msg, false);
        break;
    case TLogOp::Info:
        log.AddInfo(Msg, false);
        break;
    case TLogOp::Msg:
        log.AddMsg(Msg, false);
        break;
    case TLogOp::Bold:
        log.AddBold(Msg);
        break;
    case TLogOp::Impo:
        log.AddImpo(Msg, false);
        break;
    case TLogOp::Warn:
        log.AddWarn(Msg, false);
        break;
    case TLogOp::Error:
        log.AddError(Msg, false);
        break;
    case TLogOp::EmptyRow:
        log.AddEmptyRow();
        break;
    case TLogOp::Clear:
        log.Clear();
        break;
    }
}

void TAppDataCore::LogVerb(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Verb, Msg);
}
void TAppDataCore::LogHint(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Hint, Msg);
}
void TAppDataCore::LogInfo(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Info, Msg);
}
void TAppDataCore::LogMsg(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Msg, Msg);
}
void TAppDataCore::LogBold(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Bold, Msg);
}
void TAppDataCore::LogImpo(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Impo, Msg);
}
void TAppDataCore::LogWarn(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Warn, Msg);
}
void TAppDataCore::LogError(const std::u16string& Msg) {
    ForwardToLog(TLogOp::Error, Msg);
}
void TAppDataCore::LogEmptyRow() {
    ForwardToLog(TLogOp::EmptyRow, {});
}
void TAppDataCore::LogClear() {
    ForwardToLog(TLogOp::Clear, {});
}

// --- the core object ---

TAppDataCore::TAppDataCore(const std::u16string& aAppName, const std::u16string& WindowClassName,
                           bool MultiThreaded, platform::TServices& Os) {
    InitializingFlag = true;
    if (CoreConstructed.exchange(true)) {
        throw EOrvelException(u"Error! AppDataCore already constructed!");
    }
    EstablishIdentity(aAppName, Os);
    FOs.emplace(Os);
    FSingleInstClassName = WindowClassName.empty() ? aAppName : WindowClassName;

    AppDataFolder(true);
    FRunningFirstTime = !Os.Files.FileExists(IniFile());

    RamLog = std::make_unique<TRamLog>(false, nullptr, MultiThreaded, Os);

    if (FRunningFirstTime) {
        DefaultSettings();
    } else {
        LoadSettings();
    }
    FSettingsLoaded = true;

    CompanyName = MakerName;
    CompanyHome = MakerHome;
    ProductHome = MakerHome;
    ProductSupport = MakerHome;
    ProductWelcome = MakerHome;
    ProductUninstal = MakerHome;
}

TAppDataCore::~TAppDataCore() {
    // The facade must not reach a core that is going away.
    if (AppDataCore == this) {
        AppDataCore = nullptr;
    }
    if (FSettingsLoaded) {
        try {
            SaveSettings();
        } catch (const EOrvelException& e) {
            Os().Debug.WriteDebugString(u"TAppDataCore: settings not saved: " + e.Message());
        } catch (const std::exception& e) {
            Os().Debug.WriteDebugString(u"TAppDataCore: settings not saved: " + base::Utf8ToUtf16(e.what()));
        }
    }
    RamLog.reset();
}

bool TAppDataCore::Initializing() {
    return InitializingFlag;
}

void TAppDataCore::EndInitialization() {
    InitializingFlag = false;
}

void TAppDataCore::ResetConstructionFlagForTests() {
    CoreConstructed = false;
}

const platform::TServices& TAppDataCore::Os() const {
    Assert(FOs.has_value(), u"TAppDataCore: a bare core has no system services.");
    return *FOs;
}

void TAppDataCore::SetHideHint(std::int32_t Value) {
    FHideHint = Value;
}

void TAppDataCore::SetHintType(THintType Value) {
    FHintType = Value;
}

void TAppDataCore::Minimize() {}

void TAppDataCore::LoadSettings() {
    TIniFileEx ini(SettingsSection, IniFile(), Os().Files);
    AutoStartUp = ini.Read(u"AutoStartUp", false);
    StartMinim = ini.Read(u"StartMinim", false);
    Minimize2Tray = ini.Read(u"Minimize2Tray", false);
    Opacity = ClampedOpacity(ini.Read(u"Opacity", std::int32_t{255}));
    FShowOnError = ini.Read(u"ShowOnError", true);
    // A hand-edited ordinal outside the enumeration counts as missing.
    const std::int32_t hintType = ini.Read(u"HintType", std::int32_t{htOff});
    SetHintType(hintType >= htOff && hintType <= htStatBar ? static_cast<THintType>(hintType) : htOff);
    SetHideHint(ini.Read(u"HideHint", std::int32_t{2500}));
    LastFile = ini.Read(u"LastFile", std::u16string());
    FLastFolder = ini.Read(u"LastFolder", std::u16string());
    UserPath = ini.Read(u"UserPath", AppDataFolder(false));
    if (RamLog) {
        RamLog->ShowOnError = FShowOnError;
    }
}

void TAppDataCore::SaveSettings() {
    TIniFileEx ini(SettingsSection, IniFile(), Os().Files);
    ini.Write(u"AutoStartUp", AutoStartUp);
    ini.Write(u"StartMinim", StartMinim);
    ini.Write(u"Minimize2Tray", Minimize2Tray);
    ini.Write(u"Opacity", Opacity);
    ini.Write(u"ShowOnError", FShowOnError);
    ini.Write(u"HintType", static_cast<std::int32_t>(FHintType));
    ini.Write(u"HideHint", FHideHint);
    ini.Write(u"LastFile", LastFile);
    ini.Write(u"LastFolder", FLastFolder);
    ini.Write(u"UserPath", UserPath);
}

void TAppDataCore::DefaultSettings() {
    SetHideHint(4000);
    AutoStartUp = false;
    StartMinim = false;
    Minimize2Tray = true;
    SetHintType(htTooltips);
    Opacity = 250;
    UserPath = AppDataFolder(false);
    SetShowLogOnError(true);
}

std::u16string TAppDataCore::GetLastUsedFolder() const {
    if (!FLastFolder.empty() && FolderExistsStrict(Os().Files, FLastFolder)) {
        return FLastFolder;
    }
    return DocumentsFolder(Os().Shell);
}

void TAppDataCore::SetShowLogOnError(bool Value) {
    FShowOnError = Value;
    if (RamLog) {
        RamLog->ShowOnError = Value;
    }
}

// --- identity and folders ---

void TAppDataCore::EstablishIdentity(const std::u16string& aAppName, const platform::TServices& Os) {
    // The name becomes a folder and a file name, so it is held to the file-name rules here rather
    // than failing later in AppDataFolder with the same message.
    Assert(IsFileName(aAppName), InvalidNameMessage(aAppName));
    Assert(!aAppName.empty(), u"AppName is empty!");
    TIdentity& identity = Identity();
    identity.AppName = aAppName;
    identity.Os.emplace(Os);
    const std::u16string appFolder = AppFolder();
    identity.Portable = !appFolder.empty() && Os.Files.FileExists(appFolder + PortableMarker);
}

void TAppDataCore::ClearIdentity() {
    TIdentity& identity = Identity();
    identity.AppName.clear();
    identity.Portable = false;
    identity.Os.reset();
}

const platform::TServices& TAppDataCore::Services() {
    const TIdentity& identity = Identity();
    Assert(identity.Os.has_value(),
           u"TAppDataCore has no system services! Ensure TAppDataCore.Create was called.");
    return *identity.Os;
}

void TAppDataCore::CheckNameIsFileName() {
    const std::u16string name = AppName();
    Assert(IsFileName(name), InvalidNameMessage(name));
}

std::u16string TAppDataCore::AppName() {
    const std::u16string& name = Identity().AppName;
    Assert(!name.empty(), u"AppName is empty! Ensure TAppDataCore.Create was called.");
    return name;
}

bool TAppDataCore::Portable() {
    return Identity().Portable;
}

std::u16string TAppDataCore::AppFolder() {
    return ExtractFolder(Services().Shell.ExecutablePath(), true);
}

std::u16string TAppDataCore::AppDataFolder(bool ForceDir) {
    CheckNameIsFileName();
    std::u16string folder;
    if (Portable()) {
        folder = AppFolder();
    } else {
        const std::u16string roaming = Services().Shell.RoamingAppDataFolder();
        // Without it the folder would be relative to whatever the current directory happens to be.
        if (roaming.empty()) {
            throw EOrvelException(u"The user's application data folder is unknown.");
        }
        folder = WithTrailingDelimiter(WithTrailingDelimiter(roaming) + AppName());
    }
    if (ForceDir) {
        ForceFolder(Services().Files, folder);
    }
    return folder;
}

std::u16string TAppDataCore::IniFile() {
    CheckNameIsFileName();
    return AppDataFolder(false) + AppName() + u".ini";
}

std::u16string TAppDataCore::AppSysDir() {
    return AppFolder() + u"System" + PathDelim;
}

bool TAppDataCore::RunningHome() {
    const platform::IFileSystem& files = Services().Files;
    return files.FileExists(ChangeFileExt(Services().Shell.ExecutablePath(), u".dpr")) ||
           files.FileExists(AppFolder() + u"RunningHome");
}

} // namespace orvel
