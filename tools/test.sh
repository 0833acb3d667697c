#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" "$root/build"
# The fuzz harnesses, two minutes in all (skipped where clang is missing).
"$root/tools/fuzz.sh" "$root/build-fuzz" 120
# The unit, plug-in, window and bundle tests last, so that their summary closes the run.
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
