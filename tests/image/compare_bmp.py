#!/usr/bin/env python3
"""Opens a BMP with an independent reader (PIL) and compares it with raw RGB rows, top row first.
Usage: compare_bmp.py BMP RGB WIDTH HEIGHT; exits 0 when every pixel matches."""
import sys

from PIL import Image


def main() -> int:
    bmp, rgb, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    with Image.open(bmp) as image:
        if image.format != "BMP" or image.mode != "RGB" or image.size != (width, height):
            print(f"{bmp}: read as {image.format} {image.mode} {image.size}")
            return 1
        pixels = image.tobytes()
    with open(rgb, "rb") as expected_file:
        expected = expected_file.read()
    if pixels != expected:
        first = next(i for i in range(min(len(pixels), len(expected))) if pixels[i] != expected[i])
        print(f"{bmp}: first difference at pixel {first // 3} of {width} x {height}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
