#pragma once
// Whether the benchmark runs under wine, and which: where a figure misses its goal because of
// wine, the program says so beside the figure.
#include <windows.h>

namespace tarvin::bench {

// The wine version when this runs under wine (ntdll's own export), else null.
inline const char* WineVersion() {
    using TWineGetVersion = const char*(__cdecl*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const FARPROC get = ntdll == nullptr ? nullptr : GetProcAddress(ntdll, "wine_get_version");
    return get == nullptr ? nullptr : reinterpret_cast<TWineGetVersion>(reinterpret_cast<void*>(get))();
}

} // namespace tarvin::bench
