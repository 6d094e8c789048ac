#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Each seed is one well-formed example of a format the target reads, in the
target's input layout (see the comment at the top of each *_fuzz.cpp), plus
a few near misses. Run again after changing a layout; the files are kept in
the repository so that the quick suite replays them.
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def pairs(n, scale=1000):
    return b"".join(struct.pack("<hh", (k * scale) % 32768 - 16384, -(k * scale // 2) % 32768 - 16384)
                    for k in range(n))


def iq_reader_seed(fmt, flags, header, data=b"", marker=b"", start=-2, count=6):
    return (bytes([fmt, flags]) + struct.pack("<HH", len(header), len(data)) +
            struct.pack("<bB", start, count) + header + data + marker)


def text_lines(n, sep=" ", time=False):
    out = []
    for k in range(n):
        i, q = k / 8, -k / 16
        out.append((f"{k * 2.5e-7:.9g}{sep}" if time else "") + f"{i:.9g}{sep}{q:.9g}")
    return "\n".join(out) + "\n"


def iq_readers():
    n = 8
    wv = b"{TYPE: SMU-WV,0}{CLOCK:1000000}{FREQUENCY:2.4e9}{SAMPLES:%d}{WAVEFORM-%d:#" % (n, 4 * n + 1) + pairs(n) + b"}"
    wv_long = (b"{TYPE: SMU-WV,0}{COMMENT:" + b"x" * 1500 + b"}{CLOCK:1000}{SAMPLES:%d}{WAVEFORM-%d:#" % (n, 4 * n + 1)
               + pairs(n) + b"}")
    wvh = b"{TYPE:RAW16LE}{COMPONENTS:IQ}{RESOLUTION:16}{DATE:2020-1-2;03:04:05}{CLOCK:1000000.000000}" \
          b"{REFLEVEL:-3.00}{FREQUENCY:2400000000.000000}"
    wvh_lines = b"{TYPE:RAW16LE}\n{COMPONENTS:IQ}\n{CLOCK:1000000}\n{FREQUENCY:2.4e9}\n{REFLEVEL:0}\n"
    siq = (b"RSASIQHT:1,34\nNumberFormat:IQ-Int16\nSampleRate:4000000.0\nDataScale:0.5\n"
           b"CenterFrequency:2400000000.0\nAcqBandwidth:1600000\nTimeRefWallTime:2019-03-14T12:34:56.789\n")
    iqbin1 = struct.pack("<iiddd", 1, n, 1e6, 0.0, 2.4e9) + b"".join(struct.pack("<ff", k / 8, -k / 16) for k in range(n))
    iqbin2 = (struct.pack("<iiddd", 2, n, 1e6, 0.5, 2.4e9) + b"\0" * 1024 +
              b"".join(struct.pack("<ff", k / 8, -k / 16) for k in range(n)))
    binpair = b"YScale: 0.001\r\nXDelta: 2.5e-7\r\nInputCenter 2.4e9\r\n"
    xhdr = (b'<?xml version="1.0"?>\r\n<xcom_header>\r\n<data_files>\r\n<data_file samples="%d" sample_rate="4000000" '
            b'scale_factor="9.5367431640625e-07" data_encoding="int16" center_frequency="2.4 GHz" '
            b'start_capture="2020:32:10:20:30.5" />\r\n</data_files>\r\n<marker_files>\r\n'
            b'<marker_file count="1" format="XML" />\r\n</marker_files>\r\n</xcom_header>\r\n' % n)
    xhdr_small_scale = (b'<xcom_header><data_file samples="%d" sample_rate="1.25e6" scale_factor="4.65661287e-10" '
                     b'data_encoding="int16" span="20 MHz" /></xcom_header>' % n)
    xhdr_prefixed = (b'<xcom_header><data_file num_samples="%d" capture_sample_rate="2e6" iq_scale_factor="1.5e-3" '
                     b'/></xcom_header>' % n)
    xhdr_twice = (b'<xcom_header><data_file samples="%d" sample_rate="1e6" scale_factor="1e-5" />'
                  b'<data_file samples="3" sample_rate="1e6" scale_factor="1e-5" /></xcom_header>' % n)
    xmrk = b'<?xml version="1.0"?>\n<markers>\n<marker marker_number="0" sample="0" time="1.5" />\n</markers>\n'
    vsa = ("InputZoom\tTRUE\nInputCenter\t2400000000.0\nXDelta\t2.5E-7\nXDomain\t2\nXUnit\tSec\nXStart\t0.0\nY\n"
           + text_lines(n)).encode()
    vsa_comma = vsa.replace(b" ", b",")
    generic = text_lines(n).encode()
    generic_time = ("Time,I,Q\n" + text_lines(n, ",", True)).encode()
    patgen1 = "".join(f"{k / 8:.9g}\n{-k / 16:.9g}\n" for k in range(n)).encode()
    patgen2 = ("".join(f"{k / 8:.9g}\n" for k in range(n)) + "".join(f"{-k / 16:.9g}\n" for k in range(n))).encode()
    bom = b"\xef\xbb\xbf"
    seeds = {
        "wv": iq_reader_seed(0, 0, wv),
        "wv_window": iq_reader_seed(0, 3, wv),
        "wv_long_comment": iq_reader_seed(0, 0, wv_long),
        "wv_cut_after_description": iq_reader_seed(0, 0x10, wv),
        "wv_no_waveform": iq_reader_seed(0, 0, wv.split(b"{WAVEFORM")[0]),
        "wvh": iq_reader_seed(1, 2, wvh, pairs(n)),
        "wvh_lines": iq_reader_seed(1, 0, wvh_lines, pairs(n)),
        "wvh_rewritten": iq_reader_seed(1, 0x20, wvh, pairs(n)),
        "siq": iq_reader_seed(2, 2, siq, pairs(n)),
        "siq_cut": iq_reader_seed(2, 0x10, siq, pairs(n)),
        "iqbin1": iq_reader_seed(3, 2, iqbin1),
        "iqbin2": iq_reader_seed(3, 0, iqbin2),
        "iqbin_cut": iq_reader_seed(3, 0x10, iqbin1),
        "binpair": iq_reader_seed(4, 2, binpair, pairs(n)),
        "xdat": iq_reader_seed(5, 0, xhdr, pairs(n), xmrk),
        "xdat_cut": iq_reader_seed(5, 0x10, xhdr, pairs(n), xmrk, start=4, count=10),
        "xdat_window_inside": iq_reader_seed(5, 0, xhdr, pairs(n), b"", start=2, count=4),
        "xdat_window_past_end": iq_reader_seed(5, 0, xhdr, pairs(n, 7777), xmrk, start=5, count=9),
        "xdat_small_scale": iq_reader_seed(5, 0, xhdr_small_scale, pairs(n, 4321), b"", start=-1, count=12),
        "xdat_prefixed_names": iq_reader_seed(5, 0, xhdr_prefixed, pairs(n, 999), b"", start=0, count=8),
        "xdat_key_twice": iq_reader_seed(5, 0, xhdr_twice, pairs(n), b"", start=0, count=8),
        "vsa_agilent": iq_reader_seed(6, 2, vsa),
        "vsa_adi": iq_reader_seed(7, 0, vsa_comma),
        "vsa_adi_mhz": iq_reader_seed(8, 0, vsa),
        "vsa_bom_cut": iq_reader_seed(6, 0x10, bom + vsa),
        "generic": iq_reader_seed(9, 2, generic),
        "generic_time": iq_reader_seed(10, 0, generic_time.replace(b",", b" ")),
        "generic_csv": iq_reader_seed(11, 2, generic_time),
        "patgen_alternating": iq_reader_seed(12, 4, patgen1),
        "patgen_blocks": iq_reader_seed(13, 2, bom + patgen2),
        "patgen_no_rate": iq_reader_seed(12, 8, patgen1),
        "iqtxt": iq_reader_seed(14, 0, b"1 2\n3 4\n"),
    }
    return seeds


def settings():
    lines = ["Settings File v1"]
    for i in range(2):
        p = f"Xmtr:{i}:SampleRateMgr:"
        lines += [f"{p}Do freq shift first = 0", f"{p}Interpolation on = 1", f"{p}Interpolation rate = 4",
                  f"{p}Decimation on = 0", f"{p}Decimation rate = 1", f"{p}Arb resample on = 0",
                  f"{p}Arb resample output rate = 1.0000000000000000e+06", f"{p}Freq shift on = 1",
                  f"{p}Freq shift value = -2.5000000000000000e+05", f"{p}Time shift on = 0",
                  f"{p}Time delay = 1.0000000000000000e-06", f"{p}Phase adjust on = 0",
                  f"{p}Phase (Deg) = 4.50000000e+01", f"{p}Filter on = 1", f"{p}Filter type = 8",
                  f"{p}Gain adjust on = 1", f"{p}Gain (dB) = -3.00000000e+00", f"{p}Noise on = 0",
                  f"{p}Noise level = -1.00000000e+02", f"{p}Samples limit on = 0", f"{p}Max samples = 100000"]
    lines += ['Instr:MultiXcvr:IP address = "127.0.0.1:30431"', "Instr:MultiXcvr:Model = 1",
              "Instr:MultiXcvr:Xcvr rate = 1", "Instr:MultiXcvr:Connection type = 1",
              "Instr:MultiXcvr:Xmtr center freq = 2.4000000000000000e+09", "Instr:MultiXcvr:0:Xmtr on = 1",
              "Instr:MultiXcvr:0:Xmtr atten dB = 1.00000000e+01", "Instr:MultiXcvr:0:Xmtr phase deg = 0.00000000e+00",
              "Instr:MultiXcvr:1:Xmtr center freq = 2.4100000000000000e+09", "Instr:MultiXcvr:Rcvr num samples = 4096",
              "Instr:MultiXcvr:0:Rcvr gain dB = 3.00000000e+01",
              'DataManager:File 0:Input file = "/tmp/a.wv"', "DataManager:File 0:File active = 1",
              "DataManager:File 0:Txt file type = 9",
              "DataManager:File 0:Txt file sample rate = 1.0000000000000000e+06",
              "DataManager:File 0:Txt file center freq = 2.4000000000000000e+09"]
    good = ("\r\n".join(lines) + "\r\n").encode("latin-1")
    odd = good.replace(b"-3.00000000e+00", b"inf").replace(b"1.0000000000000000e+06", b"nan") \
              .replace(b"100000", b"99999999999999999999")
    old = good.replace(b"-2.5000000000000000e+05", b"-250000.000000")
    return {"settings": good, "settings_nonfinite": odd, "settings_six_decimals": old,
            "settings_lf_latin1": good.replace(b"\r\n", b"\n").replace(b"/tmp/a.wv", "/tmp/é.wv".encode("latin-1"))}


def writers():
    samples = b"".join(struct.pack("<ff", k / 8, -k / 16) for k in range(16))
    return {
        "ramp": struct.pack("<dd", 1e6, 2.4e9) + samples,
        "single": struct.pack("<dd", 30.72e6, 0.0) + struct.pack("<ff", 1.0, -1.0),
        "zeros": struct.pack("<dd", 1e3, 1e9) + b"\0" * 64,
        "nan": struct.pack("<dd", 1e6, 2.4e9) + samples + struct.pack("<ff", float("nan"), 0.0),
        "inf": struct.pack("<dd", 1e6, 2.4e9) + struct.pack("<ff", float("inf"), 1.0) + samples,
        "tiny": struct.pack("<dd", 1e6, 2.4e9) + struct.pack("<ff", 1e-45, -1e-40) * 4,
        "huge": struct.pack("<dd", 1e6, 2.4e9) + struct.pack("<ff", 3.4e38, -3.4e38) * 4,
        # Findings, kept as seeds: a clock too small for six decimals, a
        # negative rate, a NaN centre, a rate whose reciprocal is infinite.
        "tiny_clock": struct.pack("<dd", 1e-308, 0.0) + samples,
        "negative_rate": struct.pack("<dd", -2.0, 0.0) + samples,
        "nan_centre": struct.pack("<dd", 1e6, float("nan")) + samples,
        "denormal_rate": struct.pack("<dd", 5e-324, 0.0) + samples,
        # Findings: VSA text header numbers whose written digits round past
        # the largest double (the step 1/rate, the rate read back from the
        # written step); and band edges near the largest double.
        "step_rounds_to_inf": struct.pack("<dd", 5.562684646277895e-309, 0.0) + struct.pack("<ff", 0.5, -0.25),
        "step_gives_infinite_rate": struct.pack("<dd", 1.7976931348623157e308, 0.0) + struct.pack("<ff", 0.5, -0.25),
        "band_edge_overflow": struct.pack("<dd", 1e308, 1.5e308) + struct.pack("<ff", 0.5, -0.25),
    }


def filter_files():
    ftr = ("# Generated with the AD9361 filter design wizard\nTX 3 GAIN -6 INT 2\nRX 3 GAIN -6 DEC 2\n"
           "RTX 983040000 245760000 122880000 61440000 30720000 30720000\n"
           "RRX 983040000 245760000 122880000 61440000 30720000 30720000\nBWTX 18000000\nBWRX 18000000\n"
           + "".join(f"{k * 7 - 60},{k * 5 - 40}\n" for k in range(32))).encode()
    return {"ftr_2msps": bytes([1]) + ftr, "ftr_20msps": bytes([6]) + ftr, "ftr_unknown_rate": bytes([0]) + ftr,
            "ftr_too_large": bytes([2]) + ftr * 20, "ftr_empty": bytes([3])}


def main():
    for target, seeds in (("iq_readers", iq_readers()), ("settings", settings()), ("writers", writers()),
                          ("filter_files", filter_files())):
        folder = os.path.join(HERE, "corpus", target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
