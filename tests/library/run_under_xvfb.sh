#!/bin/sh
# Runs a command on a throw-away X server: Xvfb picks a free display number
# itself (-displayfd), the command gets it as DISPLAY, and the server is
# stopped when the command ends, whatever its outcome.
#   run_under_xvfb.sh COMMAND [ARG...]
set -u

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-xvfb.XXXXXX") || exit 1
fifo="$work/display"
mkfifo "$fifo" || exit 1

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>"$work/xvfb.log" &
xvfb=$!

stop() {
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb writes the display number once it accepts connections; if it dies
# first, the fifo closes with nothing written.
read -r display <"$fifo"
if [ -z "${display:-}" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
