#!/usr/bin/env bash
# ornavel-ibus as a person uses it: a GTK 3 text view (GTK_IM_MODULE=ibus) on Xvfb typed with
# xdotool, a pick with its digit, the text read back through the clipboard; the panel just below
# the caret without the focus, gone when the window (its context) goes. SCREENSHOT: the README's.
#   ibus_desktop_test.sh SESSION_SCRIPT COMPONENT_DIR GTK_CLIENT [SCREENSHOT.png]
set -uo pipefail
session="$1" component_dir="$2" client="$3" screenshot="${4:-}"
for tool in Xvfb xdotool xclip; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
wait_for() { # tenths of a second, command
  for _ in $(seq "$1"); do "${@:2}" > /dev/null 2>&1 && return 0 || sleep 0.1; done; return 1
}
fail() {
  echo "FAIL: $*"
  for log in "${XDG_DATA_HOME:-/nonexistent}"/Ornavel/logs/*.log; do
    [ -e "$log" ] && echo "--- $log:" && tail -n 40 "$log"
  done
  exit 1
}
panel_shown() { xdotool search --onlyvisible --name '^Ornavel candidates$'; }

# A display of our own, then the IBus session (its daemon starts the engine on it).
if [ -z "${ORNAV_IBUS_SESSION:-}" ]; then
  for n in $(seq 150 200); do [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }; done
  Xvfb "$display" -screen 0 1280x600x24 -nolisten tcp > /dev/null 2>&1 &
  trap "kill $! 2> /dev/null" EXIT
  export DISPLAY="$display"
  wait_for 100 xdotool getdisplaygeometry || fail "the X server did not start"
  ORNAV_IBUS_CANDIDATES=panel bash "$session" "$component_dir" run bash "$0" "$@"
  exit $?
fi

GTK_IM_MODULE=ibus "$client" > /dev/null 2>&1 &
app_pid=$!
trap 'kill "$app_pid" 2> /dev/null' EXIT
wait_for 100 xdotool search --onlyvisible --name '^Ornavel GTK client$' || fail "no GTK window"
window="$(xdotool search --onlyvisible --name '^Ornavel GTK client$' | head -1)"
xdotool windowmove --sync "$window" 660 80 windowfocus --sync "$window"
ibus engine ornavel || fail "the daemon cannot switch to ornavel"
eval "$(xdotool getwindowgeometry --shell "$window")"
win_x=$X win_y=$Y
# Until GTK has connected its input context (in the background), a letter lands and is taken back.
for _ in $(seq 20); do
  xdotool type s && wait_for 10 panel_shown && break
  xdotool key BackSpace
done
xdotool type --delay 80 alam
wait_for 100 panel_shown || fail "no candidate panel after typing"
eval "$(xdotool getwindowgeometry --shell "$(panel_shown | head -1)")"
[ "$Y" -gt "$((win_y + 12))" ] && [ "$Y" -lt "$((win_y + 90))" ] \
  && [ "$((X + WIDTH))" -ge "$((win_x - 10))" ] && [ "$((X + WIDTH))" -lt "$((win_x + 200))" ] \
  || fail "the panel ($X,$Y width $WIDTH) is not under the caret (window at $win_x,$win_y)"
[ "$(xdotool getwindowfocus)" = "$window" ] || fail "the panel took the keyboard focus"
[ -z "$screenshot" ] || { sleep 0.3; import -window root -crop 1240x260+30+60 +repage "$screenshot"; }
xdotool key 1 && sleep 0.3 && xdotool key ctrl+a ctrl+c
wait_for 30 xclip -o -selection clipboard || fail "nothing was copied"
text="$(xclip -o -selection clipboard; echo x)"
[ "${text%x}" = "سالام " ] || fail "the text view holds '${text%x}', not 'سالام '"
xdotool type --delay 80 ki
wait_for 50 panel_shown || fail "no panel for ki"
kill "$app_pid" && wait "$app_pid" 2> /dev/null
wait_for 50 bash -c '! xdotool search --onlyvisible --name "^Ornavel candidates$"' \
  || fail "the panel stayed after its context was destroyed"
echo "PASS: salam into a GTK text view, سالام picked with 1; the panel under the caret, unfocused, gone with the context"
