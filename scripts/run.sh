#!/usr/bin/env bash
# `make run`: Tarvin.exe under wine, portable in build/windows/run (settings kept between runs).
# With a display: Tarvin and a termsim window (a stand-in Claude Code terminal whose screen Tarvin
# reads) with a half-typed prompt, to try the hotkeys by hand.
# Without one: the scripted demonstration on Xvfb inside a Wine virtual desktop (which draws window
# frames as Windows does); it prints termsim's prompt and effort before and after Ctrl+Alt+3, a press
# refused on an open permission dialog, and
# Tarvin's log box, saves pictures of the main window and the tray menu in build/windows, and exits 0
# only when the level changed and the prompt came back exactly.
# Usage: scripts/run.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
runner=$build/wine-run.sh
tarvin=$build/app/Tarvin.exe
termsim=$build/tools/termsim/termsim.exe
demo=$build/tests/app/win32/tarvin_demo.exe
# wine sees the Linux root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

if [ -n "${DISPLAY:-}" ] && [ "${TARVIN_RUN_DEMO:-}" != 1 ]; then
    home="$build/run"
    mkdir -p "$home"
    cp "$tarvin" "$home/Tarvin.exe"
    touch "$home/portable.marker"
    "$runner" "$(windows_path "$home/Tarvin.exe")" &
    echo "Tarvin runs in the notification area (settings: $home/Tarvin.ini)."
    echo "Click into the termsim window and press Ctrl+Alt+1 .. Ctrl+Alt+5. Close termsim when done;"
    echo "then end Tarvin with Exit in its tray menu or by closing its window."
    "$runner" "$(windows_path "$termsim")" --console --record "$(windows_path "$home/termsim.record")" \
        --prompt "half-typed prompt" --cursor 0,4 || true
    wait
    exit 0
fi

if [ -z "${DISPLAY:-}" ]; then
    TARVIN_RUN_DEMO=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

desktop="TarvinDemo$$"
work=$(mktemp -d)
"$runner" explorer "/desktop=$desktop,1024x768" "$(windows_path "$demo")" "$(windows_path "$work")" &
pid=$!
trap 'touch "$work/main-window.done" "$work/tray-menu.done"; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# One picture: waits until the demo holds the window up, crops it out of the virtual desktop.
picture() {
    local name=$1 output=$build/$1.png
    for _ in $(seq 1 900); do
        [ -s "$work/$name.rect" ] && break
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    [ -s "$work/$name.rect" ] || return 0
    read -r left top width height < <(tr -d '\r' < "$work/$name.rect")
    local margin=8
    local x=$((left > margin ? left - margin : 0)) y=$((top > margin ? top - margin : 0))
    if import -window "$desktop - Wine desktop" "$work/desktop.png" 2>/dev/null ||
        import -window "Wine desktop" "$work/desktop.png" 2>/dev/null; then
        convert "$work/desktop.png" -crop "$((width + 2 * margin))x$((height + 2 * margin))+$x+$y" +repage "$output"
        echo "picture: $output"
    fi
    touch "$work/$name.done"
}
picture main-window
picture tray-menu

# The demo's last line says how it went; the desktop itself may outlive it.
for _ in $(seq 1 900); do
    grep -q -E '^(PASSED|FAILED)' "$work/report.txt" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
# The demo printed its report to this console as it went; the file is the verdict.
[ -f "$work/report.txt" ] || echo "run: the demonstration wrote no report" >&2
grep -q '^PASSED' "$work/report.txt" 2>/dev/null
