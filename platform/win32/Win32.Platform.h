#pragma once
// The real Windows services behind one TServices bundle.
#include "platform/Platform.Services.h"
#include "platform/win32/Win32.Clock.h"
#include "platform/win32/Win32.DebugOutput.h"
#include "platform/win32/Win32.DpiAwareness.h"
#include "platform/win32/Win32.FileStreams.h"
#include "platform/win32/Win32.FileSystem.h"
#include "platform/win32/Win32.ForegroundWatch.h"
#include "platform/win32/Win32.Hotkeys.h"
#include "platform/win32/Win32.Input.h"
#include "platform/win32/Win32.Integrity.h"
#include "platform/win32/Win32.MainThread.h"
#include "platform/win32/Win32.NamedMutexes.h"
#include "platform/win32/Win32.Registry.h"
#include "platform/win32/Win32.ScreenReader.h"
#include "platform/win32/Win32.Shell.h"
#include "platform/win32/Win32.ShellOpen.h"
#include "platform/win32/Win32.Sound.h"
#include "platform/win32/Win32.TimeFormat.h"
#include "platform/win32/Win32.VersionInfo.h"
#include "platform/win32/Win32.WindowControl.h"
#include "platform/win32/Win32.WindowFacts.h"

namespace platform::win32 {

class TWin32Platform {
public:
    TWin32WindowFacts Windows;
    TWin32Integrity Integrity;
    TWin32Input Input;
    TWin32Sound Sound;
    TWin32Shell Shell;
    TWin32FileSystem Files;
    TWin32DebugOutput Debug;
    TWin32Clock Clock;
    TWin32FileStreams FileStreams;
    TWin32MainThread MainThread; // construct the platform on the user-interface thread
    TWin32Registry Registry;
    TWin32WindowControl WindowControl;
    TWin32VersionInfo Versions;
    TWin32Hotkeys Hotkeys;
    TWin32TimeFormat TimeFormat;
    TWin32NamedMutexes Mutexes;
    TWin32ShellOpen ShellOpen;
    TWin32DpiAwareness Dpi;
    TWin32ScreenReader Screens;
    TWin32ForegroundWatch Foreground;

    TServices Services() {
        return TServices{Windows,  Integrity, Input,       Sound,      Shell,    Files,
                         Debug,    Clock,     FileStreams, MainThread, Registry, WindowControl,
                         Versions, Hotkeys,   TimeFormat,  Mutexes,    ShellOpen, Dpi, Screens, Foreground};
    }
};

} // namespace platform::win32
