#!/usr/bin/env python3
"""Independent check of the IQ file layouts, written from the format
descriptions with numpy alone (none of the program's code).

  independent_check.py write DIR   writes fixtures into DIR
  independent_check.py read DIR    checks the files the program wrote into DIR

The waveform of every fixture is sample k = (0.01 k, -0.02 k) for k < N, with
N = 50, a sample rate of 2 MHz and a centre frequency of -1.5 MHz (a negative
centre checks that signs survive).
"""
import os
import re
import struct
import sys

import numpy as np

N = 50
RATE = 2e6
CENTRE = -1.5e6


def waveform():
    k = np.arange(N, dtype=np.float64)
    return (0.01 * k).astype(np.float32), (-0.02 * k).astype(np.float32)


def interleave(i, q, dtype):
    out = np.empty(2 * len(i), dtype=dtype)
    out[0::2] = i
    out[1::2] = q
    return out


def write(d):
    i, q = waveform()
    # .iqbin version 1 and version 2 (with a modulation block of kind 9 in the extra).
    hdr = struct.pack("<iiddd", 1, N, RATE, 0.25, CENTRE)
    with open(os.path.join(d, "v1.iqbin"), "wb") as f:
        f.write(hdr + interleave(i, q, "<f4").tobytes())
    extra = bytearray(1024)
    struct.pack_into("<iii", extra, 0, 1, 9, 77)
    struct.pack_into("<iii", extra, 48, 5, 6, 7)
    hdr2 = struct.pack("<iiddd", 2, N, RATE, 0.25, CENTRE)
    with open(os.path.join(d, "v2.iqbin"), "wb") as f:
        f.write(hdr2 + bytes(extra) + interleave(i, q, "<f4").tobytes())
    # .wvh/.wvd: 16-bit pairs; REFLEVEL 10 dBm gives the scale nearest 1/32767.
    ints = interleave(np.round(i * 32767).astype(np.int16), np.round(q * 32767).astype(np.int16), "<i2")
    with open(os.path.join(d, "pair.wvh"), "w") as f:
        f.write("{TYPE:RAW16LE}{COMPONENTS:IQ}{RESOLUTION:16}{DATE:2021-3-4;05:06:07}"
                "{CLOCK:%.6f}{REFLEVEL:10.00}{FREQUENCY:%.6f}" % (RATE, CENTRE))
    ints.tofile(os.path.join(d, "pair.wvd"))
    # SIQ pair with DataScale 0.5 and the stored integers 2k, -4k.
    with open(os.path.join(d, "rec.siqh"), "w") as f:
        f.write("RSASIQHT:1,34\nNumberFormat:IQ-Int16\nSampleRate:%.1f\nDataScale:0.5\n"
                "CenterFrequency:%.1f\nAcqBandwidth:1600000\nTimeRefWallTime:2019-03-14T12:34:56.789\n"
                % (RATE, CENTRE))
    k = np.arange(N)
    interleave((2 * k).astype(np.int16), (-4 * k).astype(np.int16), "<i2").tofile(os.path.join(d, "rec.siqd"))
    # .wv: header tags, then the block after '#'.
    peak = max(np.max(np.abs(i)), np.max(np.abs(q)))
    wv_ints = interleave(np.round(i / peak * 32767).astype(np.int16), np.round(q / peak * 32767).astype(np.int16), "<i2")
    head = ("{TYPE: SMU-WV,0}{DATE:2020-1-2;03:04:05}{CLOCK:%.6f}{LEVEL OFFS:0.0, 0.0}{FREQUENCY:%.6f}"
            "{SAMPLES:%d}{WAVEFORM-%d:#" % (RATE, CENTRE, N, 4 * N + 1))
    with open(os.path.join(d, "gen.wv"), "wb") as f:
        f.write(head.encode("ascii") + wv_ints.tobytes() + b"}")


def fail(msg):
    print("MISMATCH:", msg)
    sys.exit(1)


