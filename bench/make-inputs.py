#!/usr/bin/env python3
"""Makes the inputs of the benchmarks, deterministically (fixed seeds):

  make-inputs.py OUT_DIR [--package-mb N] [--files N]

  OUT_DIR/package.zip     a data package of about N MB (default 100) in about
                          3,000 files in nested folders, zipped with `zip -r -q`;
                          its contents are pseudo-random bytes of a 128-symbol
                          alphabet, so that they deflate only a little (to
                          about 7/8) and the unpacker really inflates them
  OUT_DIR/package.kb      the space the unpacked package takes, in kilobytes
  OUT_DIR/package.params  the size and file count the package was made with
  OUT_DIR/licence-1k.txt  licence texts of about 1 KB, 1 MB and 4 MB: lines of
  OUT_DIR/licence-1m.txt  words, LF line ends, no CR, NUL or 0x1A
  OUT_DIR/licence-4m.txt

Each output is rebuilt only when it is missing or older than this script (the
package also when it was made with other parameters).
"""

import argparse
import os
import random
import shutil
import subprocess
import sys

SCRIPT = os.path.abspath(__file__)

# Bytes mapped onto 128 symbols: about 7 bits of entropy a byte.
TABLE = bytes((b & 0x7F) for b in range(256))

WORDS = (
    "the licensee may use copy install data package charts survey place names elevation provinces coast river "
    "hill path publisher agreement terms rights warranty liability notice section clause schedule licence "
    "software documentation permitted purpose internal business third party distribute modify reproduce "
    "territory term termination effect law jurisdiction governing consent written prior reasonable any all "
    "such shall not be liable for indirect special consequential damages arising out of or in connection with"
).split()


def fresh(path):
    return os.path.exists(path) and os.path.getmtime(path) >= os.path.getmtime(SCRIPT)


def make_licence(path, size):
    rng = random.Random(f"licence-{size}")
    lines = []
    total = 0
    while total < size:
        words = []
        length = 0
        target = rng.randint(40, 76)
        while length < target:
            word = rng.choice(WORDS)
            words.append(word)
            length += len(word) + 1
        line = " ".join(words)
        if rng.random() < 0.08:
            line = ""  # paragraph breaks
        lines.append(line + "\n")
        total += len(line) + 1
    text = "".join(lines)[:size]
    if not text.endswith("\n"):
        text = text[:-1] + "\n"
    with open(path + ".tmp", "w", newline="\n", encoding="ascii") as out:
        out.write(text)
    os.replace(path + ".tmp", path)


def file_sizes(rng, count, total):
    # Log-uniform between 1 KB and 256 KB, then scaled to the total.
    raw = [2 ** rng.uniform(10, 18) for _ in range(count)]
    scale = total / sum(raw)
    sizes = [max(1, int(size * scale)) for size in raw]
    sizes[-1] += total - sum(sizes)
    return sizes


def make_package(out_dir, megabytes, count):
    archive = os.path.join(out_dir, "package.zip")
    tree = os.path.join(out_dir, "package-tree")
    shutil.rmtree(tree, ignore_errors=True)
    rng = random.Random("package")
    total = megabytes * 1024 * 1024
    sizes = file_sizes(rng, count, total)
    # Nested folders: regions / sheets / (some) tiles folders, files at every
    # level.
    folders = []
    for region in range(12):
        folders.append(f"data/region-{region:02d}")
        for sheet in range(8):
            folders.append(f"data/region-{region:02d}/sheet-{sheet:02d}")
            if sheet % 2 == 0:
                folders.append(f"data/region-{region:02d}/sheet-{sheet:02d}/tiles")
    kilobytes = 0
    for index, size in enumerate(sizes):
        folder = folders[index % len(folders)]
        path = os.path.join(tree, folder, f"item-{index:04d}.dat")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(rng.randbytes(size).translate(TABLE))
        kilobytes += (size + 1023) // 1024
    if os.path.exists(archive):
        os.remove(archive)
    subprocess.run(["zip", "-r", "-q", archive + ".tmp.zip", "data"], cwd=tree, check=True)
    os.replace(archive + ".tmp.zip", archive)
    shutil.rmtree(tree)
    with open(os.path.join(out_dir, "package.kb"), "w") as out:
        out.write(f"{kilobytes}\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out_dir")
    parser.add_argument("--package-mb", type=int, default=100)
    parser.add_argument("--files", type=int, default=3000)
    args = parser.parse_args()
    args.out_dir = os.path.abspath(args.out_dir)
    os.makedirs(args.out_dir, exist_ok=True)

    for name, size in (("licence-1k.txt", 1024), ("licence-1m.txt", 1024 * 1024), ("licence-4m.txt", 4 * 1024 * 1024)):
        path = os.path.join(args.out_dir, name)
        if not fresh(path):
            make_licence(path, size)

    archive = os.path.join(args.out_dir, "package.zip")
    stamp = os.path.join(args.out_dir, "package.params")
    params = f"{args.package_mb} MB {args.files} files\n"
    same_params = os.path.exists(stamp) and open(stamp).read() == params
    if not (fresh(archive) and same_params and os.path.exists(os.path.join(args.out_dir, "package.kb"))):
        print(f"make-inputs: generating a package of {params.strip()} in {archive}", file=sys.stderr)
        make_package(args.out_dir, args.package_mb, args.files)
        with open(stamp, "w") as out:
            out.write(params)


if __name__ == "__main__":
    main()
