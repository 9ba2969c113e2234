#!/usr/bin/env bash
# Installs the built library into a scratch prefix and builds consumers outside the tree: one with
# find_package, one with pkg-config, one with add_subdirectory of the source tree, each runs and checks
# the bytes it compiles; and a C program on the C interface, found once with find_package and once with
# pkg-config, with no C++ language in its project or on its link line. Also checks that the installed tree
# holds no test doubles, and that a program built with the shared library's pkg-config file starts without
# LD_LIBRARY_PATH.
# Usage: consume.sh SOURCE_DIR BUILD_DIR   (CONSUMER_FLAGS: extra compile and link flags, e.g. sanitizers;
# PRELIX10_SHARED: 1 when the library was built shared)
set -euo pipefail
src=$1
build=$2
flags=${CONSUMER_FLAGS:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
unset LD_LIBRARY_PATH

echo "== install into a scratch prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in include/prelix10/core/Prelix10Error.hpp include/prelix10/capi/prelix10.h lib/cmake/Prelix10/Prelix10Config.cmake \
         lib/cmake/Prelix10/Prelix10ConfigVersion.cmake lib/pkgconfig/prelix10.pc \
         bin/prelix10-compile bin/prelix10-expand-template bin/prelix10-virtual-printer; do
  [ -e "$prefix/$f" ] || { echo "missing from the install: $f"; exit 1; }
done
if find "$prefix" -path '*support*' -o -name '*Virtual*.hpp' -o -name 'libprelix10_support*' | grep -q .; then
  echo "test doubles were installed:"; find "$prefix" -path '*support*' -o -name '*Virtual*'; exit 1
fi
if [ "${PRELIX10_SHARED:-0}" = "1" ]; then
  soname=$(objdump -p "$prefix"/lib/libprelix10.so | awk '/SONAME/ {print $2}')
  [ "$soname" = "libprelix10.so.0.1" ] || { echo "unexpected SONAME '$soname'"; exit 1; }
fi
echo "Styled" | "$prefix/bin/prelix10-compile" --emulation Kestrin 2>/dev/null && { echo "bad arguments accepted"; exit 1; }

echo "== find_package"
cmake -S "$src/tests/package/find_package" -B "$work/find_package" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/find_package" >/dev/null
"$work/find_package/consumer"

echo "== pkg-config"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
static=""
[ "${PRELIX10_SHARED:-0}" = "1" ] || static="--static"
# shellcheck disable=SC2046
c++ -std=c++20 $flags "$src/tests/package/consumer.cpp" -o "$work/pkg_consumer" \
  $(pkg-config --cflags --libs $static prelix10)
"$work/pkg_consumer"

echo "== C, find_package"
cmake -S "$src/tests/package/find_package_c" -B "$work/find_package_c" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/find_package_c" >/dev/null
"$work/find_package_c/consumer_c"

echo "== C, pkg-config"
# Linked by the C driver: a static library's pkg-config file names the C++ runtime itself.
linker=cc
# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -Werror -pedantic $flags -c "$src/tests/package/consumer_c.c" -o "$work/consumer_c.o" \
  $(pkg-config --cflags prelix10)
# shellcheck disable=SC2046
$linker $flags "$work/consumer_c.o" -o "$work/pkg_consumer_c" $(pkg-config --libs $static prelix10)
"$work/pkg_consumer_c"

echo "== add_subdirectory"
cmake -S "$src/tests/package/subdirectory" -B "$work/subdirectory" -G Ninja -DPRELIX10_TREE="$src" >/dev/null
cmake --build "$work/subdirectory" -j "$(nproc)" --target consumer >/dev/null
"$work/subdirectory/consumer"
[ ! -e "$work/subdirectory/prelix10/tools" ] || { echo "a subproject built the tools"; exit 1; }
echo "package: all consumers passed"
