#!/usr/bin/env python3
"""Makes the stand-in setup kit: ten files with the kit's names, sizes and leading bytes.

The bytes after each file's header are seeded pseudo-random data, so the output is the same on
every run and no two files share content. The real kit is opaque data to the installer; a user
who has one replaces the files in kit/ (or points the build at it with -DINSTALL_KIT_DIR=...).

    python3 tools/make_kit.py [OUTDIR]     (default: kit/ beside this folder)
"""
import os
import random
import struct
import sys

def filler(name, size):
    return bytearray(random.Random("quorvane-kit:" + name).randbytes(size))

def ne_module(name, size, library):
    data = filler(name, size)
    # DOS header: "MZ", the usual stub fields, and the new-header pointer at 0x3C.
    data[0:2] = b"MZ"
    data[2:0x3C] = bytes(0x3A)
    struct.pack_into("<HHHHHHHH", data, 0x02, size % 512, (size + 511) // 512, 0, 4, 0x10, 0xFFFF, 0, 0xB8)
    data[0x18:0x1A] = struct.pack("<H", 0x40)
    struct.pack_into("<I", data, 0x3C, 0x80)
    stub = b"This program requires Microsoft Windows.\r\n$"
    data[0x40:0x40 + len(stub)] = stub
    # NE header at 0x80: signature, linker version, program flags (0x8000 = library), target OS 2 = Windows.
    ne = 0x80
    data[ne:ne + 0x40] = bytes(0x40)
    data[ne:ne + 2] = b"NE"
    data[ne + 2] = 5
    data[ne + 3] = 10
    struct.pack_into("<H", data, ne + 0x0C, (0x8000 if library else 0x0002) | 0x0300)
    data[ne + 0x36] = 2
    struct.pack_into("<H", data, ne + 0x3E, 0x030A)
    return data

def signed(name, size, signature, text=b""):
    data = filler(name, size)
    data[0:len(signature)] = signature
    if text:
        data[8:8 + len(text)] = text
    return data

# Write order; sizes add up to 1,185,792 bytes.
KIT = [
    ("_inst32i.ex_", lambda n: signed(n, 316789, b"\x2A\xAB\x79\xD8", b"QVPACK 3.0 compressed data\x00")),
    ("_isdel.exe",   lambda n: ne_module(n, 8192, library=False)),
    ("_setup.1",     lambda n: signed(n, 549483, b"\x13\x5D\x65\x8C")),
    ("_setup.dll",   lambda n: ne_module(n, 5984, library=True)),
    ("_setup.lib",   lambda n: signed(n, 193779, b"\x13\x5D\x65\x8C")),
    ("Disk1.id",     lambda n: bytearray(b"QVA\r\n")),
    ("Setup.exe",    lambda n: ne_module(n, 44608, library=False)),
    ("Setup.ini",    lambda n: bytearray(b"[Startup]\r\nAppName=Quorvane\r\n")),
    ("Setup.ins",    lambda n: signed(n, 66760, b"\x13\x5D\x65\x8C")),
    ("Setup.pkg",    lambda n: signed(n, 163, b"\x4A\xA3\x8D\x00")),
]

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "kit")
    os.makedirs(out, exist_ok=True)
    total = 0
    for name, make in KIT:
        data = make(name)
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        total += len(data)
    assert total == 1185792, total
    print("wrote %d files, %d bytes, to %s" % (len(KIT), total, os.path.normpath(out)))

if __name__ == "__main__":
    main()
