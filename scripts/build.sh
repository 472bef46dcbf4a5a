#!/usr/bin/env bash
# Configures and builds Rumbolo with CMake (Ninja).
#   scripts/build.sh <build-dir> [extra cmake options...]
# Re-running only rebuilds what changed.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$1"; shift

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$BUILD_DIR"
