#!/usr/bin/python3
"""Measures the photon-transfer curve of the simulated camera's sensor: mean against temporal
variance over pairs of frames of a flat field at several exposures, with the automatic loops and
the gamma curve off at the highest gain, and prints the conversion gain and the read noise it
finds.

    photon_transfer.py [DEVICE]     (default: sim:scene=flat,seed=7)

From the build tree: PYTHONPATH=build/python examples/python/photon_transfer.py
"""
import sys

import numpy as np

import orvane

GAMMA_BIT = 0x04  # register 0x14


def pair(cam, exposure):
    """The mean and the temporal variance of two frames in a row, in output codes."""
    cam.write_register(0x10, exposure)
    a, b = (cam.capture(raw=True)[:, :-3].astype(float) for _ in range(2))  # less the spare bytes
    return (a.mean() + b.mean()) / 2, (a - b).var() / 2


def main():
    device = sys.argv[1] if len(sys.argv) > 1 else "sim:scene=flat,seed=7"
    with orvane.Camera(device) as cam:
        cam.set(format="rgb", auto_adjust="off", gain="2x", saturation=128)
        cam.write_register(0x14, cam.registers[0x14] & ~GAMMA_BIT)
        cam.write_register(0x00, 0x3F)  # analog gain 7.75, times 2: 15.5
        dark_mean, dark_variance = pair(cam, 0)
        points = [pair(cam, exposure) for exposure in (4, 12, 20, 32, 44, 56, 68, 80)]
        for mean, variance in points:
            print(f"mean {mean:6.1f}  variance {variance:7.2f}")
        means, variances = np.array(points).T
        slope = np.polyfit(means, variances, 1)[0]  # output codes per electron
        read_noise = np.sqrt(dark_variance - 1 / 12) / slope  # less the rounding's variance
        print(f"conversion gain {slope:.4f} codes per electron, read noise {read_noise:.1f} electrons")


if __name__ == "__main__":
    try:
        main()
    except orvane.Error as error:
        sys.exit(f"photon_transfer: {error}")
