#!/usr/bin/env bash
# Installs what is needed, builds everything, installs the plug-in into ~/.vst3
# and runs the benchmarks.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" "$build"

bundle="$build/ZorvikReverb_artefacts/Release/VST3/ZORVIK Reverb.vst3"
if [ -d "$bundle" ]; then
  mkdir -p "$HOME/.vst3"
  rm -rf "$HOME/.vst3/ZORVIK Reverb.vst3"
  cp -r "$bundle" "$HOME/.vst3/"
  echo "Installed: $HOME/.vst3/ZORVIK Reverb.vst3"
fi

for b in "$build"/benchmarks/*_benchmarks; do
  [ -x "$b" ] && "$b"
done
