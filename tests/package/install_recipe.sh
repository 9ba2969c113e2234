#!/usr/bin/env bash
# install_recipe.sh SOURCE_DIR BUILD_DIR static|shared REUSE
#
# Follows the README as a new user would, with nothing it does not show: the install recipe into a scratch
# prefix, the public headers each compiled on their own from the install, the README's CMake project and
# C++ program built with find_package, its other C++ snippets compiled and linked, the C++ and C examples
# built with pkg-config and, for the shared library, the Python example; each program then prints to the
# installed virtual printer on the default ports 9100, 9101 and 22222.
#
# REUSE 1: BUILD_DIR is a plain build of that kind, and `cmake --install BUILD_DIR` is the recipe's
# install step. REUSE 0: the recipe's Release configure and build are made in BUILD_DIR/package-release-KIND
# (kept, so that a re-run rebuilds only what changed), without the tests, benchmarks and examples.
# Everything runs in a network namespace of its own with only loopback up. Exit 77 when none can be made.
set -euo pipefail
src=$1
build=$2
kind=$3
reuse=$4
jobs=${PRELIX10_JOBS:-$(nproc)}
if [ -z "${PRELIX10_IN_NETNS:-}" ]; then
  unshare -rn true 2>/dev/null || { echo "cannot make a network namespace (unshare -rn)" >&2; exit 77; }
  export PRELIX10_IN_NETNS=1
  exec unshare -rn bash -c 'ip link set lo up && exec bash "$0" "$@"' "$0" "$@"
