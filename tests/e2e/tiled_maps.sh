#!/usr/bin/env bash
# fmptiled against Tiled itself (tmxrasterizer, tiled --export-map). Round trips: the shipped maps and an
# author's map imported at every depth come back from export and import with the same dump (its graphics
# hashed pixel by pixel, so the same render), and Tiled draws the exported TMX as fmpinfo renders the map.
# An author's map of one to four visible layers renders as Tiled draws it. What Tiled writes (TMJ, TMX in
# every layer encoding, a TSJ tileset) imports to the same map. The refusals: one line naming the file,
# status 2, no output file.
source "$(dirname "$0")/lib.sh"
e2e_init tiled_maps "${1:?build folder}"
BUILD=$(dirname "$E2E_GAME_DIR")
FMPTILED=$BUILD/tools/fmptiled FMPINFO=$BUILD/tools/fmpinfo W=$E2E_WORK
MAKE_MAP=$(cd "$(dirname "$0")/../data/tiled" && pwd)/make_author_map.sh
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$W
dump() { "$FMPINFO" --dump "$1" | grep -v '^places '; }
tiled_cli() { tiled "$@" >/dev/null 2>&1 || e2e_fail "tiled $*"; }

# usage: same_picture MAP TMX  fmpinfo's view of MAP at camera (0, 0) against tmxrasterizer's TMX, over the part
# of the view the map covers (a map smaller than the view lies in its lower right corner).
same_picture() {
  local w h differ
  "$FMPINFO" --render "$1" "$W/game.bmp" >/dev/null || e2e_fail "no render of $1"
  tmxrasterizer --hide-layer places "$2" "$W/tiled.png" 2>/dev/null || e2e_fail "tmxrasterizer $2"
  read -r w h < <("$E2E_CONVERT" "$W/tiled.png" -format '%w %h' info:)
  local cw=$((w < 640 ? w : 640)) ch=$((h < 480 ? h : 480)) ox=$((w < 640 ? 640 - w : 0)) oy=$((h < 480 ? 480 - h : 0))
  "$E2E_CONVERT" "$W/game.bmp" -crop "${cw}x${ch}+$ox+$oy" +repage -alpha off "$W/game.png"
  "$E2E_CONVERT" "$W/tiled.png" -crop "${cw}x${ch}+0+0" +repage -alpha off "$W/tiled-view.png"
  differ=$(compare -metric AE "$W/game.png" "$W/tiled-view.png" "$W/diff.png" 2>&1)
  [ "$differ" = 0 ] || { cp "$W"/game.png "$W"/tiled-view.png "$E2E_ARTIFACTS/"; e2e_fail "$1: $differ pixels differ from Tiled's"; }
}

# Maps to go round: the shipped ones, and the author's map (4 visible layers, a hidden one, an animation)
# imported at every depth.
mkdir "$W/author" && "$MAKE_MAP" "$W/author" 5
maps=("$E2E_GAME_DIR/level1.fmp:16" "$E2E_GAME_DIR/test.fmp:8")
for depth in 8 15 16 24 32; do
  "$FMPTILED" import "$W/author/map.tmx" "$W/author-$depth.fmp" --depth "$depth" || e2e_fail "import at $depth"
  maps+=("$W/author-$depth.fmp:$depth")
