#!/usr/bin/env python3
"""Writes the fake board's XML fixtures (boards/*.xml), one per board family.

Each fixture declares every device, channel and attribute the transceiver code
writes, so that libiio's client accepts the writes. Run by hand after a change;
the generated files are committed.
"""
import os

HEAD = ('<?xml version="1.0" encoding="utf-8"?>\n'
        '<context name="network" version-major="0" version-minor="24" version-git="fakebrd" '
        'description="Lumvard fake board {name}">\n'
        '<context-attribute name="hw_model" value="{name}" />\n')


def attrs(names):
    return "".join(f'<attribute name="{a}" />' for a in names)


def chan(cid, direction, name=None, attributes=(), scan=None):
    n = f' name="{name}"' if name else ""
    s = ""
    if scan is not None:
        index, fmt = scan
        s = f'<scan-element index="{index}" format="{fmt}" scale="{scan_scale(fmt)}" />'
    return f'<channel id="{cid}"{n} type="{direction}" >{s}{attrs(attributes)}</channel>\n'


def scan_scale(fmt):
    return "0.000030"  if "S14" in fmt else "1.000000"


def device(did, name, channels, dev_attrs=(), debug_attrs=(), buffer_attrs=()):
    body = "".join(channels)
    body += attrs(dev_attrs)
    body += "".join(f'<debug-attribute name="{a}" />' for a in debug_attrs)
    body += "".join(f'<buffer-attribute name="{a}" />' for a in buffer_attrs)
    return f'<device id="{did}" name="{name}" >\n{body}</device>\n'


def tones(count, extra=("frequency", "scale", "raw", "phase")):
    return [chan(f"altvoltage{i}", "output", f"TX{i // 4 + 1}_{'IQ'[(i // 2) % 2]}_F{i % 2 + 1}", extra)
            for i in range(count)]


def streams(direction, ids, fmt):
    return [chan(cid, direction, None, (), (i, fmt)) for i, cid in enumerate(ids)]


BUF = ("data_available", "length_align_bytes")


def ad9361():
    phy_in = [chan(f"voltage{i}", "input", None,
                   ("gain_control_mode", "hardwaregain", "filter_fir_en", "sampling_frequency", "rssi")) for i in range(2)]
    phy_out = [chan(f"voltage{i}", "output", None, ("hardwaregain", "filter_fir_en", "sampling_frequency", "rf_port_select"))
               for i in range(2)]
    lo = [chan("altvoltage0", "output", "RX_LO", ("frequency", "powerdown")),
          chan("altvoltage1", "output", "TX_LO", ("frequency", "powerdown"))]
    return [device("iio:device0", "ad9361-phy", phy_in + phy_out + lo,
                   ("filter_fir_config", "ensm_mode", "calib_mode")),
            device("iio:device1", "cf-ad9361-dds-core-lpc",
                   streams("output", ["voltage0", "voltage1", "voltage2", "voltage3"], "le:S16/16&gt;&gt;0") + tones(8),
                   buffer_attrs=BUF),
            device("iio:device2", "cf-ad9361-lpc",
                   streams("input", ["voltage0", "voltage1", "voltage2", "voltage3"], "le:S12/16&gt;&gt;0"),
                   buffer_attrs=BUF)]


def mykonos(phy, rx, tx, lo_channels):
    phy_in = [chan(f"voltage{i}", "input", None, ("gain_control_mode", "hardwaregain")) for i in range(2)]
    phy_out = [chan(f"voltage{i}", "output", None, ("hardwaregain",)) for i in range(2)]
    iq = ["voltage0_i", "voltage0_q", "voltage1_i", "voltage1_q"]
    return [device("iio:device0", phy, phy_in + phy_out + lo_channels, ("ensm_mode",)),
            device("iio:device1", tx, streams("output", iq, "le:S16/16&gt;&gt;0") + tones(8), buffer_attrs=BUF),
            device("iio:device2", rx, streams("input", iq, "le:S16/16&gt;&gt;0"), buffer_attrs=BUF)]


def ad9371():
    return mykonos("ad9371-phy", "axi-ad9371-rx-hpc", "axi-ad9371-tx-hpc",
                   [chan("altvoltage0", "output", "RX_LO", ("RX_LO_frequency",)),
                    chan("altvoltage1", "output", "TX_LO", ("TX_LO_frequency",))])


def adrv9009():
    return mykonos("adrv9009-phy", "axi-adrv9009-rx-hpc", "axi-adrv9009-tx-hpc",
                   [chan("altvoltage0", "output", "TRX_LO", ("frequency",))])


def ad908x(channels, tone_count):
    iq = [f"voltage{i}_{p}" for i in range(channels) for p in "iq"]
    nco_in = [chan(c, "input", None, ("main_nco_frequency", "channel_nco_frequency"), (k, "le:S16/16&gt;&gt;0"))
              for k, c in enumerate(iq)]
    nco_out = [chan(f"voltage{i}_i", "output", None,
                    ("en", "main_nco_frequency", "channel_nco_frequency", "channel_nco_gain_scale"))
               for i in range(channels)]
    return [device("iio:device0", "axi-ad9081-rx-hpc", nco_in + nco_out, buffer_attrs=BUF),
            device("iio:device1", "axi-ad9081-tx-hpc", streams("output", iq, "le:S16/16&gt;&gt;0") + tones(tone_count),
                   debug_attrs=("pl_ddr_fifo_enable",), buffer_attrs=BUF)]


def fmcdaq2():
    return [device("iio:device0", "axi-ad9680-hpc",
                   [chan(f"voltage{i}", "input", None, ("test_mode",), (i, "le:S14/16&gt;&gt;0")) for i in range(2)],
                   buffer_attrs=BUF),
            device("iio:device1", "axi-ad9144-hpc",
                   streams("output", ["voltage0", "voltage1"], "le:S16/16&gt;&gt;0") + tones(8), buffer_attrs=BUF)]


def ad9172():
    iq = streams("output", ["voltage0_i", "voltage0_q"], "le:S16/16&gt;&gt;0")
    plain = [chan(f"voltage{i}", "output", None, ("enable", "frequency")) for i in (0, 1, 6, 7)]
    return [device("iio:device0", "axi-ad9172-hpc", iq + plain + tones(8), buffer_attrs=BUF)]


BOARDS = {
    "ad9361": ("AD9361 family", ad9361),
    "ad9371": ("AD9371", ad9371),
    "adrv9009": ("ADRV9009", adrv9009),
    "ad9081": ("AD9081", lambda: ad908x(4, 16)),
    "ad9082": ("AD9082", lambda: ad908x(2, 8)),
    "fmcdaq2": ("FMCDAQ2", fmcdaq2),
    "ad9172": ("AD9172", ad9172),
}

if __name__ == "__main__":
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "boards")
    os.makedirs(here, exist_ok=True)
    for key, (name, make) in BOARDS.items():
        with open(os.path.join(here, key + ".xml"), "w") as f:
            f.write(HEAD.format(name=name) + "".join(make()) + "</context>\n")
