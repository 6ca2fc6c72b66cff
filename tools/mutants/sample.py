#!/usr/bin/env python3
"""Random mutation probe: where faults.txt holds faults written by hand, this
makes its one-line faults mechanically over the program's C++ (every folder
but platform/, tools/, bench/ and tests/) and tries a random sample of them
with run.py's machinery (rebuild in the scratch copy, the suite up to its
first failure). Kinds of mutant:

    cmp    a comparison flipped: < and <=, > and >=, == and !=
    num    a whole-number constant one more or one less
    logic  && and || exchanged
    drop   a statement line (a call, an assignment, a break) left out
    swap   two adjacent statement lines exchanged

The sample is spread evenly over the folders (and weighted by kind, see
WEIGHTS) and fixed by --seed, so the same
tree gives the same sample. A mutant whose rebuilt object equals the
original one (debug information aside) is reported as equivalent and not
tested; what survives is listed with its change for triage.

    tools/mutants/sample.py --list               # the sample, nothing run
    tools/mutants/sample.py                      # 160 mutants, seed 1
    tools/mutants/sample.py --count 40 --seed 7
    tools/mutants/sample.py --only S012,S077     # some of the sample again
"""
import argparse
import glob
import os
import random
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run as runner  # noqa: E402

FOLDERS = ["app", "drivers", "base", "gfx", "audio", "input", "script", "game", "scenes"]

COMPARE = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
FLIP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
LOGIC = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
NUMBER = re.compile(r"(?<![\w.])(\d+)(?=[uUlL]*(?![\w.']))")
STRING = re.compile(r'"(?:[^"\\]|\\.)*"|\'(?:[^\'\\]|\\.)\'')
# A line that declares something: leaving it out, or moving it, does not build.
DECLARATION = re.compile(
    r"^\s*(?:(?:const|constexpr|static|inline|auto|unsigned|struct|class|using|typedef|enum|namespace|"
    r"template|friend|virtual|explicit|extern)\b|return\b|[\w:]+(?:<[^;=]*>)?[\s*&]+[*&]?\w+\s*(?:[=({\[;]|$))"
)


def code_of(line):
    """The line without its comment and with the insides of strings blanked
    (so that positions in it are positions in the line)."""
    line = STRING.sub(lambda m: m.group()[0] + " " * (len(m.group()) - 2) + m.group()[0], line)
    return line.split("//", 1)[0].rstrip()


def is_statement(line, header=False):
    """A whole statement on one line that can go without breaking the build.
    In a header, where a line like "Name();" declares, only assignments."""
    code = code_of(line).strip()
    if header and not re.search(r"[^=!<>]=[^=]|\+\+|--", code):
        return False
    if not code.endswith(";") or code.count("(") != code.count(")") or code.count("{") != code.count("}"):
        return False
    if code.startswith(("}", "case ", "default", "#", "for ", "for(", "while", "if ", "else", "do ")):
        return False
    return not DECLARATION.match(code) and code != ";"


def ends_statement(line):
    """A line after which a new statement starts."""
    code = code_of(line).strip()
    return code == "" or code.endswith((";", "{", "}", ":"))


def candidates(root):
    """Every mutant over the program, as dicts with file, line (0-based),
    kind, the new lines for lines line.. and a description."""
    found = []
    for folder in FOLDERS:
        for path in sorted(glob.glob(os.path.join(root, folder, "**", "*"), recursive=True)):
            if not path.endswith((".cpp", ".h", ".inc")):
                continue
            rel = os.path.relpath(path, root)
            with open(path) as f:
                lines = f.read().split("\n")
            in_comment = False
            for i, line in enumerate(lines):
                stripped = line.strip()
                if in_comment or stripped.startswith("/*"):
                    in_comment = "*/" not in stripped
                    continue
                if stripped.startswith(("#", "//")) or "static_assert" in line:
                    continue
                code = code_of(line)

                def add(kind, new, what, count=1):
                    found.append({"file": rel, "line": i, "kind": kind, "new": new, "what": what, "lines": count})

                for m in COMPARE.finditer(code):
                    if code[: m.start()].count("<") > code[: m.start()].count(">") and m.group() == ">":
                        continue  # closes a template's argument list
                    new = line[: m.start()] + FLIP[m.group()] + line[m.end() :]
                    add("cmp", [new], f"{m.group()} becomes {FLIP[m.group()]}")
                for m in LOGIC.finditer(code):
                    other = "||" if m.group() == "&&" else "&&"
                    add("logic", [line[: m.start()] + other + line[m.end() :]], f"{m.group()} becomes {other}")
                for m in NUMBER.finditer(code):
                    value = int(m.group())
                    for delta in (1, -1):
                        if value + delta < 0:
                            continue
                        new = line[: m.start()] + str(value + delta) + line[m.end() :]
                        add("num", [new], f"{value} becomes {value + delta}")
                header = rel.endswith(".h")
                if i > 0 and ends_statement(lines[i - 1]) and is_statement(line, header):
                    indent = line[: len(line) - len(line.lstrip())]
                    add("drop", [indent + ";"], "left out")
                    if i + 1 < len(lines) and is_statement(lines[i + 1], header) and lines[i + 1].startswith(indent):
                        if lines[i + 1][len(indent)] != " " and stripped != lines[i + 1].strip():
                            add("swap", [lines[i + 1], line], "swapped with the next line", 2)
    return found


