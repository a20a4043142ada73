# shellcheck shell=bash
# What the screenshot scripts share, sourced by them (tests/toolkit/win32/screenshot.sh,
# tests/framework/ui/win32/shell-screenshot.sh) and open to any other script that photographs a
# program under wine. Needs bash, Xvfb's xvfb-run and ImageMagick (import, convert); nothing of the
# build. A photographed program tells that its window is up by writing a marker file (for a window in
# a Wine virtual desktop: its rectangle "left top width height"), and ends when a stop file appears.
#
#   shot_on_display "$0" "$@"            run again under a fresh Xvfb when there is no display
#   shot_windows_path PATH               PATH as wine sees it (drive Z:)
#   shot_begin                           a scratch folder SHOT_WORK, removed at exit, with the names
#                                        of the two marker files in it: SHOT_SHOWN and SHOT_STOP
#   shot_start COMMAND...                start COMMAND in the background; at exit SHOT_STOP is made
#                                        and the program waited for (SHOT_PID holds its id)
#   shot_wait_for FILE WHAT              wait until FILE holds something; fails, naming WHAT, when the
#                                        program ends first or after SHOT_TIMEOUT_S seconds (120)
#   shot_screen OUTPUT                   the whole X display
#   shot_desktop_window DESKTOP RECT_FILE OUTPUT
#                                        the window at RECT_FILE's rectangle, cropped with a margin of
#                                        SHOT_MARGIN pixels (8) out of the Wine virtual desktop DESKTOP
#   shot_check OUTPUT                    fail unless OUTPUT holds a picture; name it

shot_on_display() {
    if [ -z "${DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
    fi
}

shot_windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}

shot_begin() {
    SHOT_WORK=$(mktemp -d)
    # shellcheck disable=SC2034 # for the scripts that source this file
    SHOT_SHOWN=$SHOT_WORK/shown
    SHOT_STOP=$SHOT_WORK/stop
    SHOT_PID=
    trap shot_finish EXIT
}

shot_start() {
    "$@" &
    SHOT_PID=$!
}

shot_finish() {
    touch "$SHOT_STOP"
    if [ -n "$SHOT_PID" ]; then
        wait "$SHOT_PID" 2>/dev/null || true
    fi
    rm -rf "$SHOT_WORK"
}

shot_wait_for() {
    local file=$1 what=$2 deadline=$((SECONDS + ${SHOT_TIMEOUT_S:-120}))
    while [ ! -s "$file" ]; do
        if ! kill -0 "$SHOT_PID" 2>/dev/null; then
            echo "screenshot: the program ended before showing its $what" >&2
            return 1
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "screenshot: the $what did not appear within ${SHOT_TIMEOUT_S:-120} seconds" >&2
            return 1
        fi
        sleep 0.1
    done
}

shot_screen() {
    rm -f "$1"
    import -window root "$1"
}

shot_desktop_window() {
    local desktop=$1 rect=$2 output=$3 margin=${SHOT_MARGIN:-8} left top width height
    read -r left top width height < <(tr -d '\r' < "$rect")
    # The desktop is an X window of its own; the rectangle is in its coordinates.
    local x=$((left > margin ? left - margin : 0)) y=$((top > margin ? top - margin : 0))
    local whole
    whole=$(mktemp --suffix=.png)
    rm -f "$output"
    if import -window "$desktop - Wine desktop" "$whole" 2>/dev/null ||
        import -window "Wine desktop" "$whole"; then
        convert "$whole" -crop "$((width + 2 * margin))x$((height + 2 * margin))+$x+$y" +repage "$output"
    fi
    rm -f "$whole"
}

shot_check() {
    if [ ! -s "$1" ]; then
        echo "screenshot: $1 is empty" >&2
        return 1
    fi
    echo "screenshot: $1"
}
