#include "framework/core/OrvelCore.AppData.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IO.h"

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

// Characters Windows refuses in a file name; the name becomes a folder and a file name.
bool IsFileNameChar(char16_t c) {
    return c >= 32 && c != u'"' && c != u'*' && c != u'/' && c != u':' && c != u'<' && c != u'>' &&
           c != u'?' && c != u'\\' && c != u'|';
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

// --- logging facade ---

void TAppDataCore::ForwardToLog(TLogOp Op, const std::u16string& Msg) {
    if (AppDataCore == nullptr) {
        return;
    }
    // The core owns no log yet: there is nothing to hand the line to.
    static_cast<void>(Op);
    static_cast<void>(Msg);
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
