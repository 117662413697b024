#!/usr/bin/env bash
# Configures (once) and builds the three trees: build/native (tests), build/i686 and build/x86_64
# (the Windows program). Usage: scripts/build.sh [native|i686|x86_64 ...]; no argument builds all.
set -euo pipefail
cd "$(dirname "$0")/.."

trees=("$@")
((${#trees[@]})) || trees=(native i686 x86_64)

for tree in "${trees[@]}"; do
  case $tree in
    native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
    native-sanitize) args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DSTAMPCTL_SANITIZE=ON) ;;
    i686 | x86_64) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$tree.cmake") ;;
    *) echo "build.sh: unknown tree '$tree'" >&2; exit 2 ;;
  esac
  if [[ ! -f build/$tree/build.ninja ]]; then
    cmake -S . -B "build/$tree" -G Ninja "${args[@]}" >/dev/null
  fi
  cmake --build "build/$tree"
done
