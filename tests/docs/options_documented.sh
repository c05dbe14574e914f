#!/usr/bin/env bash
# The options the game answers --help with are the ones its README shows (the --help text word for word)
# and its manual page describes (each option as a .B/.BI/.BR entry).
# usage: options_documented.sh GAME README MANPAGE
set -euo pipefail
game=${1:?game} readme=${2:?README} manpage=${3:?manual page}
help=$("$game" --help)
[[ "$(cat "$readme")" == *"$help"* ]] || { echo "README does not hold the --help text as the game prints it"; exit 1; }
# The options --help lists, less those the manual page has an entry for (its "\-" read as "-").
undescribed=$(sed -n 's/^  \(--[a-z-]*\).*/\1/p' <<<"$help" |
  grep -vxF -f <(grep -E '^\.B[IR]? ' "$manpage" | awk '{print $2}' | sed 's/\\-/-/g')) || true
[ -z "$undescribed" ] || { echo "$manpage does not describe" $undescribed; exit 1; }
