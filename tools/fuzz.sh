#!/usr/bin/env bash
# Builds the fuzz harnesses (tests/fuzz) with clang's libFuzzer and AddressSanitizer
# in a build folder of their own and runs them from the committed seed corpus, the
# given time shared equally among them. An input that crashes, hangs or leaks is kept
# in <build>/failures and makes the script fail. Without clang and its libFuzzer the
# run is skipped.
# Usage: tools/fuzz.sh [build-dir] [seconds-in-all]   (defaults: build-fuzz, 120)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
total="${2:-120}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$work/probe.cpp"
if ! command -v clang++ >/dev/null 2>&1 \
    || ! clang++ -fsanitize=fuzzer,address "$work/probe.cpp" -o "$work/probe" >/dev/null 2>&1; then
  echo "fuzz: SKIPPED: clang++ with libFuzzer is not installed (Debian: clang libclang-rt-dev)."
  exit 0
fi

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
jobs="$(nproc)"
cmake --build "$build" -j "$jobs" -- -l $((jobs * 2))

# The harnesses read and write presets and settings: a home folder of their own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME" "$build/failures"
harnesses=()
for source in "$root"/tests/fuzz/*_fuzzer.cpp; do
  name="$(basename "$source" .cpp)"
  harnesses+=("${name%_fuzzer}")
done
seconds=$(( total / ${#harnesses[@]} ))
[ "$seconds" -ge 1 ] || seconds=1
status=0
for harness in "${harnesses[@]}"; do
  echo "fuzz: $harness for $seconds s"
  mkdir -p "$work/$harness"
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$harness" ] && seeds=("$root/tests/fuzz/corpus/$harness")
  if ! "$build/${harness}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/failures/$harness-" \
      "$work/$harness" "${seeds[@]}" > "$build/$harness.log" 2>&1; then
    echo "fuzz: $harness FAILED; the input is in $build/failures, the log in $build/$harness.log"
    tail -n 40 "$build/$harness.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$build/$harness.log" || true
  fi
done
exit $status
