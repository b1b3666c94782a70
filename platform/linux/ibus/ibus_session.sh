#!/usr/bin/env bash
# A private IBus session for ornavel-ibus: its own D-Bus session, its own ibus-daemon (no panel,
# XIM, config or emoji programs) reading COMPONENT_DIR, and a scratch home whose user has seen the
# welcome window and keeps the online features off. Exits 77 where IBus is not installed.
#   ibus_session.sh COMPONENT_DIR test CLIENT     the client test, then the fault tests
#   ibus_session.sh COMPONENT_DIR client CLIENT   the client test alone
#   ibus_session.sh COMPONENT_DIR run COMMAND...  any command in such a session
set -uo pipefail
component_dir="$1" mode="$2"
shift 2
for tool in ibus-daemon dbus-run-session ibus; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if [ -z "${ORNAV_IBUS_SESSION:-}" ]; then
  export ORNAV_IBUS_SESSION="$(mktemp -d)"
  trap 'rm -rf "$ORNAV_IBUS_SESSION"' EXIT
  export HOME="$ORNAV_IBUS_SESSION/home" XDG_CONFIG_HOME="$ORNAV_IBUS_SESSION/config"
  export XDG_DATA_HOME="$ORNAV_IBUS_SESSION/data" XDG_CACHE_HOME="$ORNAV_IBUS_SESSION/cache"
  export XDG_RUNTIME_DIR="$ORNAV_IBUS_SESSION/runtime" IBUS_COMPONENT_PATH="$component_dir"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/Ornavel" && mkdir -m 700 "$XDG_RUNTIME_DIR"
  # IBus's lookup table unless the caller asks for Ornavel's panel (ORNAV_IBUS_CANDIDATES=panel).
  cat > "$XDG_CONFIG_HOME/Ornavel/settings.json" << JSON
{"Ornavel.welcomeShown": {"bool": true}, "Ornavel.onlineDictEnabled": {"bool": false},
 "Ornavel.uploadConsent": {"bool": false},
 "Ornavel.ibusCandidates": {"string": "${ORNAV_IBUS_CANDIDATES:-lookup-table}"}}
JSON
  # The engine draws off screen unless the caller gives it an X display.
  export QT_QPA_PLATFORM="$([ -n "${DISPLAY:-}" ] && echo xcb || echo offscreen)"
  export GSETTINGS_BACKEND=memory
  unset IBUS_ADDRESS WAYLAND_DISPLAY
  dbus-run-session -- bash "$0" "$component_dir" "$mode" "$@"
  exit $?
fi

# A failure shows what the daemon and the engine said, which is all there is to go on in CI.
fail() {
  echo "FAIL: $*"
  echo "--- ibus-daemon:" && cat "$ORNAV_IBUS_SESSION/daemon.log"
  for log in "$XDG_DATA_HOME"/Ornavel/logs/*.log; do
    [ -e "$log" ] && echo "--- $log:" && tail -n 40 "$log"
  done
  exit 1
}
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --replace --single \
  --cache=none > "$ORNAV_IBUS_SESSION/daemon.log" 2>&1 &
daemon_pid=$!
trap 'kill "$daemon_pid" 2> /dev/null' EXIT
for _ in $(seq 100); do
  IBUS_ADDRESS="$(ibus address 2> /dev/null)" && [ "$IBUS_ADDRESS" != "(null)" ] && break
  sleep 0.05
done
export IBUS_ADDRESS
[ "$mode" = run ] && { "$@"; exit $?; }
"$1" || fail "the client test"
[ "$mode" = client ] && exit 0

# The engine killed in the middle of its work keeps every pick it acknowledged.
engine="$(pgrep -P "$daemon_pid" -x ornavel-ibus)" || fail "no engine process"
kill -KILL "$engine" && while kill -0 "$engine" 2> /dev/null; do sleep 0.05; done
grep -q "^سالام	" "$XDG_DATA_HOME/Ornavel/user_freq.tsv" || fail "the pick of سالام was lost"
# The daemon going away under a running engine ends it cleanly: no spinning, no crash.
"$1" pick || fail "the engine did not come back"
engine="$(pgrep -P "$daemon_pid" -x ornavel-ibus)"
kill "$daemon_pid" && wait "$daemon_pid"
for _ in $(seq 100); do kill -0 "$engine" 2> /dev/null || break; sleep 0.05; done
kill -0 "$engine" 2> /dev/null && fail "the engine outlived its daemon"
[ -e "$XDG_DATA_HOME/Ornavel/fatal_signal.txt" ] && fail "the engine crashed when its daemon left"
echo "PASS: ornavel-ibus under ibus-daemon: the client's scenarios, a killed engine, a lost daemon"
