#!/usr/bin/env bash
# Installs what is needed, builds everything, installs the plug-in into ~/.vst3,
# renders a short sound through it and runs the benchmarks.
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

# A short sound through the installed plug-in with a factory preset: listen to it
# without a DAW.
render="$build/zorvik_render_artefacts/Release/zorvik_render"
if [ -x "$render" ] && [ -d "$HOME/.vst3/ZORVIK Reverb.vst3" ]; then
  demo="$build/demo"
  mkdir -p "$demo"
  "$render" --make-test-sound "$demo/dry.wav"
  "$render" --plugin "$HOME/.vst3/ZORVIK Reverb.vst3" --preset "HALL" "$demo/dry.wav" "$demo/hall.wav"
  echo "Listen: $demo/hall.wav (the dry sound is $demo/dry.wav)"
fi

for b in "$build"/benchmarks/*_benchmarks; do
  [ -x "$b" ] && "$b"
done
