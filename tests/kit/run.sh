#!/usr/bin/env bash
# The kit as the home-screen team meets it, from BUILD_DIR (a kit build,
# whose library fetches from the contents host on PORT):
#  - installed into a scratch prefix, and BUILD_DIR removed, so that nothing
#    can lean on the build tree;
#  - the caller example built against it as a project of its own, once with
#    pkg-config alone and once with find_package alone, and run against the
#    simulator and the installed contents host; the exported headers it does
#    not include, and README's C++ blocks, compiled through pkg-config alone;
#  - the example scenarios played by the installed varnio-sim-run, and its
#    answers to malformed lines and to expectations that fail;
#  - the tizen preset built against the simulator's pkg-config files as if
#    they were the platform's;
#  - the RPM package built by Debian's rpmbuild from a tarball of the tree.
#   tests/kit/run.sh BUILD_DIR PORT
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
port=$2
here=$root/tests/kit
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
pc_dir=$prefix/lib/pkgconfig
failures=0

check() {  # check WHAT COMMAND...: runs it, says ok or FAILED
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

echo "---- install into a scratch prefix, remove the build tree"
cmake --install "$build" --prefix "$prefix" >/dev/null
rm -rf "$build"

build_example() {  # build_example HOW: the other way cannot find the kit
  (
    if [ "$1" = pkg-config ]; then unset CMAKE_PREFIX_PATH; export PKG_CONFIG_PATH=$pc_dir
    else unset PKG_CONFIG_PATH; export CMAKE_PREFIX_PATH=$prefix; fi
    cmake -S "$root/examples/home-screen" -B "$scratch/example-$1" -DHOME_SCREEN_FIND_VARNIO="$1" \
          -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" >/dev/null &&
      cmake --build "$scratch/example-$1" -j2 >/dev/null
  )
}
run_with_host() {
  "$root/tools/with-contents-host.sh" "$prefix/bin/varnio-contents-host" --port "$port" -- "$@"
}
echo "---- the caller example"
for how in pkg-config find_package; do
  check "example built with $how alone" build_example "$how"
done
for how in pkg-config find_package; do
  check "example ($how) runs against the simulator" run_with_host "$scratch/example-$how/home-screen"
done
extras_compile() {  # the exported headers the example does not include
  printf '%s\n' '#include <Lock.h>' '#include <Log.h>' \
    'int main() { CLockMutex lock; CAutoLock held(lock); ext_log_base_print(0, "home", "%s", "x"); }' |
    c++ -std=c++17 -fsyntax-only $(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags varnio) -x c++ -
}
check "Lock.h and Log.h compile through pkg-config alone" extras_compile
readme_blocks() {  # each C++ block of README.md is a program of its own
  local n=0 failed=0
  while IFS= read -r -d '' block; do
    n=$((n + 1))
    printf '%s' "$block" >"$scratch/readme-$n.cpp"
    # shellcheck disable=SC2046  # one word per flag
    c++ -std=c++17 -Wall -Wextra -Werror "$scratch/readme-$n.cpp" -o "$scratch/readme-$n" \
      $(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs varnio varnio-sim) || { echo "README block $n"; failed=1; }
  done < <(awk '/^```cpp$/ {on = 1; next} /^```$/ && on {on = 0; printf "%c", 0; next} on' "$root/README.md")
  [ "$n" -gt 0 ] && [ "$failed" -eq 0 ]
}
check "README's C++ blocks compile and link against the kit" readme_blocks

echo "---- scenarios"
play() { "$prefix/bin/varnio-sim-run" "$1" >/dev/null; }  # failures go to stderr
for scenario in "$root"/examples/scenarios/*.jsonl; do
  check "$(basename "$scenario")" play "$scenario"
done
# What the runner says of bad files, compared line for line; the exit
# status tells a malformed file (2) from failed expectations (1).
answers() {  # answers NAME STATUS
  local status=0
  (cd "$here" && "$prefix/bin/varnio-sim-run" "$1.jsonl") >"$scratch/$1.out" 2>&1 || status=$?
  diff -u "$here/$1.expected" "$scratch/$1.out" && [ "$status" -eq "$2" ]
}
check "malformed lines are each named, nothing is played" answers malformed 2
check "failed expectations are each named with their line" answers failing 1
verbose_failures() {  # a transcript keeps failures on stderr, as FILE:LINE alone does
  (cd "$here" && "$prefix/bin/varnio-sim-run" --verbose failing.jsonl) 2>"$scratch/verbose.err" >/dev/null
  diff -u <(head -n -1 "$here/failing.expected") "$scratch/verbose.err"
}
check "--verbose still tells failures on stderr as FILE:LINE" verbose_failures
said() {  # said STATUS MESSAGE ARGS...: the runner exits with STATUS, saying MESSAGE
  local status=0 want=$1 message=$2
  shift 2
  "$prefix/bin/varnio-sim-run" "$@" >"$scratch/said.out" 2>&1 || status=$?
  [ "$status" -eq "$want" ] && grep -qF -- "$message" "$scratch/said.out" || { cat "$scratch/said.out"; return 1; }
}
printf '# nothing to play\n\n' >"$scratch/empty.jsonl"
check "an empty file is an error" said 2 "empty.jsonl: no line to play" "$scratch/empty.jsonl"
check "an unknown option is named" said 2 "unknown option --fast" --fast "$here/failing.jsonl"

echo "---- the tizen preset against the simulator's pkg-config files"
tizen_build() {
  PKG_CONFIG_PATH="$pc_dir" cmake --preset tizen --fresh >/dev/null &&
    cmake --build "$root/build/tizen" -j2 >/dev/null &&
    [[ $(readelf -d "$root/build/tizen/lib/libvarnio.so") == *'[libiot-framework-client.so]'* ]] &&
    cmake -DNM=nm -DCXXFILT=c++filt -DLIBRARY="$root/build/tizen/lib/libvarnio.so" \
          -DEXPECTED="$root/tests/symbols/expected-symbols.txt" -P "$root/tests/symbols/CheckSymbols.cmake" >/dev/null
}
check "tizen preset builds, links the platform's libraries, exports what it should" tizen_build

echo "---- the RPM package"
rpm_build() {
  local top=$scratch/rpm version
  version=$(sed -n 's/^Version: *//p' "$root/packaging/varnio.spec")
  # Inside `check` errexit is off: each step's failure is passed on by hand.
  mkdir -p "$top/SOURCES" &&
    tar -C "$root" --exclude=./build --exclude=./.git --transform "s,^\.,varnio-$version," \
        -czf "$top/SOURCES/varnio-$version.tar.gz" . &&
    cp "$root/packaging/varnio.manifest" "$top/SOURCES/" || return 1
  PKG_CONFIG_PATH="$pc_dir" rpmbuild -bb --nodeps --define "_topdir $top" "$root/packaging/varnio.spec" \
    >"$scratch/rpmbuild.log" 2>&1 || { tail -30 "$scratch/rpmbuild.log"; return 1; }
  # Listed first: grep -q stopping early would fail the pipe under pipefail.
  local devel runtime
  devel=$(rpm -qlp "$top"/RPMS/*/varnio-devel-*.rpm)
  runtime=$(rpm -qlp "$top"/RPMS/*/varnio-"$version"-*.rpm)
  grep -q '/cmake/varnio/varnioConfig.cmake$' <<<"$devel" && grep -q '/libvarnio.so.1$' <<<"$runtime"
}
check "rpmbuild makes the package from a tarball of the tree" rpm_build

[ "$failures" -eq 0 ] || { echo "kit: $failures check(s) FAILED"; exit 1; }
echo "kit: every check ok"
