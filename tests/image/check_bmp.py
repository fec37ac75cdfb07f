#!/usr/bin/env python3
"""Opens the BMPs write-sample-bmps made with an independent reader (PIL) and compares every
pixel with the planes they were made from. Usage: check_bmp.py WRITE_SAMPLE_BMPS"""
import pathlib
import subprocess
import sys
import tempfile

from PIL import Image


def check(case: pathlib.Path) -> list[str]:
    width, height = (int(n) for n in case.name.split("x"))
    planes = {c: (case / f"{c}.plane").read_bytes() for c in ("red", "green", "blue")}
    stride = (3 * width + 3) // 4 * 4
    data = (case / "testfile.bmp").read_bytes()
    problems = []
    if len(data) != 54 + height * stride:
        problems.append(f"{case.name}: file length {len(data)}")
    with Image.open(case / "testfile.bmp") as image:
        if image.format != "BMP" or image.mode != "RGB" or image.size != (width, height):
            return problems + [f"{case.name}: read as {image.format} {image.mode} {image.size}"]
        pixels = image.load()
        for y in range(height):
            for x in range(width):
                j = y * width + x
                expected = (planes["red"][j], planes["green"][j], planes["blue"][j])
                if pixels[x, y] != expected:
                    problems.append(f"{case.name}: pixel ({x}, {y}) {pixels[x, y]} != {expected}")
                    if len(problems) > 10:
                        return problems
    return problems


def main() -> int:
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.argv[1], out], check=True)
        cases = sorted(p for p in pathlib.Path(out).iterdir() if p.is_dir())
        problems = [p for case in cases for p in check(case)]
    for problem in problems:
        print(problem)
    print(f"{len(cases)} BMPs read back, {len(problems)} problems")
    return 1 if problems or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
