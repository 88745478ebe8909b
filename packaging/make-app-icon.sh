#!/usr/bin/env bash
# Redraws packaging/icons/kuvar-<size>.png from make_app_icon.cpp (needs qt6-base-dev).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -o "$tmp/make_app_icon" "$here/make_app_icon.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make_app_icon" "$here/icons"
