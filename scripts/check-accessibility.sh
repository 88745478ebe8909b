#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a screen reader reads the window's error line: starts the window in a virtual X
# server with its own session bus and accessibility bus, lets it fail to open a port with a
# long name, and reads status panel 0 through AT-SPI as an assistive technology does.
#   scripts/check-accessibility.sh [build folder]   (default: build)
# Needs xvfb, dbus, at-spi2-core and python3-pyatspi (scripts/install-deps.sh installs them).
# Exit status 0: the error line was read whole; 1: it was not; 77: something needed is missing.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/bin/kuvar"
python=/usr/bin/python3
for need in xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher "$program"; do
    if ! command -v "$need" >/dev/null 2>&1 && [ ! -x "$need" ]; then
        echo "check-accessibility: $need is missing" >&2
        exit 77
    fi
done
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "check-accessibility: python3-pyatspi is missing" >&2
    exit 77
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
port="/dev/kuvar-check-a-port-whose-name-is-longer-than-status-panel-zero-is-wide"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

cat >"$work/read.py" <<'PY'
import sys, time
import pyatspi

expected = sys.argv[1]

def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)

deadline = time.time() + 20
while time.time() < deadline:
    desktop = pyatspi.Registry.getDesktop(0)
    for app in walk(desktop, 39):
        if app is None or app.name != "kuvar":
            continue
        for node in walk(app):
            if node.description.startswith("Status panel 0"):
                print("status panel 0 reads: %r (%s)" % (node.name, node.getRoleName()))
                sys.exit(0 if node.name.startswith(expected) else 1)
    time.sleep(0.5)
print("no window named kuvar with a status panel 0 on the accessibility bus")
sys.exit(1)
PY

cat >"$work/run.sh" <<SH
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=\$!
sleep 1
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program" \
    --settings "$work/UserSet.dat" --port "$port" --connect &
window=\$!
"$python" "$work/read.py" "Specified device not found ($port). - "
status=\$?
kill \$window \$launcher 2>/dev/null
wait \$window \$launcher 2>/dev/null
exit \$status
SH

xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- bash "$work/run.sh"
