#!/usr/bin/env bash
# The Debian package: built with CPack from the build's install rules, its control fields and files
# read with dpkg-deb, then unpacked into a scratch root and the game started from there.
# usage: install_package.sh BUILD_DIR VERSION
# shellcheck source=tests/e2e/install_common.sh
source "$(dirname "$0")/install_common.sh"
e2e_init install_package "${1:?build folder}"
version=${2:?project version} arch=$(dpkg --print-architecture) root=$E2E_WORK/root

cpack --config "$1/CPackConfig.cmake" -B "$E2E_WORK/deb" >"$E2E_ARTIFACTS/cpack.log" 2>&1 || e2e_fail "cpack failed"
deb=$E2E_WORK/deb/glimmerfall_${version}_$arch.deb
[ -f "$deb" ] || e2e_fail "no $(basename "$deb"): $(ls "$E2E_WORK/deb")"
dpkg-deb -I "$deb" >"$E2E_ARTIFACTS/control.txt" && dpkg-deb -c "$deb" >"$E2E_ARTIFACTS/contents.txt"

field() { dpkg-deb -f "$deb" "$1"; }
for pair in Package=glimmerfall Version="$version" Architecture="$arch" Section=games; do
  [ "$(field "${pair%%=*}")" = "${pair#*=}" ] || e2e_fail "control field ${pair%%=*} is '$(field "${pair%%=*}")'"
done
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || e2e_fail "Maintainer '$(field Maintainer)' is no name <address>"
[ "$(field Description | wc -l)" -ge 2 ] || e2e_fail "the Description has no long text"
# The Depends line is worked out from the programs' shared libraries.
for library in liballegro4.4 libvorbisfile3 libc6 libstdc++6; do
  field Depends | tr ',' '\n' | awk '{print $1}' | grep -qxF "$library" || e2e_fail "Depends lacks $library: $(field Depends)"
done
diff <(install_expected_files | sed 's|^|./usr/|' | sort) <(awk '/^-/ {print $6}' "$E2E_ARTIFACTS/contents.txt" | sort) \
  || e2e_fail "the package's files differ from the list (< missing, > unexpected)"
e2e_log "control fields and file list as expected; Depends: $(field Depends)"

dpkg-deb -x "$deb" "$root" || e2e_fail "dpkg-deb -x failed"
install_check_prefix "$root/usr"
e2e_start_xvfb
e2e_make_home null-audio
install_play unpacked "$root/usr/games/glimmerfall"
e2e_pass
