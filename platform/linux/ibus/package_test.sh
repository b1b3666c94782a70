#!/usr/bin/env bash
# The Debian package as a user gets it: made from this build's install rules, unpacked with
# dpkg-deb -x into a scratch root, and the engine's client test run against the unpacked engine,
# library, dictionary and component file (the component's /usr paths pointed into the scratch
# root). The dependency list is left out here (dpkg-shlibdeps takes twenty seconds); scripts/package
# makes it.
#
#   package_test.sh BUILD_DIR SESSION_SCRIPT CLIENT
set -uo pipefail
build="$1" session="$2" client="$3"
for tool in cpack dpkg-deb; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" -D CPACK_DEBIAN_PACKAGE_SHLIBDEPS=OFF \
  > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/package/ornavel_*_*.deb 2> /dev/null | head -1)"
[ -n "$deb" ] || fail "no ornavel_<version>_<arch>.deb"
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
component="$work/root/usr/share/ibus/component/ornavel.xml"
engine="$work/root/usr/lib/ornavel/Ornavel.app/Contents/MacOS/ornavel-ibus"
[ -f "$component" ] && [ -x "$engine" ] || fail "the package lacks the component or the engine"
mkdir "$work/component"
sed "s|>/usr/|>$work/root/usr/|g" "$component" > "$work/component/ornavel.xml"
grep -q "<exec>$engine --ibus</exec>" "$work/component/ornavel.xml" \
  || fail "the component does not start the packaged engine"
ORNAV_LONG_PREEDIT=100 bash "$session" "$work/component" client "$client" || fail "the client test against the package"
echo "PASS: $(basename "$deb") unpacked; the client test ran against its engine"
