#!/usr/bin/env python3
"""The kit's benchmark, on the host: `setup-pack build` of each data folder
against `zip -r -q` of the same folder (Info-ZIP's Zip, which deflates as
the kit does, at level 6), side by side in one run, rounds interleaved (the
sizes rising in one round and falling in the next, the two alternating).
Each run's wall time and peak memory (its maximum resident set, as GNU time
reports it) are taken.

  kit_build_bench.py --setup-pack PATH --program EXE --unzip EXE
                     --welcome FILE --licence FILE --out DIR [--rounds N]
                     [--arch i686|x86_64] [--no-reference] LABEL=DATA_DIR ...

The kit's package of each data folder is left in DIR/pkg-LABEL (the last
round's); Zip's archive is removed after each run. Every build must exit 0
(the package will install as meant), but for the one allowance of
scripts/run-kit-allowing-stand-in: with --arch x86_64, the x86_64 stand-in
program, the kit's check rightly calls the package 64-bit (exit 1).

Figures, for two data folders or more, in the order given (each twice the
one before): for each doubling, the ratio of the kit's median times (goal:
at most 2.1, linear); the kit's peak memory at the largest against the
smallest (goal: at most 1.10, flat); and, at each size, the kit's time
against Zip's (informational: the kit also reads the archive through once
written, for its check).
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

# Runs the kit with the one exit status other than 0 that is allowed.
KIT_RUNNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "scripts",
                          "run-kit-allowing-stand-in")
DOUBLING_GOAL = 2.1
MEMORY_GOAL = 1.10


def run(command, cwd=None):
    """Runs command to its end: (seconds, peak resident set in MB, its output).

    The peak is taken by GNU time, which starts the command: a child forked
    from this script would count this script's own memory in its peak, since
    the kernel keeps the largest resident set a process had before exec."""
    with tempfile.NamedTemporaryFile(mode="r") as peak_file:
        start = time.monotonic()
        child = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", peak_file.name] + command, cwd=cwd,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        elapsed = time.monotonic() - start
        peak_kb = int(peak_file.read().split()[-1])
    output = child.stdout.decode(errors="replace")
    if child.returncode != 0:
        sys.stdout.write(output)
        raise SystemExit(f"kit_build_bench: {command[0]} exited with {child.returncode}")
    return elapsed, peak_kb / 1024.0, output


def say(line):
    print(line, flush=True)


def min_median(values, unit, form="%.1f"):
    return f"{form % min(values)} / {form % statistics.median(values)} {unit}"


def listed(values, form="%.1f"):
    return " ".join(form % v for v in values)


def report(name, product_what, product, reference_what, reference, unit, figure_name, figure, goal_text, goal,
           table, form="%.1f"):
    verdict = "INFO" if goal is None else ("PASS" if figure <= goal else "OVER")
    say(f"  product   {product_what}: min / median {min_median(product, unit, form)}  [{listed(product, form)}]")
    say(f"  reference {reference_what}: min / median {min_median(reference, unit, form)}  "
        f"[{listed(reference, form)}]")
    say(f"  {figure_name} {figure:.3f}; goal {goal_text}; {verdict}")
    table.append((name, min_median(product, unit, form), min_median(reference, unit, form), figure_name, figure,
                  goal_text, verdict))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--setup-pack", "--program", "--unzip", "--welcome", "--licence", "--out"):
        parser.add_argument(option, required=True)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--arch", choices=("i686", "x86_64"), default="i686")
    parser.add_argument("--no-reference", action="store_true")
    parser.add_argument("data", nargs="+", help="LABEL=DATA_DIR")
    args = parser.parse_args()

    sizes = []
    for item in args.data:
        label, folder = item.split("=", 1)
        sizes.append({"label": label, "data": os.path.abspath(folder), "kit": [], "kit_mb": [], "zip": [],
                      "zip_mb": []})
    os.makedirs(args.out, exist_ok=True)

    for round_index in range(args.rounds):
        order = sizes if round_index % 2 == 0 else list(reversed(sizes))
        for step, size in enumerate(order):
            kit_first = (round_index + step) % 2 == 0
            for turn in range(1 if args.no_reference else 2):
                if (turn == 0) == kit_first:
                    package = os.path.join(args.out, f"pkg-{size['label']}")
                    seconds, peak, output = run([KIT_RUNNER, args.arch, os.path.join(package, "Install.ini"),
                                                 args.setup_pack, "build", size["data"], package,
                                                 "--name", "Install", "--program", args.program,
                                                 "--unzip", args.unzip, "--welcome", args.welcome,
                                                 "--licence", args.licence])
                    size["kit"].append(seconds)
                    size["kit_mb"].append(peak)
                    verdict = output.strip().splitlines()[-1]
                    say(f"  {size['label']} setup-pack build {seconds:.1f} s, peak {peak:.1f} MB: {verdict}")
                else:
                    archive = os.path.join(os.path.abspath(args.out), f"ref-{size['label']}.zip")
                    if os.path.exists(archive):
                        os.remove(archive)
                    seconds, peak, _ = run(["zip", "-r", "-q", archive, "."], cwd=size["data"])
                    os.remove(archive)
                    size["zip"].append(seconds)
                    size["zip_mb"].append(peak)
                    say(f"  {size['label']} zip -r -q      {seconds:.1f} s, peak {peak:.1f} MB")

    for size in sizes:
        package = os.path.join(args.out, f"pkg-{size['label']}")
        descriptor = open(os.path.join(package, "Install.ini"), newline="").read().split("\r\n")
        say(f"  {size['label']}: {os.path.getsize(os.path.join(package, 'Install.zip'))} bytes of archive, "
            f"{descriptor[1]}; peak memory min / median {min_median(size['kit_mb'], 'MB')}")

    table = []
    if not args.no_reference:
        for size in sizes:
            report(f"kit {size['label']}", f"{size['label']}: setup-pack build", size["kit"],
                   f"{size['label']}: zip -r -q", size["zip"], "s", "ratio of medians",
                   statistics.median(size["kit"]) / statistics.median(size["zip"]), "informational", None, table)
    for small, large in zip(sizes, sizes[1:]):
        report(f"kit x2 {large['label']}", f"{large['label']}: setup-pack build", large["kit"],
               f"{small['label']}: setup-pack build", small["kit"], "s", "ratio of medians",
               statistics.median(large["kit"]) / statistics.median(small["kit"]), f"<= {DOUBLING_GOAL}",
               DOUBLING_GOAL, table)
    if len(sizes) >= 2:
        smallest, largest = sizes[0], sizes[-1]
        report("kit memory", f"{largest['label']}: peak resident set", largest["kit_mb"],
               f"{smallest['label']}: peak resident set", smallest["kit_mb"], "MB", "ratio of medians",
               statistics.median(largest["kit_mb"]) / statistics.median(smallest["kit_mb"]),
               f"<= {MEMORY_GOAL:.2f}", MEMORY_GOAL, table)
    if table:
        say("")
        say("== summary (product and reference: min / median)")
        for name, product, reference, figure_name, figure, goal_text, verdict in table:
            say(f"{name:<14} product {product:<20} reference {reference:<20} {figure_name} {figure:.3f}  "
                f"goal {goal_text:<14} {verdict}")


if __name__ == "__main__":
    main()
