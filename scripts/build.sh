#!/usr/bin/env bash
# Installs what is missing and builds everything into build/ (or $KUVAR_BUILD_DIR), or only the
# targets named in KUVAR_BUILD_TARGETS.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${KUVAR_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# KUVAR_BUILD_TARGETS="kuvar kuvar-sim" builds only those.
read -r -a targets <<<"${KUVAR_BUILD_TARGETS:-}"
cmake --build "$BUILD_DIR" -j2 ${targets[@]+--target "${targets[@]}"}
