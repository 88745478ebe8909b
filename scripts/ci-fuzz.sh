#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/, replays the seed corpus and the past
# crash inputs (tests/fuzz/corpus, tests/fuzz/crashes), then fuzzes each target for FUZZ_SECONDS
# (default 45). Exits non-zero on a crash; the crashing input is left in build-fuzz/artifacts/
# and belongs in tests/fuzz/crashes/<target>/ once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-45}
JOBS=${JOBS:-2}
TARGETS=${FUZZ_TARGETS:-"fuzz_receive_framing fuzz_reply_views fuzz_user_settings fuzz_sim_command"}
CXX=${FUZZ_CXX:-$(command -v clang++-14 || command -v clang++)}
CC=${FUZZ_CC:-$(command -v clang-14 || command -v clang)}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/ubsan.supp:print_stacktrace=1:halt_on_error=1"

# Until tests/CMakeLists.txt adds the folder under KUVAR_FUZZ, pick it as the only test layer.
# Once it does, the other test folders stay out of this build.
layers="-DKUVAR_TEST_LAYERS=serial;sim"
if ! grep -q 'fuzz' tests/CMakeLists.txt; then
    layers="-DKUVAR_TEST_LAYERS=fuzz"
fi

start=$SECONDS
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_C_COMPILER="$CC" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
    -DKUVAR_FUZZ=ON $layers >/dev/null
# shellcheck disable=SC2086
cmake --build "$BUILD" -j"$JOBS" --target $TARGETS
echo "== fuzz targets built in $((SECONDS - start)) s"

failed=0
for t in $TARGETS; do
    bin=$BUILD/fuzz/$t
    corpus=tests/fuzz/corpus/$t
    crashes=tests/fuzz/crashes/$t
    mkdir -p "$crashes" "$BUILD/corpus/$t" "$BUILD/artifacts"
    echo "== $t: replaying $(find "$corpus" "$crashes" -type f | wc -l) inputs"
    if ! "$bin" -runs=0 -artifact_prefix="$BUILD/artifacts/$t-replay-" "$corpus" "$crashes" >"$BUILD/$t.replay.log" 2>&1; then
        tail -n 40 "$BUILD/$t.replay.log"
        failed=1
        continue
    fi
    if [ "$SECONDS_EACH" -gt 0 ]; then
        echo "== $t: fuzzing for $SECONDS_EACH s"
        # New inputs go to the build folder's corpus, seeded from the repository's.
        if ! "$bin" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
            -max_len=2048 -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$t-" \
            "$BUILD/corpus/$t" "$corpus" >"$BUILD/$t.fuzz.log" 2>&1; then
            tail -n 60 "$BUILD/$t.fuzz.log"
            failed=1
        else
            grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$BUILD/$t.fuzz.log" | tail -n 2
        fi
    fi
done
echo "== fuzzing done in $((SECONDS - start)) s"
exit $failed
