#!/usr/bin/env bash
# The Linux program end to end, as a person uses it: Ornavel runs on a virtual X server, Latin keys
# are typed into the pad as X key events, a candidate is picked with its digit, and the pad's text
# is read back through the clipboard. Also checked: the welcome window of a first start opens
# beside the pad without taking the keyboard, the candidate panel appears next to the caret while
# the pad keeps the keyboard focus, punctuation after a pick leaves no prediction behind to catch
# the next Space, and closing the pad ends the program with the pick saved.
#
#   desktop_test.sh PATH/TO/Ornavel
set -uo pipefail
program="$1"
for tool in Xvfb xdotool xclip; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  echo "--- Ornavel's standard error:"
  cat "$work/stderr" 2> /dev/null
  exit 1
}
# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths="$1"
  shift
  for _ in $(seq "$tenths"); do
    "$@" > /dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# A display of our own.
for n in $(seq 90 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
wait_for 100 xdotool getdisplaygeometry || fail "the X server did not start"

# A first start with the online dictionary off: nothing waits on a network here.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -p "$XDG_CONFIG_HOME/Ornavel"
cat > "$XDG_CONFIG_HOME/Ornavel/settings.json" << 'JSON'
{"Ornavel.onlineDictEnabled": {"bool": false}}
JSON

QT_QPA_PLATFORM=xcb "$program" > "$work/stdout" 2> "$work/stderr" &
app_pid=$!
wait_for 200 xdotool search --onlyvisible --name '^Ornavel$' || fail "the pad did not appear"
pad="$(xdotool search --onlyvisible --name '^Ornavel$' | head -1)"
xdotool windowfocus --sync "$pad" || fail "cannot give the pad the keyboard focus"
eval "$(xdotool getwindowgeometry --shell "$pad")"
pad_x=$X pad_y=$Y pad_width=$WIDTH pad_height=$HEIGHT

# The welcome window of a first start stands beside the pad and leaves the keyboard in it.
wait_for 50 xdotool search --onlyvisible --name '^欢迎使用$' || fail "no welcome window on a first start"
welcome="$(xdotool search --onlyvisible --name '^欢迎使用$' | head -1)"
eval "$(xdotool getwindowgeometry --shell "$welcome")"
[ "$X" -ge $((pad_x + pad_width)) ] || [ $((X + WIDTH)) -le "$pad_x" ] \
  || [ "$Y" -ge $((pad_y + pad_height)) ] || [ $((Y + HEIGHT)) -le "$pad_y" ] \
  || fail "the welcome window ($X,$Y ${WIDTH}x$HEIGHT) covers the pad ($pad_x,$pad_y)"
[ "$(xdotool getwindowfocus)" = "$pad" ] || fail "the welcome window took the keyboard focus"

xdotool type --delay 60 salam
wait_for 50 xdotool search --onlyvisible --name '^Ornavel candidates$' \
  || fail "no candidate panel after typing"
panel="$(xdotool search --onlyvisible --name '^Ornavel candidates$' | head -1)"
eval "$(xdotool getwindowgeometry --shell "$panel")"
# The first text area's first line is the caret's line: the panel hangs just below it.
[ "$Y" -gt "$pad_y" ] && [ "$Y" -lt $((pad_y + 200)) ] \
  || fail "the panel (y $Y) is not next to the caret (pad at y $pad_y)"
[ "$X" -ge "$pad_x" ] && [ "$X" -lt $((pad_x + pad_width)) ] \
  || fail "the panel (x $X) is not over the pad (x $pad_x, width $pad_width)"
[ "$(xdotool getwindowfocus)" = "$pad" ] || fail "the panel took the keyboard focus"

xdotool key 1
sleep 0.3
xdotool key ctrl+a ctrl+c
wait_for 30 xclip -o -selection clipboard || fail "nothing was copied"
text="$(xclip -o -selection clipboard; echo x)"
text="${text%x}"
[ "$text" = "سالام " ] || fail "the pad holds '$text', not 'سالام '"

# A full stop after a pick ends the sentence: the next Space is a space, not a predicted word.
xdotool key End
xdotool type --delay 60 kitab
xdotool key space period space
sleep 0.3
xdotool key ctrl+a ctrl+c
sleep 0.2
text="$(xclip -o -selection clipboard; echo x)"
text="${text%x}"
[ "$text" = "سالام كىتاب . " ] || fail "the pad holds '$text', not 'سالام كىتاب . '"

# Closing the pad ends the program cleanly, the pick saved.
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$app_pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2> /dev/null && fail "the program did not end when the pad closed"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
grep -q "^سالام	1$" "$XDG_DATA_HOME/Ornavel/user_freq.tsv" || fail "the pick was not saved"
echo "PASS: typed salam, picked سالام with 1, then kitab, Space, '.', Space; read both back; the welcome window and the panel stood aside without the focus"
