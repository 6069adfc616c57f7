#!/usr/bin/env python3
"""Writes PNG files of every colour type and bit depth into FOLDER, each with
NAME.rgba beside it: the 8-bit RGBA pixels a reader must give (top row first;
16-bit samples keep their top byte; transparency keys and tRNS become alpha).
Lists the names in FOLDER/list.txt. Pillow writes the common kinds, a small
writer here the depths Pillow does not, ImageMagick the 16-bit and interlaced
kinds when it is given as the second argument."""
import struct
import subprocess
import sys
import zlib

from PIL import Image

folder = sys.argv[1].rstrip('/') + '/'
convert = sys.argv[2] if len(sys.argv) > 2 else None
W, H = 13, 5
names = []


def expect(name, rgba):
    with open(folder + name + '.rgba', 'wb') as f:
        f.write(bytes(rgba))
    names.append(name)


def grey(x, y):
    return (x * 19 + y * 37) & 0xFF


def colour(x, y):
    return ((x * 20) & 0xFF, (y * 50) & 0xFF, ((x + y) * 15) & 0xFF)


def alpha(x, y):
    return (x * 21 + y * 3) & 0xFF


# Pillow: 1-bit, 8-bit grey, grey+alpha, grey and RGB with a colour key,
# palette with per-entry transparency at 8 and 4 bits, RGB, RGBA, 16-bit grey.
im = Image.new('1', (W, H))
im.putdata([255 if (x + y) % 3 == 0 else 0 for y in range(H) for x in range(W)])
im.save(folder + 'pil_1bit.png')
expect('pil_1bit', [v for y in range(H) for x in range(W)
                    for v in ((255,) * 3 if (x + y) % 3 == 0 else (0,) * 3) + (255,)])

im = Image.new('L', (W, H))
im.putdata([grey(x, y) for y in range(H) for x in range(W)])
im.save(folder + 'pil_grey8.png')
expect('pil_grey8', [v for y in range(H) for x in range(W) for v in (grey(x, y),) * 3 + (255,)])
key = grey(3, 1)
im.save(folder + 'pil_grey8_key.png', transparency=key)
expect('pil_grey8_key', [v for y in range(H) for x in range(W)
                         for v in (grey(x, y),) * 3 + (0 if grey(x, y) == key else 255,)])

im = Image.new('LA', (W, H))
im.putdata([(grey(x, y), alpha(x, y)) for y in range(H) for x in range(W)])
im.save(folder + 'pil_grey_alpha.png')
expect('pil_grey_alpha',
       [v for y in range(H) for x in range(W) for v in (grey(x, y),) * 3 + (alpha(x, y),)])

im = Image.new('RGB', (W, H))
im.putdata([colour(x, y) for y in range(H) for x in range(W)])
im.save(folder + 'pil_rgb.png')
expect('pil_rgb', [v for y in range(H) for x in range(W) for v in colour(x, y) + (255,)])
rgb_key = colour(4, 2)
im.save(folder + 'pil_rgb_key.png', transparency=rgb_key)
expect('pil_rgb_key', [v for y in range(H) for x in range(W)
                       for v in colour(x, y) + (0 if colour(x, y) == rgb_key else 255,)])

im = Image.new('RGBA', (W, H))
im.putdata([colour(x, y) + (alpha(x, y),) for y in range(H) for x in range(W)])
im.save(folder + 'pil_rgba.png')
expect('pil_rgba', [v for y in range(H) for x in range(W) for v in colour(x, y) + (alpha(x, y),)])

