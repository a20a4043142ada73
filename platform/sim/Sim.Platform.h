#pragma once
// The simulated desktop and file system behind one TServices bundle.
#include "platform/Platform.Services.h"
#include "platform/sim/Sim.Desktop.h"
#include "platform/sim/Sim.DpiAwareness.h"
#include "platform/sim/Sim.FileStreams.h"
#include "platform/sim/Sim.FileSystem.h"
#include "platform/sim/Sim.Hotkeys.h"
#include "platform/sim/Sim.MainThread.h"
#include "platform/sim/Sim.NamedMutexes.h"
#include "platform/sim/Sim.Registry.h"
#include "platform/sim/Sim.TimeFormat.h"
#include "platform/sim/Sim.ShellOpen.h"
#include "platform/sim/Sim.VersionInfo.h"
#include "platform/sim/Sim.WindowControl.h"

namespace platform::sim {

class TSimPlatform {
public:
    TSimDesktop Desktop;
    TSimFileSystem Files;
    TSimFileStreams FileStreams{Files};
    TSimMainThread MainThread; // the constructing thread is the main thread
    TSimRegistry Registry;
    TSimWindowControl WindowControl{Desktop};
    TSimVersionInfo Versions;
    TSimHotkeys Hotkeys;
    TSimTimeFormat TimeFormat;
    TSimNamedMutexes Mutexes;
    TSimShellOpen ShellOpen;
    TSimDpiAwareness Dpi;

    TServices Services() {
        return TServices{Desktop,  Desktop,       Desktop,  Desktop,     Files,      Files,
                         Desktop,  Desktop,       FileStreams, MainThread, Registry, WindowControl,
                         Versions, Hotkeys,       TimeFormat, Mutexes,   ShellOpen, Dpi, Desktop, Desktop};
    }
};

} // namespace platform::sim
