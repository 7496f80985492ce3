#!/usr/bin/env bash
# What a host developer installs, checked as they would use it (CTest label
# "install", tests/install/install.cmake):
#   check_install.sh prefix SOURCE BUILD
#       cmake --install BUILD into a temporary prefix, then checks the tree
#   check_install.sh packages SOURCE BUILD
#       scripts/package --build BUILD, every .deb unpacked with dpkg -x into
#       one temporary root, then checks root/usr and runs the installed demo
#   check_install.sh alone SOURCE GENERATOR CC CXX
#       configures the library alone (BUILD_TESTING=OFF, WEVO_BUILD_BENCH=OFF)
#       as on a machine without GoogleTest, Google Benchmark and Qt's test
#       module (their CMake packages hidden): it must succeed and build no
#       test or benchmark and link none of them; the same with the tests on
#       must fail, so the packages really were hidden
# Checking a tree: the library with its SONAME and links, every public
# header, the CMake package with its version rules, wevo.pc and wevo-qt.pc,
# wevodemo and wevoadmin (which must run, and must not need Qt); each
# public header compiles on its own as C++20 and wevo.h as C11; every example
# builds against the tree and passes its scripted check (examples/check).
set -euo pipefail

mode=$1
source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/wevo-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

version=$(sed -n 's/^project(wevo VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
major=${version%%.*}
[ -n "$version" ] || fail "no project version in $source/CMakeLists.txt"

# The installed tree below $1 (a prefix).
check_tree() {
  local prefix=$1
  local lib
  lib=$(dirname "$(find "$prefix" -name "libwevolib.so.$major" -print -quit)")
  [ "$lib" != "." ] || fail "no libwevolib.so.$major below $prefix"
  [ -f "$lib/libwevolib.so.$version" ] || fail "no libwevolib.so.$version in $lib"
  [ "$(readlink "$lib/libwevolib.so.$major")" = "libwevolib.so.$version" ] ||
    fail "libwevolib.so.$major does not link to libwevolib.so.$version"
  [ "$(readlink "$lib/libwevolib.so")" = "libwevolib.so.$major" ] ||
    fail "libwevolib.so does not link to libwevolib.so.$major"
  # (Outputs are read whole before grep looks at them: grep -q ending a pipe
  # early would fail it under pipefail.)
  local dynamic
  dynamic=$(objdump -p "$lib/libwevolib.so.$version")
  grep -q "SONAME *libwevolib.so.$major\$" <<<"$dynamic" || fail "libwevolib's SONAME is not libwevolib.so.$major"

  local h
  for h in "$source"/include/wevo/*.h; do
    cmp -s "$h" "$prefix/include/wevo/$(basename "$h")" || fail "include/wevo/$(basename "$h") is not installed"
  done
  for f in wevoConfig.cmake wevoConfigVersion.cmake wevoTargets.cmake; do
    [ -f "$lib/cmake/wevo/$f" ] || fail "no $f in $lib/cmake/wevo"
  done
  [ -x "$prefix/bin/wevodemo" ] || fail "no bin/wevodemo"
  [ -f "$prefix/share/wevodemo/WAFRAME.ICO" ] || fail "no share/wevodemo/WAFRAME.ICO"
  [ -x "$prefix/bin/wevoadmin" ] || fail "no bin/wevoadmin"
  local admin
  admin=$("$prefix/bin/wevoadmin" --version) || fail "the installed wevoadmin does not run"
  [ "$admin" = "wevoadmin $version" ] || fail "wevoadmin --version says '$admin', not 'wevoadmin $version'"
  admin=$(ldd "$prefix/bin/wevoadmin")
  if grep -q libQt <<<"$admin"; then fail "wevoadmin needs Qt"; fi

  # The version promise: any release of the same major version at least as
  # new as the one asked for.
  local asked want
  for asked in "$major.0:TRUE" "$version:TRUE" "$major.999:FALSE" "$((major + 1)).0:FALSE"; do
    want=${asked#*:}
    asked=${asked%%:*}
    cat >"$work/version.cmake" <<EOF
set(PACKAGE_FIND_VERSION "$asked")
string(REPLACE "." ";" parts "$asked")
list(GET parts 0 PACKAGE_FIND_VERSION_MAJOR)
include("$lib/cmake/wevo/wevoConfigVersion.cmake")
if(PACKAGE_VERSION_COMPATIBLE)
  message("TRUE")
else()
  message("FALSE")
endif()
EOF
    got=$(cmake -P "$work/version.cmake" 2>&1) || fail "cannot read the version file: $got"
    [ "$got" = "$want" ] || fail "find_package(wevo $asked) against $version: compatible $got, expected $want"
  done

  PKG_CONFIG_PATH="$lib/pkgconfig" pkg-config --exists "wevo = $version" ||
    fail "pkg-config does not find wevo $version in $lib/pkgconfig"
  PKG_CONFIG_PATH="$lib/pkgconfig" pkg-config --exists "wevo-qt = $version" ||
    fail "pkg-config does not find wevo-qt $version in $lib/pkgconfig"

  # Each public header on its own, as hosts include them (wevo/qt.h, the
  # Qt host's, with Qt's flags as a Qt program has them).
  local qtflags
  qtflags=$(PKG_CONFIG_PATH="$lib/pkgconfig" pkg-config --cflags wevo-qt)
  for h in "$prefix"/include/wevo/*.h; do
    local extra=()
    # shellcheck disable=SC2206
    [ "$(basename "$h")" != qt.h ] || extra=($qtflags -fPIC)
    echo "#include <wevo/$(basename "$h")>" |
      c++ -std=c++20 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$prefix/include" "${extra[@]}" -x c++ - ||
      fail "wevo/$(basename "$h") does not compile on its own as C++20"
  done
  printf '#include <wevo/wevo.h>\nint main(void) { WEVOSETTINGS s = {{0}, {0}, 0}; WEVO_SETWINDOWCONTROLS(0, "", "", &s); return 0; }\n' |
    cc -std=c11 -Wall -Wextra -Wpedantic -Werror -I"$prefix/include" -x c - -o "$work/c_host" \
      -L"$lib" -lwevolib -Wl,-rpath,"$lib" || fail "wevo.h does not compile and link as C11"

  "$source/examples/check" "$prefix" "$work/examples" || fail "the examples fail against $prefix"
}

case "$mode" in
  prefix)
    build=$3
    cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
      { cat "$work/install.log" >&2; fail "cmake --install failed"; }
    check_tree "$work/prefix"
    echo "installed tree:"
    (cd "$work/prefix" && find . -type f -o -type l | sort)
    ;;

  packages)
    build=$3
    "$source/scripts/package" --build "$build" "$work/debs" >/dev/null
    # Every package made: the library's, the development files' and one
    # per installed program.
    packages=()
    for f in "$work"/debs/*.deb; do packages+=("$(dpkg-deb -f "$f" Package)"); done
    for p in libwevolib"$major" libwevolib-dev wevodemo wevoadmin; do
      [[ " ${packages[*]} " == *" $p "* ]] || fail "no package $p among: ${packages[*]}"
    done
    deb() { echo "$work"/debs/"$1"_"$version"_*.deb; }
    # Dependencies: the system's from dpkg-shlibdeps, each other's exact.
    runtime_depends=$(dpkg-deb -f "$(deb "libwevolib$major")" Depends)
    for needed in libqt6widgets6 libsqlcipher0 libpq5 libssl3 libstdc++6; do
      [[ "$runtime_depends" == *"$needed"* ]] || fail "libwevolib$major does not depend on $needed: $runtime_depends"
    done
    for p in "${packages[@]}"; do
      [ "$p" != "libwevolib$major" ] || continue
      [[ "$(dpkg-deb -f "$(deb "$p")" Depends)" == *"libwevolib$major (= $version)"* ]] ||
        fail "$p does not depend on libwevolib$major (= $version)"
    done
    shlibs=$(dpkg-deb -I "$(deb "libwevolib$major")" shlibs)
    grep -q "^libwevolib $major libwevolib$major" <<<"$shlibs" || fail "libwevolib$major has no shlibs file"
    # No file in two packages (they could not be installed together).
    for p in "${packages[@]}"; do
      dpkg-deb -c "$(deb "$p")" | awk '$1 !~ /^d/ { print $6 }'
    done | sort | uniq -d >"$work/twice"
    [ ! -s "$work/twice" ] || fail "files in more than one package: $(cat "$work/twice")"
    runtime_files=$(dpkg-deb -c "$(deb "libwevolib$major")")
    if grep -q '/include/' <<<"$runtime_files"; then fail "the runtime package holds headers"; fi

    mkdir -p "$work/root"
    for p in "${packages[@]}"; do dpkg -x "$(deb "$p")" "$work/root"; done
    check_tree "$work/root/usr"
    "$work/root/usr/bin/wevodemo" --tour "$work/tour" >"$work/tour.log" 2>&1 ||
      { cat "$work/tour.log" >&2; fail "the packaged wevodemo's tour failed"; }
    # The packaged wevoadmin reads the store the tour left (protected with
    # the demonstration's password).
    store="$work/tour/wevodemo.wevo"
    listed=$(WEVO_PASSWORD='#~~#!*7q904' "$work/root/usr/bin/wevoadmin" list "$store") ||
      fail "the packaged wevoadmin cannot list the tour's store"
    grep -q "^Main  *COLORS " <<<"$listed" || fail "wevoadmin list shows no marker COLORS of Main: $listed"
    WEVO_PASSWORD='#~~#!*7q904' "$work/root/usr/bin/wevoadmin" export "$store" -o "$work/tour.json" ||
      fail "the packaged wevoadmin cannot export the tour's store"
    WEVO_PASSWORD='another' "$work/root/usr/bin/wevoadmin" import "$work/copy.wevo" "$work/tour.json" >/dev/null ||
      fail "the packaged wevoadmin cannot import the tour's layouts into a new store"
    for p in "${packages[@]}"; do
      echo "$(basename "$(deb "$p")"): Depends: $(dpkg-deb -f "$(deb "$p")" Depends)"
    done
    ;;

  alone)
    generator=$3 cc=$4 cxx=$5
    hidden=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
      -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON)
    cmake -S "$source" -B "$work/alone" -G "$generator" -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
      -DBUILD_TESTING=OFF -DWEVO_BUILD_BENCH=OFF "${hidden[@]}" >"$work/alone.log" 2>&1 ||
      { cat "$work/alone.log" >&2; fail "the library alone does not configure without the test packages"; }
    targets=$(cmake --build "$work/alone" --target help)
    grep -Eq '(^|[ :])wevolib([ :]|$)' <<<"$targets" || fail "no wevolib target"
    grep -Eq '(^|[ :])wevodemo([ :]|$)' <<<"$targets" || fail "no wevodemo target"
    if grep -E '_tests|_bench|gtest|benchmark' <<<"$targets"; then fail "tests or benchmarks are built"; fi
    if [ "$generator" = Ninja ]; then
      link=$(ninja -C "$work/alone" -t commands wevolib | tail -1)
      [[ "$link" == *libwevolib.so* ]] || fail "no link command for wevolib: $link"
      if grep -Eq 'Qt6Test|gtest|benchmark' <<<"$link"; then fail "wevolib links a test module: $link"; fi
    fi
    status=0
    cmake -S "$source" -B "$work/with-tests" -G "$generator" -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
      "${hidden[@]}" >"$work/with-tests.log" 2>&1 || status=$?
    [ "$status" -ne 0 ] || fail "with the tests on and their packages hidden the configure still succeeded"
    echo "the library alone configures without GoogleTest, Google Benchmark and Qt's test module"
    ;;

  *)
    fail "unknown mode $mode"
    ;;
esac
