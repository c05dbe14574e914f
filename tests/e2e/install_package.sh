#!/usr/bin/env bash
# The Debian packages, the game and the map author's tools: built with CPack from the build's install
# rules, their control fields and files read with dpkg-deb, checked by lintian, then unpacked into a
# scratch root and the game started from there.
source "$(dirname "$0")/lib.sh"
e2e_init install_package "${1:?build folder}"
version=${2:?Debian version} readme=${3:?README} arch=$(dpkg --print-architecture) root=$E2E_WORK/root

cpack --config "$1/CPackConfig.cmake" -B "$E2E_WORK/deb" >"$E2E_ARTIFACTS/cpack.log" 2>&1 || e2e_fail "cpack failed"
# usage: check_package NAME COMPONENT SECTION LIBRARY...  its control fields, Depends and files.
check_package() {
  local name=$1 component=$2 section=$3 deb=$E2E_WORK/deb/${1}_${version}_$arch.deb pair library
  [ -f "$deb" ] || e2e_fail "no $(basename "$deb"): $(ls "$E2E_WORK/deb")"
  dpkg-deb -I "$deb" >"$E2E_ARTIFACTS/$name.control.txt" && dpkg-deb -c "$deb" >"$E2E_ARTIFACTS/$name.contents.txt"
  field() { dpkg-deb -f "$deb" "$1"; }
  for pair in Package="$name" Version="$version" Architecture="$arch" Section="$section"; do
    [ "$(field "${pair%%=*}")" = "${pair#*=}" ] || e2e_fail "$name: control field ${pair%%=*} is '$(field "${pair%%=*}")'"
  done
  # The Depends line is worked out from the programs' shared libraries.
  for library in "${@:4}"; do
    field Depends | tr ',' '\n' | awk '{print $1}' | grep -qxF "$library" || e2e_fail "$name: Depends lacks $library: $(field Depends)"
  done
  diff <(install_expected_files "$component" | sed 's|^|./usr/|' | sort) \
    <(awk '/^-/ {print $6}' "$E2E_ARTIFACTS/$name.contents.txt" | sort) \
    || e2e_fail "$name: the package's files differ from the list (< missing, > unexpected)"
  dpkg-deb -x "$deb" "$root" || e2e_fail "dpkg-deb -x $name failed"
  e2e_log "$name: control fields and file list as expected; Depends: $(field Depends)"
}
check_package glimmerfall game games liballegro4.4 libvorbisfile3 libc6 libstdc++6
check_package glimmerfall-maptools maptools utils libc6 libstdc++6

# Debian's own checker: no error and no warning; each note it still makes is one the README's packaging
# section names and explains.
lintian --display-info --pedantic --show-overrides "$E2E_WORK"/deb/*.deb >"$E2E_ARTIFACTS/lintian.txt" 2>"$E2E_ARTIFACTS/lintian.err" \
  || [ -s "$E2E_ARTIFACTS/lintian.txt" ] || e2e_fail "lintian failed: $(cat "$E2E_ARTIFACTS/lintian.err")"
! grep -E '^[EW]: ' "$E2E_ARTIFACTS/lintian.txt" || e2e_fail "lintian reports errors or warnings (above)"
for tag in $(awk '/^[IPO]: / {print $3}' "$E2E_ARTIFACTS/lintian.txt" | sort -u); do
  sed -n '/^## Packaging/,/^## /p' "$readme" | grep -qF -- "\`$tag\`" || e2e_fail "lintian note $tag is not explained in the README"
done
e2e_log "lintian: $(wc -l <"$E2E_ARTIFACTS/lintian.txt") notes, all explained"

install_check_prefix "$root/usr"
e2e_start_xvfb
install_play unpacked "$root/usr/games/glimmerfall"
e2e_pass
