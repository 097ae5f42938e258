#!/usr/bin/env bash
# Builds the libraries the MinGW-w64 cross build needs and Debian ships no MinGW
# package for, into build/mingw-deps/prefix:
#  - libpng, from Debian's own source package (fetched with apt-get source into the
#    build folder and kept there; Debian's patches applied), against libz-mingw-w64-dev;
#  - GoogleTest, from Debian's googletest package (/usr/src/googletest).
# Does nothing when both are built already.
set -euo pipefail
cd "$(dirname "$0")/.."
deps="$PWD/build/mingw-deps"
prefix="$deps/prefix"
toolchain="$PWD/cmake/mingw-w64.cmake"
jobs="$(nproc)"

if [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/lib/libgtest.a" ]; then exit 0; fi
mkdir -p "$deps"

# --- libpng from Debian's source package --------------------------------------------
if [ ! -f "$prefix/lib/libpng16.a" ]; then
  apt_dir="$deps/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/source" "$apt_dir/sources.list.d"
  # Private source lists made from the machine's own apt sources, each "deb" entry as
  # "deb-src": the sources come from wherever this machine takes its packages, and its
  # apt configuration stays as it is. One-line lists and deb822 .sources files both.
  : >"$apt_dir/sources.list"
  rm -f "$apt_dir/sources.list.d"/*
  for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list" >>"$apt_dir/sources.list"
  done
  for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] || continue
    sed 's/^Types:.*\bdeb\b.*$/Types: deb-src/' "$sources" >"$apt_dir/sources.list.d/$(basename "$sources")"
  done
  if ! grep -qs 'deb-src' "$apt_dir/sources.list" "$apt_dir/sources.list.d"/*; then
    echo "build-mingw-deps: this machine's apt configuration names no package source" >&2
    exit 1
  fi
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
               -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "Debug::NoLocking=1"
               -o "APT::Sandbox::User=root")
  if ! ls "$apt_dir/source"/libpng1.6_*.orig.tar.* >/dev/null 2>&1; then
    echo "build-mingw-deps: fetching Debian's libpng1.6 source package"
    apt-get -q "${apt_options[@]}" update >/dev/null
    # The newest version first; a source that lists a version but cannot serve it (a
    # mirror without the security archive's sources) leaves the next one to try.
    fetched=""
    for version in $(apt-cache "${apt_options[@]}" showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -rV); do
      if (cd "$apt_dir/source" && apt-get -q "${apt_options[@]}" source --download-only "libpng1.6=$version" >/dev/null 2>&1); then
        fetched="$version"
        break
      fi
      rm -f "$apt_dir/source"/libpng1.6_*.dsc "$apt_dir/source"/libpng1.6_*.debian.tar.*
    done
    if [ -z "$fetched" ]; then
      echo "build-mingw-deps: no package source of this machine serves libpng1.6's source" >&2
      exit 1
    fi
  fi
  work="$deps/libpng-src"
  rm -rf "$work"
  mkdir -p "$work"
  tar -xf "$(ls "$apt_dir/source"/libpng1.6_*.orig.tar.* | head -n 1)" -C "$work" --strip-components=1
  tar -xf "$(ls "$apt_dir/source"/libpng1.6_*.debian.tar.* | head -n 1)" -C "$work"
  if [ -f "$work/debian/patches/series" ]; then
    while read -r patch _; do
      case "$patch" in ''|'#'*) continue ;; esac
      patch -d "$work" -p1 --quiet --forward <"$work/debian/patches/$patch"
    done <"$work/debian/patches/series"
  fi
  cmake -S "$work" -B "$deps/libpng-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DZV_MINGW_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
    -DSKIP_INSTALL_FILES=ON >/dev/null
  cmake --build "$deps/libpng-build" -j "$jobs" >/dev/null
  cmake --install "$deps/libpng-build" >/dev/null
fi

# --- GoogleTest from Debian's sources -----------------------------------------------
if [ ! -f "$prefix/lib/libgtest.a" ]; then
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DZV_MINGW_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >/dev/null
  cmake --build "$deps/googletest-build" -j "$jobs" >/dev/null
  cmake --install "$deps/googletest-build" >/dev/null
fi
echo "build-mingw-deps: libpng and GoogleTest are in $prefix"
