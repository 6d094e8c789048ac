#!/usr/bin/env python3
"""Fails when a library of the program reaches one above it.

The layers, bottom-up, are those of the top-level CMakeLists.txt. A source or
header of a layer may include headers of its own layer and of layers below it,
never of one above; tests/, bench/ and tools/ stand above everything. The
link graph is checked at configure time (cmake/LvHelpers.cmake); this check
covers the includes, which can reach upwards without any link.

usage: check_layering.py REPO_ROOT
"""
import os
import re
import sys

# Bottom-up. platform/gui is the Qt part of the platform layer: it may use
# platform/, and everything from cpu/ on may use it.
LAYERS = ["platform", "platform/gui", "cpu", "vmath", "primitives", "fft", "core", "core/gui",
          "workers", "workers/gui", "iqfiles", "xcvr", "xcvr/gui", "plots",
          "plots/windows", "plots/threads", "app"]
SOURCE = re.compile(r"\.(h|hpp|cpp|inl)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(path):
    """The most specific layer whose folder holds path, or None."""
    best = None
    for layer in LAYERS:
        if path == layer or path.startswith(layer + "/"):
            if best is None or len(layer) > len(best):
                best = layer
    return best


def main(root):
    rank = {layer: i for i, layer in enumerate(LAYERS)}
    problems = []
    for top in sorted({layer.split("/")[0] for layer in LAYERS}):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if not SOURCE.search(name):
                    continue
                full = os.path.join(folder, name)
                rel = os.path.relpath(full, root)
                own = layer_of(rel)
                with open(full, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for target in INCLUDE.findall(text):
                    other = layer_of(target)
                    if other is not None and rank[other] > rank[own]:
                        problems.append(f"{rel}: {own} includes {target} ({other} is above it)")
    for p in problems:
        print(p)
    print(f"{len(problems)} upward includes")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