fi
work=$(mktemp -d)
printer_pid=
cleanup() {
  if [ -n "$printer_pid" ]; then kill "$printer_pid" 2>/dev/null || true; wait "$printer_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
prefix="$work/prefix"
# The consumers see only what the README tells a user to set.
unset CMAKE_PREFIX_PATH PKG_CONFIG_PATH LD_LIBRARY_PATH CPATH LIBRARY_PATH

echo "== install ($kind)"
if [ "$reuse" = 1 ]; then
  cmake --install "$build" --prefix "$prefix" >/dev/null
else
  release="$build/package-release-$kind"
  shared_flag=()
  [ "$kind" = shared ] && shared_flag=(-DBUILD_SHARED_LIBS=ON)
  cmake -S "$src" -B "$release" -DCMAKE_BUILD_TYPE=Release "${shared_flag[@]}" \
    -DPRELIX10_TESTS=OFF -DPRELIX10_BENCH=OFF -DPRELIX10_EXAMPLES=OFF >"$work/configure.log" 2>&1 \
    || { cat "$work/configure.log"; exit 1; }
  cmake --build "$release" -j "$jobs" >"$work/build.log" 2>&1 || { tail -50 "$work/build.log"; exit 1; }
  cmake --install "$release" --prefix "$prefix" >/dev/null
fi
if [ "$kind" = shared ]; then
  [ -e "$prefix/lib/libprelix10.so" ] && [ ! -e "$prefix/lib/libprelix10.a" ] || { echo "not a shared install"; exit 1; }
else
  [ -e "$prefix/lib/libprelix10.a" ] && [ ! -e "$prefix/lib/libprelix10.so" ] || { echo "not a static install"; exit 1; }
fi

echo "== the public headers, each on its own"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
pc=prelix10
static=()
if [ "$kind" = static ]; then pc=prelix10-static; static=(--static); fi
public=$(sed -n 's/^\(prelix10\/[^: ]*\).*/\1/p' "$src/cmake/PublicHeaders.txt")
for header in $public; do
  [ -f "$prefix/include/$header" ] || { echo "public header not installed: $header"; exit 1; }
done
# Internal headers stay out of the install unless a public one includes them.
for internal in prelix10/printer/PollingMonitor.hpp prelix10/control/PrinterControl.hpp prelix10/capi/CApiSupport.hpp; do
  [ ! -e "$prefix/include/$internal" ] || { echo "internal header installed: $internal"; exit 1; }
done
cflags=$(pkg-config --cflags "$pc")
export cflags work
# shellcheck disable=SC2016
printf '%s\n' $public | grep '\.hpp$' | xargs -P "$jobs" -I{} sh -c \
  'printf "#include \"%s\"\n" "$1" | c++ -std=c++20 -Wall -Wextra -Werror $cflags -fsyntax-only -x c++ - \
     || { echo "does not compile alone: $1"; exit 255; }' sh {}
printf '#include "prelix10/capi/prelix10.h"\n' | cc -std=c99 -Wall -Wextra -Werror -pedantic $cflags -fsyntax-only -x c -

echo "== the README's CMake project and C++ program"
readme="$src/README.md"
block() {  # block LANGUAGE N: the Nth fenced block of that language in the README
  awk -v lang="$1" -v want="$2" '
    $0 == "```" lang { n++; inside = (n == want); next }
    /^```/ { inside = 0; next }
    inside { print }' "$readme"
}
mkdir -p "$work/app"
block cmake 1 >"$work/app/CMakeLists.txt"
block cpp 1 >"$work/app/receipt.cpp"
grep -q find_package "$work/app/CMakeLists.txt" && grep -q useLoopback "$work/app/receipt.cpp" \
  || { echo "the README's project or program is not where this test looks"; exit 1; }
cmake -S "$work/app" -B "$work/app/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/app/build" -j "$jobs" >/dev/null

echo "== the README's other C++ snippets link"
count=$(awk '$0 == "```cpp" { n++ } END { print n + 0 }' "$readme")
: >"$work/snippets.cpp"
for n in $(seq 2 "$count"); do
  block cpp "$n" | grep '^#include' >>"$work/snippets.cpp"
done
for n in $(seq 2 "$count"); do
  { echo "void snippet$n() {"; block cpp "$n" | grep -v '^#include'; echo "}"; } >>"$work/snippets.cpp"
done
echo "int main() { return 0; }" >>"$work/snippets.cpp"
# shellcheck disable=SC2046
c++ -std=c++20 "$work/snippets.cpp" -o "$work/snippets" $(pkg-config "${static[@]}" --cflags --libs "$pc")

echo "== the examples with pkg-config"
cd "$work"
# shellcheck disable=SC2046
c++ -std=c++20 "$src/examples/print_receipt.cpp" -o print_receipt $(pkg-config "${static[@]}" --cflags --libs "$pc")
# shellcheck disable=SC2046
cc -std=c99 "$src/examples/print_receipt_c.c" -o print_receipt_c $(pkg-config "${static[@]}" --cflags --libs "$pc") -pthread

echo "== each against the virtual printer on the default ports"
against_printer() {  # against_printer NAME COMMAND...: one job printed by the program
  "$prefix/bin/prelix10-virtual-printer" --data-port 9100 --status-port 9101 --discovery-port 22222 \
    >"$work/printer.out" 2>"$work/printer.err" &
  printer_pid=$!
  for _ in $(seq 200); do
    [ -s "$work/printer.out" ] && break
    kill -0 "$printer_pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$work/printer.out" ] || { echo "the virtual printer did not start"; cat "$work/printer.err"; exit 1; }
  local name=$1
  shift
  local rc=0
  timeout 120 "$@" >"$work/program.out" 2>&1 || rc=$?
  kill -TERM "$printer_pid"
  wait "$printer_pid" || true
  printer_pid=
  local jobs_counted
  jobs_counted=$(sed -n 's/.* \([0-9][0-9]*\) jobs counted/\1/p' "$work/printer.out")
  if [ "$rc" -ne 0 ] || [ "${jobs_counted:-0}" -lt 1 ]; then
    echo "$name: exit $rc, ${jobs_counted:-0} jobs counted"; cat "$work/program.out"; exit 1
  fi
  echo "$name: printed"
}
against_printer "README program" "$work/app/build/receipt" 127.0.0.1
against_printer "C++ example" ./print_receipt
against_printer "C example" ./print_receipt_c --data-port 9100 --status-port 9101 --discovery-port 22222
if [ "$kind" = shared ]; then
  against_printer "Python example" env PYTHONPATH="$prefix/share/prelix10/python" python3 "$src/examples/print_receipt.py" \
    --data-port 9100 --status-port 9101 --discovery-port 22222
fi
echo "install recipe ($kind): all passed"
