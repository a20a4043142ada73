#pragma once
// The application data core: the application's identity and folders, and the logging facade that
// every unit writes through without holding the core.
#include "platform/Platform.Services.h"

#include <string>

namespace orvel {

class TAppDataCore {
public:
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

private:
    enum class TLogOp { Verb, Hint, Info, Msg, Bold, Impo, Warn, Error, EmptyRow, Clear };
    // The single road from the facade to the core's log.
    static void ForwardToLog(TLogOp Op, const std::u16string& Msg);

    static const platform::TServices& Services();
    static void CheckNameIsFileName();
};

// The one application data core of the process; nullptr until the application object exists and
// again after it is freed. The logging facade reads it.
extern TAppDataCore* AppDataCore;

} // namespace orvel