# How often each kind is drawn: constants outnumber every other kind of
# candidate, but faults of the other kinds are as likely.
WEIGHTS = {"num": 3, "cmp": 3, "drop": 2, "swap": 1, "logic": 1}


def sample(found, count, seed):
    """count mutants: the folders in turn, in each a kind drawn by WEIGHTS
    and a random mutant of that kind."""
    rng = random.Random(seed)
    pools = {}
    for m in found:
        pools.setdefault(m["file"].split("/")[0], {}).setdefault(m["kind"], []).append(m)
    chosen = []
    while len(chosen) < count and any(any(k.values()) for k in pools.values()):
        for folder in FOLDERS:
            kinds = [k for k in WEIGHTS if pools.get(folder, {}).get(k)]
            if kinds and len(chosen) < count:
                pool = pools[folder][rng.choices(kinds, [WEIGHTS[k] for k in kinds])[0]]
                chosen.append(pool.pop(rng.randrange(len(pool))))
    for n, m in enumerate(chosen, 1):
        m["id"] = f"S{n:03d}"
    return chosen


def apply(text, mutant):
    lines = text.split("\n")
    i = mutant["line"]
    lines[i : i + mutant["lines"]] = mutant["new"]
    return "\n".join(lines)


def show(text, mutant):
    """The mutant as '- old' and '+ new' lines."""
    lines = text.split("\n")
    i = mutant["line"]
    old = lines[i : i + mutant["lines"]]
    return "\n".join([f"    - {line.strip()}" for line in old] + [f"    + {line.strip()}" for line in mutant["new"]])


def object_of(build, rel):
    hits = glob.glob(os.path.join(build, "CMakeFiles", "*", rel + ".o"))
    return hits[0] if len(hits) == 1 else None


def stripped_code(obj):
    """The object's bytes without debug information (which holds line numbers)."""
    out = obj + ".nodebug"
    subprocess.run(["objcopy", "--strip-debug", obj, out], check=True)
    with open(out, "rb") as f:
        data = f.read()
    os.remove(out)
    return data


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--source", default=runner.ROOT, help="the tree to copy (default: this checkout)")
    parser.add_argument("--scratch", default=os.path.join(runner.ROOT, "build-mutants"), help="scratch folder")
    parser.add_argument("--count", type=int, default=160)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", default="", help="comma-separated sample ids")
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--jobs", default="2")
    args = parser.parse_args()

    source = os.path.abspath(args.source)
    found = candidates(source)
    chosen = sample(found, args.count, args.seed)
    texts = {}
    for m in chosen:
        if m["file"] not in texts:
            with open(os.path.join(source, m["file"])) as f:
                texts[m["file"]] = f.read()
    if args.only:
        wanted = set(args.only.split(","))
        chosen = [m for m in chosen if m["id"] in wanted]
    if args.list:
        kinds = {}
        for m in found:
            kinds[m["kind"]] = kinds.get(m["kind"], 0) + 1
        print(f"{len(found)} candidates: " + ", ".join(f"{n} {k}" for k, n in sorted(kinds.items())))
        for m in chosen:
            print(f"{m['id']} {m['file']}:{m['line'] + 1} {m['kind']}: {m['what']}\n{show(texts[m['file']], m)}")
        return 0

    src, build, log = runner.prepare(source, args.scratch, args.jobs)
    baseline = {}
    if shutil.which("objcopy"):
        for rel in texts:
            obj = object_of(build, rel) if rel.endswith(".cpp") else None
            if obj:
                baseline[rel] = stripped_code(obj)

    def unchanged(path):
        rel = os.path.relpath(path, src)
        obj = object_of(build, rel)
        if rel in baseline and obj and stripped_code(obj) == baseline[rel]:
            return "EQUIVALENT (the same code)"
        return None

    tally = {"killed": [], "SURVIVED": [], "EQUIVALENT": [], "BUILD FAILED": []}
    for m in chosen:
        path = os.path.join(src, m["file"])
        original = texts[m["file"]]
        started = time.time()
        verdict = runner.try_text(path, original, apply(original, m), build, log, args.jobs, unchanged=unchanged)
        tally[verdict.split(" ")[0] if not verdict.startswith("BUILD") else "BUILD FAILED"].append(m)
        print(f"{m['id']} {m['file']}:{m['line'] + 1} {m['kind']}: {m['what']}: {verdict} "
              f"({time.time() - started:.0f} s)", flush=True)
        if verdict == "SURVIVED":
            print(show(original, m), flush=True)

    print(f"{len(chosen)} mutants: {len(tally['killed'])} killed, {len(tally['SURVIVED'])} survived, "
          f"{len(tally['EQUIVALENT'])} the same code, {len(tally['BUILD FAILED'])} did not build")
    if tally["SURVIVED"]:
        print("survived: " + ", ".join(m["id"] for m in tally["SURVIVED"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
