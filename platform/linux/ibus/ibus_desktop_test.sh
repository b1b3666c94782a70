#!/usr/bin/env bash
# ornavel-ibus on an X desktop, as a person uses it: a GTK 3 text view (GTK_IM_MODULE=ibus) on a
# virtual X server, Latin keys typed as X key events, a candidate picked with its digit, the text
# read back through the clipboard; the Ornavel panel appears just below the caret and never takes
# the focus, and closing the window (its input context destroyed) hides the panel.
#
#   ibus_desktop_test.sh SESSION_SCRIPT COMPONENT_DIR GTK_CLIENT [SCREENSHOT.png]
# With SCREENSHOT, the screen with the panel under the caret is saved there (the README's picture).
set -uo pipefail
session="$1" component_dir="$2" client="$3" screenshot="${4:-}"
for tool in Xvfb xdotool xclip; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
wait_for() {
  local tenths="$1"
  shift
  for _ in $(seq "$tenths"); do
    "$@" > /dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Outside: a display of our own, then the IBus session (whose daemon starts the engine on it).
if [ -z "${ORNAV_IBUS_SESSION:-}" ]; then
  for n in $(seq 150 200); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
  done
  Xvfb "$display" -screen 0 1280x600x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2> /dev/null' EXIT
  export DISPLAY="$display"
  wait_for 100 xdotool getdisplaygeometry || { echo "FAIL: the X server did not start"; exit 1; }
  ORNAV_IBUS_CANDIDATES=panel bash "$session" "$component_dir" run bash "$0" "$@"
  exit $?
fi

app_pid=""
trap '[ -n "$app_pid" ] && kill "$app_pid" 2> /dev/null' EXIT
fail() { echo "FAIL: $*"; cat "$ORNAV_IBUS_SESSION/client.log" 2> /dev/null; exit 1; }

GTK_IM_MODULE=ibus "$client" > "$ORNAV_IBUS_SESSION/client.log" 2>&1 &
app_pid=$!
wait_for 100 xdotool search --onlyvisible --name '^Ornavel GTK client$' || fail "no GTK window"
window="$(xdotool search --onlyvisible --name '^Ornavel GTK client$' | head -1)"
xdotool windowmove --sync "$window" 660 80
xdotool windowfocus --sync "$window" || fail "cannot focus the GTK window"
ibus engine ornavel || fail "the daemon cannot switch to ornavel"
eval "$(xdotool getwindowgeometry --shell "$window")"
win_x=$X win_y=$Y

xdotool type --delay 80 salam
wait_for 100 xdotool search --onlyvisible --name '^Ornavel candidates$' \
  || fail "no candidate panel after typing"
panel="$(xdotool search --onlyvisible --name '^Ornavel candidates$' | head -1)"
eval "$(xdotool getwindowgeometry --shell "$panel")"
# The caret is on the text view's first line: the panel hangs just below it.
[ "$Y" -gt "$((win_y + 12))" ] && [ "$Y" -lt "$((win_y + 90))" ] \
  || fail "the panel (y $Y) is not just below the caret (window at y $win_y)"
# Its rows run right to left from the caret at the text view's left edge.
[ "$((X + WIDTH))" -gt "$win_x" ] && [ "$((X + WIDTH))" -lt "$((win_x + 200))" ] \
  || fail "the panel (x $X to $((X + WIDTH))) does not end by the caret (window at x $win_x)"
[ "$(xdotool getwindowfocus)" = "$window" ] || fail "the panel took the keyboard focus"
if [ -n "$screenshot" ]; then
  sleep 0.3
  convert x:root -crop 1240x260+30+60 +repage "$screenshot" || fail "no screenshot"
fi

xdotool key 1
sleep 0.3
xdotool key ctrl+a ctrl+c
wait_for 30 xclip -o -selection clipboard || fail "nothing was copied"
text="$(xclip -o -selection clipboard; echo x)"
text="${text%x}"
[ "$text" = "سالام " ] || fail "the text view holds '$text', not 'سالام '"

# Composing again, then the window closes: the context goes, and the panel with it.
xdotool type --delay 80 ki
wait_for 50 xdotool search --onlyvisible --name '^Ornavel candidates$' || fail "no panel for ki"
kill "$app_pid"
wait "$app_pid" 2> /dev/null
app_pid=""
wait_for 50 bash -c '! xdotool search --onlyvisible --name "^Ornavel candidates$"' \
  || fail "the panel stayed after its context was destroyed"
echo "PASS: typed salam into a GTK text view, picked سالام with 1; the panel stood below the caret without the focus and left with the context"
