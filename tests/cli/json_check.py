#!/usr/bin/env python3
"""Runs every --json command of varnok-dat on the sample data set, checks that
each output is one JSON document with its documented fields, and compares it
with the golden output in tests/data/json.

Usage: json_check.py VARNOK_DAT GOLDEN_FOLDER WORK_FOLDER [--update]
(--update writes the golden files instead of comparing with them)."""

import json
import os
import shutil
import subprocess
import sys

INT, STR, BOOL, NULL, LIST, DICT = int, str, bool, type(None), list, dict

# The documented fields: the document's own, then those of each entry of its lists.
ITEM = {"index": INT, "name": STR, "offset": INT, "size": INT, "icons": (INT, NULL)}
ICON = {"number": INT, "width": INT, "height": INT, "start_x": INT, "start_y": INT,
        "total_width": INT, "total_height": INT, "starts": INT, "bytes": INT,
        "compress": INT, "reserved": INT}
FRAME = {"number": INT, "width": INT, "height": INT, "left": INT, "top": INT,
         "right": INT, "bottom": INT}
DIFF_ICON = {"icon": INT, "place": STR, "pixels": INT}
SCHEMAS = {
    "list": ({"archive": STR, "items": LIST}, {"items": ITEM}),
    "report": ({"archive": STR, "item_count": INT, "items": LIST},
               {"items": {"name": STR, "icons": INT}}),
    "compare": ({"archive": STR, "other": STR, "archive_items": INT, "other_items": INT,
                 "items": LIST, "in_both": INT, "only_archive": INT, "only_other": INT},
                {"items": {"name": STR, "place": STR}}),
    "icons": ({"sprite": STR, "icon_count": INT, "icons": LIST}, {"icons": ICON}),
    "shp-info": ({"file": STR, "frame_count": INT, "frames": LIST}, {"frames": FRAME}),
    "verify": ({"file": STR, "kind": STR, "sound": BOOL, "items": INT, "icons": INT,
                "problems": LIST},
               {"problems": {"item": (STR, NULL), "icon": (INT, NULL), "what": STR}}),
    "diff": ({"a": STR, "b": STR, "same": BOOL, "only_in_a": LIST, "only_in_b": LIST,
              "identical": LIST, "changed": LIST},
             {"changed": {"name": STR, "size_a": INT, "size_b": INT, "icons_a": (INT, NULL),
                          "icons_b": (INT, NULL), "icons": (LIST, NULL)}}),
}

# Golden file name -> the command line (run in the sample folder).
RUNS = {
    "list": ["list", "KELPAR.dat", "--json"],
    "list-units": ["list", "KELPAR.dat", "--units", "--json"],
    "report": ["report", "KELPAR.dat", "--json"],
    "compare": ["compare", "KELPAR.dat", "OTHER.dat", "--json"],
    "icons": ["icons", "KELPAR.dat:UNIT01.S16", "--json"],
    "shp-info": ["shp-info", "knight.shp", "--json"],
    "verify": ["verify", "KELPAR.dat", "--json"],
    "verify-cut": ["verify", "CUT.dat", "--json"],
    "verify-s16": ["verify", "tank.s16", "--json"],
    "verify-shp": ["verify", "knight.shp", "--json"],
    "diff": ["diff", "KELPAR.dat", "OTHER.dat", "--json"],
}


def check_fields(where, value, fields):
    problems = []
    for name, kind in fields.items():
        if name not in value:
            problems.append(f"{where}: no field {name}")
        elif not isinstance(value[name], kind) or (kind is INT and isinstance(value[name], bool)):
            problems.append(f"{where}: {name} is {value[name]!r}")
    return problems


def check_schema(command, document):
    top, lists = SCHEMAS[command]
    problems = check_fields(command, document, top)
    for list_name, fields in lists.items():
        for k, entry in enumerate(document.get(list_name, [])):
            problems += check_fields(f"{command} {list_name}[{k}]", entry, fields)
            for j, icon in enumerate(entry.get("icons") or [] if command == "diff" else []):
                problems += check_fields(f"diff changed[{k}] icons[{j}]", icon, DIFF_ICON)
    return problems


def run(program, args, folder):
    done = subprocess.run([program] + args, cwd=folder, capture_output=True)
    if done.returncode not in (0, 1):
        raise SystemExit(f"{' '.join(args)}: exit {done.returncode}\n{done.stderr.decode()}")
    return done


def main():
    program, golden, work = (os.path.abspath(p) for p in sys.argv[1:4])
    update = "--update" in sys.argv[4:]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    sample = os.path.join(work, "sample")
    if run(program, ["sample", sample], work).returncode != 0:
        raise SystemExit("the sample could not be written")
    shutil.copy(os.path.join(sample, "KELPAR.dat"), os.path.join(sample, "OTHER.dat"))
    run(program, ["remove", "OTHER.dat", "UNIT01.S16"], sample)
    # OTHER.dat's UNIT02.S16 gets another third icon.
    for args in (["extract", "OTHER.dat", "UNIT02.S16", "-o", "edit"],
                 ["remove-icon", "edit/UNIT02.S16", "3"],
                 ["insert-icon", "edit/UNIT02.S16", "soldier.bmp", "--at", "3"],
                 ["replace", "OTHER.dat", "edit/UNIT02.S16"]):
        if run(program, args, sample).returncode != 0:
            raise SystemExit(f"{' '.join(args)} failed")
    with open(os.path.join(sample, "KELPAR.dat"), "rb") as whole:
        cut = whole.read()[:100000]
    with open(os.path.join(sample, "CUT.dat"), "wb") as out:
        out.write(cut)

    problems = []
    for name, args in RUNS.items():
        done = run(program, args, sample)
        try:
            document = json.loads(done.stdout)
        except ValueError as error:
            problems.append(f"{name}: not JSON ({error})")
            continue
        problems += check_schema(args[0], document)
        path = os.path.join(golden, name + ".json")
        if update:
            with open(path, "w") as out:
                json.dump(document, out, indent=2)
                out.write("\n")
        elif not os.path.exists(path):
            problems.append(f"{name}: no golden file {path}")
        else:
            with open(path) as expected:
                if json.load(expected) != document:
                    problems.append(f"{name}: differs from {path}")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
