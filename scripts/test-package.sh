#!/usr/bin/env bash
# The Debian package as a user's machine meets it (CTest's pindrel.package):
#   scripts/test-package.sh BUILD_DIR
# builds it with CPack from a finished build, inspects it (dpkg-deb, lintian, the desktop
# entry), extracts it into a temporary root and starts the program from there on a virtual
# desktop until its bar is on the screen, then installs and removes it with dpkg in another
# temporary root and checks that the user's config.ini outlives the removal.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
work=$(mktemp -d)
pindrel_pid=
cleanup() {
    if [[ -n $pindrel_pid ]] && kill -0 "$pindrel_pid" 2>/dev/null; then
        kill "$pindrel_pid" 2>/dev/null || true
        wait "$pindrel_pid" 2>/dev/null || true
    fi
    bash "$root/scripts/xsession.sh" stop "$work/xsession" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
ok() { echo "ok: $*"; }

(cd "$build" && cpack --config CPackConfig.cmake -B "$work/out" >"$work/cpack.log" 2>&1) \
    || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/out/pindrel_*.deb)
ok "built $(basename "$deb")"

# What the package holds and says of itself.
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/pindrel ./usr/lib/pindrel/bin/pindrel ./usr/lib/pindrel/bin/background/theme1.bmp \
    ./usr/lib/pindrel/lib/libtxini.so.1 ./usr/share/applications/pindrel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/pindrel.svg ./usr/share/icons/hicolor/48x48/apps/pindrel.png \
    ./usr/share/doc/pindrel/copyright ./usr/share/man/man1/pindrel.1.gz; do
    grep -q " $path\( ->\|$\)" <<<"$contents" || fail "the package lacks $path"
done
if grep -q 'config.ini' <<<"$contents"; then fail "the package ships a config.ini"; fi
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libxcb-ewmh2 libxcb-randr0; do
    grep -q "$library" <<<"$depends" || fail "Depends misses $library: $depends"
done
ok "contents and dependencies ($depends)"

lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 \
    || { cat "$work/lintian.log" >&2; fail "lintian"; }
ok "lintian: no errors"

# Extracted into a temporary root and started from there.
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/pindrel.desktop" \
    || fail "desktop-file-validate"
ok "desktop entry"

# Started as a user would, through the link in bin/; the program itself is looked at for its
# libraries (ldd would take $ORIGIN from the link's folder, the loader does not).
program=$work/root/usr/bin/pindrel
libraries=$(env -u LD_LIBRARY_PATH ldd "$work/root/usr/lib/pindrel/bin/pindrel")
if grep -q 'not found' <<<"$libraries"; then fail "unresolved libraries: $libraries"; fi
grep -q "$work/root/usr/lib/pindrel/bin/../lib/libtxini" <<<"$libraries" \
    || fail "libtxini is not the package's own: $libraries"

bash "$root/scripts/xsession.sh" start "$work/xsession" --owner $$ >/dev/null
display=$(sed -n 's/^DISPLAY=//p' "$work/xsession/env")
mkdir -p "$work/runtime" "$work/config" && chmod 700 "$work/runtime"
printf '[MAIN]\nPOSITION=TOP\n[GRAL]\nCANTBOT=1\n[BUTTON1]\nCAPTION=Temp\nPATH=/tmp\n' \
    >"$work/root/usr/lib/pindrel/bin/config.ini"
DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb \
    "$program" >"$work/pindrel.log" 2>&1 &
pindrel_pid=$!
bar=
for _ in $(seq 1 200); do
    kill -0 "$pindrel_pid" 2>/dev/null || { cat "$work/pindrel.log" >&2; fail "the program ended"; }
    for id in $(DISPLAY=$display xdotool search --onlyvisible --pid "$pindrel_pid" 2>/dev/null); do
        if DISPLAY=$display xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q DOCK; then bar=$id; fi
    done
    [[ -n $bar ]] && break
    sleep 0.1
done
[[ -n $bar ]] || fail "no bar within 20 seconds"
DISPLAY=$display xprop -id "$bar" _NET_WM_STRUT_PARTIAL | grep -q '= 0, 0, 26, 0' \
    || fail "the bar does not reserve its band: $(DISPLAY=$display xprop -id "$bar" _NET_WM_STRUT_PARTIAL)"
ok "started from the extracted root, bar docked at the top"
kill "$pindrel_pid"
wait "$pindrel_pid" 2>/dev/null || true
pindrel_pid=

# Installed and removed (and purged) with dpkg in a root of its own: the user's settings stay.
admin=$work/dpkgroot/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" && touch "$admin/status"
mkdir -p "$work/config/pindrel"
echo '[GRAL]' >"$work/config/pindrel/config.ini"
dpkg_root=(dpkg --root="$work/dpkgroot" --force-not-root --force-depends --force-script-chrootless
    --log=/dev/null)
"${dpkg_root[@]}" -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i"; }
[[ -x $work/dpkgroot/usr/lib/pindrel/bin/pindrel ]] || fail "nothing installed"
"${dpkg_root[@]}" -P pindrel >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -P"; }
[[ ! -e $work/dpkgroot/usr/lib/pindrel ]] || fail "files left after the removal"
[[ -f $work/config/pindrel/config.ini ]] || fail "the removal took the user's config.ini"
ok "installed and purged; the user's config.ini stays"
echo "1 passed, 0 failed"
