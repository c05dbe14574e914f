#!/usr/bin/env bash
# usage: make_author_map.sh FOLDER LAYERS
# A map as an author makes it from nothing in Tiled: a 12 x 10 map of 32-pixel tiles, ground with a marked
# loop of track (tileset "ground", one picture, tile properties exitUp/Down/Left/Right), then up to three
# layers of "decor" (a second, external tileset with transparent pixels, a lamp animated over two tiles)
# and hidden ones past those, a start point on the track and two domes. Writes FOLDER/map.tmx, ground.png, decor.tsx and decor.png.
set -euo pipefail
out=${1:?folder} layers=${2:?layers}
convert=$(command -v convert-im6.q16 || command -v convert)
# ground: grass, track across, along, and the corners right-down, left-down, right-up, left-up
"$convert" -size 224x32 xc:'#2f7d32' +antialias -fill '#9e9e9e' \
  -draw 'rectangle 32,12 63,19' -draw 'rectangle 76,0 83,31' \
  -draw 'rectangle 108,12 127,19' -draw 'rectangle 108,12 115,31' \
  -draw 'rectangle 128,12 147,19' -draw 'rectangle 140,12 147,31' \
  -draw 'rectangle 172,0 179,19' -draw 'rectangle 172,12 191,19' \
  -draw 'rectangle 204,0 211,19' -draw 'rectangle 192,12 211,19' "$out/ground.png"
# decor: a red stone, a blue bar, a lamp off and on, all on transparency
"$convert" -size 128x32 xc:none +antialias -fill '#c62828' -draw 'circle 16,16 16,6' \
  -fill '#1565c0' -draw 'rectangle 34,4 61,9' -fill '#424242' -draw 'circle 80,16 80,9' \
  -fill '#fdd835' -draw 'circle 112,16 112,9' PNG32:"$out/decor.png"
cat >"$out/decor.tsx" <<TSX
<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" name="decor" tilewidth="32" tileheight="32" tilecount="4" columns="4">
 <image source="decor.png" width="128" height="32"/>
 <tile id="2"><animation><frame tileid="2" duration="200"/><frame tileid="3" duration="200"/></animation></tile>
</tileset>
TSX
exits() { printf '<tile id="%s"><properties>' "$1"; shift
  for side; do printf '<property name="exit%s" type="bool" value="true"/>' "$side"; done; printf '</properties></tile>\n'; }
# rows of gids, each cell's from the command given (it sets g from x and y)
grid() {
  local x y g
  for ((y = 0; y < 10; y++)); do for ((x = 0; x < 12; x++)); do
    "$@"; printf '%s' "$g"; ((x == 11 && y == 9)) || printf ,
  done; echo; done
}
# ground: the loop runs round cells (1,1) to (10,8)
ground() {
  g=1
  if ((x >= 1 && x <= 10 && (y == 1 || y == 8))) || ((y >= 1 && y <= 8 && (x == 1 || x == 10))); then
    case "$x,$y" in 1,1) g=4 ;; 10,1) g=5 ;; 1,8) g=6 ;; 10,8) g=7 ;; *) ((y == 1 || y == 8)) && g=2 || g=3 ;; esac
  fi
}
# decor layer N: stones, bars and lamps in a pattern of its own (gid 8 is decor's first tile)
decor() { g=0; (((x * 3 + y * 5 + $1) % 7 == 0)) && g=$((8 + (x + y + $1) % 3)) || true; }
{
  cat <<TMX
<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" orientation="orthogonal" renderorder="right-down" width="12" height="10" tilewidth="32" tileheight="32" infinite="0" nextlayerid="20" nextobjectid="4">
 <tileset firstgid="1" name="ground" tilewidth="32" tileheight="32" tilecount="7" columns="7">
  <image source="ground.png" width="224" height="32"/>
TMX
  exits 1 Left Right; exits 2 Up Down; exits 3 Right Down; exits 4 Left Down; exits 5 Right Up; exits 6 Left Up
  echo ' </tileset>'
  echo ' <tileset firstgid="8" source="decor.tsx"/>'
  printf ' <layer id="1" name="ground" width="12" height="10">\n  <data encoding="csv">\n%s\n  </data>\n </layer>\n' "$(grid ground)"
  for ((n = 1; n < layers; n++)); do
    printf ' <layer id="%s" name="decor %s" width="12" height="10" visible="%s">\n  <data encoding="csv">\n%s\n  </data>\n </layer>\n' \
      $((n + 1)) "$n" $((n < 4)) "$(grid decor "$n")"
  done
  cat <<TMX
 <objectgroup id="19" name="places">
  <object id="1" name="start" x="112" y="48"><point/></object>
  <object id="2" name="dome" x="176" y="144"><point/></object>
  <object id="3" type="dome" x="200" y="200"><point/></object>
 </objectgroup>
</map>
TMX
} >"$out/map.tmx"
