#!/usr/bin/env bash
# Installs the Debian packages Velmora needs; does nothing when every one of them is already
# there. `install-deps.sh build` installs only what building the Linux plug-ins and the tools
# needs (what ./run.sh uses); without an argument it also installs what the tests, the
# Windows tree and the packaging checks need (what ./test.sh uses).
set -euo pipefail

case "${1:-all}" in
  build) want_tests=0 ;;
  all) want_tests=1 ;;
  *) echo "usage: $0 [build|all]" >&2; exit 2 ;;
esac

# The Linux plug-ins (VST 2, LV2 and whatever other formats the tree builds), velmora-render,
# velmora-snapshot and velmora-validate. The fonts draw the editor's texts.
build_packages=(
  build-essential cmake pkg-config
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev libx11-dev libxext-dev
  libsndfile1-dev lv2-dev
  fonts-liberation fonts-dejavu-core
)
# The test suites and benchmarks, the Windows cross tree with Wine, the third-party plug-ins
# the tests load, the sanitizer and fuzzing compiler, and the package checker.
test_packages=(
  ccache
  libxtst-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth
  lsp-plugins-vst dpf-plugins-vst
  zam-plugins  # third-party VST 3 and CLAP modules for the project's test hosts
  lilv-utils liblilv-dev sordi  # sordi: sord_validate, which lv2_validate runs
  locales  # the locale sources velmora-validate's comma-decimal check builds de_DE from
  clang-14 libclang-rt-14-dev
  lintian file  # file: how CPack finds the binaries whose libraries become dependencies
)
packages=("${build_packages[@]}")
if [ "$want_tests" -eq 1 ]; then
  packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$want_tests" -eq 0 ]; then
  exit 0
fi

# Debian ships no mingw-w64 build of libpng and zlib, so the Windows tree compiles them from
# Debian's own source packages, fetched once into a cache outside the build trees.
src_cache="$("$(dirname "$0")/deps-cache-dir.sh")"
if ! compgen -G "$src_cache/libpng1.6-*/png.h" >/dev/null || ! compgen -G "$src_cache/zlib-*/zlib.h" >/dev/null; then
  # Source entries mirror the machine's own Debian archive entries (the security archive
  # serves no sources here), so the same mirror serves both; the system's apt configuration
  # is left untouched.
  mkdir -p "$src_cache/lists/partial" "$src_cache/apt-cache" "$src_cache/parts"
  rm -f "$src_cache/parts/"*
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -q debian-archive-keyring "$f" &&
      awk -v RS= -v ORS='\n\n' '!/-security/' "$f" | sed 's/^Types:.*/Types: deb-src/' \
        >"$src_cache/parts/$(basename "$f")"
  done
  grep -v -- -security /etc/apt/sources.list 2>/dev/null | sed -n 's/^deb \(.*\)/deb-src \1/p' >"$src_cache/sources.list" || true
  apt_src=(-o Dir::Etc::SourceList="$src_cache/sources.list" -o Dir::Etc::SourceParts="$src_cache/parts"
    -o Dir::State::Lists="$src_cache/lists" -o Dir::Cache="$src_cache/apt-cache")
  apt-get "${apt_src[@]}" update -qq
  (cd "$src_cache" && apt-get "${apt_src[@]}" source -qq libpng1.6 zlib >/dev/null)
fi
