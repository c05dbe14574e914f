#!/usr/bin/env python3
# Writes the fmpinfo fixtures and the dumps expected of them, worked out from
# the FMP layout and the library's pixel formats (not from fmpinfo's output).
# The library started without a display packs colours blue-first: 32-bit
# blue << 16 | green << 8 | red, 16-bit blue:5 green:6 red:5.
import struct

def chunk(i, d):
    return i + struct.pack('>I', len(d)) + d

# Map 3 x 2, blocks 2 x 1 pixels at 24 bits, 2 records, 2 graphics,
# steps 4 x 3, staggers 1 and -1.
mphd = (bytes([1, 0, 0, 1]) + struct.pack('>hh', 3, 2) + b'\0' * 4 +
        struct.pack('>hhhhhh', 2, 1, 24, 32, 2, 2) + b'\0' * 4 + struct.pack('>hhhh', 4, 3, 1, -1))
assert len(mphd) == 36
rec0 = struct.pack('>iiiiIIHHBBBB', 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 0x0c)
rec1 = struct.pack('>iiiiIIHHBBBB', 1, 1, 0, 0, 0xffffffff, 0, 65535, 0, 0, 0, 255, 0xa5)
# Frames 1, 0; the end record; one type-2 animation over both frames, which
# therefore starts on its last frame (position 1).
andt = struct.pack('>ii', 1, 0) + bytes([0xff, 0, 0, 0]) + b'\0' * 12 + bytes([2, 3, 4, 5]) + struct.pack('>iii', 0, 0, 2)
bgfx = bytes([255, 0, 255, 10, 20, 30, 0, 0, 0, 255, 255, 255])
body = struct.pack('>hhhhhh', 0, 1, -1, 1, 0, 0)
data = chunk(b'MPHD', mphd) + chunk(b'BKDT', rec0 + rec1) + chunk(b'ANDT', andt) + chunk(b'BGFX', bgfx) + chunk(b'BODY', body)
whole = b'FORM' + struct.pack('>I', len(data) + 4) + b'FMAP' + data
open('tiny.fmp', 'wb').write(whole)
open('truncated.fmp', 'wb').write(whole[:-3])

def fnv(values):
    h = 0x811c9dc5
    for v in values:
        for s in range(0, 32, 8):
            h ^= (v >> s) & 0xff
            h = (h * 16777619) & 0xffffffff
    return '%08x' % h

common = """block 0 back 0 fore1 - fore2 - fore3 - user 1 2 3 4 5 6 7 flags 0x0c
block 1 back 1 fore1 1 fore2 - fore3 - user 4294967295 0 65535 0 0 0 255 flags 0xa5
frames 1 0
anim 0 type -1 delay 0 counter 0 user 0 current 0 first 0 end 0
anim 1 type 2 delay 3 counter 4 user 5 current 1 first 0 end 2
layer 0 0 0 1 -1
layer 0 1 1 0 0
"""

def header(depth):
    return ("result 0 loadError 0\nheader mapWidth 3 mapHeight 2 blockWidth 2 blockHeight 1 blockDepth %d "
            "blockRecordSize 32 blockRecordCount 2 graphicCount 2 blockStepX 4 blockStepY 3 staggerX 1 staggerY -1 "
            "encodingType 1 littleEndian 0\n" % depth)

c32 = lambda r, g, b: (b << 16) | (g << 8) | r
c16 = lambda r, g, b: ((b >> 3) << 11) | ((g >> 2) << 5) | (r >> 3)
for depth, c in ((32, c32), (16, c16)):
    graphics = "graphic 0 %s\ngraphic 1 %s\n" % (fnv([c(255, 0, 255), c(10, 20, 30)]), fnv([c(0, 0, 0), c(255, 255, 255)]))
    open('tiny.dump%d' % depth, 'w').write(header(depth) + common + graphics)
open('truncated.dump', 'w').write("result -1 loadError 2\n")
open('missing.dump', 'w').write("result -1 loadError 3\n")
