"""xpm_to_ico.py IN.xpm OUT.ico: turns the application icon's pixel art (an XPM,
one character a pixel, at most 16 colours) into a Windows .ico holding one
4-bit image, for the exe's resources."""
import os
import re
import struct
import sys


class XpmError(Exception):
    pass


def read_xpm(text):
    """Returns (width, height, palette as [(r, g, b)], rows of palette indices)."""
    strings = re.findall(r'"([^"]*)"', text)
    if not strings:
        raise XpmError("no quoted lines: not an XPM in C syntax")
    try:
        width, height, ncolors, cpp = (int(v) for v in strings[0].split()[:4])
    except ValueError:
        raise XpmError(f"bad size line {strings[0]!r}: want 'WIDTH HEIGHT COLOURS 1'")
    if cpp != 1:
        raise XpmError(f"{cpp} characters per pixel: only 1 is supported")
    if not (1 <= width <= 256 and 1 <= height <= 256):
        raise XpmError(f"size {width}x{height}: each side must be 1 to 256")
    if not 1 <= ncolors <= 16:
        raise XpmError(f"{ncolors} colours: a 4-bit icon holds 1 to 16")
    if len(strings) != 1 + ncolors + height:
        raise XpmError(f"{len(strings) - 1} lines after the size line, want {ncolors} colours"
                       f" and {height} pixel rows")
    keys, palette = {}, []
    for line in strings[1:1 + ncolors]:
        match = re.fullmatch(r"(.)\s+c\s+#([0-9A-Fa-f]{6})", line)
        if not match:
            raise XpmError(f"bad colour line {line!r}: want 'K c #RRGGBB'")
        if match[1] in keys:
            raise XpmError(f"colour key {match[1]!r} given twice")
        keys[match[1]] = len(palette)
        palette.append(tuple(bytes.fromhex(match[2])))
    rows = []
    for y, line in enumerate(strings[1 + ncolors:]):
        if len(line) != width:
            raise XpmError(f"row {y} has {len(line)} pixels, want {width}")
        unknown = set(line) - keys.keys()
        if unknown:
            raise XpmError(f"row {y} uses unknown colour keys {sorted(unknown)}")
        rows.append([keys[c] for c in line])
    return width, height, palette, rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def ico_bytes(width, height, palette, rows):
    xor = b""
    for row in reversed(rows):  # DIB rows run bottom-up
        pairs = row + [0] * (len(row) % 2)
        xor += padded(bytes(hi << 4 | lo for hi, lo in zip(pairs[::2], pairs[1::2])))
    mask = padded(b"\0" * ((width + 7) // 8)) * height  # all clear: every pixel opaque
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette).ljust(16 * 4, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + colours + xor + mask
    # A side of 256 is written as 0 in the directory entry.
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def main(argv):
    if len(argv) != 3:
        print("usage: xpm_to_ico.py IN.xpm OUT.ico", file=sys.stderr)
        return 2
    source, target = argv[1], argv[2]
    try:
        with open(source, encoding="ascii") as f:
            data = ico_bytes(*read_xpm(f.read()))
    except (OSError, UnicodeDecodeError, XpmError) as e:
        print(f"xpm_to_ico.py: {source}: {e}", file=sys.stderr)
        return 2
    # Write beside the target and rename, so a failed run leaves no half-written icon.
    temp = target + ".tmp"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
