#!/usr/bin/env bash
# Soak test outside the test command: the window at 256000 baud against a simulated KUVAR-AC
# streaming 850 frames a second, for SOAK_SECONDS (default 1800). Reports the window's memory
# (VmRSS) and CPU over time, and the frames the simulator wrote while the port was open against
# the replies the window logged.
#   SOAK_SECONDS=180 SOAK_REPORT_SECONDS=10 scripts/soak.sh
# BUILD_DIR (default build) must hold bin/kuvar-sim and bin/kuvar_drive (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
SECONDS_TOTAL=${SOAK_SECONDS:-1800}
EVERY=${SOAK_REPORT_SECONDS:-60}
RATE=${SOAK_RATE:-850}
KIND=${SOAK_MODULE:-ac}
SIM=$BUILD_DIR/bin/kuvar-sim
DRIVE=$BUILD_DIR/bin/kuvar_drive
for p in "$SIM" "$DRIVE"; do
    [ -x "$p" ] || { echo "missing $p: build it first" >&2; exit 2; }
done

work=$(mktemp -d)
sim_pid=""
cleanup() {
    if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

"$SIM" "$KIND" --link "$work/link" --baud 256000 --stream --flood "$RATE" \
    --log-frames "$work/frames.log" >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
link=$(head -n 1 "$work/sim.out")
[ -n "$link" ] || { echo "kuvar-sim did not start" >&2; cat "$work/sim.err" >&2; exit 1; }

echo "soak: KUVAR-${KIND^^} at 256000 baud, $RATE frames/s, $SECONDS_TOTAL s"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$DRIVE" soak "$link" 256000 "$SECONDS_TOTAL" "$EVERY" \
    | tee "$work/drive.out"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

opened=$(awk '/^opened/ {print $2}' "$work/drive.out")
closed=$(awk '/^closed/ {print $2}' "$work/drive.out")
seen=$(awk '/^closed/ {print $4}' "$work/drive.out")
# Frames whose last byte left while the port was open; the last 50 ms may still be in flight.
sent=$(awk -v a="$opened" -v b="$closed" '$1 >= a && $1 <= b - 50000000 {n++} END {print n + 0}' \
    "$work/frames.log")
total=$(wc -l <"$work/frames.log")
rss=$(awk 'NF == 5 && $1 ~ /^[0-9.]+$/ {print $2}' "$work/drive.out")
first_rss=$(echo "$rss" | head -n 1)
last_rss=$(echo "$rss" | tail -n 1)
cpu=$(awk 'NF == 5 && $1 ~ /^[0-9.]+$/ {t = $1; c = $3} END {if (t > 0) printf "%.1f", 100 * c / t}' \
    "$work/drive.out")
echo "---"
echo "simulator: $(tail -n 1 "$work/sim.err")"
echo "frames sent while open: $sent (all: $total); replies in the window: $seen"
echo "VmRSS: first report $first_rss kB, last $last_rss kB; mean CPU of the window: $cpu %"
if [ "$seen" -lt "$sent" ]; then
    echo "soak: $((sent - seen)) frames lost" >&2
    exit 1
fi
