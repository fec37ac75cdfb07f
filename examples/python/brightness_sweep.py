#!/usr/bin/python3
"""Captures a frame from the simulated camera, prints its per-channel means, then sweeps the
brightness and saves each frame as a PNG.

    brightness_sweep.py [FOLDER]     (default: the current folder)

From the build tree: PYTHONPATH=build/python examples/python/brightness_sweep.py /tmp
"""
import pathlib
import sys

from PIL import Image

import orvane


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    with orvane.Camera("sim") as cam:
        frame = cam.capture()
        red, green, blue = frame.reshape(-1, 3).mean(axis=0)
        print(f"{cam.description}\nframe {frame.shape}: mean R {red:.1f} G {green:.1f} B {blue:.1f}")
        brightness = cam.controls["brightness"]
        for value in (0, 64, 128, 192, brightness.maximum):
            cam.set(brightness=value)
            frame = cam.capture()
            path = folder / f"brightness-{value:03d}.png"
            Image.fromarray(frame).save(path)
            red, green, blue = frame.reshape(-1, 3).mean(axis=0)
            print(f"brightness {value:3d}: mean R {red:5.1f} G {green:5.1f} B {blue:5.1f} -> {path}")


if __name__ == "__main__":
    try:
        main()
    except orvane.Error as error:
        sys.exit(f"brightness_sweep: {error}")
