#!/usr/bin/env bash
# Installs what is missing, builds, starts a simulated KUVAR-AC and KUVAR-GY module and opens the
# window. The simulators' ports are in the window's port list; they stop when the window closes.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the two programs it runs; scripts/test.sh builds the tests.
KUVAR_BUILD_TARGETS="kuvar kuvar-sim" bash scripts/build.sh
BUILD_DIR=${KUVAR_BUILD_DIR:-build}
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
if [ -x "$BUILD_DIR/bin/kuvar-sim" ]; then
    for kind in ac gy; do
        "$BUILD_DIR/bin/kuvar-sim" "$kind" > "/tmp/kuvar-sim-$kind.$$" &
        pids+=($!)
    done
    sleep 0.5
    for kind in ac gy; do
        echo "Simulated KUVAR-${kind^^} module: $(head -n 1 "/tmp/kuvar-sim-$kind.$$")"
        rm -f "/tmp/kuvar-sim-$kind.$$"
    done
fi
"$BUILD_DIR/bin/kuvar"
