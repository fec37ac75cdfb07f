#!/usr/bin/python3
"""Captures frames from orvanesrc with OpenCV's GStreamer back end.

    opencv_capture.py [--frames N] [--save FILE.png] [orvanesrc property=value ...]

Prints each frame's shape and per-channel means; --save writes the last frame.
"""
import argparse
import sys

import cv2


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frames", type=int, default=10, help="frames to read (default 10)")
    parser.add_argument("--save", help="write the last frame to this file")
    parser.add_argument("properties", nargs="*", help="orvanesrc properties, e.g. brightness=150")
    args = parser.parse_args()
    if args.frames < 1:
        parser.error("--frames must be at least 1")
    for prop in args.properties:
        if "=" not in prop or "!" in prop:
            parser.error(f"not a property=value pair: {prop}")

    # appsink keeps only the newest frame, so a slow reader never falls behind the live camera.
    pipeline = (f"orvanesrc {' '.join(args.properties)} ! videoconvert ! video/x-raw,format=BGR ! "
                "appsink drop=true max-buffers=1")
    capture = cv2.VideoCapture(pipeline, cv2.CAP_GSTREAMER)
    if not capture.isOpened():
        sys.exit("OpenCV could not start the pipeline: is orvanesrc installed (or GST_PLUGIN_PATH "
                 "set) and was OpenCV built with GStreamer?")
    frame = None
    for number in range(args.frames):
        ok, frame = capture.read()
        if not ok:
            sys.exit(f"frame {number} could not be read")
        blue, green, red = (frame[:, :, channel].mean() for channel in range(3))
        print(f"frame {number}: {frame.shape}, mean R {red:.1f} G {green:.1f} B {blue:.1f}")
    capture.release()
    if args.save and not cv2.imwrite(args.save, frame):
        sys.exit(f"could not write {args.save}")


if __name__ == "__main__":
    main()
