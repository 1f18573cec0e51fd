#!/usr/bin/env python3
"""Makes the window's pictures in res/: the banner, the installer icon, the flag icon and the
application icon, all in the standard 16-colour palette.

Needs Pillow (Debian: python3-pil) and the Liberation fonts, only to letter the banner:
    /usr/bin/python3 tools/make_pictures.py
The output is committed; the build does not run this.
"""
import os
import struct

from PIL import Image, ImageDraw, ImageFont

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

# The standard 16-colour palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def pack4(rows, width):
    """4-bit rows, bottom-up, each padded to 4 bytes. rows[y][x] is a palette index."""
    out = b""
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        while len(line) % 4:
            line.append(0)
        out += bytes(line)
    return out


def pack_mask(mask, width):
    out = b""
    for row in reversed(mask):
        line = bytearray((width + 7) // 8)
        for x, transparent in enumerate(row):
            if transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        while len(line) % 4:
            line.append(0)
        out += bytes(line)
    return out


def rle4(rows):
    """4-bit run-length encoding (BI_RLE4), bottom-up, runs of one colour only."""
    out = bytearray()
    for row in reversed(rows):
        x = 0
        while x < len(row):
            n = 1
            while x + n < len(row) and row[x + n] == row[x] and n < 255:
                n += 1
            out += bytes((n, (row[x] << 4) | row[x]))
            x += n
        out += b"\x00\x00"  # end of line
    out += b"\x00\x01"  # end of bitmap
    return bytes(out)


def write_bmp(path, rows, width, height):
    bits = rle4(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 2, len(bits), 2835, 2835, 16, 0)
    offset = 14 + len(header) + 64
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(bits), 0, 0, offset))
        f.write(header + palette_bytes() + bits)


def icon_image(rows, mask, size):
    xor = pack4(rows, size)
    andmask = pack_mask(mask, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(andmask), 0, 0, 16, 0)
    return header + palette_bytes() + xor + andmask


def write_ico(path, images):
    """images: list of (rows, mask, size)."""
    blobs = [icon_image(*img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (rows, mask, size), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def canvas(size, fill=None):
    return [[fill if fill is not None else BLACK] * size for _ in range(size)], [[True] * size for _ in range(size)]


def rect(rows, mask, x0, y0, x1, y1, colour):
    """Fills [x0, x1] x [y0, y1] inclusive."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            rows[y][x] = colour
            mask[y][x] = False


def banner():
    width, height = 289, 34
    text = "Quorvane..."
    font = ImageFont.truetype("/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf", 40)
    # Render large, then fit into columns 3..286 and rows 5..32.
    probe = Image.new("L", (600, 120), 0)
    ImageDraw.Draw(probe).text((10, 10), text, font=font, fill=255)
    box = probe.getbbox()
    glyphs = probe.crop(box).resize((284, 28), Image.LANCZOS)
    mask = Image.new("L", (width, height), 0)
    mask.paste(glyphs, (3, 5))
    inside = [[mask.getpixel((x, y)) >= 128 for x in range(width)] for y in range(height)]
    rows = [[SILVER] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if not inside[y][x]:
                continue
            def out(dx, dy):
                nx, ny = x + dx, y + dy
                return not (0 <= nx < width and 0 <= ny < height and inside[ny][nx])
            if out(-1, 0) or out(0, -1):
                rows[y][x] = WHITE
            elif out(1, 0) or out(0, 1):
                rows[y][x] = GRAY
    write_bmp(os.path.join(RES, "banner.bmp"), rows, width, height)


def installer_icon():
    rows, mask = canvas(32)
    # Monitor: gray case, black bezel, blue screen with a cyan band.
    rect(rows, mask, 6, 2, 27, 18, SILVER)
    rect(rows, mask, 8, 4, 25, 15, BLACK)
    rect(rows, mask, 9, 5, 24, 14, BLUE)
    rect(rows, mask, 9, 5, 24, 7, AQUA)
    rect(rows, mask, 14, 19, 19, 20, GRAY)
    # System unit.
    rect(rows, mask, 3, 21, 30, 29, SILVER)
    rect(rows, mask, 3, 29, 30, 29, GRAY)
    rect(rows, mask, 22, 24, 27, 24, BLACK)
    rect(rows, mask, 5, 24, 6, 25, LIME)
    # Software box in front.
    rect(rows, mask, 0, 17, 12, 31, NAVY)
    rect(rows, mask, 1, 18, 11, 30, YELLOW)
    rect(rows, mask, 1, 22, 11, 25, RED)
    rect(rows, mask, 12, 17, 12, 31, BLACK)
    write_ico(os.path.join(RES, "installer.ico"), [(rows, mask, 32)])


def flag(size, top, height):
    rows, mask = canvas(size)
    third = size // 3
    rect(rows, mask, 0, top, third - 1, top + height - 1, GREEN)
    rect(rows, mask, third, top, size - third - 1, top + height - 1, WHITE)
    rect(rows, mask, size - third, top, size - 1, top + height - 1, RED)
    return rows, mask, size


def flag_icon():
    # The flag of Italy, 32 x 20 in rows 6 to 25; the small image 16 x 10 in rows 3 to 12.
    write_ico(os.path.join(RES, "flag.ico"), [flag(32, 6, 20), flag(16, 3, 10)])


def application_icon():
    rows, mask = canvas(32)
    rect(rows, mask, 2, 2, 29, 29, NAVY)
    rect(rows, mask, 4, 4, 27, 27, TEAL)
    # A "Q" in white.
    for y in range(8, 24):
        for x in range(8, 24):
            d = ((x - 15.5) ** 2 + (y - 15.5) ** 2) ** 0.5
            if 5.0 <= d <= 8.0:
                rows[y][x] = WHITE
    for i in range(6):
        rect(rows, mask, 18 + i, 18 + i, 19 + i, 19 + i, WHITE)
    write_ico(os.path.join(RES, "Install.ico"), [(rows, mask, 32)])


if __name__ == "__main__":
    os.makedirs(RES, exist_ok=True)
    banner()
    installer_icon()
    flag_icon()
    application_icon()
    print("pictures written to", os.path.normpath(RES))
