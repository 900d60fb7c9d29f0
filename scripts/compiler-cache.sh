# Sourced by the build scripts from the checkout's top folder: sets `launcher` to the CMake
# options that put ccache in front of the compilers when it is installed (empty otherwise).
# A compiler cache makes rebuilds of unchanged sources (a fresh checkout, another tree) cheap;
# paths are hashed relative to the checkout, so every checkout on the machine shares it.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
