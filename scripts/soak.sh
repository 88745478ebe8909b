#!/usr/bin/env bash
# Soak test outside the test command: the window at 256000 baud against a simulated KUVAR-AC
# streaming 850 frames a second, for SOAK_SECONDS (default 1800). Reports the window's memory
# (VmRSS and its anonymous part RssAnon) and CPU over time, and the frames the simulator wrote
# while the port was open against the replies the window logged.
#   SOAK_SECONDS=180 SOAK_REPORT_SECONDS=10 scripts/soak.sh
# SOAK_RATE frames a second (default 850); SOAK_LINE_RATE bit/s of the line (default 256000;
# 4000000 lets a flood go as fast as the pseudo-terminal carries it); SOAK_FRAMES ends the run
# once the chart holds that many points; SOAK_RECORD=1 records the run to a file and checks that
# it holds every frame sent while the port was open, in order. The last lines are "key value"
# figures for scripts/bench.sh.
# BUILD_DIR (default build) must hold bin/kuvar-sim and bin/kuvar_drive (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
SECONDS_TOTAL=${SOAK_SECONDS:-1800}
EVERY=${SOAK_REPORT_SECONDS:-60}
RATE=${SOAK_RATE:-850}
LINE_RATE=${SOAK_LINE_RATE:-256000}
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
    if [ -n "${SOAK_KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

# The module streams from the window's START on, so that no frame is cut by the open or by START.
"$SIM" "$KIND" --link "$work/link" --baud "$LINE_RATE" --flood "$RATE" \
    --log-frames "$work/frames.log" >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
link=$(head -n 1 "$work/sim.out")
[ -n "$link" ] || { echo "kuvar-sim did not start" >&2; cat "$work/sim.err" >&2; exit 1; }

record=""
if [ "${SOAK_RECORD:-0}" = 1 ]; then record="$work/recording.csv"; fi
line_env=""
if [ "$LINE_RATE" != 256000 ]; then line_env=$LINE_RATE; fi
echo "soak: KUVAR-${KIND^^} at $LINE_RATE baud, $RATE frames/s, $SECONDS_TOTAL s${SOAK_FRAMES:+ or $SOAK_FRAMES frames}${record:+, recording}"
SOAK_MODULE=$KIND SOAK_RECORD=$record SOAK_LINE_RATE=$line_env SOAK_FRAMES=${SOAK_FRAMES:-0} \
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$DRIVE" soak "$link" 256000 "$SECONDS_TOTAL" "$EVERY" | tee "$work/drive.out"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

opened=$(awk '/^opened/ {print $2}' "$work/drive.out")
closed=$(awk '/^closed/ {print $2}' "$work/drive.out")
seen=$(awk '/^closed/ {print $4}' "$work/drive.out")
# Frames whose last byte left while the port was open; the last 50 ms may still be in flight.
awk -v a="$opened" -v b="$closed" '$1 >= a && $1 <= b - 50000000 { sub(/^[0-9]+ /, ""); print }' \
    "$work/frames.log" >"$work/sent.txt"
sent=$(wc -l <"$work/sent.txt")
total=$(wc -l <"$work/frames.log")
reports() { awk 'NF == 7 && $1 ~ /^[0-9.]+$/' "$work/drive.out"; }
first_rss=$(reports | head -n 1 | awk '{print $2}')
last_rss=$(reports | tail -n 1 | awk '{print $2}')
cpu=$(reports | awk '{t = $1; c = $3} END {if (t > 0) printf "%.1f", 100 * c / t}')
# RssAnon: after the first 1,000,000 points, at the end, and its growth per 1,000,000 between.
anon=$(reports | awk '$7 >= 1000000 && !a {a = $6; pa = $7} {l = $6; pl = $7}
    END {printf "%d %d %s", a, l, (a && pl > pa ? sprintf("%.2f", (l - a) / 1024 / ((pl - pa) / 1e6)) : "-")}')
read -r anon_at_1m anon_last anon_growth <<<"$anon"
points=$(reports | tail -n 1 | awk '{print $7}')
echo "---"
echo "simulator: $(tail -n 1 "$work/sim.err")"
echo "frames sent while open: $sent (all: $total); replies in the window: $seen; chart points: $points"
echo "VmRSS: first report $first_rss kB, last $last_rss kB; mean CPU of the window: $cpu %"
echo "RssAnon: $anon_at_1m kB after 1,000,000 points, $anon_last kB at the end," \
    "$anon_growth MB per 1,000,000 points between"
missing=0
if [ -n "$record" ]; then
    # Every frame sent while the port was open must be in the recording, in order.
    cp "$work/sent.txt" "$work/expected.txt"
    awk -F, '!/^#/ && NR > 1 { sub(/\r$/, ""); print $NF }' "$record" >"$work/recorded.txt"
    missing=$(awk -v rec="$work/recorded.txt" -v n="$(wc -l <"$work/expected.txt")" '{
        want = $0
        while ((getline got < rec) > 0) if (got == want) next
        missing = NR; exit }
        END { print (missing ? n - missing + 1 : 0) }' "$work/expected.txt")
    echo "recording: $(wc -l <"$work/recorded.txt") rows, $(grep -c ',frame,' "$record") frames;" \
        "frames sent while open but missing from it: $missing"
fi
echo "soak_frames_sent $sent"
echo "soak_frames_logged $seen"
echo "soak_points $points"
echo "soak_cpu_percent $cpu"
echo "soak_rss_anon_kb_after_1m $anon_at_1m"
echo "soak_rss_anon_kb_last $anon_last"
echo "soak_rss_anon_mb_per_million $anon_growth"
echo "soak_recording_missing $missing"
if [ "$seen" -lt "$sent" ]; then
    echo "soak: $((sent - seen)) frames lost" >&2
    exit 1
fi
if [ "$missing" -ne 0 ]; then
    echo "soak: $missing frames missing from the recording" >&2
    exit 1
fi
