#!/usr/bin/env bash
# Prints the folder that keeps the Debian source packages the Windows tree compiles, shared by
# the install and build scripts; it survives fresh checkouts on the same machine.
set -euo pipefail
echo "${VELMORA_DEPS_CACHE:-${XDG_CACHE_HOME:-${HOME:-/var/tmp}/.cache}/velmora}/deb-src"
