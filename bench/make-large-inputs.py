#!/usr/bin/env python3
"""Makes the data folders of the benchmarks of large packages, deterministically
(fixed seeds):

  make-large-inputs.py sizes OUT_DIR MB [MB ...]
      OUT_DIR/data-<MB>m/   one data folder of MB megabytes for each size, every
                            one of the same 1,000 files in nested folders, each
                            file as much larger as the folder is: so that a
                            doubling of the size doubles the bytes and nothing
                            else. Pseudo-random bytes of a 128-symbol alphabet,
                            which deflate to about 7/8, as in make-inputs.py.

  make-large-inputs.py big OUT_DIR MEMBER_MB
      OUT_DIR/data-big/     a data folder whose archive passes 4 GiB: 16 files
                            of 1 MB in "a-before/", one file of MEMBER_MB
                            megabytes in "b-member/", and 64 files of 1 MB in
                            "c-after/", whose entries then lie past 4 GiB in the
                            archive. Bytes of every value, which deflate does
                            not shrink, so the archive is as large as the data.

A folder that exists with a stamp of the same parameters is kept.
"""

import argparse
import os
import random
import shutil
import sys

# Bytes mapped onto 128 symbols: about 7 bits of entropy a byte.
TABLE = bytes((b & 0x7F) for b in range(256))
MB = 1024 * 1024
CHUNK = 16 * MB
FILES = 1000


def write_file(path, size, rng, table):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        left = size
        while left > 0:
            step = min(left, CHUNK)
            data = rng.randbytes(step)
            out.write(data.translate(table) if table else data)
            left -= step


def layout(size_bytes):
    """The 1,000 files' paths and sizes, scaled to size_bytes in all."""
    rng = random.Random("large-layout")
    # Log-uniform between 1 and 64 units, then scaled to the total.
    raw = [2 ** rng.uniform(0, 6) for _ in range(FILES)]
    scale = size_bytes / sum(raw)
    sizes = [max(1, int(r * scale)) for r in raw]
    sizes[-1] += size_bytes - sum(sizes)
    files = []
    for index, size in enumerate(sizes):
        region, sheet = index % 10, (index // 10) % 10
        files.append((f"region-{region}/sheet-{sheet}/tile-{index:04d}.dat", size))
    return files


def stamped(folder, params):
    stamp = folder + ".params"
    return os.path.isdir(folder) and os.path.exists(stamp) and open(stamp).read() == params


def make(folder, params, files, table):
    if stamped(folder, params):
        return
    print(f"make-large-inputs: writing {folder} ({params.strip()})", file=sys.stderr)
    shutil.rmtree(folder, ignore_errors=True)
    rng = random.Random(params)
    for relative, size in files:
        write_file(os.path.join(folder, relative), size, rng, table)
    with open(folder + ".params", "w") as out:
        out.write(params)


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="what", required=True)
    sizes = sub.add_parser("sizes")
    sizes.add_argument("out_dir")
    sizes.add_argument("megabytes", type=int, nargs="+")
    big = sub.add_parser("big")
    big.add_argument("out_dir")
    big.add_argument("member_mb", type=int)
    args = parser.parse_args()
    out_dir = os.path.abspath(args.out_dir)
    os.makedirs(out_dir, exist_ok=True)

    if args.what == "sizes":
        for megabytes in args.megabytes:
            make(os.path.join(out_dir, f"data-{megabytes}m"), f"{megabytes} MB in {FILES} files\n",
                 layout(megabytes * MB), TABLE)
    else:
        files = [(f"a-before/part-{i:02d}.dat", MB) for i in range(16)]
        files.append(("b-member/member.dat", args.member_mb * MB))
        files += [(f"c-after/part-{i:02d}.dat", MB) for i in range(64)]
        make(os.path.join(out_dir, "data-big"), f"member {args.member_mb} MB, 80 files of 1 MB\n", files, None)


if __name__ == "__main__":
    main()
