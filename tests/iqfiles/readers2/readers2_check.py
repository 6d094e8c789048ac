#!/usr/bin/env python3
"""Independent fixtures for the second set of IQ readers, written from the
format descriptions with numpy alone (none of the program's code).

  readers2_check.py MODE DIR

Modes that write fixtures into DIR: write-bin. Modes that check what the
program wrote into DIR: read-vsa.
"""
import os
import sys

import numpy as np

N = 50
RATE = 2e6
CENTRE = -1.5e6


def write_bin(d):
    # .bin pair: 16-bit little-endian I/Q pairs (2k, -4k) with YScale 0.5.
    k = np.arange(N)
    data = np.empty(2 * N, dtype="<i2")
    data[0::2] = 2 * k
    data[1::2] = -4 * k
    data.tofile(os.path.join(d, "rec.bin"))
    with open(os.path.join(d, "rec.bin.txt"), "w", newline="\r\n") as f:
        f.write("YScale\t0.5\nXDelta\t%.9e\nInputCenter\t%.1f\nXStart\t0\n" % (1.0 / RATE, CENTRE))


MODES = {"write-bin": write_bin}

if __name__ == "__main__":
    MODES[sys.argv[1]](sys.argv[2])
