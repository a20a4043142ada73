// termsim: a window that stands in for a Claude Code terminal (or, with --shell, a plain one). It
// takes the keys it receives as the CLI would, draws the CLI's screen, and writes every key and
// what it led to into its record file. Options in Termsim.Options.h.
#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Text.h"
#include "tools/termsim/Termsim.Options.h"
#include "tools/termsim/Termsim.Window.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::vector<std::u16string> CommandLineArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const platform::win32::TLocalMemory owner(argv);
    std::vector<std::u16string> args;
    for (int i = 1; argv != nullptr && i < count; ++i) {
        args.push_back(platform::win32::FromWide(argv[i]));
    }
    return args;
}

} // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR, int) {
    const termsim::TOptionsResult parsed = termsim::ParseOptions(CommandLineArguments());
    if (!parsed.Options) {
        OutputDebugStringW(platform::win32::AsWide(u"termsim: " + parsed.Error));
        return 2;
    }
    termsim::TTerminalWindow window(*parsed.Options);
    return window.Run(Instance);
}
