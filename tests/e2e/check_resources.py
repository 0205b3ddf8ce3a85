#!/usr/bin/env python3
"""Checks penplay.exe's resources as Windows reads them, through wrestool:
the MAINICON group icon with its 32x32 4-bit image, the manifest (type 24,
id 1) declaring DPI awareness, and the version resource naming the product.

  check_resources.py penplay.exe
"""
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"


def resource(exe, *selection):
    result = subprocess.run(["wrestool", "-x", *selection, exe], capture_output=True)
    if result.returncode != 0 or not result.stdout:
        raise AssertionError(f"wrestool finds no resource {' '.join(selection)}: {result.stderr.decode().strip()}")
    return result.stdout


def check_icon(exe):
    # wrestool rebuilds the group icon as an .ico file: a directory of its images.
    ico = resource(exe, "--type=14", "--name=MAINICON")
    _, kind, count = struct.unpack_from("<HHH", ico, 0)
    images = [struct.unpack_from("<BBBBHH", ico, 6 + 16 * i) for i in range(count)]
    sizes = [(w or 256, h or 256, bits) for w, h, _, _, _, bits in images]
    if kind != 1 or (32, 32, 4) not in sizes:
        raise AssertionError(f"MAINICON holds {sizes} (width, height, bits), no 32x32 4-bit image")
    return f"MAINICON holds {count} image(s): {sizes}"


def check_manifest(exe):
    manifest = ElementTree.fromstring(resource(exe, "--raw", "--type=24", "--name=1"))
    aware = [e.text.strip() for e in manifest.iter(SETTINGS_2005 + "dpiAware")]
    awareness = [e.text.strip() for e in manifest.iter(SETTINGS_2016 + "dpiAwareness")]
    if aware != ["true"] or awareness != ["PerMonitorV2"]:
        raise AssertionError(f"the manifest declares dpiAware {aware} and dpiAwareness {awareness}")
    return "the manifest declares dpiAware true, dpiAwareness PerMonitorV2"


def version_strings(block):
    """The StringFileInfo values of a VS_VERSIONINFO block, walked as its tree of blocks."""
    strings = {}

    def walk(offset, end):
        while offset + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", block, offset)
            if length == 0:
                break
            key_end = block.index(b"\0\0", offset + 6)
            while (key_end - offset - 6) % 2:
                key_end = block.index(b"\0\0", key_end + 1)
            key = block[offset + 6:key_end].decode("utf-16-le")
            value = (key_end + 2 + 3) & ~3
            children = value + (value_length * 2 if kind == 1 else value_length)
            if kind == 1 and value_length:
                strings[key] = block[value:value + value_length * 2].decode("utf-16-le").rstrip("\0")
            walk((children + 3) & ~3, offset + length)
            offset = (offset + length + 3) & ~3

    walk(0, len(block))
    return strings


def check_version(exe):
    strings = version_strings(resource(exe, "--raw", "--type=16", "--name=1"))
    if strings.get("ProductName") != "penplay":
        raise AssertionError(f"the version resource's strings are {strings}, ProductName is not penplay")
    return f"the version resource names ProductName penplay, ProductVersion {strings.get('ProductVersion')}"


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    failed = 0
    for check in (check_icon, check_manifest, check_version):
        try:
            print(f"PASS {check.__name__}: {check(argv[1])}")
        except (AssertionError, ElementTree.ParseError) as problem:
            print(f"FAIL {check.__name__}: {problem}")
            failed += 1
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main(sys.argv)
