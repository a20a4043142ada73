#!/usr/bin/env bash
# Photographs one window of the application shell: starts the showcase under wine inside a Wine
# virtual desktop (which draws window frames and title bars, as bare Xvfb does not), waits until it
# reports the window painted with its rectangle, takes the virtual desktop with ImageMagick's import,
# crops the window out with a small margin, checks the picture is not empty and tells the showcase
# to stop.
# Usage: shell-screenshot.sh WINE_RUNNER SHOWCASE_EXE log|about|message OUTPUT_PNG
set -euo pipefail
# shellcheck source=../../../screenshot-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../../screenshot-lib.sh"
shot_on_display "$0" "$@"

runner=$1
showcase=$2
mode=$3
output=$4

desktop="TarvinShot$$"
shot_begin
shot_start "$runner" explorer "/desktop=$desktop,1100x800" "$(shot_windows_path "$showcase")" "$mode" \
    "$(shot_windows_path "$SHOT_SHOWN")" "$(shot_windows_path "$SHOT_STOP")"
shot_wait_for "$SHOT_SHOWN" window
shot_desktop_window "$desktop" "$SHOT_SHOWN" "$output"
shot_check "$output"
