#!/usr/bin/env python3
"""Independent fixtures for the second set of IQ readers, written from the
format descriptions with numpy alone (none of the program's code).

  readers2_check.py MODE DIR

Modes that write fixtures into DIR: write-bin, write-generic, write-patgen,
write-vsa. Mode that checks what the program wrote into DIR: read-vsa.

The waveform is sample k = (0.01 k, -0.02 k) for k < N = 50 at 2 MHz.
"""
import os
import sys

import numpy as np

N = 50
RATE = 2e6
CENTRE = -1.5e6


def waveform():
    k = np.arange(N, dtype=np.float64)
    return 0.01 * k, -0.02 * k


def write_bin(d):
    # .bin pair: 16-bit little-endian I/Q pairs (2k, -4k) with YScale 0.5.
    k = np.arange(N)
    data = np.empty(2 * N, dtype="<i2")
    data[0::2] = 2 * k
    data[1::2] = -4 * k
    data.tofile(os.path.join(d, "rec.bin"))
    with open(os.path.join(d, "rec.bin.txt"), "w", newline="\r\n") as f:
        f.write("YScale\t0.5\nXDelta\t%.9e\nInputCenter\t%.1f\nXStart\t0\n" % (1.0 / RATE, CENTRE))


def write_generic(d):
    i, q = waveform()
    t = 1e-3 + np.arange(N) / RATE
    rows = {
        1: ["%.9g" % a for a in i],
        2: ["%.15g,%.9g" % (a, b) for a, b in zip(t, i)],
        3: ["%.9g %.9g" % (a, b) for a, b in zip(i, q)],
        4: ["%.9g" % (a * 32767.0) for a in np.concatenate([i, q])],
        5: ["%.15g,%.9g,%.9g" % (a, b, c) for a, b, c in zip(t, i, q)],
    }
    headers = {1: "I", 2: "Time,I", 3: "I Q", 4: "values", 5: "Time,I,Q"}
    for layout, lines in rows.items():
        with open(os.path.join(d, "generic%d.txt" % layout), "w", newline="\r\n" if layout % 2 else "\n") as f:
            f.write(headers[layout] + "\n" + "\n".join(lines) + "\n")


def write_patgen(d):
    i, q = waveform()
    inter = np.empty(2 * N)
    inter[0::2] = i
    inter[1::2] = q
    with open(os.path.join(d, "patgen1.txt"), "w") as f:
        f.write("\n".join("%.9g" % v for v in inter) + "\n")
    with open(os.path.join(d, "patgen2.txt"), "w", newline="\r\n") as f:
        f.write("\n".join("%.9g" % v for v in np.concatenate([i, q])) + "\n")


def write_vsa(d):
    i, q = waveform()
    head = ("InputZoom\tTRUE\nInputCenter\t%.1f\nXDelta\t%.9E\nXDomain\t2\nXUnit\tSec\n"
            "FreqValidMax\t%.1f\nFreqValidMin\t%.1f\nXStart\t%.9E\nY\n"
            % (CENTRE, 1.0 / RATE, CENTRE + 0.8e6, CENTRE - 0.8e6, -0.125))
    with open(os.path.join(d, "agilent.txt"), "w") as f:
        f.write(head + "".join("%e\t%e\n" % (a, b) for a, b in zip(i, q)))
    # Integer data: scaled down by 1/32767 on reading.
    with open(os.path.join(d, "adi.txt"), "w", newline="\r\n") as f:
        f.write(head + "".join("%d,%d\n" % (round(a * 32767), round(b * 32767)) for a, b in zip(i, q)))


def read_vsa(d):
    # The program wrote written.txt from the waveform at RATE and CENTRE with a
    # bandwidth of 1.6 MHz and a time origin of 0.125 s.
    with open(os.path.join(d, "written.txt")) as f:
        lines = f.read().split("\n")
    assert lines[0] == "InputZoom\tTRUE", lines[0]
    assert lines[1] == "InputCenter\t%.1f" % CENTRE, lines[1]
    key, value = lines[2].split("\t")
    assert key == "XDelta" and abs(float(value) * RATE - 1) < 1e-9, lines[2]
    assert lines[3:5] == ["XDomain\t2", "XUnit\tSec"], lines[3:5]
    assert lines[5] == "FreqValidMax\t%.1f" % (CENTRE + 0.8e6), lines[5]
    assert lines[6] == "FreqValidMin\t%.1f" % (CENTRE - 0.8e6), lines[6]
    key, value = lines[7].split("\t")
    assert key == "XStart" and float(value) == -0.125, lines[7]
    assert lines[8] == "Y", lines[8]
    data = np.array([[float(x) for x in line.split(",")] for line in lines[9:] if line])
    i, q = waveform()
    assert data.shape == (N, 2), data.shape
    assert np.allclose(data[:, 0], i, rtol=1e-6, atol=1e-9) and np.allclose(data[:, 1], q, rtol=1e-6, atol=1e-9)
    assert lines[-1] == "", "the file ends with a line end"


MODES = {"write-bin": write_bin, "write-generic": write_generic, "write-patgen": write_patgen,
         "write-vsa": write_vsa, "read-vsa": read_vsa}

if __name__ == "__main__":
    try:
        MODES[sys.argv[1]](sys.argv[2])
    except AssertionError as e:
        print("independent check failed:", e)
        sys.exit(1)
