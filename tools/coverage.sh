#!/usr/bin/env bash
# Builds everything with gcc's coverage counters (no optimisation), runs every test
# through CTest as tools/test.sh does (the fuzz harnesses left out) and prints which
# lines and functions of the product's code the tests ran.
# Usage: tools/coverage.sh [build-dir]   (default: build-coverage)
# Needs gcovr (apt-get install gcovr). The per-file table is in <build-dir>/coverage.txt,
# the JSON summary in <build-dir>/coverage.json.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-coverage}")"
jobs="$(nproc)"
command -v gcovr >/dev/null || { echo "gcovr is missing: apt-get install gcovr" >&2; exit 2; }

# A configuration of its own: JUCE's recommended flags add -O3 to Release builds,
# which would inline functions away from the counters.
flags="-O0 -DNDEBUG --coverage"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Coverage \
  -DCMAKE_CXX_FLAGS_COVERAGE="$flags" -DCMAKE_C_FLAGS_COVERAGE="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage \
  -DCMAKE_MODULE_LINKER_FLAGS=--coverage \
  -DZORVIK_BUILD_BENCHMARKS=OFF -DZORVIK_BUILD_TSAN_TESTS=OFF >/dev/null
cmake --build "$build" -j "$jobs" -- -l $((jobs * 2))

find "$build" -name '*.gcda' -delete
if ! (cd "$build" && ctest -j "$jobs" --timeout 900 --output-on-failure >"$build/ctest.log" 2>&1); then
  grep -A20 'tests failed' "$build/ctest.log" || true
  echo "(some tests failed, see $build/ctest.log; the coverage below still counts)"
fi

cd "$root"
# Only this build's counters: other build folders in the tree hold their own.
gcovr -r "$root" --object-directory "$build" "$build" \
  -f 'dsp/' -f 'reverb/' -f 'ui/' -f 'tools/render/' \
  --gcov-ignore-parse-errors -j "$jobs" \
  --txt "$build/coverage.txt" --json-summary "$build/coverage.json" --json "$build/coverage-detail.json"
python3 - "$build" <<'EOF'
import json, sys
build = sys.argv[1]
summary = json.load(open(build + "/coverage.json"))
print("lines %.1f %%, functions %.1f %%" % (summary["line_percent"], summary["function_percent"]))
files = summary["files"]
never = [f["filename"] for f in files if f["line_total"] > 0 and f["line_covered"] == 0]
under = [f for f in files if (f["line_percent"] or 0) < 60 and f["line_covered"] > 0]
print("never run: %d" % len(never))
for name in never:
    print("   ", name)
print("under 60 %% of lines: %d" % len(under))
for f in sorted(under, key=lambda f: f["line_percent"]):
    print("    %5.1f %%  %s" % (f["line_percent"], f["filename"]))
detail = json.load(open(build + "/coverage-detail.json"))
print("functions never run:")
for f in sorted(detail["files"], key=lambda f: f["file"]):
    for fn in f.get("functions", []):
        if fn["execution_count"] == 0:
            print("    %s:%d %s" % (f["file"], fn["lineno"], fn["name"][:120]))
EOF
