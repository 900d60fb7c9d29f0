#!/bin/sh
# Checks that a built plug-in exports exactly its entry point under both names.
# Usage: check_exports.sh linux <velmora.so> | windows <velmora.dll>
set -eu
kind=$1
file=$2
[ -f "$file" ] || { echo "missing: $file"; exit 1; }
case "$kind" in
  linux)
    # Defined dynamic symbols only (undefined ones are imports from the C++ runtime).
    names=$(objdump -T "$file" | awk '$4 != "*UND*" && NF >= 7 {print $NF}' | sort | tr '\n' ' ')
    ;;
  windows)
    names=$(x86_64-w64-mingw32-objdump -p "$file" |
      sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort | tr '\n' ' ')
    imports=$(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' |
      tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
    echo "imports: $imports"
    # A statically linked runtime needs no C++ or pthread DLLs next to the plug-in.
    case "$imports" in
      *libstdc++*|*libgcc*|*libwinpthread*) echo "runtime DLL imported"; exit 1 ;;
    esac
    ;;
  *) echo "unknown kind $kind"; exit 2 ;;
esac
echo "exports: $names"
[ "$names" = "VSTPluginMain main " ] || { echo "unexpected export table"; exit 1; }