def read(d):
    i, q = waveform()
    # .iqbin written by the program: version 2, 1024-byte extra, float pairs.
    raw = open(os.path.join(d, "out.iqbin"), "rb").read()
    ver, n, rate, t0, fc = struct.unpack_from("<iiddd", raw, 0)
    if (ver, n, rate, fc) != (2, N, RATE, CENTRE) or len(raw) != 32 + 1024 + 8 * N:
        fail("iqbin header %r length %d" % ((ver, n, rate, t0, fc), len(raw)))
    data = np.frombuffer(raw, dtype="<f4", offset=1056)
    if not (np.array_equal(data[0::2], i) and np.array_equal(data[1::2], q)):
        fail("iqbin samples")
    # .wvh/.wvd written by the program.
    head = open(os.path.join(d, "out.wvh"), "rb").read().decode("ascii")
    if "\n" in head or not head.startswith("{TYPE:RAW16LE}{COMPONENTS:IQ}{RESOLUTION:16}{DATE:"):
        fail("wvh layout " + head)
    clock = float(re.search(r"\{CLOCK:([-0-9.]+)\}", head).group(1))
    freq = float(re.search(r"\{FREQUENCY:([-0-9.]+)\}", head).group(1))
    level = float(re.search(r"\{REFLEVEL:([-0-9.]+)\}", head).group(1))
    if clock != RATE or freq != CENTRE:
        fail("wvh clock/frequency %r %r" % (clock, freq))
    scale = np.sqrt(10 ** ((level - 30) / 10) * 100) / 32767
    wvd = np.fromfile(os.path.join(d, "out.wvd"), dtype="<i2").astype(np.float64) * scale
    # REFLEVEL is written with two decimals (0.005 dB): the scale read back is good to 0.06 %.
    tol_i = 2 * scale + 7e-4 * np.abs(i)
    tol_q = 2 * scale + 7e-4 * np.abs(q)
    if len(wvd) != 2 * N or np.any(np.abs(wvd[0::2] - i) > tol_i) or np.any(np.abs(wvd[1::2] - q) > tol_q):
        fail("wvd samples: %d values, worst I error %g, worst Q error %g, scale %g"
             % (len(wvd), np.max(np.abs(wvd[0::2] - i)), np.max(np.abs(wvd[1::2] - q)), scale))
    # .wv written by the program.
    raw = open(os.path.join(d, "out.wv"), "rb").read()
    if not raw.startswith(b"{TYPE: SMU-WV,0}{DATE:") or not raw.endswith(b"}"):
        fail("wv layout")
    m = re.search(rb"\{SAMPLES:(\d+)\}\{WAVEFORM-(\d+):#", raw)
    if m is None or int(m.group(1)) != N or int(m.group(2)) != 4 * N + 1:
        fail("wv sample tags")
    block = np.frombuffer(raw[m.end():m.end() + 4 * N], dtype="<i2")
    peak = max(np.max(np.abs(i)), np.max(np.abs(q)))
    if np.max(np.abs(block)) != 32767 or np.max(np.abs(block[1::2] / 32767.0 - q / peak)) > 1.0 / 32767:
        fail("wv samples")
    # .iqtxt written by the program.
    lines = open(os.path.join(d, "out.iqtxt"), "rb").read().decode("ascii").split("\r\n")
    if lines[0] != "IQTxt v1" or lines[1] != "NumSamples %12d" % N or lines[2] != "SampleRate %.3f" % RATE:
        fail("iqtxt header %r" % lines[:4])
    vals = np.array([[float(x) for x in ln.split()] for ln in lines[4:4 + N]])
    if np.max(np.abs(vals[:, 0] - i)) > 1e-6 or np.max(np.abs(vals[:, 1] - q)) > 1e-6:
        fail("iqtxt samples")
    print("independent check: all files agree")


if __name__ == "__main__":
    {"write": write, "read": read}[sys.argv[1]](sys.argv[2])
