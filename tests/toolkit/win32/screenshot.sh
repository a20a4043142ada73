#!/usr/bin/env bash
# Photographs the toolkit's sample form: starts the showcase under wine in the background, waits
# until it says the form is painted, takes the X display with ImageMagick's import, checks the
# picture is not empty and tells the showcase to stop.
# Usage: screenshot.sh WINE_RUNNER SHOWCASE_EXE OUTPUT_PNG
set -euo pipefail
# shellcheck source=../../screenshot-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../screenshot-lib.sh"
shot_on_display "$0" "$@"

runner=$1
showcase=$2
output=$3

shot_begin
shot_start "$runner" "$showcase" "$(shot_windows_path "$SHOT_SHOWN")" "$(shot_windows_path "$SHOT_STOP")"
shot_wait_for "$SHOT_SHOWN" form
shot_screen "$output"
shot_check "$output"
