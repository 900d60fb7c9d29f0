#!/usr/bin/env bash
# Checks the Windows zip archive that scripts/build.sh packs from the mingw-w64 tree: it
# holds exactly the plug-ins the tree builds, README.txt (Windows line endings, naming each
# plug-in), the licence and the notices, all under one top folder and nothing that needs an
# installer; and the velmora.dll taken out of it loads, opens and processes under Wine in
# velmora-hostcheck.exe, the Windows build of the project's host library (Velmora.vst3 and
# Velmora.clap, when the archive has them, in the Windows builds of their test hosts).
# Usage: tests/package/check_windows_zip.sh [WINDOWS_BUILD_DIR] [LINUX_BUILD_DIR]
#   (defaults build-win and build; the Wine prefix is the Linux tree's, as CTest's)
set -euo pipefail
cd "$(dirname "$0")/../.."
win_tree="${1:-build-win}"
linux_tree="${2:-build}"
fail() {
  echo "check_windows_zip: $*" >&2
  exit 1
}
[ -f "$win_tree/CMakeCache.txt" ] || fail "$win_tree is no configured build tree"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_tree/CMakeCache.txt")
top="velmora-${version}-windows-x64"
zip="$win_tree/packages/$top.zip"
[ -f "$zip" ] || fail "no $zip (scripts/build.sh packs it)"

expected=("$top/velmora.dll" "$top/README.txt" "$top/LICENSE.txt" "$top/notices/"
  "$top/notices/libpng-LICENSE.txt" "$top/notices/zlib-LICENSE.txt"
  "$top/notices/mingw-w64-runtime-copyright.txt")
vst3_bundle=$(sed -n 's/^VELMORA_VST3_BUNDLE_DIR:[A-Z]*=//p' "$win_tree/CMakeCache.txt")
clap_module=$(sed -n 's/^VELMORA_CLAP_MODULE:[A-Z]*=//p' "$win_tree/CMakeCache.txt")
[ -n "$clap_module" ] && expected+=("$top/Velmora.clap")
listing=$(cmake -E tar tf "$zip" | sort)
vst3_entries=""
if [ -n "$vst3_bundle" ]; then
  vst3_entries=$(grep "^$top/Velmora.vst3/" <<<"$listing" || true)
  grep -qx "$top/Velmora.vst3/Contents/x86_64-win/Velmora.vst3" <<<"$vst3_entries" ||
    fail "the archive lacks Velmora.vst3/Contents/x86_64-win/Velmora.vst3"
fi
want=$(printf '%s\n' "${expected[@]}" $vst3_entries | sort)
if [ "$listing" != "$want" ]; then
  diff <(echo "$want") <(echo "$listing") >&2 || true
  fail "the archive holds other files than expected (< missing, > unexpected)"
fi
echo "check_windows_zip: $zip holds:" $(grep -v '/$' <<<"$listing" | sed "s|^$top/||")

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$OLDPWD/$zip")
readme="$unpacked/$top/README.txt"
[ "$(grep -c $'\r$' "$readme")" -eq "$(wc -l <"$readme")" ] ||
  fail "README.txt does not have Windows line endings throughout"
for name in velmora.dll ${clap_module:+Velmora.clap} ${vst3_bundle:+Velmora.vst3}; do
  grep -q "$name" "$readme" || fail "README.txt does not say where $name goes"
done

export WINEPREFIX="$PWD/$linux_tree/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
hostcheck="$win_tree/tools/hostcheck/velmora-hostcheck.exe"
[ -f "$hostcheck" ] || fail "no $hostcheck"
xvfb-run -a wine "$hostcheck" "$unpacked/$top/velmora.dll" ||
  fail "the archive's velmora.dll does not load under Wine"
# The other formats through their Windows test hosts, when the tree has built them.
vst3host="$win_tree/tools/velmora-vst3host.exe"
claphost="$win_tree/tools/velmora-clap-check.exe"
if [ -n "$vst3_bundle" ] && [ -f "$vst3host" ]; then
  xvfb-run -a wine "$vst3host" "$unpacked/$top/Velmora.vst3" ||
    fail "the archive's Velmora.vst3 does not load under Wine"
fi
if [ -n "$clap_module" ] && [ -f "$claphost" ]; then
  xvfb-run -a wine "$claphost" "$unpacked/$top/Velmora.clap" ||
    fail "the archive's Velmora.clap does not load under Wine"
fi
echo "check_windows_zip: $zip passed"
