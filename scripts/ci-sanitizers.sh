#!/usr/bin/env bash
# The whole test suite under AddressSanitizer + UBSan (build-asan/), then the serial component
# and the simulator under ThreadSanitizer (build-tsan/). Exits non-zero when either fails.
# SANITIZERS="asan tsan" picks the builds; extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
SUPP=$ROOT/tests/sanitizers
JOBS=${JOBS:-2}
SANITIZERS=${SANITIZERS:-"asan tsan"}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="suppressions=$SUPP/asan.supp:detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$SUPP/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$SUPP/ubsan.supp:print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="suppressions=$SUPP/tsan.supp:halt_on_error=1:second_deadlock_stack=1"

run_build() { # folder, cmake options...
    local dir=$1
    shift
    local start=$SECONDS
    # -O1 with line tables only: the stack traces keep their lines and the build is far quicker.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" \
        "$@" >/dev/null
    cmake --build "$dir" -j"$JOBS"
    echo "== $dir built in $((SECONDS - start)) s"
}

run_tests() { # folder, ctest options...
    local dir=$1
    shift
    local start=$SECONDS
    ctest --test-dir "$dir" --output-on-failure -j"$JOBS" --timeout 300 "$@"
    echo "== $dir tests ran in $((SECONDS - start)) s"
}

for s in $SANITIZERS; do
    case $s in
    asan)
        run_build build-asan -DKUVAR_SANITIZE=address
        run_tests build-asan "${@}"
        ;;
    tsan)
        run_build build-tsan -DKUVAR_WITH_QT=OFF -DKUVAR_SANITIZE=thread
        run_tests build-tsan "${@}"
        ;;
    *)
        echo "unknown sanitizer build: $s" >&2
        exit 2
        ;;
    esac
done
