#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix, then the game started from a folder that
# has nothing to do with it, from a moved prefix, with GLIMMERFALL_DATA, and without any data.
source "$(dirname "$0")/lib.sh"
e2e_init install_game "${1:?build folder}"
prefix=$E2E_WORK/prefix moved=$E2E_WORK/moved alone=$E2E_WORK/alone

# The install lists what it wrote in the build's install_manifest.txt, the list a player uninstalls by:
# keep theirs as it was.
manifest=$1/install_manifest.txt
[ -f "$manifest" ] && cp -p "$manifest" "$E2E_WORK/manifest"
cmake --install "$1" --prefix "$prefix" >"$E2E_ARTIFACTS/install.log" || e2e_fail "cmake --install failed"
if [ -f "$E2E_WORK/manifest" ]; then cp -p "$E2E_WORK/manifest" "$manifest"; else rm -f "$manifest"; fi
install_check_prefix "$prefix"
e2e_start_xvfb
install_play installed "$prefix/games/glimmerfall"
# Started from a folder of the player's that holds a glimmerfall.cfg and a gui.bmp: the settings come from
# the data folder (this config, were it read, would end the game with status 2), and a stray picture does
# not make a folder the game's.
stray=$E2E_WORK/stray && mkdir "$stray" && printf 'BM' >"$stray/gui.bmp"
printf 'fps = not read\n' >"$stray/glimmerfall.cfg"
INSTALL_START_DIR=$stray install_play stray_files "$prefix/games/glimmerfall"

# The data folder is found from the executable's own place, not from where it was installed to.
mv "$prefix" "$moved"
install_play moved_prefix "$moved/games/glimmerfall"

# The executable alone: nothing beside it, the data only where GLIMMERFALL_DATA says.
mkdir -p "$alone/games" && cp "$moved/games/glimmerfall" "$alone/games/"
install_play data_variable "$alone/games/glimmerfall" GLIMMERFALL_DATA="$moved/$INSTALL_DATA"
# Without the data, from an empty folder: status 1 and one line naming where it was looked for, before any
# window. A variable naming the wrong folder is reported even where the installed data would be found.
empty=$E2E_WORK/empty && mkdir "$empty"
E2E_START_DIR=$empty E2E_GAME_EXE=$alone/games/glimmerfall GLIMMERFALL_DATA= \
  e2e_expect_refused 1 "glimmerfall: *$alone/$INSTALL_DATA*"
E2E_START_DIR=$empty E2E_GAME_EXE=$moved/games/glimmerfall GLIMMERFALL_DATA=$alone \
  e2e_expect_refused 1 "glimmerfall: *GLIMMERFALL_DATA names $alone,*"
e2e_pass
