#!/usr/bin/env bash
# Builds the Debian package in its own folder, checks it with lintian --pedantic (any error or
# warning fails), installs it, runs the installed programs' --version and finds their manual
# pages, starts the installed kuvar offscreen with a scratch HOME, checks that it writes its
# 715-byte settings file in the per-user folder, stops it and removes the package. With Xvfb on
# the machine it also checks that the installed program shows its window on a real X server.
# Runs as root (CI) or through sudo.
#
#   KUVAR_PKG_BUILD_DIR  build folder (default build-pkg)
#   KUVAR_PKG_REUSE      1: package that folder's existing build as configured
#   KUVAR_PKG_X11=0      skip the X server check
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${KUVAR_PKG_BUILD_DIR:-build-pkg}
START_TIMEOUT=${KUVAR_PKG_START_TIMEOUT:-30} # seconds until the settings file must exist
WINDOW_TITLE="KUVAR 통합프로그램 Ver2.6"
SETTINGS_SIZE=715

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

say() { echo "test-package: $*"; }
fail() {
    echo "test-package: FAILED: $*" >&2
    exit 1
}

scratch=$(mktemp -d /tmp/kuvar-pkg-test.XXXXXX)
kuvar_pid=""
xvfb_pid=""
installed=0
cleanup() {
    local rc=$?
    for pid in "$kuvar_pid" "$xvfb_pid"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            kill -TERM "$pid" 2>/dev/null || true
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -KILL "$pid" 2>/dev/null || true
        fi
    done
    if [ "$installed" -eq 1 ]; then
        $SUDO dpkg -r kuvar >/dev/null 2>&1 || echo "test-package: could not remove kuvar" >&2
    fi
    rm -rf "$scratch"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- build the package -------------------------------------------------------------------------
bash scripts/install-deps.sh
command -v dpkg-deb >/dev/null || fail "dpkg-deb is missing (package dpkg)"
# The package check's own tools, which the build does not need.
if ! command -v lintian >/dev/null || ! command -v man >/dev/null; then
    say "installing lintian and man-db"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        lintian man-db >"$scratch/tools.log" 2>&1 || { cat "$scratch/tools.log" >&2; fail "apt-get"; }
fi

if [ "${KUVAR_PKG_REUSE:-0}" = 1 ] && [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    # CI packages what the test build made (stripped by CPack) instead of building it twice.
    say "packaging the build in $BUILD_DIR as it is configured"
    cmake -S . -B "$BUILD_DIR" -DCMAKE_INSTALL_PREFIX=/usr >"$scratch/configure.log" 2>&1 ||
        { cat "$scratch/configure.log" >&2; fail "cmake configure"; }
else
    say "configuring $BUILD_DIR (Release, no tests)"
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUVAR_TEST_LAYERS= \
        -DKUVAR_WITH_QT=ON -DCMAKE_INSTALL_PREFIX=/usr >"$scratch/configure.log" 2>&1 ||
        { cat "$scratch/configure.log" >&2; fail "cmake configure"; }
fi
say "building"
cmake --build "$BUILD_DIR" -j2 >"$scratch/build.log" 2>&1 ||
    { tail -n 40 "$scratch/build.log" >&2; fail "build"; }
rm -f "$BUILD_DIR"/kuvar_*.deb
(cd "$BUILD_DIR" && cpack -G DEB) >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack"; }
debs=("$BUILD_DIR"/kuvar_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one kuvar_*.deb in $BUILD_DIR"
fi
deb=$(realpath "${debs[0]}")
say "package $(basename "$deb")"

# --- what the package says and holds -----------------------------------------------------------
version=$(sed -n 's/^project(kuvar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
changelog_version=$(dpkg-parsechangelog -l packaging/changelog -SVersion)
[ "$(dpkg-deb -f "$deb" Package)" = kuvar ] || fail "package name is not kuvar"
[ "${changelog_version%-*}" = "$version" ] ||
    fail "packaging/changelog begins with $changelog_version, not with the project's $version"
[ "$(dpkg-deb -f "$deb" Version)" = "$changelog_version" ] ||
    fail "package version $(dpkg-deb -f "$deb" Version) is not the changelog's $changelog_version"
depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6widgets6 libqt6serialport6 libqt6gui6 libqt6core6 libqcustomplot2.1-qt6 \
    fonts-nanum; do
    grep -Eq "(^|, )$need( |,|$)" <<<"$depends" || fail "Depends lacks $need: $depends"
done
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -Eq '^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$' <<<"$maintainer" || fail "Maintainer is not 'Name <address>': $maintainer"
if grep -Eiq '@(.+\.)?example\.(org|com|net)>|\.(example|invalid|test|localhost)>' <<<"$maintainer"; then
    fail "Maintainer is a placeholder address: $maintainer"
fi
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$scratch/contents"
for path in /usr/bin/kuvar /usr/bin/kuvar-sim /usr/share/kuvar/on.bmp /usr/share/kuvar/off.bmp \
    /usr/share/applications/kuvar.desktop \
    /usr/share/icons/hicolor/48x48/apps/kuvar.png /usr/share/icons/hicolor/256x256/apps/kuvar.png \
    /usr/share/man/man1/kuvar.1.gz /usr/share/man/man1/kuvar-sim.1.gz \
    /usr/share/doc/kuvar/copyright /usr/share/doc/kuvar/changelog.Debian.gz; do
    grep -qx "$path" "$scratch/contents" || fail "the package lacks $path"
done
# The buttons' icons are compiled into the program.
if grep -q '^/usr/share/kuvar/icons' "$scratch/contents"; then
    fail "the package holds icon files the program never reads"
fi
if grep -Eq '(gtest|gmock|/include/|\.a$)' "$scratch/contents"; then
    fail "the package holds build or test files: $(grep -E '(gtest|gmock|/include/|\.a$)' \
        "$scratch/contents" | head -3 | tr '\n' ' ')"
fi

# --- lintian -----------------------------------------------------------------------------------
say "lintian --pedantic"
# lintian fails on errors only; warnings fail this check too. Every tag is shown.
lintian --pedantic --display-info --tag-display-limit 0 "$deb" >"$scratch/lintian.txt" 2>&1 &&
    lintian_rc=0 || lintian_rc=$?
sed 's/^/  /' "$scratch/lintian.txt"
if grep -Eq '^[EW]: ' "$scratch/lintian.txt"; then
    fail "lintian reports errors or warnings on $(basename "$deb")"
fi
[ "$lintian_rc" -eq 0 ] || fail "lintian ended with status $lintian_rc"

# --- install -----------------------------------------------------------------------------------
if dpkg-query -W -f='${Status}' kuvar 2>/dev/null | grep -q 'install ok installed'; then
    say "note: kuvar was installed already; this test replaces it and removes it at the end"
fi
say "installing"
installed=1
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$deb" \
    >"$scratch/install.log" 2>&1 || { cat "$scratch/install.log" >&2; fail "apt-get install"; }
[ -x /usr/bin/kuvar ] || fail "/usr/bin/kuvar is not installed"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate /usr/share/applications/kuvar.desktop || fail "desktop entry"
fi
/usr/bin/kuvar-sim --help >"$scratch/sim-help.txt" 2>&1 || fail "kuvar-sim --help did not exit 0"
grep -q '^Usage: kuvar-sim' "$scratch/sim-help.txt" || fail "kuvar-sim --help shows no usage"
# Without a display and with nothing of Qt in the environment.
for program in kuvar kuvar-sim; do
    env -i PATH=/usr/bin:/bin "/usr/bin/$program" --version >"$scratch/version.txt" 2>&1 ||
        fail "$program --version did not exit 0: $(cat "$scratch/version.txt")"
    [ "$(head -n 1 "$scratch/version.txt")" = "$program $version" ] ||
        fail "$program --version says $(head -n 1 "$scratch/version.txt"), not $program $version"
    page=$(man -w "$program" 2>&1) || fail "man -w $program: $page"
    [ "$page" = "/usr/share/man/man1/$program.1.gz" ] || fail "man -w $program finds $page"
done
env -i PATH=/usr/bin:/bin /usr/bin/kuvar --help >"$scratch/help.txt" 2>&1 ||
    fail "kuvar --help did not exit 0: $(cat "$scratch/help.txt")"
grep -q '^Usage: kuvar \[options\]' "$scratch/help.txt" || fail "kuvar --help shows no usage"
say "kuvar and kuvar-sim $version answer --version; man -w finds both pages"

# --- start the installed program offscreen -----------------------------------------------------
home="$scratch/home"
work="$scratch/cwd" # the current folder must play no part
mkdir -p "$home" "$work" "$scratch/run"
chmod 700 "$scratch/run"
settings="$home/.config/kuvar/UserSet.dat"

# Starts /usr/bin/kuvar in the background with a clean environment; extra VAR=value arguments.
start_kuvar() {
    (cd "$work" && exec env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$scratch/run" \
        LANG=C.UTF-8 "$@" /usr/bin/kuvar >>"$scratch/kuvar.log" 2>&1) &
    kuvar_pid=$!
}

# Stops the program with SIGTERM and waits for it, at most 10 seconds.
stop_kuvar() {
    kill -TERM "$kuvar_pid" 2>/dev/null || fail "kuvar was no longer running"
    for _ in $(seq 100); do
        kill -0 "$kuvar_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$kuvar_pid" 2>/dev/null; then
        kill -KILL "$kuvar_pid" 2>/dev/null || true
        fail "kuvar did not end within 10 s of SIGTERM"
    fi
    wait "$kuvar_pid" 2>/dev/null || true
    kuvar_pid=""
}

say "starting /usr/bin/kuvar offscreen with HOME=$home"
start_kuvar QT_QPA_PLATFORM=offscreen
deadline=$((SECONDS + START_TIMEOUT))
size=0
while :; do
    if ! kill -0 "$kuvar_pid" 2>/dev/null; then
        wait "$kuvar_pid" && rc=0 || rc=$?
        kuvar_pid=""
        cat "$scratch/kuvar.log" >&2
        fail "kuvar ended at start (exit status $rc)"
    fi
    for stray in /usr/bin/UserSet.dat "$work/UserSet.dat"; do
        [ ! -e "$stray" ] || fail "kuvar wrote its settings to $stray, not to $settings"
    done
    if [ -f "$settings" ]; then
        size=$(stat -c %s "$settings")
        [ "$size" -eq "$SETTINGS_SIZE" ] && break
    fi
    if [ $SECONDS -ge $deadline ]; then
        cat "$scratch/kuvar.log" >&2
        [ -f "$settings" ] || fail "no $settings after ${START_TIMEOUT} s"
        fail "$settings is $size bytes, not $SETTINGS_SIZE"
    fi
    sleep 0.1
done
say "settings written: $settings ($size bytes)"
# The window's event loop must still run after start-up.
sleep 0.5
kill -0 "$kuvar_pid" 2>/dev/null || fail "kuvar ended after writing its settings"
stop_kuvar
[ "$(stat -c %s "$settings")" -eq "$SETTINGS_SIZE" ] || fail "the settings file changed size"
for stray in /usr/bin/UserSet.dat "$work/UserSet.dat"; do
    [ ! -e "$stray" ] || fail "kuvar wrote $stray"
done
# First bytes of the defaults: port "COM1", then PC rate "115200".
head -c 15 "$settings" | od -An -tx1 | tr -s ' \n' ' ' | grep -q \
    '^ 04 43 4f 4d 31 00 00 06 31 31 35 32 30 30 00 $' || fail "the settings file lacks the defaults"

# --- the window on a real X server, when one can be started ------------------------------------
if [ "${KUVAR_PKG_X11:-1}" != 0 ] && command -v Xvfb >/dev/null && command -v xwininfo >/dev/null
then
    say "starting /usr/bin/kuvar on Xvfb"
    exec 3>"$scratch/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
    [ -s "$scratch/display" ] || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
    display=":$(head -n 1 "$scratch/display")"
    start_kuvar DISPLAY="$display" QT_QPA_PLATFORM=xcb
    deadline=$((SECONDS + START_TIMEOUT))
    until DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -qF "\"$WINDOW_TITLE\""; do
        kill -0 "$kuvar_pid" 2>/dev/null || { cat "$scratch/kuvar.log" >&2; fail "kuvar ended on X"; }
        [ $SECONDS -lt $deadline ] || fail "no window \"$WINDOW_TITLE\" after ${START_TIMEOUT} s"
        sleep 0.2
    done
    say "window shown: $WINDOW_TITLE"
    stop_kuvar
    kill -TERM "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
fi

# --- remove ------------------------------------------------------------------------------------
$SUDO dpkg -r kuvar >"$scratch/remove.log" 2>&1 || { cat "$scratch/remove.log" >&2; fail "dpkg -r"; }
installed=0
[ ! -e /usr/bin/kuvar ] || fail "/usr/bin/kuvar is still there after dpkg -r"
[ ! -e /usr/share/kuvar ] || fail "/usr/share/kuvar is still there after dpkg -r"
say "OK: built, installed, started, wrote its settings, stopped and removed $(basename "$deb")"
