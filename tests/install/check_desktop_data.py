#!/usr/bin/env python3
"""Usage: check_desktop_data.py DESKTOP_ENTRY MIME_XML VARNOK_DAT

Checks the desktop entry with desktop-file-validate and the file types against
the files varnok-dat itself writes (its sample set): every type the entry
opens is defined, each sample file is known by its name, an SHP file by its
first bytes too, and update-mime-database accepts the definitions."""
import configparser
import fnmatch
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

NS = "{http://www.freedesktop.org/standards/shared-mime-info}"


def fail(message):
    print(f"check_desktop_data: {message}", file=sys.stderr)
    sys.exit(1)


def run(command, env=None):
    result = subprocess.run(command, capture_output=True, text=True, env=env)
    if result.returncode != 0 or result.stdout.strip() or result.stderr.strip():
        fail(f"{' '.join(command)} failed ({result.returncode}): {result.stdout}{result.stderr}")


def read_types(path):
    try:
        root = ElementTree.parse(path).getroot()
    except ElementTree.ParseError as error:
        fail(f"{path} is not well-formed XML: {error}")
    if root.tag != NS + "mime-info":
        fail(f"{path}: the root is {root.tag}, not mime-info")
    types = {}
    for element in root.findall(NS + "mime-type"):
        name = element.get("type")
        if not element.findtext(NS + "comment"):
            fail(f"{path}: {name} has no comment")
        globs = [glob.get("pattern") for glob in element.findall(NS + "glob")]
        magic = [match.get("value") for match in element.iter(NS + "match")]
        types[name] = (globs, magic)
    return types


def types_by_name(types, filename):
    return {name for name, (globs, _) in types.items()
            if any(fnmatch.fnmatch(filename.lower(), glob) for glob in globs)}


def main():
    if len(sys.argv) != 4:
        fail(__doc__)
    desktop, mime_xml, program = sys.argv[1:]
    run(["desktop-file-validate", desktop])
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(desktop, encoding="utf-8")
    types = read_types(mime_xml)
    opened = [name for name in entry["Desktop Entry"]["MimeType"].split(";") if name]
    for name in opened:
        if name not in types:
            fail(f"{desktop} opens {name}, which {mime_xml} does not define")

    with tempfile.TemporaryDirectory() as work:
        sample = os.path.join(work, "sample")
        subprocess.run([program, "sample", sample], check=True, capture_output=True)
        expected = {".dat": "application/x-varnok-dat", ".s16": "application/x-varnok-s16",
                    ".shp": "application/x-varnok-shp"}
        seen = set()
        for filename in sorted(os.listdir(sample)):
            extension = os.path.splitext(filename)[1].lower()
            if extension not in expected:
                continue
            seen.add(extension)
            if types_by_name(types, filename) != {expected[extension]}:
                fail(f"{filename} is known as {types_by_name(types, filename)}, "
                     f"expected {expected[extension]}")
            if extension == ".shp":
                with open(os.path.join(sample, filename), "rb") as file:
                    start = file.read(4).decode("latin-1")
                if start not in types[expected[extension]][1]:
                    fail(f"{filename} starts with {start!r}, which the SHP magic does not match")
        if seen != set(expected):
            fail(f"varnok-dat sample wrote no {sorted(set(expected) - seen)} file")

        # The database a desktop builds from the file: it must take it whole.
        if shutil.which("update-mime-database"):
            database = os.path.join(work, "mime")
            os.makedirs(os.path.join(database, "packages"))
            shutil.copy(mime_xml, os.path.join(database, "packages"))
            # Built where the environment looks, so that it says nothing.
            run(["update-mime-database", database], dict(os.environ, XDG_DATA_HOME=work))
            with open(os.path.join(database, "globs2"), encoding="utf-8") as file:
                globs = file.read()
            for name in expected.values():
                if name not in globs:
                    fail(f"update-mime-database left {name} out of its globs")
    print(f"check_desktop_data: {desktop} and {mime_xml} are sound")


if __name__ == "__main__":
    main()
