#!/usr/bin/env bash
# Configures and builds everything (library, engine, plug-in, tools, tests, benchmarks).
# Usage: tools/build.sh [build-dir]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
jobs="$(nproc)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
# The load limit keeps several builds on one machine from starving each other.
cmake --build "$build" -j "$jobs" -- -l $((jobs * 2))