done
for entry in "${maps[@]}"; do
  map=${entry%:*} depth=${entry##*:} name=$(basename "${entry%.fmp:*}")
  "$FMPTILED" export "$map" "$W/$name.tmx" && [ -s "$W/$name.png" ] || e2e_fail "export of $map"
  "$FMPTILED" import "$W/$name.tmx" "$W/$name-back.fmp" --depth "$depth" || e2e_fail "import of $name.tmx"
  diff <(dump "$map") <(dump "$W/$name-back.fmp") >"$W/dump.diff" || e2e_fail "$name: $(head -3 "$W/dump.diff")"
  same_picture "$map" "$W/$name.tmx"
done
# A map without places goes out with those the game gives it by file name.
"$FMPINFO" "$W/level1-back.fmp" | grep -qx 'places: start (5, 4), domes (9, 5)' || e2e_fail "level1's places"
e2e_log "round trips: ${#maps[@]} maps, all equal"

for layers in 1 2 3 4; do
  mkdir -p "$W/layers$layers" && "$MAKE_MAP" "$W/layers$layers" "$layers"
  "$FMPTILED" import "$W/layers$layers/map.tmx" "$W/layers$layers.fmp" || e2e_fail "import of $layers layers"
  same_picture "$W/layers$layers.fmp" "$W/layers$layers/map.tmx"
done
cp "$W/tiled.png" "$E2E_ARTIFACTS/author-tiled.png" && cp "$W/game.png" "$E2E_ARTIFACTS/author-game.png"

# Every layer encoding, written here and rewritten by Tiled as TMX and as TMJ; the author's map as TMJ with
# its external tileset, and with that tileset as TSJ.
ENCODE=$(dirname "$MAKE_MAP")/encode_layers.pl
want=$(dump "$W/level1-back.fmp")
for kind in xml base64 zlib gzip zstd; do
  "$ENCODE" "$kind" <"$W/level1.tmx" >"$W/$kind.tmx" || e2e_fail "encoding $kind"
  [ "$kind" = xml ] || grep -q "encoding=\"base64\"" "$W/$kind.tmx" || e2e_fail "no $kind layers written"
  tiled_cli --export-map tmx "$W/$kind.tmx" "$W/$kind-tiled.tmx"
  tiled_cli --export-map json "$W/$kind.tmx" "$W/$kind-tiled.tmj"
  for read in "$kind.tmx" "$kind-tiled.tmx" "$kind-tiled.tmj"; do
    "$FMPTILED" import "$W/$read" "$W/read.fmp" --depth 16 || e2e_fail "import of $read"
    [ "$(dump "$W/read.fmp")" = "$want" ] || e2e_fail "$read imports to another map"
  done
done
A=$W/author
want=$(dump "$W/author-32.fmp")
tiled_cli --export-map json "$A/map.tmx" "$A/map.tmj"
tiled_cli --export-tileset json "$A/decor.tsx" "$A/decor.tsj"
sed 's/decor.tsx/decor.tsj/' "$A/map.tmx" >"$A/tsj.tmx"
for read in map.tmj tsj.tmx; do
  "$FMPTILED" import "$A/$read" "$W/read.fmp" || e2e_fail "import of $read"
  [ "$(dump "$W/read.fmp")" = "$want" ] || e2e_fail "$read imports to another map"
done
e2e_log "Tiled's TMX and TMJ in every encoding read back the same"

# The refusals: a change to the author's map, and what the one line says after the file's name.
refusals=(
  's/^1,1,1,/2147483649,1,1,/|map.tmx: layer "ground": cell (0, 0) holds a flipped or rotated tile'
  's/"ground" tilewidth="32"/"ground" tilewidth="16"/|map.tmx: tileset "ground" has tiles of 16 x 32 pixels'
  's/orthogonal/isometric/|map.tmx: an isometric map; FMP maps are orthogonal'
  's/infinite="0"/infinite="1"/|map.tmx: an infinite map; FMP maps are finite'
  's/ground.png/nothing.png/|map.tmx: tileset "ground": the picture'
  's/^1,1,1,/1,99,1,/|map.tmx: layer "ground": cell (1, 0) names tile id 99, which no tileset holds'
  's/name="dome"/name="start"/|map.tmx: the places need one "start" point and one to five "dome" points'
  's/x="200" y="200"/x="900" y="20"/|map.tmx: the "dome" point at (900.000000, 20.000000) lies outside the map'
  's/<data encoding="csv">/<data encoding="base64" compression="zlib">AAAA/|map.tmx: layer "ground": the base64 layer'
)
# usage: expect_refused FILE TEXT  the import of FILE ends with status 2 and one line holding TEXT, no output
expect_refused() {
  local status=0
  "$FMPTILED" import "$1" "$W/refused/out.fmp" 2>"$W/err" || status=$?
  [ "$status" = 2 ] && [ "$(wc -l <"$W/err")" = 1 ] && grep -qF "$2" "$W/err" ||
    e2e_fail "$1, wanting \"$2\": status $status, said: $(cat "$W/err")"
  [ ! -e "$W/refused/out.fmp" ] && [ ! -e "$W/refused/out.fmp.partial" ] || e2e_fail "output left by $1"
}
for row in "${refusals[@]}"; do
  rm -rf "$W/refused" && cp -r "$W/author" "$W/refused" && rm -f "$W"/refused/*.fmp "$W"/refused/*.tmj
  sed -i "${row%%|*}" "$W/refused/map.tmx"
  expect_refused "$W/refused/map.tmx" "fmptiled: $W/refused/${row#*|}"
done
"$MAKE_MAP" "$W/refused" 9
expect_refused "$W/refused/map.tmx" 'layer "decor 8" is layer 9; FMP maps hold at most 8'
printf '{"type": "map", "width": ' >"$W/refused/cut.tmj"
expect_refused "$W/refused/cut.tmj" "cut.tmj: not a readable JSON object"
# A number no field can hold (the fuzzer's find: converting it was undefined), refused by the field's name.
expect_refused "$(dirname "$0")/../../fuzz/corpus/tiled_import_fuzzer/huge_width.tmj" \
  '"width" is not a whole number the map can hold'
e2e_pass
