#!/usr/bin/env bash
# both_kinds.sh SOURCE_DIR SHARED_BUILD_DIR
#
# One prefix holds the shared library and the static one: the shared build tree is installed, then a
# Release static build of the library alone (kept in SHARED_BUILD_DIR/package-release-static-library, so
# that a re-run rebuilds only what changed) is installed over it. Each kind must stay reachable:
# find_package gives the shared one with BUILD_SHARED_LIBS=ON and the static one without, pkg-config's
# prelix10 the shared one (whose program starts without LD_LIBRARY_PATH) and prelix10-static the archive.
set -euo pipefail
src=$1
build=$2
jobs=${PRELIX10_JOBS:-$(nproc)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
unset CMAKE_PREFIX_PATH PKG_CONFIG_PATH LD_LIBRARY_PATH

cmake --install "$build" --prefix "$prefix" >/dev/null
static_build="$build/package-release-static-library"
cmake -S "$src" -B "$static_build" -DCMAKE_BUILD_TYPE=Release -DPRELIX10_TESTS=OFF -DPRELIX10_BENCH=OFF \
  -DPRELIX10_TOOLS=OFF -DPRELIX10_EXAMPLES=OFF >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
cmake --build "$static_build" -j "$jobs" >"$work/build.log" 2>&1 || { tail -50 "$work/build.log"; exit 1; }
cmake --install "$static_build" --prefix "$prefix" >/dev/null
[ -e "$prefix/lib/libprelix10.so" ] && [ -e "$prefix/lib/libprelix10.a" ] || { echo "the prefix lacks a kind"; exit 1; }

links_shared() { readelf -d "$1" | grep -q 'NEEDED.*libprelix10\.so'; }
check() {  # check PROGRAM shared|static
  if links_shared "$1"; then got=shared; else got=static; fi
  [ "$got" = "$2" ] || { echo "$1: linked the $got library, wanted the $2 one"; exit 1; }
  "$1" >/dev/null || { echo "$1 failed"; exit 1; }
}
for kind in shared static; do
  flag=OFF
  [ "$kind" = shared ] && flag=ON
  cmake -S "$src/tests/package/find_package" -B "$work/cmake-$kind" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=$flag >/dev/null
  cmake --build "$work/cmake-$kind" >/dev/null
  check "$work/cmake-$kind/consumer" "$kind"
done
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++20 "$src/tests/package/consumer.cpp" -o "$work/pc-shared" $(pkg-config --cflags --libs prelix10)
check "$work/pc-shared" shared
# shellcheck disable=SC2046
c++ -std=c++20 "$src/tests/package/consumer.cpp" -o "$work/pc-static" $(pkg-config --static --cflags --libs prelix10-static)
check "$work/pc-static" static
echo "both kinds in one prefix: all passed"
