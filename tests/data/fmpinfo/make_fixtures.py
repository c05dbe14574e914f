#!/usr/bin/env python3
# Writes the fmpinfo fixtures and the dumps expected of them, worked out from the FMP layout and the
# library's pixel formats, not from fmpinfo's output. Without a display the library packs colours
# blue-first: 32-bit blue << 16 | green << 8 | red, 16-bit blue:5 green:6 red:5.
import struct

def chunk(i, d): return i + struct.pack('>I', len(d)) + d

# Map 3 x 2, blocks 2 x 1 at 24 bits, 2 records, 2 graphics, steps 4 x 3, staggers 1 and -1. Frames 1, 0;
# the end record; a type-2 animation over both frames, so it starts on the last (position 1).
pixels = [(255, 0, 255), (10, 20, 30), (0, 0, 0), (255, 255, 255)]
data = b''.join(chunk(i, d) for i, d in [
    (b'MPHD', bytes([1, 0, 0, 1]) + struct.pack('>hhIhhhhhhIhhhh', 3, 2, 0, 2, 1, 24, 32, 2, 2, 0, 4, 3, 1, -1)),
    (b'BKDT', struct.pack('>' + 'iiiiIIHHBBBB' * 2, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 0x0c,
                          1, 1, 0, 0, 0xffffffff, 0, 65535, 0, 0, 0, 255, 0xa5)),
    (b'ANDT', struct.pack('>ii', 1, 0) + bytes([0xff]) + bytes(15) + bytes([2, 3, 4, 5]) + struct.pack('>iii', 0, 0, 2)),
    (b'BGFX', bytes(sum(pixels, ()))), (b'BODY', struct.pack('>hhhhhh', 0, 1, -1, 1, 0, 0))])
whole = b'FORM' + struct.pack('>I', len(data) + 4) + b'FMAP' + data
open('tiny.fmp', 'wb').write(whole)
open('truncated.fmp', 'wb').write(whole[:-3])
# Layer 1 differs from layer 0 in cell (1, 0) alone: block 0 (ways 0xC) where layer 0 has block 1 (ways 0x5).
layers = data + chunk(b'LYR1', struct.pack('>hhhhhh', 0, 0, -1, 1, 0, 0))
open('layers.fmp', 'wb').write(b'FORM' + struct.pack('>I', len(layers) + 4) + b'FMAP' + layers)
# The same chunks in a container whose FORM, FMAP or both are misspelt.
for name, form, fmap in [('noform', b'FORN', b'FMAP'), ('nofmap', b'FORM', b'FMAQ'), ('neither', b'RIFF', b'WAVE')]:
    open(name + '.fmp', 'wb').write(form + whole[4:8] + fmap + data)

def fnv(values):  # FNV-1a of each pixel value as 4 bytes, least significant first
    h = 0x811c9dc5
    for byte in struct.pack('<%dI' % len(values), *values):
        h = ((h ^ byte) * 16777619) & 0xffffffff
    return '%08x' % h

colour = {32: lambda r, g, b: (b << 16) | (g << 8) | r, 16: lambda r, g, b: ((b >> 3) << 11) | ((g >> 2) << 5) | (r >> 3)}
for depth, c in colour.items():
    open('tiny.dump%d' % depth, 'w').write(
        "result 0 loadError 0\nheader mapWidth 3 mapHeight 2 blockWidth 2 blockHeight 1 blockDepth %d blockRecordSize 32 "
        "blockRecordCount 2 graphicCount 2 blockStepX 4 blockStepY 3 staggerX 1 staggerY -1 encodingType 1 littleEndian 0\n"
        "block 0 back 0 fore1 - fore2 - fore3 - user 1 2 3 4 5 6 7 flags 0x0c\n"
        "block 1 back 1 fore1 1 fore2 - fore3 - user 4294967295 0 65535 0 0 0 255 flags 0xa5\nframes 1 0\n"
        "anim 0 type -1 delay 0 counter 0 user 0 current 0 first 0 end 0\n"
        "anim 1 type 2 delay 3 counter 4 user 5 current 1 first 0 end 2\nlayer 0 0 0 1 -1\nlayer 0 1 1 0 0\n" % depth +
        "".join("graphic %d %s\n" % (g, fnv([c(*p) for p in pixels[2 * g:2 * g + 2]])) for g in range(2)))
open('truncated.dump', 'w').write("result -1 loadError 2\n")
open('missing.dump', 'w').write("result -1 loadError 3\n")
