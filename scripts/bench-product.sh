#!/usr/bin/env bash
# `make bench-product`: the shipped program's own figures under wine, each beside its goal or a
# baseline from the same run, with "met" or "NOT met":
#   1. the burst, with sight and blind, press -> draft back (tarvin_bench_burst, BURST_ROUNDS each)
#   2. one screen read (tarvin_bench_screen, SCREEN_READS reads after the first)
#   3. the grip's latency, foreground change -> hotkeys registered (tarvin_bench_grip, GRIP_SWITCHES)
#   4. and 6. Tarvin idle beside a bare 200 ms poller and a bare window without timer: CPU and
#      private memory (tarvin_bench_idle, IDLE_SECONDS)
#   5. Tarvin.exe's size, stripped, and its imports: only Windows' own DLLs, or this step fails
#   7. a soak: SOAK_BURSTS bursts, then SOAK_WINDOWS times the main and the log window opened and
#      closed; handles, GDI and USER objects, private memory at start and end (tarvin_bench_soak)
# A goal missed is printed as "NOT met" and does not fail the run; an incomplete burst, a failed
# step or a figure that could not be taken does.
# Usage: scripts/bench-product.sh BUILD_DIR   (the windows preset's build, with the bench targets)
set -euo pipefail

build=$(cd "$1" && pwd)
runner=$build/wine-run.sh
tarvin=$build/app/Tarvin.exe
BURST_ROUNDS=${BURST_ROUNDS:-7}
SCREEN_READS=${SCREEN_READS:-200}
GRIP_SWITCHES=${GRIP_SWITCHES:-20}
IDLE_SECONDS=${IDLE_SECONDS:-60}
SOAK_BURSTS=${SOAK_BURSTS:-1000}
SOAK_WINDOWS=${SOAK_WINDOWS:-100}
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
STRIP=${STRIP:-x86_64-w64-mingw32-strip}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
load() { echo "  load average: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) CPUs)"; }

echo "== machine: $(date -u '+%Y-%m-%d %H:%M UTC'); $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1);" \
     "$(nproc) CPUs; $(free -g | awk '/^Mem:/ { print $2 " GiB RAM" }'); $(wine --version 2>/dev/null || echo 'wine ?')"
load

status=0
# Runs one bench program under wine; its failure fails the run after every other step ran.
run() {
    local program=$1
    shift
    "$runner" "$(windows_path "$build/bench/win32/$program.exe")" "$@" | tr -d '\r' || status=1
}

echo "== 5. Tarvin.exe: size and imports"
stripped=$(mktemp --suffix=.exe)
trap 'rm -f "$stripped"' EXIT
"$STRIP" -o "$stripped" "$tarvin"
built_size=$(stat -c %s "$tarvin")
stripped_size=$(stat -c %s "$stripped")
limit=1000000
printf '  as built %d bytes; stripped %d bytes\n' "$built_size" "$stripped_size"
echo "  goal stripped <= $limit bytes: $([ "$stripped_size" -le "$limit" ] && echo met || echo 'NOT met')" \
     "($stripped_size bytes, $((limit - stripped_size)) to spare)"
# Windows' own DLLs: the system's API sets and the libraries of its System32 folder a static MinGW
# program may call. Anything else (libstdc++-6, libgcc_s, libwinpthread, a vendor DLL) fails.
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|uxtheme|version|psapi|msvcrt|ucrtbase|ntdll|winmm|dwmapi|imm32|crypt32|bcrypt|ws2_32|dbghelp|secur32|userenv|msimg32|gdiplus|windowscodecs|propsys|oleacc|mpr|netapi32|wininet|winhttp|setupapi|wtsapi32|powrprof|iphlpapi|hid|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$("$OBJDUMP" -p "$tarvin" | sed -n 's/^[[:space:]]*DLL Name: //p')
foreign=0
for dll in $imports; do
    if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls"; then
        echo "  import $dll"
    else
        echo "  import $dll   NOT A WINDOWS SYSTEM DLL"
        foreign=1
    fi
done
if [ "$foreign" -ne 0 ]; then
    echo "bench-product: Tarvin.exe imports a DLL Windows does not bring" >&2
    exit 1
fi
echo "  imports: Windows' own DLLs only"

echo "== 1. the burst, sighted and blind (wine)"
load
run tarvin_bench_burst "$BURST_ROUNDS"

echo "== 2. one screen read (wine)"
load
run tarvin_bench_screen "$SCREEN_READS"

echo "== 3. the grip's latency (wine)"
load
run tarvin_bench_grip "$GRIP_SWITCHES"

echo "== 4. and 6. idle CPU and private memory (wine)"
load
run tarvin_bench_idle "$IDLE_SECONDS"

echo "== 7. soak (wine)"
load
run tarvin_bench_soak "$SOAK_BURSTS" "$SOAK_WINDOWS"
load

exit "$status"
