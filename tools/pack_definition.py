#!/usr/bin/env python3
"""Packs a form definition for the image: indentation and comment text dropped, every line kept
in its place so that error messages still name the lines of the source file.
    python3 tools/pack_definition.py SOURCE OUTPUT"""
import sys


def main(source, output):
    lines = []
    for line in open(source, encoding="latin-1").read().split("\n"):
        packed = line.strip()
        if packed.startswith("//"):
            packed = ""
        lines.append(packed)
    with open(output, "w", encoding="latin-1", newline="\n") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
