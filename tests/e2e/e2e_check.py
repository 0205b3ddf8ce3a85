#!/usr/bin/env python3
"""Checks of one played run of penplay.exe, against what penscript expects.

  e2e_check.py calls RELAY_LOG EXE
      prints the program's own platform calls, taken from a Wine relay log, in
      penscript's trace format (handles named as penscript names them)
  e2e_check.py journey SAMPLES TRACE WxH START_X START_Y
      checks that the sampled pointer positions visit only points of the
      expected journey, in its order
"""
import re
import struct
import sys

# The program's own calls: everything else the exe's image calls comes from
# the C runtime linked into it.
PROGRAM_CALLS = {
    "user32.GetDC", "user32.GetSystemMetrics", "gdi32.CreatePen", "gdi32.SelectObject",
    "gdi32.CreateSolidBrush", "gdi32.Ellipse", "user32.SetCursorPos", "gdi32.DeleteObject",
    "KERNEL32.Sleep", "user32.ReleaseDC",
}
CALL = re.compile(rb"^([0-9a-f]{4}):Call ([A-Za-z0-9_]+\.[A-Za-z0-9_]+)\(([^)]*)\) ret=([0-9a-f]{8})$")
RET = re.compile(rb"^([0-9a-f]{4}):Ret  ([A-Za-z0-9_]+\.[A-Za-z0-9_]+)\(\) retval=([0-9a-f]{8}) ret=([0-9a-f]{8})$")
NULL = b"00000000"  # the null handle, as the relay log prints it
LOADED = re.compile(rb"^([0-9a-f]{4}):trace:loaddll:\S+ Loaded L\"(.*)\" at ([0-9A-Fa-f]+): native")


def image_range(exe_path):
    """The address range the exe's image occupies: ImageBase and SizeOfImage from its PE header."""
    with open(exe_path, "rb") as exe:
        data = exe.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{exe_path}: not a PE image")
    optional = pe + 24
    base = struct.unpack_from("<I", data, optional + 28)[0]
    size = struct.unpack_from("<I", data, optional + 56)[0]
    return base, base + size


def signed(word):
    value = int(word, 16)
    return value - (1 << 32) if value >= 1 << 31 else value


class Handles:
    """Names handles the way penscript's trace does."""

    def __init__(self):
        self.names = {NULL: "null"}
        self.created = {"pen": 0, "brush": 0}

    def name(self, value):
        return self.names.get(value, f"unknown-0x{value}")

    def create(self, kind, value):
        self.created[kind] += 1
        self.names[value] = f"{kind}{self.created[kind]}"
        return self.names[value]

    def selected(self, dc, selected, previous):
        # What SelectObject first hands back for a kind of object is the DC's default of that kind.
        kind = re.sub(r"\d+$", "", self.name(selected))
        if previous not in self.names and kind in self.created:
            self.names[previous] = f"{kind}0"
        return f"{self.name(dc)} {self.name(selected)} -> {self.name(previous)}"


def format_call(handles, function, args, retval):
    if function == "GetDC":
        handles.names.setdefault(retval, "dc")
        return f"GetDC {handles.name(args[0])} -> {handles.name(retval)}"
    if function == "GetSystemMetrics":
        return f"GetSystemMetrics {signed(args[0])} -> {signed(retval)}"
    if function == "CreatePen":
        pen = handles.create("pen", retval)
        return f"CreatePen {signed(args[0])} {signed(args[1])} 0x{int(args[2], 16):06X} -> {pen}"
    if function == "CreateSolidBrush":
        return f"CreateSolidBrush 0x{int(args[0], 16):06X} -> {handles.create('brush', retval)}"
    if function == "SelectObject":
        return f"SelectObject {handles.selected(args[0], args[1], retval)}"
    if function == "Ellipse":
        return f"Ellipse {handles.name(args[0])} " + " ".join(str(signed(a)) for a in args[1:])
    if function == "SetCursorPos":
        return f"SetCursorPos {signed(args[0])} {signed(args[1])}"
    if function == "DeleteObject":
        return f"DeleteObject {handles.name(args[0])}"
    if function == "Sleep":
        return f"Sleep {int(args[0], 16)}"
    if function == "ReleaseDC":
        return f"ReleaseDC {handles.name(args[0])} {handles.name(args[1])}"
    raise AssertionError(function)


def relay_calls(log_path, exe_path):
    """The program's calls, on the thread that loaded the exe, made from the exe's own image."""
    low, high = image_range(exe_path)
    exe_name = exe_path.rsplit("/", 1)[-1].lower().encode()
    handles = Handles()
    main_thread = None
    pending = None
    lines = []
    with open(log_path, "rb") as log:
        for line in log:
            line = line.rstrip(b"\n")
            if main_thread is None:
                loaded = LOADED.match(line)
                if loaded and loaded.group(2).lower().endswith(b"\\\\" + exe_name):
                    main_thread = loaded.group(1)
                continue
            if not line.startswith(main_thread):
                continue
            call = CALL.match(line)
            if call:
                if call.group(2).decode() in PROGRAM_CALLS and low <= int(call.group(4), 16) < high:
                    if pending:
                        sys.exit(f"relay log: {pending[0]} at ret={pending[2].decode()} never returned")
                    pending = (call.group(2).decode(), call.group(3).split(b","), call.group(4))
                continue
            ret = RET.match(line)
            if ret and pending and ret.group(2).decode() == pending[0] and ret.group(4) == pending[2]:
                function = pending[0].split(".", 1)[1]
                lines.append(format_call(handles, function, pending[1], ret.group(3)))
                pending = None
    if main_thread is None:
        sys.exit(f"relay log {log_path}: no thread loaded {exe_name.decode()} (is +loaddll on?)")
    if pending:
        sys.exit(f"relay log: {pending[0]} at ret={pending[2].decode()} never returned")
    return lines


def expected_journey(trace_path, width, height, start):
    """The pointer's start, then every SetCursorPos point kept inside the screen."""
    journey = [start]
    with open(trace_path) as trace:
        for line in trace:
            if line.startswith("SetCursorPos "):
                x, y = (int(v) for v in line.split()[1:3])
                point = (min(max(x, 0), width - 1), min(max(y, 0), height - 1))
                if point != journey[-1]:
                    journey.append(point)
    return journey


def check_journey(samples_path, trace_path, screen, start_x, start_y):
    width, height = (int(v) for v in screen.split("x"))
    journey = expected_journey(trace_path, width, height, (int(start_x), int(start_y)))
    with open(samples_path) as samples_file:
        samples = [tuple(int(v) for v in line.split()) for line in samples_file if line.strip()]
    if not samples:
        sys.exit(f"journey: no pointer samples in {samples_path}")
    position = 0
    for index, sample in enumerate(samples):
        while position < len(journey) and journey[position] != sample:
            position += 1
        if position == len(journey):
            where = "is not on the expected journey" if sample not in journey else "comes out of order"
            sys.exit(f"journey: sample {index + 1} of {len(samples)}, {sample}, {where} "
                     f"(samples before it: {samples[max(0, index - 3):index]})")
    print(f"journey: {len(samples)} distinct samples follow the {len(journey)} expected points in order; "
          f"last sample {samples[-1]}, journey ends at {journey[-1]}")


def main(argv):
    if len(argv) == 4 and argv[1] == "calls":
        sys.stdout.write("".join(line + "\n" for line in relay_calls(argv[2], argv[3])))
    elif len(argv) == 7 and argv[1] == "journey":
        check_journey(*argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
