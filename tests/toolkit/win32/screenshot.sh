#!/usr/bin/env bash
# Photographs the toolkit's sample form: starts the showcase under wine in the background, waits
# until it says the form is painted, takes the X display with ImageMagick's import, checks the
# picture is not empty and tells the showcase to stop.
# Usage: screenshot.sh WINE_RUNNER SHOWCASE_EXE OUTPUT_PNG
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

runner=$1
showcase=$2
output=$3

work=$(mktemp -d)
shown="$work/shown"
stop="$work/stop"
# The showcase runs under wine, which sees the Linux root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

"$runner" "$showcase" "$(windows_path "$shown")" "$(windows_path "$stop")" &
pid=$!
finish() {
    touch "$stop"
    wait "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

for _ in $(seq 1 1200); do
    [ -f "$shown" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "screenshot: the showcase ended before showing its form" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -f "$shown" ]; then
    echo "screenshot: the form did not appear within two minutes" >&2
    exit 1
fi

rm -f "$output"
import -window root "$output"
if [ ! -s "$output" ]; then
    echo "screenshot: $output is empty" >&2
    exit 1
fi
echo "screenshot: $output"
