#!/usr/bin/env bash
# Makes the .deb of a build folder, unpacks it into a temporary root and checks it: the
# programs in usr/bin, the demo characters, the menu entry, the icons and the documents
# where they belong and nothing else; the unpacked zelvotta-tool loads the unpacked
# characters; the control fields name the package, its version and its dependencies.
# Usage: package_test.sh CPACK BUILD_DIR SOURCE_DIR VERSION
# Prints one line per check; exits 0 when all pass, 77 (skipped) without dpkg's tools.
set -uo pipefail
cpack="$1"
build="$2"
source="$3"
version="$4"

for tool in "$cpack" dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION STATUS
  if [ "$2" -eq 0 ]; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

# --- the package --------------------------------------------------------------------
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1
status=$?
[ $status -ne 0 ] && cat "$work/cpack.log"
check "cpack makes the package" $status
debs=("$work"/out/zelvotta_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ]
check "one package named zelvotta_<version>_<arch>.deb (${debs[*]##*/})" $?
deb="${debs[0]}"
[ -f "$deb" ] || exit 1
root="$work/root"
dpkg-deb -x "$deb" "$root"
check "dpkg-deb unpacks it" $?

# --- the files ----------------------------------------------------------------------
[ -x "$root/usr/bin/zelvotta" ] && [ -x "$root/usr/bin/zelvotta-tool" ]
check "usr/bin holds zelvotta and zelvotta-tool" $?
diff <(cd "$source/characters" && find . -type f | sort) \
     <(cd "$root/usr/share/zelvotta/Characters" 2>/dev/null && find . -type f | sort)
check "usr/share/zelvotta/Characters holds every file of the demo characters" $?
desktop="$root/usr/share/applications/zelvotta.desktop"
grep -qx 'Exec=zelvotta' "$desktop" && grep -qx 'Icon=zelvotta' "$desktop"
check "the menu entry starts zelvotta with its icon" $?
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop"
  check "desktop-file-validate accepts the menu entry" $?
fi
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
for size in 16 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/zelvotta.png"
  described="$("$root/usr/bin/zelvotta-tool" image "$icon" 2>&1)"
  [[ "$described" == "ok $size $size "* ]]
  check "the ${size}x${size} icon is a $size-pixel image ($described)" $?
done
[ -f "$root/usr/share/doc/zelvotta/README.md" ] && [ -f "$root/usr/share/doc/zelvotta/LICENSE" ]
check "usr/share/doc/zelvotta holds README.md and LICENSE" $?
unexpected="$(cd "$root" && find . -type f | sed 's|^\./||' | grep -Ev \
  '^usr/bin/zelvotta(-tool)?$|^usr/share/zelvotta/Characters/|^usr/share/applications/zelvotta\.desktop$|^usr/share/icons/hicolor/[0-9]+x[0-9]+/apps/zelvotta\.png$|^usr/share/doc/zelvotta/(README\.md|LICENSE)$')"
[ -z "$unexpected" ] || echo "$unexpected"
[ -z "$unexpected" ]
check "nothing else is in the package" $?

# --- the unpacked tool on the unpacked characters -----------------------------------
output="$("$root/usr/bin/zelvotta-tool" check --app-dir "$root/usr/share/zelvotta" 2>&1)"
status=$?
echo "$output"
[ $status -eq 0 ] && grep -qx 'ok Hopper' <<<"$output" && grep -qx 'ok Walker' <<<"$output"
check "zelvotta-tool check loads Hopper and Walker from the package (exit $status)" $?

# --- the control fields -------------------------------------------------------------
[ "$(dpkg-deb -f "$deb" Package)" = zelvotta ] && [ "$(dpkg-deb -f "$deb" Version)" = "$version" ]
check "the package is zelvotta $version" $?
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
grep -q 'libpng' <<<"$depends" && grep -q 'fonts-ipafont-gothic' <<<"$depends"
check "Depends names libpng (from dpkg-shlibdeps) and fonts-ipafont-gothic" $?

[ $failures -eq 0 ]
