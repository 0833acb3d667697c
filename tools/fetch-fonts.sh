#!/usr/bin/env bash
# Re-fetches the embedded Oswald fonts (SIL Open Font License 1.1) from the npm
# package @expo-google-fonts/oswald, renames them and checks their checksums.
# Usage: tools/fetch-fonts.sh [--check]   (--check only verifies the committed files)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dest="$root/resources/fonts"
version="0.4.2"

# target file, file inside the package, sha256
fonts=(
  "Oswald-ExtraLight.ttf 200ExtraLight/Oswald_200ExtraLight.ttf f86a55a87173edf4887e852c70d5324cb77c8e5d03980bc67e7053f497f499e2"
  "Oswald-Light.ttf 300Light/Oswald_300Light.ttf 23b4578a6a0c36539ea0a78481ec662fd443e933b9fc768ebd8ce9e12b658b32"
  "Oswald-Regular.ttf 400Regular/Oswald_400Regular.ttf 147373bfe10a9b1e0eb649bcf6408566d0cb7334271845f24d4c224cca1c4412"
  "Oswald-Bold.ttf 700Bold/Oswald_700Bold.ttf 21843a0ccca2e97030da1330961646510ed6e9b8bb39620974c1195b9803034a"
)

check() {
  local status=0
  for entry in "${fonts[@]}"; do
    read -r name _ sum <<<"$entry"
    if ! echo "$sum  $dest/$name" | sha256sum --check --status; then
      echo "checksum mismatch: $dest/$name" >&2
      status=1
    fi
  done
  return $status
}

if [[ "${1:-}" == "--check" ]]; then
  check && echo "fonts OK"
  exit
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm pack --silent "@expo-google-fonts/oswald@$version" >/dev/null)
tar -xzf "$tmp"/expo-google-fonts-oswald-"$version".tgz -C "$tmp"
mkdir -p "$dest"
for entry in "${fonts[@]}"; do
  read -r name source _ <<<"$entry"
  cp "$tmp/package/$source" "$dest/$name"
done
cp "$tmp/package/LICENSE_FONT" "$dest/OFL.txt"
check && echo "fonts OK"
