#!/usr/bin/env python3
"""Mutation check: plants each fault of faults.txt alone in a scratch copy of
the source tree, rebuilds it incrementally and runs the test suite, stopping
at the first failing test. A fault the suite turns red is killed; one it lets
pass survived. The working tree is never touched.

    tools/mutants/run.py                      # every fault, scratch in build-mutants/
    tools/mutants/run.py --only M03,M17       # some of them
    tools/mutants/run.py --source /tmp/other  # score another tree's suite

The scratch folder is kept between runs, so later runs rebuild only what
changed; it is refreshed from the source tree at every start.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def read_faults(path):
    faults = []
    current = None
    with open(path) as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("== "):
                ident, rest = line[3:].split(" ", 1)
                file, what = rest.split(":", 1)
                current = {"id": ident, "file": file, "what": what.strip(), "old": None, "new": None}
                faults.append(current)
            elif line.startswith("- ") and current:
                current["old"] = line[2:]
            elif line.startswith("+ ") and current:
                current["new"] = line[2:]
            elif line.strip() and not line.startswith("#"):
                sys.exit(f"{path}:{number}: cannot read {line!r}")
    for fault in faults:
        if fault["old"] is None or fault["new"] is None:
            sys.exit(f"{fault['id']}: needs a '- ' and a '+ ' line")
    return faults


def mutate(text, fault):
    """The text with the fault planted; exits when its line is not there exactly once."""
    lines = text.split("\n")
    hits = [i for i, line in enumerate(lines) if line.strip() == fault["old"].strip()]
    if len(hits) != 1:
        sys.exit(f"{fault['id']}: the line occurs {len(hits)} times in {fault['file']}: {fault['old']!r}")
    i = hits[0]
    indent = lines[i][: len(lines[i]) - len(lines[i].lstrip())]
    lines[i] = indent + fault["new"].strip()
    return "\n".join(lines)


def skipped(name):
    return name in (".git", "out", "__pycache__") or name.startswith("build")


def sync(source, scratch):
    """Mirrors source into scratch. Only files whose bytes differ are written
    (so they get a new time and are rebuilt); files gone from source go."""
    for folder, dirs, files in os.walk(source):
        dirs[:] = [d for d in dirs if not skipped(d)]
        rel = os.path.relpath(folder, source)
        os.makedirs(os.path.join(scratch, rel), exist_ok=True)
        for name in files:
            src = os.path.join(folder, name)
            dst = os.path.join(scratch, rel, name)
            with open(src, "rb") as f:
                data = f.read()
            if os.path.exists(dst):
                with open(dst, "rb") as f:
                    if f.read() == data:
                        continue
            with open(dst, "wb") as f:
                f.write(data)
            shutil.copymode(src, dst)
    for folder, dirs, files in os.walk(scratch, topdown=False):
        rel = os.path.relpath(folder, scratch)
        for name in files:
            if not os.path.exists(os.path.join(source, rel, name)):
                os.remove(os.path.join(folder, name))
        if rel != "." and not os.path.exists(os.path.join(source, rel)):
            shutil.rmtree(folder, ignore_errors=True)


def run(command, log, cwd=None):
    with open(log, "w") as out:
        return subprocess.call(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT)


def first_failure(log):
    """The name of the first test the log shows failing."""
    with open(log) as f:
        lines = f.readlines()
    for marks in (("***Failed", "***Timeout", "***Exception"), ("Not Run",)):
        for line in lines:
            if any(mark in line for mark in marks):
                return line.split(":", 1)[-1].split("...")[0].split("  #")[0].strip()
    return "?"


def prepare(source, scratch, jobs):
    """Refreshes scratch/src from source, builds it in scratch/build and runs
    the whole suite there once; exits when the unchanged tree builds or
    passes badly. Returns (src, build, log)."""
    src = os.path.join(scratch, "src")
    build = os.path.join(scratch, "build")
    os.makedirs(src, exist_ok=True)
    sync(os.path.abspath(source), src)
    log = os.path.join(scratch, "log.txt")
    print("building the unchanged tree ...", flush=True)
    if run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], log) or run(
        ["cmake", "--build", build, "-j", jobs], log
    ):
        sys.exit(f"the unchanged tree does not build; see {log}")
    if run(["ctest", "--test-dir", build, "-j", jobs], log):
        sys.exit(f"the unchanged tree's suite fails; see {log}")
    return src, build, log


def try_text(path, original, mutated, build, log, jobs, timeout="60", unchanged=None):
    """Writes the mutated text over path, rebuilds and runs the suite up to
    its first failure, then puts the original back. Returns the verdict:
    "BUILD FAILED", "killed by TEST", "SURVIVED", or what unchanged(path)
    returns when it finds the build's output unchanged (then no test runs)."""
    try:
        with open(path, "w") as f:
            f.write(mutated)
        if run(["cmake", "--build", build, "-j", jobs], log):
            return "BUILD FAILED"
        if unchanged and unchanged(path):
            return unchanged(path)
        if run(["ctest", "--test-dir", build, "-j", jobs, "--stop-on-failure", "--timeout", timeout], log):
            return "killed by " + first_failure(log)
        return "SURVIVED"
    finally:
        with open(path, "w") as f:
            f.write(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--source", default=ROOT, help="the tree to copy (default: this checkout)")
    parser.add_argument("--scratch", default=os.path.join(ROOT, "build-mutants"), help="scratch folder")
    parser.add_argument("--faults", default=os.path.join(HERE, "faults.txt"))
    parser.add_argument("--only", default="", help="comma-separated fault ids")
    parser.add_argument("--jobs", default="2")
    args = parser.parse_args()

    faults = read_faults(args.faults)
    if args.only:
        wanted = set(args.only.split(","))
        faults = [f for f in faults if f["id"] in wanted]
    src, build, log = prepare(args.source, args.scratch, args.jobs)
    originals = {}
    for fault in faults:
        path = os.path.join(src, fault["file"])
        with open(path) as f:
            originals[fault["file"]] = f.read()
        mutate(originals[fault["file"]], fault)  # every fault must apply before any is tried

    killed = []
    survived = []
    for fault in faults:
        path = os.path.join(src, fault["file"])
        original = originals[fault["file"]]
        started = time.time()
        verdict = try_text(path, original, mutate(original, fault), build, log, args.jobs)
        if verdict.startswith("killed"):
            killed.append(fault["id"])
        elif verdict == "SURVIVED":
            survived.append(fault["id"])
        print(f"{fault['id']} {fault['file']}: {fault['what']}: {verdict} ({time.time() - started:.0f} s)", flush=True)
        if verdict == "BUILD FAILED":
            sys.exit(f"{fault['id']} does not compile; see {log}")

    print(f"killed {len(killed)} of {len(faults)}" + (f"; survived: {', '.join(survived)}" if survived else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