for entries, bits in ((200, 8), (16, 4)):
    palette = [(i * 7 & 0xFF, 255 - i, i * 3 & 0xFF) for i in range(entries)]
    trns = [(i * 40) & 0xFF for i in range(entries // 2)]  # later entries opaque
    im = Image.new('P', (W, H))
    im.putpalette([c for p in palette for c in p])
    index = [(x * 3 + y * 5) % entries for y in range(H) for x in range(W)]
    im.putdata(index)
    name = 'pil_palette%d' % bits
    im.save(folder + name + '.png', bits=bits, transparency=bytes(trns))
    expect(name, [v for i in index for v in palette[i] + (trns[i] if i < len(trns) else 255,)])

values16 = [(x * 5003 + y * 911) & 0xFFFF for y in range(H) for x in range(W)]
im = Image.new('I;16', (W, H))
im.putdata(values16)
im.save(folder + 'pil_grey16.png')
expect('pil_grey16', [v for g in values16 for v in (g >> 8,) * 3 + (255,)])


# A plain writer for the grey and palette depths of 2 and 4 bits and for
# 16-bit grey+alpha: non-interlaced, filter 0.
def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))


def write_png(name, colour_type, depth, rows, extra=b''):
    raw = b''.join(b'\0' + bytes(r) for r in rows)
    data = b'\x89PNG\r\n\x1a\n'
    data += chunk(b'IHDR', struct.pack('>IIBBBBB', W, H, depth, colour_type, 0, 0, 0))
    data += extra + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b'')
    with open(folder + name + '.png', 'wb') as f:
        f.write(data)


def pack(samples, depth):
    out, acc, n = [], 0, 0
    for s in samples:
        acc = (acc << depth) | s
        n += depth
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    return out


for depth in (2, 4):
    top = (1 << depth) - 1
    samples = [[(x + y) % (top + 1) for x in range(W)] for y in range(H)]
    write_png('own_grey%d' % depth, 0, depth, [pack(r, depth) for r in samples])
    expect('own_grey%d' % depth,
           [v for r in samples for s in r for v in (s * 255 // top,) * 3 + (255,)])
    palette = [(i * 60 & 0xFF, 10 + i, 200 - i) for i in range(top + 1)]
    plte = chunk(b'PLTE', bytes(c for p in palette for c in p))
    trns = chunk(b'tRNS', bytes([0]))
    write_png('own_palette%d' % depth, 3, depth, [pack(r, depth) for r in samples], plte + trns)
    expect('own_palette%d' % depth,
           [v for r in samples for s in r for v in palette[s] + (0 if s == 0 else 255,)])

ga = [[((x * 4099 + y) & 0xFFFF, (x * 7 + y * 8191) & 0xFFFF) for x in range(W)] for y in range(H)]
write_png('own_grey_alpha16', 4, 16, [[b for g, a in r for b in struct.pack('>HH', g, a)]
                                      for r in ga])
expect('own_grey_alpha16', [v for r in ga for g, a in r for v in (g >> 8,) * 3 + (a >> 8,)])

# ImageMagick: 16-bit RGB and RGBA from a 16-bit PAM, and Adam7 interlacing.
if convert:
    px = [[((x * 5000) & 0xFFFF, (y * 13000) & 0xFFFF, ((x + y) * 2500) & 0xFFFF,
            (x * 4000 + 1000) & 0xFFFF) for x in range(W)] for y in range(H)]
    pam = ('P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 65535\nTUPLTYPE RGB_ALPHA\nENDHDR\n'
           % (W, H)).encode() + b''.join(struct.pack('>HHHH', *p) for r in px for p in r)
    with open(folder + 'in16.pam', 'wb') as f:
        f.write(pam)
    subprocess.check_call([convert, folder + 'in16.pam', 'PNG64:' + folder + 'im_rgba16.png'])
    expect('im_rgba16', [v for r in px for p in r for v in (p[0] >> 8, p[1] >> 8, p[2] >> 8,
                                                             p[3] >> 8)])
    subprocess.check_call([convert, folder + 'in16.pam', '-alpha', 'off',
                           'PNG48:' + folder + 'im_rgb16.png'])
    expect('im_rgb16', [v for r in px for p in r for v in (p[0] >> 8, p[1] >> 8, p[2] >> 8, 255)])
    subprocess.check_call([convert, folder + 'pil_rgba.png', '-interlace', 'PNG',
                           'PNG32:' + folder + 'im_interlaced.png'])
    with open(folder + 'pil_rgba.rgba', 'rb') as f:
        expect('im_interlaced', f.read())

with open(folder + 'list.txt', 'w') as f:
    f.write('\n'.join(names) + '\n')
