#!/usr/bin/env python3
"""Plants faults in the host's move and placement, one at a time, and tells which survive the
native unit tests of the host and the search of every placement.

Each fault is one small change of one line of host/FileMove.cpp, host/OutputPlacement.cpp or
host/HostRequests.cpp: a comparison or a condition turned round, a "!" dropped, a call that
changes a file dropped, an outcome or an identity swapped for another. The script builds in a
folder of its own (build/faults), puts every file back as it was whatever happens, and prints one
line a fault and the count at the end. A surviving fault is a rule that nothing checks.

usage: tests/search/plant-faults.py [--limit N] [--only TEXT]
Takes hours: it is not part of the test command.
"""
import argparse
import os
import re
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.join(ROOT, "build", "faults")
FILES = ["host/FileMove.cpp", "host/OutputPlacement.cpp", "host/HostRequests.cpp"]

# (name, pattern, replacement): each match of the pattern on a line is one fault.
SWAPS = [
    ("== turned into !=", r"==", "!="),
    ("!= turned into ==", r"!=", "=="),
    ("&& turned into ||", r"&&", "||"),
    ("|| turned into &&", r"\|\|", "&&"),
    ("a ! dropped", r"!(?=[A-Za-z(])", ""),
    ("same taken for different", r"FileIdentity::same", "FileIdentity::different"),
    ("different taken for same", r"FileIdentity::different", "FileIdentity::same"),
    ("keep taken for replace", r"ExistingTarget::keep", "ExistingTarget::replace"),
    ("replace taken for keep", r"ExistingTarget::replace", "ExistingTarget::keep"),
    ("placed taken for a copy left", r"PlacementOutcome::placed\b", "PlacementOutcome::placedLeavingCopy"),
    ("cancelled taken for not placed", r"PlacementOutcome::cancelled", "PlacementOutcome::notPlaced"),
    ("a kept part forgotten", r"KeptInPart\((\w+), part\)", r"Ended(\1)"),
    ("true taken for false", r"\btrue\b", "false"),
    ("false taken for true", r"\bfalse\b", "true"),
    ("a result of 1 taken for 0", r"PrintResult::discardedOrCancelled", "PrintResult::placedOrNone"),
]
# A line that is a call changing a file, dropped whole.
DROPPED = re.compile(r"^\s*(calls|platform\.Files\(\))\.(Delete|Move|RenameWithoutCopy)\(.*\);\s*$")


def code_of(line):
    """The line without a comment after it; None for a comment line."""
    stripped = line.strip()
    if stripped.startswith("//") or stripped.startswith("#include"):
        return None
    return line.split("//")[0]


def faults():
    for path in FILES:
        with open(os.path.join(ROOT, path)) as source:
            lines = source.read().split("\n")
        for number, line in enumerate(lines):
            code = code_of(line)
            if code is None:
                continue
            if DROPPED.match(line):
                yield path, number, "a call that changes a file dropped", lines, ""
            for name, pattern, replacement in SWAPS:
                for match in re.finditer(pattern, code):
                    changed = line[: match.start()] + match.expand(replacement) + line[match.end():]
                    yield path, number, name, lines, changed


def run(command, timeout):
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def configure():
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Debug",
                    "-DVELLORA_SANITIZE=OFF"], check=True, stdout=subprocess.DEVNULL)


def verdict():
    if run(["cmake", "--build", BUILD, "-j", str(os.cpu_count()), "--target",
            "host_requests_test", "placement_search"], 900) != 0:
        return "does not build"
    if run([os.path.join(BUILD, "bin", "host_requests_test")], 300) != 0:
        return "caught by the unit tests"
    if run([os.path.join(BUILD, "bin", "placement_search"), "--stop-at-first-fault"], 1800) != 0:
        return "caught by the search"
    return "SURVIVES"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--limit", type=int, default=0, help="plant at most this many faults")
    parser.add_argument("--only", default="", help="only the faults whose line holds this text")
    arguments = parser.parse_args()
    configure()
    counts = {}
    planted = 0
    started = time.time()
    for path, number, name, lines, changed in faults():
        if arguments.only and arguments.only not in lines[number]:
            continue
        if arguments.limit and planted >= arguments.limit:
            break
        planted += 1
        full = os.path.join(ROOT, path)
        try:
            with open(full, "w") as source:
                source.write("\n".join(lines[:number] + ([changed] if changed else []) +
                                       lines[number + 1:]))
            result = verdict()
        finally:
            with open(full, "w") as source:
                source.write("\n".join(lines))
        counts[result] = counts.get(result, 0) + 1
        print(f"{result:26} {path}:{number + 1}: {name}: {lines[number].strip()}", flush=True)
    # Puts the build back on the files as they are.
    run(["cmake", "--build", BUILD, "--target", "host_requests_test", "placement_search"], 900)
    print(f"{planted} faults planted in {int(time.time() - started)} s: " +
          ", ".join(f"{count} {result}" for result, count in sorted(counts.items())))
    return 1 if counts.get("SURVIVES") else 0


if __name__ == "__main__":
    sys.exit(main())
