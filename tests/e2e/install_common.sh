#!/usr/bin/env bash
# Checks shared by the install and package tests: what an install prefix holds, and the installed game
# started from a folder that has nothing to do with it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
INSTALL_DATA=share/games/glimmerfall
INSTALL_ICON_SIZES="48 64 128 256"

# usage: install_expected_files [game|maptools]  the files an install puts below its prefix for that
# component (both when none is named), one a line.
install_expected_files() {
  local component=${1:-both} name size
  if [ "$component" != maptools ]; then
    for name in Cart.bmp turret.bmp Gun.bmp orb.bmp alien.bmp dome.bmp gui.bmp face.bmp \
      level1.fmp test.fmp Mystery.ogg Airship.ogg glimmerfall.cfg; do
      echo "$INSTALL_DATA/$name"
    done
    for size in $INSTALL_ICON_SIZES; do echo "share/icons/hicolor/${size}x$size/apps/glimmerfall.png"; done
    printf '%s\n' games/glimmerfall share/applications/glimmerfall.desktop \
      share/metainfo/org.glimmerfall.glimmerfall.metainfo.xml share/man/man6/glimmerfall.6.gz \
      share/doc/glimmerfall/copyright share/doc/glimmerfall/changelog.Debian.gz share/lintian/overrides/glimmerfall
  fi
  if [ "$component" != game ]; then
    printf '%s\n' bin/fmpinfo bin/fmptiled share/man/man1/fmpinfo.1.gz share/man/man1/fmptiled.1.gz share/doc/glimmerfall-maptools/copyright \
      share/doc/glimmerfall-maptools/changelog.Debian.gz share/lintian/overrides/glimmerfall-maptools
  fi
}

# usage: install_check_prefix PREFIX  the files, nothing else; icons of their size; the desktop entry's
# program and icon and the metainfo's desktop entry are the installed ones.
install_check_prefix() {
  local prefix=$1 size icon
  diff <(install_expected_files | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) \
    || e2e_fail "$prefix: the installed files differ from the list (< missing, > unexpected)"
  for size in $INSTALL_ICON_SIZES; do
    file "$prefix/share/icons/hicolor/${size}x$size/apps/glimmerfall.png" | grep -q "PNG image data, $size x $size," \
      || e2e_fail "the ${size}x$size icon is not a $size x $size PNG"
  done
  [ -x "$prefix/games/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/share/applications/glimmerfall.desktop")" ] \
    || e2e_fail "the desktop entry's Exec is not the installed game"
  icon=$(sed -n 's/^Icon=//p' "$prefix/share/applications/glimmerfall.desktop")
  [ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || e2e_fail "the desktop entry's Icon $icon is not installed"
  grep -q '<launchable type="desktop-id">glimmerfall.desktop</launchable>' \
    "$prefix/share/metainfo/org.glimmerfall.glimmerfall.metainfo.xml" || e2e_fail "the metainfo names another desktop entry"
  e2e_log "$prefix holds the expected files"
}

# usage: install_play SHOT EXE [VAR=value...]  starts EXE from a fresh folder that holds nothing (or from
# INSTALL_START_DIR); the menu must appear without a message (its music was found) and ESC end the game
# with status 0.
install_play() {
  local shot=$1
  E2E_GAME_EXE=$2 E2E_START_DIR=${INSTALL_START_DIR:-$(mktemp -d "$E2E_WORK/elsewhere-XXXXXX")}
  e2e_start_game "${@:3}"
  shell_wait_for_menu "$shot"
  [ "$(e2e_message_count)" = 0 ] || e2e_fail "$shot: the game showed a message (its files were not found?)"
  e2e_key Escape
  shell_expect_exit_zero 10
  unset E2E_GAME_EXE E2E_START_DIR
}

# usage: install_expect_no_data EXE WANT [VAR=value...]  the game, started from an empty folder on the
# display, prints one line on stderr holding WANT and ends with status 1 before anything else: no menu
# (it would wait for keys), no message box.
install_expect_no_data() {
  local exe=$1 want=$2 folder status=0
  folder=$(mktemp -d "$E2E_WORK/empty-XXXXXX")
  (cd "$folder" && timeout 30 env -u GLIMMERFALL_DATA HOME="$E2E_HOME" PATH="$E2E_WORK/bin:$PATH" "${@:3}" "$exe") \
    >"$E2E_WORK/out" 2>"$E2E_WORK/err" || status=$?
  [ "$status" = 1 ] || e2e_fail "no data: status $status, not 1"
  [ ! -s "$E2E_WORK/out" ] && [ "$(wc -l <"$E2E_WORK/err")" = 1 ] && [ "$(e2e_message_count)" = 0 ] \
    || e2e_fail "no data: not one line on stderr and nothing else: $(cat "$E2E_WORK/out" "$E2E_WORK/err")"
  grep -qF -- "$want" "$E2E_WORK/err" || e2e_fail "no data: the line does not name $want: $(cat "$E2E_WORK/err")"
  e2e_log "no data: $(cat "$E2E_WORK/err")"
}
