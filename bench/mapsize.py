#!/usr/bin/env python3
"""Where the bytes of an image go, from the linker's map: sizes by origin, debug sections left out.
    python3 bench/mapsize.py build/i686/Install.map [KIT_BYTES]
With KIT_BYTES, that much is taken out of the group that holds the kit and shown on its own."""
import collections
import re
import sys

GROUPS = [
    ("the kit (dumpUnit arrays)", r"dumpUnit"),
    ("our code and data, link-time optimised (framework, program and the kit)", r"ltrans"),
    ("resources (form definition, pictures, icon, manifest)", r"\.res$|\.rc"),
    ("our code: the framework", r"libforms|LibraryErrors"),
    ("our code: the program", r"mainUnit|Install\.cpp"),
    ("C++ runtime (libstdc++)", r"libstdc\+\+"),
    ("unwinder (libgcc_eh)", r"libgcc_eh"),
    ("C runtime and start-up (mingw, msvcrt, libgcc)", r"libmingw|libmsvcrt|crt2|libgcc\.a|crtbegin|crtend"),
    ("import tables", r"lib(user32|gdi32|kernel32|advapi32|shell32|msimg32)\.a|dll"),
]

def main(path, kit):
    sizes = collections.Counter()
    pending = None
    for line in open(path, errors="replace"):
        m = re.match(r"^ (\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)", line)
        if m:
            section, size, origin = m.group(1), int(m.group(2), 16), m.group(3)
        else:
            m = re.match(r"^ (\.\S+)\s*$", line)
            if m:
                pending = m.group(1)
                continue
            m = re.match(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)", line)
            if not (m and pending):
                continue
            section, size, origin = pending, int(m.group(1), 16), m.group(2)
            pending = None
        if "debug" in section or size == 0:
            continue
        for name, pattern in GROUPS:
            if re.search(pattern, origin):
                sizes[name] += size
                break
        else:
            sizes["other"] += size
    if kit:
        holder = max(sizes, key=lambda k: sizes[k])
        sizes[holder] -= kit
        sizes["the kit's bytes"] = kit
    for name, size in sorted(sizes.items(), key=lambda x: -x[1]):
        print("| %s | %d |" % (name, size))

if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 0)
