#pragma once
#include "platform/Platform.Clock.h"
#include "platform/Platform.DebugOutput.h"
#include "platform/Platform.DpiAwareness.h"
#include "platform/Platform.FileStreams.h"
#include "platform/Platform.FileSystem.h"
#include "platform/Platform.ForegroundWatch.h"
#include "platform/Platform.Hotkeys.h"
#include "platform/Platform.Input.h"
#include "platform/Platform.Integrity.h"
#include "platform/Platform.MainThread.h"
#include "platform/Platform.NamedMutex.h"
#include "platform/Platform.Registry.h"
#include "platform/Platform.ScreenReader.h"
#include "platform/Platform.Shell.h"
#include "platform/Platform.ShellOpen.h"
#include "platform/Platform.Sound.h"
#include "platform/Platform.TimeFormat.h"
#include "platform/Platform.VersionInfo.h"
#include "platform/Platform.WindowControl.h"
#include "platform/Platform.WindowFacts.h"

namespace platform {

// Every OS service the program uses, as one bundle of references. A backend (win32 or sim)
// owns the objects; the bundle only points at them.
struct TServices {
    IWindowFacts& Windows;
    IIntegrity& Integrity;
    IInput& Input;
    ISound& Sound;
    IShell& Shell;
    IFileSystem& Files;
    IDebugOutput& Debug;
    IClock& Clock;
    IFileStreams& FileStreams;
    IMainThread& MainThread;
    IRegistry& Registry;
    IWindowControl& WindowControl;
    IVersionInfo& Versions;
    IHotkeys& Hotkeys;
    ITimeFormat& TimeFormat;
    INamedMutexes& Mutexes;
    IShellOpen& ShellOpen;
    IDpiAwareness& Dpi;
    IScreenReader& Screens;
    IForegroundWatch& Foreground;
};

} // namespace platform
