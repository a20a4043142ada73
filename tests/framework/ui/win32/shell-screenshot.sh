#!/usr/bin/env bash
# Photographs one window of the application shell: starts the showcase under wine inside a Wine
# virtual desktop (which draws window frames and title bars, as bare Xvfb does not), waits until it
# reports the window painted with its rectangle, takes the virtual desktop with ImageMagick's import,
# crops the window out with a small margin, checks the picture is not empty and tells the showcase
# to stop.
# Usage: shell-screenshot.sh WINE_RUNNER SHOWCASE_EXE log|about|message OUTPUT_PNG
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

runner=$1
showcase=$2
mode=$3
output=$4

desktop="TarvinShot$$"
work=$(mktemp -d)
shown="$work/shown"
stop="$work/stop"
# The showcase runs under wine, which sees the Linux root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

"$runner" explorer "/desktop=$desktop,1100x800" "$(windows_path "$showcase")" "$mode" \
    "$(windows_path "$shown")" "$(windows_path "$stop")" &
pid=$!
finish() {
    touch "$stop"
    wait "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

for _ in $(seq 1 1200); do
    [ -s "$shown" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "screenshot: the showcase ended before showing its window" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -s "$shown" ]; then
    echo "screenshot: the window did not appear within two minutes" >&2
    exit 1
fi
read -r left top width height < <(tr -d '\r' < "$shown")

# The desktop is its own X window; the window's rectangle is in its coordinates.
margin=8
x=$((left > margin ? left - margin : 0))
y=$((top > margin ? top - margin : 0))
rm -f "$output"
import -window "$desktop - Wine desktop" "$work/desktop.png" 2>/dev/null ||
    import -window "Wine desktop" "$work/desktop.png"
convert "$work/desktop.png" -crop "$((width + 2 * margin))x$((height + 2 * margin))+$x+$y" +repage "$output"
if [ ! -s "$output" ]; then
    echo "screenshot: $output is empty" >&2
    exit 1
fi
echo "screenshot: $output"
