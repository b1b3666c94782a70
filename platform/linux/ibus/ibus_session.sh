#!/usr/bin/env bash
# A private IBus session for ornavel-ibus: its own D-Bus session bus, its own ibus-daemon (no
# panel, no XIM, no config or emoji programs) reading the component folder given, and a scratch
# home in which Ornavel's user has seen the welcome window and keeps the online features off.
#
#   ibus_session.sh COMPONENT_DIR test CLIENT     the engine's tests (client, faults)
#   ibus_session.sh COMPONENT_DIR client CLIENT   the client test alone
#   ibus_session.sh COMPONENT_DIR run COMMAND...  any command in such a session
# Exits 77 where the IBus packages are missing.
set -uo pipefail
component_dir="$1"
mode="$2"
shift 2
for tool in ibus-daemon dbus-run-session ibus; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

if [ -z "${ORNAV_IBUS_SESSION:-}" ]; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  export ORNAV_IBUS_SESSION="$work"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
  export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/Ornavel" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  # The desktop's lookup table unless the caller asks for Ornavel's panel (ORNAV_IBUS_CANDIDATES).
  cat > "$XDG_CONFIG_HOME/Ornavel/settings.json" << JSON
{"Ornavel.welcomeShown": {"bool": true}, "Ornavel.onlineDictEnabled": {"bool": false},
 "Ornavel.uploadConsent": {"bool": false},
 "Ornavel.ibusCandidates": {"string": "${ORNAV_IBUS_CANDIDATES:-lookup-table}"}}
JSON
  # The engine draws its windows off screen unless the caller gives it a display (then an X one).
  if [ -z "${DISPLAY:-}" ]; then export QT_QPA_PLATFORM=offscreen; else export QT_QPA_PLATFORM=xcb; fi
  export IBUS_COMPONENT_PATH="$component_dir" GSETTINGS_BACKEND=memory
  unset IBUS_ADDRESS WAYLAND_DISPLAY
  dbus-run-session -- bash "$0" "$component_dir" "$mode" "$@"
  exit $?
fi

daemon_pid=""
start_daemon() {
  ibus-daemon --panel=disable --emoji-extension=disable --config=disable --replace --single \
    --cache=none > "$ORNAV_IBUS_SESSION/daemon.log" 2>&1 &
  daemon_pid=$!
  for _ in $(seq 100); do
    IBUS_ADDRESS="$(ibus address 2> /dev/null)" && [ -n "$IBUS_ADDRESS" ] \
      && [ "$IBUS_ADDRESS" != "(null)" ] && export IBUS_ADDRESS && return 0
    sleep 0.05
  done
  echo "FAIL: ibus-daemon did not start"; cat "$ORNAV_IBUS_SESSION/daemon.log"; exit 1
}
stop_daemon() {
  [ -n "$daemon_pid" ] && kill "$daemon_pid" 2> /dev/null && wait "$daemon_pid" 2> /dev/null
  daemon_pid=""
}
trap stop_daemon EXIT
engine_pid() { pgrep -P "$daemon_pid" -x ornavel-ibus | head -1; }
fail() { echo "FAIL: $*"; exit 1; }

start_daemon
if [ "$mode" = run ]; then
  "$@"
  exit $?
fi

client="$1"
"$client" || fail "the client test"
[ "$mode" = client ] && exit 0

# The engine killed in the middle of its work keeps every pick it acknowledged.
engine="$(engine_pid)"
[ -n "$engine" ] || fail "no engine process"
kill -KILL "$engine"
for _ in $(seq 100); do kill -0 "$engine" 2> /dev/null || break; sleep 0.05; done
grep -q "^سالام	" "$XDG_DATA_HOME/Ornavel/user_freq.tsv" || fail "the pick of سالام was lost"

# The daemon going away under a running engine ends it cleanly: no spinning, no crash.
"$client" pick || fail "the engine did not come back"
engine="$(engine_pid)"
stop_daemon
for _ in $(seq 100); do kill -0 "$engine" 2> /dev/null || break; sleep 0.05; done
kill -0 "$engine" 2> /dev/null && fail "the engine outlived its daemon"
[ -e "$XDG_DATA_HOME/Ornavel/fatal_signal.txt" ] && fail "the engine crashed when its daemon left"
echo "PASS: ornavel-ibus under ibus-daemon: client scenarios, a killed engine, a vanished daemon"
