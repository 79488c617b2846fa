#!/usr/bin/env python3
"""Writes the page's style sheet with the logo PNG in place of its marker.

usage: inline_logo.py STYLE_SHEET LOGO_PNG OUTPUT
"""
import base64
import sys

MARKER = "@LOGO_PNG_BASE64@"


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__.strip())
    sheet_path, png_path, out_path = argv[1:]
    with open(sheet_path, encoding="utf-8", newline="") as f:
        sheet = f.read()
    if sheet.count(MARKER) != 1:
        sys.exit(f"{sheet_path}: expected the marker {MARKER} exactly once")
    with open(png_path, "rb") as f:
        logo = base64.b64encode(f.read()).decode("ascii")
    with open(out_path, "w", encoding="utf-8", newline="") as f:
        f.write(sheet.replace(MARKER, logo))


if __name__ == "__main__":
    main(sys.argv)
