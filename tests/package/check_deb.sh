#!/usr/bin/env bash
# Packs the Debian package of a built Linux tree and checks it as a user would meet it:
# lintian reports no error and no warning; unpacked into a temporary root, every module's
# libraries resolve, the packaged velmora-validate and velmora-render load the packaged
# VST 2 module through the project's host library (the render matching the build tree's
# own sample for sample), and lilv finds, instantiates and runs the packaged LV2 bundle
# with LV2_PATH pointing there. VST 3 and CLAP modules, when the tree has them, load in
# their test hosts (velmora-vst3host, velmora-clap-check).
# Usage: tests/package/check_deb.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
tree="${1:-build}"
fail() {
  echo "check_deb: $*" >&2
  exit 1
}
[ -f "$tree/CPackConfig.cmake" ] || fail "$tree is no configured build tree"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
deb="$tree/packages/velmora_${version}_amd64.deb"
rm -f "$deb"
cpack --config "$tree/CPackConfig.cmake" >"$tree/cpack-deb.log" 2>&1 || {
  cat "$tree/cpack-deb.log"
  fail "cpack failed"
}
[ -f "$deb" ] || fail "cpack wrote no $deb"
echo "check_deb: packed $deb"

changelog_version=$(sed -n '1s/^velmora (\([^)]*\)).*/\1/p' packaging/debian/changelog)
[ "$changelog_version" = "$version" ] ||
  fail "packaging/debian/changelog starts with $changelog_version, the package is $version"

lintian --fail-on error,warning "$deb" || fail "lintian found errors or warnings"
echo "check_deb: lintian: no errors, no warnings"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

expected=(usr/lib/vst/velmora.so
  usr/lib/lv2/velmora.lv2/{manifest.ttl,velmora.ttl,presets.ttl,velmora_dsp.so,velmora_ui.so}
  usr/bin/{velmora-render,velmora-validate,velmora-snapshot}
  usr/share/man/man1/{velmora-render,velmora-validate,velmora-snapshot}.1.gz
  usr/share/doc/velmora/{copyright,changelog.gz})
vst3_bundle=$(sed -n 's/^VELMORA_VST3_BUNDLE_DIR:[A-Z]*=//p' "$tree/CMakeCache.txt")
clap_module=$(sed -n 's/^VELMORA_CLAP_MODULE:[A-Z]*=//p' "$tree/CMakeCache.txt")
vst3_module=usr/lib/vst3/Velmora.vst3/Contents/x86_64-linux/Velmora.so
clap_installed=usr/lib/clap/Velmora.clap
[ -n "$vst3_bundle" ] && expected+=("$vst3_module")
[ -n "$clap_module" ] && expected+=("$clap_installed")
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done

# Every module and tool finds its libraries on this system, as dpkg's dependencies promise.
while IFS= read -r -d '' binary; do
  if file -b "$binary" | grep -q '^ELF'; then
    if ldd "$binary" | grep -q 'not found'; then
      ldd "$binary" >&2
      fail "${binary#"$root"} has unresolved libraries"
    fi
  fi
done < <(find "$root/usr" -type f \( -name '*.so' -o -name '*.clap' -o -path '*/bin/*' \) -print0)

vst2="$root/usr/lib/vst/velmora.so"
"$root/usr/bin/velmora-validate" --only info,programs,state "$vst2" >"$root/validate.log" || {
  cat "$root/validate.log"
  fail "the packaged velmora-validate rejects the packaged VST 2 module"
}
# Without --plugin the packaged tool must take the module installed beside it, never the
# build tree's; the dynamic loader names every object it opens.
LD_DEBUG=files "$root/usr/bin/velmora-render" --quiet --output "$root/packaged.wav" \
  2>"$root/render.log" || {
  grep -v '^ *[0-9]*:' "$root/render.log"
  fail "the packaged velmora-render failed"
}
grep -q "file=$vst2 " "$root/render.log" ||
  fail "the packaged velmora-render did not load $vst2"
"$tree/tools/velmora-render" --quiet --output "$root/built.wav"
# The files differ in libsndfile's PEAK chunk, which carries the time of writing; the audio
# from the data chunk on must be identical.
audio() { tail -c +"$(grep -obUa data "$1" | head -n 1 | cut -d: -f1)" "$1"; }
cmp -s <(audio "$root/packaged.wav") <(audio "$root/built.wav") ||
  fail "the packaged VST 2 module renders the demo differently from the built one"
echo "check_deb: VST 2 module loads and renders the demo as the build tree's does"

export LV2_PATH="$root/usr/lib/lv2"
lv2info urn:velmora:delay >"$root/lv2info.log" || fail "lilv does not find urn:velmora:delay"
grep -q "$root/usr/lib/lv2/velmora.lv2/velmora_dsp.so" "$root/lv2info.log" ||
  fail "lilv found urn:velmora:delay elsewhere than in the package"
lv2apply -i "$root/built.wav" -o "$root/lv2.wav" urn:velmora:delay >/dev/null ||
  fail "lilv could not run the packaged LV2 plug-in"
[ -s "$root/lv2.wav" ] || fail "the packaged LV2 plug-in wrote no audio"
echo "check_deb: LV2 bundle found, instantiated and run by lilv"

# VST 3 and CLAP through their test hosts when the tree has built them (./test.sh's full
# build does), otherwise at least their entry points.
vst3host="$tree/tools/velmora-vst3host"
claphost="$tree/tools/velmora-clap-check"
if [ -n "$vst3_bundle" ]; then
  if [ -x "$vst3host" ]; then
    "$vst3host" "$root/usr/lib/vst3/Velmora.vst3" >"$root/vst3host.log" 2>&1 || {
      cat "$root/vst3host.log"
      fail "velmora-vst3host rejects the packaged VST 3 bundle"
    }
    echo "check_deb: VST 3 bundle loads in velmora-vst3host"
  else
    nm -D --defined-only "$root/$vst3_module" | grep -qw GetPluginFactory ||
      fail "the packaged VST 3 module exports no GetPluginFactory"
    echo "check_deb: VST 3 module present with its factory (no velmora-vst3host built)"
  fi
fi
if [ -n "$clap_module" ]; then
  if [ -x "$claphost" ]; then
    "$claphost" "$root/$clap_installed" >"$root/claphost.log" 2>&1 || {
      cat "$root/claphost.log"
      fail "velmora-clap-check rejects the packaged CLAP module"
    }
    echo "check_deb: CLAP module loads in velmora-clap-check"
  else
    nm -D --defined-only "$root/$clap_installed" | grep -qw clap_entry ||
      fail "the packaged CLAP module exports no clap_entry"
    echo "check_deb: CLAP module present with its entry (no velmora-clap-check built)"
  fi
fi

# The per-user install takes the same files from the same rules into a home of its own.
home="$root/home"
mkdir -p "$home"
HOME="$home" scripts/install-user.sh "$tree" >/dev/null
for file in "${expected[@]}"; do
  case "$file" in
    usr/lib/*) installed="$home/.${file#usr/lib/}" ;;
    *) continue ;;
  esac
  cmp -s "$root/$file" "$installed" || fail "install-user.sh did not install /$file as ~/.${file#usr/lib/}"
done
echo "check_deb: install-user.sh installs the package's plug-ins into ~/.vst, ~/.lv2 and the like"
echo "check_deb: $deb passed"
