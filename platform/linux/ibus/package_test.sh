#!/usr/bin/env bash
# The Debian package made by CPack from this build (without dpkg-shlibdeps' twenty seconds),
# unpacked with dpkg-deb -x, and the client test run against it (its /usr paths moved there).
#   package_test.sh BUILD_DIR SESSION_SCRIPT CLIENT
set -uo pipefail
build="$1" session="$2" client="$3"
command -v dpkg-deb > /dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
(cd "$build" && cpack -G DEB -B "$work" -D CPACK_DEBIAN_PACKAGE_SHLIBDEPS=OFF > /dev/null) \
  || fail "cpack"
deb="$(ls "$work"/ornavel_*_*.deb)" && dpkg-deb -x "$deb" "$work/root" || fail "no package"
mkdir "$work/component" && sed "s|>/usr/|>$work/root/usr/|g" \
  "$work/root/usr/share/ibus/component/ornavel.xml" > "$work/component/ornavel.xml" || fail "xml"
engine="$work/root/usr/lib/ornavel/Ornavel.app/Contents/MacOS/ornavel-ibus"
grep -q "<exec>$engine --ibus</exec>" "$work/component/ornavel.xml" || fail "no packaged engine"
ORNAV_LONG_PREEDIT=100 bash "$session" "$work/component" client "$client" || fail "client test"
echo "PASS: $(basename "$deb") unpacked; the client test ran against its engine"
